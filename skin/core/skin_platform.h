// The platform class: a small number telling the skin engine which system it runs on, and so
// whether skinned scroll bars and the interception of the platform's scroll-bar and colour
// functions are used. Worked out once when the engine first starts.
#ifndef WORDMERE_SKIN_CORE_SKIN_PLATFORM_H
#define WORDMERE_SKIN_CORE_SKIN_PLATFORM_H

#include <cstdint>

enum SkinPlatformClass : int32_t {
    kPlatformOldNonNt = 0,   // non-NT below version 4
    kPlatformOtherNt = 1,    // NT other than 4, 2000 and XP (Vista and later among them)
    kPlatformWin95 = 2,      // 95 and any non-NT system that is not 98 or Me
    kPlatformWin98 = 3,
    kPlatformWinMe = 4,
    kPlatformNt4 = 5,
    kPlatformWin2000 = 6,
    kPlatformWinXp = 7,
};

// The class of a system from the high bit of its version word (set: not NT) and the major
// and minor version of the extended query; without that record (haveVersion false) 2 or 1.
int32_t skinClassifyPlatform(bool nonNt, bool haveVersion, uint32_t major, uint32_t minor);

// The class worked out at the engine's first start (1 before), and its setter.
int32_t skinPlatformClass();
void skinSetPlatformClass(int32_t value);
// Whether skinned scroll bars are used on this class.
inline bool skinPlatformHasSkinnedScrollBars(int32_t value) { return value >= kPlatformWin95; }

#ifdef _WIN32
// The class of the running system (GetVersion and GetVersionExW).
int32_t skinDetectPlatformClass();
#endif

#endif
