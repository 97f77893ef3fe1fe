#include "pe_imports.h"

#include <cstring>

namespace {

constexpr uint16_t kDosSignature = 0x5A4D;        // "MZ"
constexpr uint32_t kPeSignature = 0x00004550;     // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint32_t kDosNewHeaderOffset = 0x3C;
constexpr uint32_t kFileHeaderSize = 20;
constexpr uint32_t kOptionalSizeOfImage = 56;
constexpr uint32_t kOptionalRvaCount = 92;
constexpr uint32_t kOptionalDirectories = 96;
constexpr uint32_t kDirectoryEntrySize = 8;
constexpr uint32_t kImportDirectoryIndex = 1;
constexpr uint32_t kImportDescriptorSize = 20;
constexpr uint32_t kDescriptorName = 12;
constexpr uint32_t kDescriptorAddressTable = 16;
constexpr uint32_t kLongestModuleName = 260;
constexpr uint32_t kMostImportSlots = 65536;
constexpr uint8_t kOpPushImmediate = 0x68;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(const std::string &a, const char *b)
{
    size_t n = std::strlen(b);
    if (a.size() != n) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

PeImage::PeImage(const uint8_t *base, size_t size) : base_(base), size_(base ? size : 0)
{
    uint32_t word = 0;
    if (!read32(0, word) || static_cast<uint16_t>(word) != kDosSignature) {
        return;
    }
    uint32_t pe = 0, signature = 0, magic = 0;
    if (!read32(kDosNewHeaderOffset, pe) || !read32(pe, signature) || signature != kPeSignature) {
        return;
    }
    uint32_t optional = pe + 4 + kFileHeaderSize;
    if (optional < pe || !read32(optional, magic) || static_cast<uint16_t>(magic) != kPe32Magic) {
        return;
    }
    uint32_t count = 0;
    if (!read32(optional + kOptionalSizeOfImage, sizeOfImage_) || !read32(optional + kOptionalRvaCount, count)) {
        return;
    }
    headersValid_ = true;
    if (count <= kImportDirectoryIndex) {
        return;
    }
    uint32_t entry = optional + kOptionalDirectories + kImportDirectoryIndex * kDirectoryEntrySize;
    if (!read32(entry, importDirectory_) || !read32(entry + 4, importSize_)) {
        importDirectory_ = importSize_ = 0;
    }
}

bool PeImage::read32(uint32_t rva, uint32_t &out) const
{
    if (size_ < 4 || rva > size_ - 4) {
        return false;
    }
    std::memcpy(&out, base_ + rva, 4);  // images are little-endian, as the machines that load them
    return true;
}

bool PeImage::readString(uint32_t rva, std::string &out) const
{
    out.clear();
    for (uint32_t i = 0; i < kLongestModuleName; ++i) {
        if (rva >= size_ || i > size_ - 1 - rva) {
            return false;
        }
        char c = static_cast<char>(base_[rva + i]);
        if (c == '\0') {
            return true;
        }
        out.push_back(c);
    }
    return false;
}

std::vector<PeImage::Import> PeImage::imports() const
{
    std::vector<Import> out;
    if (!headersValid_ || importDirectory_ == 0) {
        return out;
    }
    for (uint32_t at = importDirectory_;; at += kImportDescriptorSize) {
        if (at < importDirectory_) {
            break;  // wrapped around
        }
        uint32_t name = 0, table = 0;
        if (!read32(at + kDescriptorName, name) || !read32(at + kDescriptorAddressTable, table)) {
            break;  // the list runs past the image: what was read stands
        }
        if (name == 0 && table == 0) {
            break;
        }
        Import i;
        if (!readString(name, i.module)) {
            continue;
        }
        i.addressTable = table;
        out.push_back(i);
    }
    return out;
}

uint32_t lookThroughForwarder(uint32_t address, uint32_t highestApplicationAddress, const MemoryReader &read)
{
    if (address <= highestApplicationAddress || !read) {
        return address;
    }
    uint8_t code[5];
    if (!read(address, code, sizeof code) || code[0] != kOpPushImmediate) {
        return address;
    }
    uint32_t pushed;
    std::memcpy(&pushed, code + 1, 4);
    return pushed;
}

uint32_t findImportSlot(const PeImage &image, const char *exporter, uint32_t realAddress,
                        uint32_t highestApplicationAddress, const MemoryReader &read)
{
    for (const PeImage::Import &i : image.imports()) {
        if (!sameName(i.module, exporter)) {
            continue;
        }
        for (uint32_t n = 0; n < kMostImportSlots; ++n) {
            uint32_t slot = i.addressTable + 4 * n;
            uint32_t value = 0;
            if (slot < i.addressTable || !image.read32(slot, value) || value == 0) {
                break;
            }
            if (value == realAddress || lookThroughForwarder(value, highestApplicationAddress, read) == realAddress) {
                return slot;
            }
        }
    }
    return 0;
}
