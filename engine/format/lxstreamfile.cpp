#include "format/lxstreamfile.h"

#include <new>

#include "base/lxutilities.h"
#include "format/lxcompressor.h"

LXStreamFile::LXStreamFile() : m_compressor(nullptr), m_count(0), m_mode(0) {}

LXStreamFile::LXStreamFile(LXCompressor *compressor) : m_compressor(compressor), m_count(0), m_mode(0) {}

LXStreamFile::~LXStreamFile() { close(); }

void LXStreamFile::setCompressor(LXCompressor *compressor)
{
    m_compressor = compressor;
    for (uint32_t i = 0; i < m_count; ++i) {
        if (m_streams[i])
            m_streams[i]->setCompressor(compressor);
    }
}

bool LXStreamFile::open(const lxstring &path, int mode, int32_t count, const int *loadModes, const int *cacheSizes)
{
    close();
    if (mode != ModeRead && mode != ModeWrite)
        return false;
    m_file.reset(new (std::nothrow) LXBinaryFile());
    if (!m_file || !m_file->open(path, mode)) {
        m_file.reset();
        return false;
    }
    m_mode = mode;

    if (mode == ModeWrite) {
        if (count <= 0) {
            close();
            return false;
        }
        m_streams.reset(new (std::nothrow) std::unique_ptr<LXStream>[static_cast<size_t>(count)]);
        if (!m_streams) {
            close();
            return false;
        }
        m_count = static_cast<uint32_t>(count);
        for (uint32_t i = 0; i < m_count; ++i) {
            m_streams[i].reset(new (std::nothrow) LXStream(m_file.get(), m_compressor));
            if (!m_streams[i]) {
                close();
                return false;
            }
            m_streams[i]->initForWriting();
        }
        return true;
    }

    unsigned char header[kHeaderSize];
    if (m_file->read(header, kHeaderSize) != kHeaderSize || LXUtilities::readInt32FromBuffer(header) != kMagic) {
        close();
        return false;
    }
    const uint32_t streams = LXUtilities::readInt32FromBuffer(header + 4);
    // The directory has to be in the file: that bounds the count before it sizes an array.
    if (streams == 0 || streams > (m_file->getSize() - kHeaderSize) / 16) {
        close();
        return false;
    }
    m_streams.reset(new (std::nothrow) std::unique_ptr<LXStream>[streams]);
    if (!m_streams) {
        close();
        return false;
    }
    m_count = streams;
    for (uint32_t i = 0; i < streams; ++i) {
        unsigned char raw[16];
        if (m_file->read(raw, 16) != 16) {
            close();
            return false;
        }
        const bool inTables = count > 0 && i < static_cast<uint32_t>(count);
        const int loadMode = loadModes && inTables ? loadModes[i] : LXStream::WholeStream;
        const int slots = cacheSizes && inTables ? cacheSizes[i] : static_cast<int>(kDefaultCacheSlots);
        if (loadMode == LXStream::NotLoaded)
            continue;
        LXStreamEntry entry;
        entry.offset = LXUtilities::readInt32FromBuffer(raw);
        entry.length = LXUtilities::readInt32FromBuffer(raw + 4);
        entry.storedSize = LXUtilities::readInt32FromBuffer(raw + 8);
        entry.blockWord = LXUtilities::readInt32FromBuffer(raw + 12);
        m_streams[i].reset(new (std::nothrow) LXStream(m_file.get(), m_compressor));
        if (!m_streams[i] || !m_streams[i]->initForReading(entry, loadMode, slots > 0 ? uint32_t(slots) : 1u)) {
            close();
            return false;
        }
    }
    return true;
}

void LXStreamFile::close()
{
    m_streams.reset();
    m_count = 0;
    if (m_file)
        m_file->close();
    m_file.reset();
    m_mode = 0;
}

bool LXStreamFile::isOpen() const { return m_file && m_file->isOpen(); }

LXStream *LXStreamFile::writableStream(int32_t stream) const
{
    return m_mode == ModeWrite ? streamAt(stream) : nullptr;
}

const LXStream *LXStreamFile::getStream(int32_t stream) const { return streamAt(stream); }

uint32_t LXStreamFile::getStreamSize(int32_t stream) const
{
    const LXStream *s = streamAt(stream);
    return s ? s->getLength() : 0;
}

uint32_t LXStreamFile::readInt16(int32_t stream, uint32_t position)
{
    return (uint32_t(readByte(stream, position)) << 8) | readByte(stream, position + 1);
}

uint32_t LXStreamFile::readInt32(int32_t stream, uint32_t position)
{
    return (uint32_t(readByte(stream, position)) << 24) | (uint32_t(readByte(stream, position + 1)) << 16) |
           (uint32_t(readByte(stream, position + 2)) << 8) | readByte(stream, position + 3);
}

uint32_t LXStreamFile::readBase255(int32_t stream, uint32_t position)
{
    return LXUtilities::base255ToInt(readInt32(stream, position));
}

bool LXStreamFile::decodeSequence(int32_t stream, uint32_t &position, uint32_t &codePoint)
{
    const uint32_t lead = readByte(stream, position++);
    uint32_t cp;
    int more;
    if (lead < 0x80) {
        cp = lead;
        more = 0;
    } else if (lead < 0xE0) { // a stray continuation byte is taken as a two-byte lead
        cp = lead & 0x1F;
        more = 1;
    } else if (lead < 0xF0) {
        cp = lead & 0x0F;
        more = 2;
    } else if (lead < 0xF8) {
        cp = lead & 0x07;
        more = 3;
    } else if (lead < 0xFC) {
        cp = lead & 0x03;
        more = 4;
    } else if (lead < 0xFE) {
        cp = lead & 0x01;
        more = 5;
    } else {
        return false; // 0xFE and 0xFF: consumed, no code point
    }
    for (int i = 0; i < more; ++i)
        cp = (cp << 6) | (readByte(stream, position++) & 0x3F);
    codePoint = cp;
    return true;
}

void LXStreamFile::readString(lxstring &text, int32_t stream, uint32_t &position, uint32_t terminator)
{
    text.clear();
    const uint32_t length = getStreamSize(stream);
    while (position < length) {
        uint32_t cp = 0;
        if (!decodeCodePoint(stream, position, cp))
            continue;
        if (cp == terminator)
            break;
        text += cp;
    }
}

void LXStreamFile::writeByte(int32_t stream, uint32_t &position, uint8_t value)
{
    LXStream *s = writableStream(stream);
    if (!s)
        return;
    s->writeByte(position, value);
    ++position;
}

void LXStreamFile::writeInt16(int32_t stream, uint32_t &position, uint32_t value)
{
    writeByte(stream, position, static_cast<uint8_t>(value >> 8));
    writeByte(stream, position, static_cast<uint8_t>(value));
}

void LXStreamFile::writeInt32(int32_t stream, uint32_t &position, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        writeByte(stream, position, static_cast<uint8_t>(value >> shift));
}

void LXStreamFile::writeBytes(int32_t stream, uint32_t &position, const lxstring &text)
{
    if (!writableStream(stream))
        return;
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text.c_str());
    for (int32_t i = 0; i < text.size() && bytes[i] != 0; ++i)
        writeByte(stream, position, bytes[i]);
}

void LXStreamFile::setCompressed(int32_t stream, bool compressed)
{
    LXStream *s = writableStream(stream);
    if (s)
        s->setCompressed(compressed);
}

bool LXStreamFile::write()
{
    if (m_mode != ModeWrite || !m_file)
        return false;
    unsigned char header[kHeaderSize];
    unsigned char *p = LXUtilities::writeInt32ToBuffer(header, kMagic);
    p = LXUtilities::writeInt32ToBuffer(p, m_count);
    p = LXUtilities::writeInt32ToBuffer(p, 0);
    LXUtilities::writeInt32ToBuffer(p, 0);
    if (m_file->seek(0, LXBinaryFile::FromBeginning) < 0 || !m_file->write(header, kHeaderSize))
        return false;
    if (m_file->seek(static_cast<int32_t>(kHeaderSize * (m_count + 1)), LXBinaryFile::FromBeginning) < 0)
        return false;
    bool ok = true;
    for (uint32_t i = 0; i < m_count; ++i)
        ok = writeStream(static_cast<int32_t>(i)) && ok;
    return ok;
}

bool LXStreamFile::writeStream(int32_t stream)
{
    LXStream *s = writableStream(stream);
    if (!s || !s->writeData())
        return false;
    const int32_t resume = m_file->tell();
    const LXStreamEntry e = s->getEntry();
    unsigned char raw[16];
    unsigned char *p = LXUtilities::writeInt32ToBuffer(raw, e.offset);
    p = LXUtilities::writeInt32ToBuffer(p, e.length);
    p = LXUtilities::writeInt32ToBuffer(p, e.storedSize);
    LXUtilities::writeInt32ToBuffer(p, e.blockWord);
    const int32_t entryAt = static_cast<int32_t>(kHeaderSize * (static_cast<uint32_t>(stream) + 1));
    if (resume < 0 || m_file->seek(entryAt, LXBinaryFile::FromBeginning) < 0 || !m_file->write(raw, 16))
        return false;
    return m_file->seek(resume, LXBinaryFile::FromBeginning) >= 0;
}

bool LXStreamFile::flush() { return m_mode == LXBinaryFile::ModeWrite && m_file && m_file->flush(); }

int32_t LXStreamFile::seek(int32_t position, int origin) { return m_file ? m_file->seek(position, origin) : -1; }
