// LXStreamFile: a container file of a fixed number of numbered byte streams.
//
// Layout (big-endian): magic 0x05E9F17E, stream count, two reserved words; one 16-byte
// directory entry per stream (offset, length, stored size, block word); then the data
// of every stream in order. Opened for reading, any byte of any stream is read at
// random; opened for writing, streams are filled in memory and written in one pass.
#ifndef WORDMERE_ENGINE_LXSTREAMFILE_H
#define WORDMERE_ENGINE_LXSTREAMFILE_H

#include <cstdint>
#include <memory>

#include "base/lxstring.h"
#include "format/lxbinaryfile.h"
#include "format/lxstream.h"

class LXCompressor;

class LXStreamFile {
public:
    static constexpr uint32_t kMagic = 0x05E9F17Eu;
    static constexpr uint32_t kHeaderSize = 16;
    static constexpr uint32_t kDefaultCacheSlots = 8;
    enum Mode { ModeRead = LXBinaryFile::ModeRead, ModeWrite = LXBinaryFile::ModeWrite };

    LXStreamFile();
    explicit LXStreamFile(LXCompressor *compressor);
    ~LXStreamFile();

    LXStreamFile(const LXStreamFile &) = delete;
    LXStreamFile &operator=(const LXStreamFile &) = delete;

    // The compressor is borrowed and must outlive the open container.
    void setCompressor(LXCompressor *compressor);

    // ModeRead: count is the length of the loadModes (LXStream::LoadMode) and cacheSizes
    // tables (either may be null: whole streams and 8 slots); streams past the tables are
    // loaded whole. Fails on a short or foreign header, a count of 0, or a directory entry
    // that does not fit the file.
    // ModeWrite: count streams, empty and uncompressed.
    bool open(const lxstring &path, int mode, int32_t count = 0, const int *loadModes = nullptr,
              const int *cacheSizes = nullptr);
    void close();
    bool isOpen() const;

    uint32_t getStreamCount() const { return m_count; }
    // 0 for a stream number out of range or a stream that was not loaded.
    uint32_t getStreamSize(int32_t stream) const;

    // Reads give 0 past the end of the stream, for streams not loaded and for blocks that
    // cannot be read.
    uint8_t readByte(int32_t stream, uint32_t position)
    {
        LXStream *s = m_mode == ModeRead ? streamAt(stream) : nullptr;
        return s ? s->readByte(position) : 0;
    }
    uint32_t readInt16(int32_t stream, uint32_t position);
    uint32_t readInt32(int32_t stream, uint32_t position);
    uint32_t readBase255(int32_t stream, uint32_t position);
    // Decodes one UTF-8 sequence (up to six bytes) and moves the position past it. A lead
    // byte 0xFE or 0xFF is consumed and yields no code point: false, cp left alone. True
    // while the new position is not beyond the limit.
    bool readCodePoint(int32_t stream, uint32_t &position, uint32_t limit, uint32_t &codePoint)
    {
        return decodeCodePoint(stream, position, codePoint) && position <= limit;
    }
    // Empties text, then appends code points until the terminator (consumed, not
    // appended) or the end of the stream.
    void readString(lxstring &text, int32_t stream, uint32_t &position, uint32_t terminator);

    // Write mode; each advances the position by the bytes written.
    void writeByte(int32_t stream, uint32_t &position, uint8_t value);
    void writeInt16(int32_t stream, uint32_t &position, uint32_t value);
    void writeInt32(int32_t stream, uint32_t &position, uint32_t value);
    // The text's stored bytes in its own encoding, up to its first zero byte, no terminator.
    void writeBytes(int32_t stream, uint32_t &position, const lxstring &text);
    void setCompressed(int32_t stream, bool compressed);
    // Header, directory and every stream.
    bool write();
    // One stream's data at the current file position, then its directory entry.
    bool writeStream(int32_t stream);
    // Write mode: hands everything written to the system; false on any write error.
    bool flush();

    // Forwards to the file; -1 when there is none.
    int32_t seek(int32_t position, int origin);

    // For diagnostics and tests: the stream object (null when not loaded) and the file.
    const LXStream *getStream(int32_t stream) const;
    const LXBinaryFile *getFile() const { return m_file.get(); }

private:
    LXStream *streamAt(int32_t stream) const
    {
        if (stream < 0 || static_cast<uint32_t>(stream) >= m_count)
            return nullptr;
        return m_streams[stream].get();
    }
    // One UTF-8 sequence; false (position past it) for the lead bytes 0xFE and 0xFF.
    bool decodeCodePoint(int32_t stream, uint32_t &position, uint32_t &codePoint)
    {
        const uint32_t lead = readByte(stream, position);
        if (lead < 0x80) {
            ++position;
            codePoint = lead;
            return true;
        }
        return decodeSequence(stream, position, codePoint);
    }
    // decodeCodePoint for a lead byte of 0x80 and above.
    bool decodeSequence(int32_t stream, uint32_t &position, uint32_t &codePoint);
    LXStream *writableStream(int32_t stream) const;

    std::unique_ptr<LXBinaryFile> m_file;
    LXCompressor *m_compressor;
    std::unique_ptr<std::unique_ptr<LXStream>[]> m_streams;
    uint32_t m_count;
    int m_mode;
};

#endif
