#include "system_colors.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
// The classic Windows colours, 0x00BBGGRR, by system colour index 0..30.
const uint32_t kClassic[kSysColorCount] = {
    0x00C8D0D4, 0x00A56E3A, 0x006A240A, 0x00808080, 0x00C8D0D4, 0x00FFFFFF, 0x00000000, 0x00000000,
    0x00000000, 0x00FFFFFF, 0x00C8D0D4, 0x00C8D0D4, 0x00808080, 0x006A240A, 0x00FFFFFF, 0x00C8D0D4,
    0x00808080, 0x00808080, 0x00000000, 0x00C8D0D4, 0x00FFFFFF, 0x00404040, 0x00C8D0D4, 0x00000000,
    0x00E1FFFF, 0x00B5B5B5, 0x00C80000, 0x00F0CAA6, 0x00C0C0C0, 0x006A240A, 0x00C8D0D4,
};
}  // namespace

uint32_t skinClassicSystemColor(int32_t index)
{
    if (index < 0 || index >= kSysColorCount) {
        return 0;
    }
    return kClassic[index];
}

uint32_t skinPlatformSystemColor(int32_t index)
{
#ifdef _WIN32
    return GetSysColor(index);
#else
    return skinClassicSystemColor(index);
#endif
}
