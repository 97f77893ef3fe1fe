#include "imagefile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

ImageMemoryFile::ImageMemoryFile()
    : buffer_(static_cast<uint8_t *>(std::malloc(1))), size_(0), ownsBuffer_(true), position_(0), capacity_(0)
{
}

ImageMemoryFile::ImageMemoryFile(uint8_t *block, uint32_t length)
    : buffer_(block), size_(block ? std::min(length, kMaxSize) : 0), ownsBuffer_(false), position_(0),
      capacity_(size_)
{
}

ImageMemoryFile::~ImageMemoryFile()
{
    Close();
}

bool ImageMemoryFile::Close()
{
    if (buffer_ && ownsBuffer_) {
        std::free(buffer_);
        buffer_ = nullptr;
        size_ = 0;
        capacity_ = 0;
        position_ = 0;
    }
    return true;
}

uint32_t ImageMemoryFile::Read(void *buffer, uint32_t size, uint32_t count)
{
    const uint64_t wanted = uint64_t(size) * count;
    if (!buffer_ || !buffer || position_ > size_ || wanted == 0)
        return 0;
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(wanted, size_ - position_));
    std::memcpy(buffer, buffer_ + position_, n);
    position_ += n;
    return n / size;
}

uint32_t ImageMemoryFile::Write(const void *buffer, uint32_t size, uint32_t count)
{
    const uint64_t n = uint64_t(size) * count;
    if (!buffer_ || !buffer || n == 0)
        return 0;
    if (!Reserve(uint64_t(position_) + n))
        return 0;
    FillGap();
    std::memcpy(buffer_ + position_, buffer, static_cast<size_t>(n));
    position_ += static_cast<uint32_t>(n);
    size_ = std::max(size_, position_);
    return count;
}

bool ImageMemoryFile::Seek(int32_t offset, int32_t origin)
{
    if (!buffer_)
        return false;
    int64_t base;
    switch (origin) {
    case kImageSeekSet: base = 0; break;
    case kImageSeekCurrent: base = position_; break;
    case kImageSeekEnd: base = size_; break;
    default: return false;
    }
    const int64_t target = base + offset;
    if (target < 0 || target > int64_t(kMaxSize))
        return false;
    position_ = static_cast<uint32_t>(target);
    return true;
}

int32_t ImageMemoryFile::Tell()
{
    return buffer_ ? static_cast<int32_t>(position_) : -1;
}

int32_t ImageMemoryFile::Size()
{
    return buffer_ ? static_cast<int32_t>(size_) : -1;
}

bool ImageMemoryFile::Flush()
{
    return buffer_ != nullptr;
}

bool ImageMemoryFile::Eof()
{
    return !buffer_ || position_ >= size_;
}

int32_t ImageMemoryFile::Error()
{
    if (!buffer_)
        return -1;
    return position_ > size_ ? 1 : 0;
}

bool ImageMemoryFile::PutC(uint8_t byte)
{
    if (!buffer_ || !Reserve(uint64_t(position_) + 1))
        return false;
    FillGap();
    buffer_[position_++] = byte;
    size_ = std::max(size_, position_);
    return true;
}

int32_t ImageMemoryFile::GetC()
{
    if (Eof())
        return -1;
    return buffer_[position_++];
}

uint8_t *ImageMemoryFile::GetBuffer(bool detach)
{
    if (detach)
        ownsBuffer_ = false;
    return buffer_;
}

bool ImageMemoryFile::Reserve(uint64_t needed)
{
    if (needed > kMaxSize)
        return false;
    if (needed <= capacity_)
        return true;
    const uint64_t grown = uint64_t(capacity_) + (((needed - capacity_ - 1) >> 12) << 12) + kGrowthStep;
    const uint32_t capacity = static_cast<uint32_t>(std::min<uint64_t>(grown, kMaxSize));
    uint8_t *block;
    if (ownsBuffer_) {
        block = static_cast<uint8_t *>(std::realloc(buffer_, capacity));
    } else {
        // The caller's block is not ours to reallocate: the data moves to a block of our own.
        block = static_cast<uint8_t *>(std::malloc(capacity));
        if (block && buffer_)
            std::memcpy(block, buffer_, size_);
    }
    if (!block)
        return false;
    buffer_ = block;
    capacity_ = capacity;
    ownsBuffer_ = true;
    return true;
}

void ImageMemoryFile::FillGap()
{
    if (position_ > size_)
        std::memset(buffer_ + size_, 0, position_ - size_);
}
