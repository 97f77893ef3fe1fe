// Reading the import tables of a loaded module: the modules it imports from and the slots
// of their import address tables, which the import-patching interception rewrites. The
// image is read as memory holds it (each section at its relative address), every offset
// checked against the bytes given, so a damaged module is passed over, never overrun.
#ifndef WORDMERE_SKIN_CONTROLS_PE_IMPORTS_H
#define WORDMERE_SKIN_CONTROLS_PE_IMPORTS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads size bytes of the process at an absolute address; false when they cannot be read.
using MemoryReader = std::function<bool(uint32_t address, uint8_t *out, uint32_t size)>;

class PeImage {
public:
    // base: the module's first byte; size: how many bytes from there may be read.
    PeImage(const uint8_t *base, size_t size);

    bool valid() const { return headersValid_; }
    // The image size its header states (0 for an invalid image).
    uint32_t sizeOfImage() const { return sizeOfImage_; }

    struct Import {
        std::string module;         // as the image names it
        uint32_t addressTable = 0;  // relative address of its first import-address-table slot
    };
    std::vector<Import> imports() const;

    bool read32(uint32_t rva, uint32_t &out) const;

private:
    bool readString(uint32_t rva, std::string &out) const;

    const uint8_t *base_;
    size_t size_;
    bool headersValid_ = false;
    uint32_t sizeOfImage_ = 0;
    uint32_t importDirectory_ = 0;
    uint32_t importSize_ = 0;
};

// The address behind a forwarding stub: when address lies above the highest application
// address and holds PUSH imm32 (0x68), the pushed value; otherwise address itself.
uint32_t lookThroughForwarder(uint32_t address, uint32_t highestApplicationAddress, const MemoryReader &read);

// The relative address of the slot through which image imports realAddress from the module
// named exporter (compared without regard to letter case): the first slot of that module's
// table holding realAddress, or a forwarding stub of it. 0 when there is none.
uint32_t findImportSlot(const PeImage &image, const char *exporter, uint32_t realAddress,
                        uint32_t highestApplicationAddress, const MemoryReader &read);

#endif
