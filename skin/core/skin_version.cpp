#include "skin_version.h"

#include <atomic>

#include "skin_codes.h"

namespace {
std::atomic<uint16_t> gVersion{static_cast<uint16_t>(kSkinMajorVersion << 8 | kSkinMinorVersion)};
}

SkinVersion skinFileVersion()
{
    const uint16_t packed = gVersion.load();
    return SkinVersion{static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed & 0xFF)};
}

void setSkinFileVersion(uint8_t major, uint8_t minor)
{
    gVersion.store(static_cast<uint16_t>(major << 8 | minor));
}
