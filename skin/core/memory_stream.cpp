#include "memory_stream.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <lzo/lzo1x.h>

namespace {
constexpr uint32_t kLengthBytes = 4;
constexpr uint64_t kMaxStreamBytes = std::numeric_limits<uint32_t>::max();

bool lzoReady()
{
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

uint32_t readLittleEndian32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
}  // namespace

MemoryStream::MemoryStream(uint32_t growthStep) : growthStep_(growthStep == 0 ? 1 : growthStep) {}

MemoryStream::MemoryStream(const void *block, uint32_t size, uint32_t growthStep) : MemoryStream(growthStep)
{
    if (size > 0 && allocate(size)) {
        std::memcpy(buffer_, block, size);
        size_ = size;
    }
}

MemoryStream::~MemoryStream() { release(); }

void MemoryStream::release()
{
    std::free(buffer_);
    buffer_ = nullptr;
    size_ = position_ = capacity_ = 0;
}

uint32_t MemoryStream::read(void *destination, uint32_t count)
{
    if (buffer_ == nullptr || position_ >= size_) {
        return 0;
    }
    const uint32_t n = count < size_ - position_ ? count : size_ - position_;
    std::memcpy(destination, buffer_ + position_, n);
    position_ += n;
    return n;
}

void MemoryStream::seek(int64_t offset, int32_t origin)
{
    int64_t base = 0;
    if (origin == kStreamFromCurrent) {
        base = position_;
    } else if (origin == kStreamFromEnd) {
        base = size_;
    }
    int64_t target = base + offset;
    if (target < 0) {
        target = 0;
    }
    position_ = target > size_ ? size_ : static_cast<uint32_t>(target);
}

bool MemoryStream::reserve(uint64_t needed)
{
    if (needed <= capacity_) {
        return true;
    }
    if (needed > kMaxStreamBytes) {
        return false;
    }
    uint64_t grown = needed;
    if (buffer_ != nullptr) {
        // Whole growth steps beyond the current capacity.
        grown = capacity_ + static_cast<uint64_t>(growthStep_) * ((needed - capacity_) / growthStep_ + 1);
        if (grown > kMaxStreamBytes) {
            grown = kMaxStreamBytes;
        }
    }
    void *moved = std::realloc(buffer_, static_cast<size_t>(grown));
    if (moved == nullptr) {
        return false;
    }
    buffer_ = static_cast<uint8_t *>(moved);
    capacity_ = static_cast<uint32_t>(grown);
    return true;
}

uint32_t MemoryStream::write(const void *source, uint32_t count)
{
    if (count == 0) {
        return 0;
    }
    if (!reserve(static_cast<uint64_t>(position_) + count)) {
        return 0;
    }
    std::memcpy(buffer_ + position_, source, count);
    position_ += count;
    if (position_ > size_) {
        size_ = position_;
    }
    return count;
}

bool MemoryStream::allocate(uint32_t n)
{
    release();
    if (n == 0) {
        return true;
    }
    buffer_ = static_cast<uint8_t *>(std::malloc(n));
    if (buffer_ == nullptr) {
        return false;
    }
    capacity_ = n;
    return true;
}

bool MemoryStream::loadFile(const char *path)
{
    release();
    if (path == nullptr) {
        return false;
    }
    std::FILE *file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length >= 0 && static_cast<uint64_t>(length) < kMaxStreamBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok && length > 0) {
        ok = allocate(static_cast<uint32_t>(length)) &&
             std::fread(buffer_, 1, static_cast<size_t>(length), file) == static_cast<size_t>(length);
        if (ok) {
            size_ = static_cast<uint32_t>(length);
        }
    }
    std::fclose(file);
    if (!ok) {
        release();
    }
    return ok;
}

bool MemoryStream::expandInto(MemoryStream &target) const
{
    if (buffer_ == nullptr || size_ < kLengthBytes || !lzoReady()) {
        return false;
    }
    const uint32_t announced = readLittleEndian32(buffer_);
    if (announced > kSkinMaxExpandedBytes) {
        return false;
    }
    // One byte more than announced, so a body that expands to more is caught as an overrun.
    uint8_t *out = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(announced) + 1));
    if (out == nullptr) {
        return false;
    }
    lzo_uint produced = static_cast<lzo_uint>(announced) + 1;
    const int result = lzo1x_decompress_safe(buffer_ + kLengthBytes, size_ - kLengthBytes, out, &produced, nullptr);
    const bool ok = (result == LZO_E_OK || result == LZO_E_INPUT_NOT_CONSUMED) && produced == announced &&
                    (announced == 0 || target.write(out, announced) == announced);
    std::free(out);
    return ok;
}
