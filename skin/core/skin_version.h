// The process-wide file version (major, minor) that the record readers consult to know which
// fields a record has. It holds 1.18 except while a file is being read; after a skin is made
// current it holds that skin's version.
#ifndef WORDMERE_SKIN_CORE_SKIN_VERSION_H
#define WORDMERE_SKIN_CORE_SKIN_VERSION_H

#include <cstdint>

struct SkinVersion {
    uint8_t major;
    uint8_t minor;
};

SkinVersion skinFileVersion();
void setSkinFileVersion(uint8_t major, uint8_t minor);

#endif
