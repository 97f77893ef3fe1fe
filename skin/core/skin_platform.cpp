#include "skin_platform.h"

#include <atomic>

namespace {
std::atomic<int32_t> gPlatformClass{kPlatformOtherNt};
}  // namespace

int32_t skinClassifyPlatform(bool nonNt, bool haveVersion, uint32_t major, uint32_t minor)
{
    if (nonNt) {
        if (!haveVersion) {
            return kPlatformWin95;
        }
        if (major < 4) {
            return kPlatformOldNonNt;
        }
        if (major == 4 && minor == 10) {
            return kPlatformWin98;
        }
        if (major == 4 && minor == 90) {
            return kPlatformWinMe;
        }
        return kPlatformWin95;
    }
    if (!haveVersion) {
        return kPlatformOtherNt;
    }
    if (major == 4) {
        return kPlatformNt4;
    }
    if (major == 5 && minor == 0) {
        return kPlatformWin2000;
    }
    if (major == 5 && minor == 1) {
        return kPlatformWinXp;
    }
    return kPlatformOtherNt;
}

int32_t skinPlatformClass() { return gPlatformClass.load(); }
void skinSetPlatformClass(int32_t value) { gPlatformClass.store(value); }
