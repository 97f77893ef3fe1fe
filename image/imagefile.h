// ImageFile: the byte stream images are decoded from and encoded into.
// ImageMemoryFile: its implementation over a block of memory, either a caller's block
// (read, or written in place until it must grow) or a growable block of its own.
#ifndef WORDMERE_IMAGE_IMAGEFILE_H
#define WORDMERE_IMAGE_IMAGEFILE_H

#include <cstdint>

// Origins of ImageFile::Seek.
enum ImageSeekOrigin : int32_t {
    kImageSeekSet = 0,     // from the start
    kImageSeekCurrent = 1, // from the current position
    kImageSeekEnd = 2,     // from the end of the data
};

class ImageFile {
public:
    virtual ~ImageFile() {}
    virtual bool Close() = 0;
    // The number of whole elements of `size` bytes read or written.
    virtual uint32_t Read(void *buffer, uint32_t size, uint32_t count) = 0;
    virtual uint32_t Write(const void *buffer, uint32_t size, uint32_t count) = 0;
    virtual bool Seek(int32_t offset, int32_t origin) = 0;
    virtual int32_t Tell() = 0;
    virtual int32_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual int32_t Error() = 0;
    virtual bool PutC(uint8_t byte) { return Write(&byte, 1, 1) == 1; }
    // The next byte (0..255), or -1 at the end.
    virtual int32_t GetC() = 0;
};

class ImageMemoryFile : public ImageFile {
public:
    // Empty, for writing: a block of its own that grows as it is written.
    ImageMemoryFile();
    // Over the caller's block of `length` bytes, which the caller keeps. A write that
    // needs more room moves the data into a block of the file's own.
    ImageMemoryFile(uint8_t *block, uint32_t length);
    ~ImageMemoryFile() override;

    ImageMemoryFile(const ImageMemoryFile &) = delete;
    ImageMemoryFile &operator=(const ImageMemoryFile &) = delete;

    bool Close() override;
    uint32_t Read(void *buffer, uint32_t size, uint32_t count) override;
    uint32_t Write(const void *buffer, uint32_t size, uint32_t count) override;
    bool Seek(int32_t offset, int32_t origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int32_t Error() override;
    bool PutC(uint8_t byte) override;
    int32_t GetC() override;

    // The data block (null when closed). With detach the file stops owning it and the
    // caller frees it with std::free once done; it stays valid after the file is gone.
    uint8_t *GetBuffer(bool detach = false);
    uint32_t Capacity() const { return capacity_; }
    bool OwnsBuffer() const { return ownsBuffer_; }

    // Positions and sizes stay within what Tell can answer.
    static constexpr uint32_t kMaxSize = 0x7FFFFFFFu;
    static constexpr uint32_t kGrowthStep = 4096;

private:
    // Makes room for `needed` bytes; false (the old block kept) when it cannot.
    bool Reserve(uint64_t needed);
    // Zeroes the bytes between the end of the data and the position, after a seek past
    // the end, before they become part of the data.
    void FillGap();

    uint8_t *buffer_;
    uint32_t size_;
    bool ownsBuffer_;
    uint32_t position_;
    uint32_t capacity_;
};

#endif
