// The running system's platform class from its version.
#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "skin_platform.h"

int32_t skinDetectPlatformClass()
{
    const bool nonNt = (GetVersion() & 0x80000000u) != 0;
    // The wide version record (276 bytes), zeroed, with its size set.
    auto *info = static_cast<OSVERSIONINFOW *>(std::calloc(1, sizeof(OSVERSIONINFOW)));
    if (info == nullptr) {
        return skinClassifyPlatform(nonNt, false, 0, 0);
    }
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    const bool have = GetVersionExW(info) != FALSE;
    const int32_t value = skinClassifyPlatform(nonNt, have, info->dwMajorVersion, info->dwMinorVersion);
    std::free(info);
    return value;
}
#endif
