// The platform's system colours as the skin objects' defaults read them: on Windows the
// platform's own, elsewhere a fixed table of the classic Windows colours, so the native
// build reads the same files with stable defaults.
#ifndef WORDMERE_SKIN_CORE_SYSTEM_COLORS_H
#define WORDMERE_SKIN_CORE_SYSTEM_COLORS_H

#include <cstdint>

// Indexes of the system colours (those of the platform's GetSysColor).
enum SkinSysColorIndex : int32_t {
    kSysColorWindow = 5,
    kSysColorWindowText = 8,
    kSysColorBtnFace = 15,
    kSysColorBtnShadow = 16,
    kSysColorBtnText = 18,
    kSysColorInfoBk = 24,
};
constexpr int32_t kSysColorCount = 31;

uint32_t skinPlatformSystemColor(int32_t index);
// The fixed table used off Windows (and by the skin compiler for its defaults).
uint32_t skinClassicSystemColor(int32_t index);

#endif
