// MemoryStream: the growable byte stream under every skin read and write. Reads copy what
// is there and answer how much; writes grow the buffer in whole growth steps. A stream can
// load a whole file and expand an LZO1X-compressed skin file into another stream.
#ifndef WORDMERE_SKIN_CORE_MEMORY_STREAM_H
#define WORDMERE_SKIN_CORE_MEMORY_STREAM_H

#include <cstddef>
#include <cstdint>

#include "skin_codes.h"

enum MemoryStreamOrigin : int32_t {
    kStreamFromStart = 0,
    kStreamFromCurrent = 1,
    kStreamFromEnd = 2,
};

class MemoryStream {
public:
    explicit MemoryStream(uint32_t growthStep = kSkinStreamGrowth);
    // A stream over a copy of `size` bytes of `block`.
    MemoryStream(const void *block, uint32_t size, uint32_t growthStep = kSkinStreamGrowth);
    ~MemoryStream();
    MemoryStream(const MemoryStream &) = delete;
    MemoryStream &operator=(const MemoryStream &) = delete;

    // Copies the smaller of count and the bytes left; answers the number copied.
    uint32_t read(void *destination, uint32_t count);
    // Origin 0 sets, 1 adds, 2 is relative to the size; the position is clamped to 0..size.
    void seek(int64_t offset, int32_t origin);
    void rewind() { position_ = 0; }
    // Answers count, or 0 when the buffer could not grow.
    uint32_t write(const void *source, uint32_t count);
    // Drops the data and allocates n bytes (size and position 0); false without memory.
    bool allocate(uint32_t n);
    // Reads the whole file; true only when every byte was read.
    bool loadFile(const char *path);
    // Expands this stream's skin-file bytes (announced length, LZO1X body) into target.
    // False for fewer than 4 bytes, an announced length above the limit, a corrupt body or
    // any length other than the announced one.
    bool expandInto(MemoryStream &target) const;

    const uint8_t *data() const { return buffer_; }
    uint32_t size() const { return size_; }
    uint32_t position() const { return position_; }
    uint32_t capacity() const { return capacity_; }
    uint32_t remaining() const { return size_ - position_; }
    bool atEnd() const { return position_ >= size_; }

private:
    void release();
    bool reserve(uint64_t needed);

    uint8_t *buffer_ = nullptr;
    uint32_t size_ = 0;
    uint32_t position_ = 0;
    uint32_t capacity_ = 0;
    uint32_t growthStep_;
};

#endif
