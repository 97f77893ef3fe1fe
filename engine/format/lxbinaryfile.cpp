#include "format/lxbinaryfile.h"

#include <filesystem>
#include <limits>
#include <string>

LXBinaryFile::LXBinaryFile() : m_mode(0), m_size(0), m_readCount(0) {}

LXBinaryFile::~LXBinaryFile() { close(); }

bool LXBinaryFile::open(const lxstring &path, int mode)
{
    close();
    if (mode != ModeRead && mode != ModeWrite)
        return false;
    lxstring utf8(path);
    utf8.setEncoding(LXEncodingUtf8);
    // u8path keeps names beyond ASCII intact on Windows too (wide-character open).
    const std::filesystem::path p = std::filesystem::u8path(std::string(utf8.c_str(), static_cast<size_t>(utf8.size())));
    if (mode == ModeRead) {
        // Reads are of whole blocks at positions sought just before, and every seek drops
        // the stream's buffer: unbuffered, a read moves only the bytes asked for.
        m_stream.rdbuf()->pubsetbuf(nullptr, 0);
        m_stream.open(p, std::ios::in | std::ios::binary);
    }
    else
        m_stream.open(p, std::ios::out | std::ios::binary | std::ios::trunc);
    m_stream.clear();
    if (!m_stream.is_open())
        return false;
    m_mode = mode;
    m_path = path;
    m_readCount = 0;
    m_size = 0;
    if (mode == ModeRead) {
        m_stream.seekg(0, std::ios::end);
        const std::streamoff end = m_stream.tellg();
        m_stream.clear();
        m_stream.seekg(0, std::ios::beg);
        if (end < 0) {
            close();
            return false;
        }
        // Offsets in the engine's files are 32-bit: what lies beyond is out of reach anyway.
        m_size = end > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                            : static_cast<uint32_t>(end);
    }
    return true;
}

void LXBinaryFile::close()
{
    if (m_stream.is_open())
        m_stream.close();
    m_stream.clear();
    m_mode = 0;
    m_size = 0;
}

bool LXBinaryFile::isOpen() const { return m_stream.is_open(); }

uint32_t LXBinaryFile::read(void *buffer, uint32_t count)
{
    if (m_mode != ModeRead || !buffer)
        return 0;
    ++m_readCount;
    m_stream.read(static_cast<char *>(buffer), static_cast<std::streamsize>(count));
    return static_cast<uint32_t>(m_stream.gcount());
}

bool LXBinaryFile::write(const void *buffer, uint32_t count)
{
    if (m_mode != ModeWrite || (!buffer && count))
        return false;
    m_stream.write(static_cast<const char *>(buffer), static_cast<std::streamsize>(count));
    return !m_stream.fail();
}

bool LXBinaryFile::flush()
{
    if (m_mode != ModeWrite)
        return false;
    m_stream.flush();
    return !m_stream.fail();
}

int32_t LXBinaryFile::seek(int32_t position, int origin)
{
    if (!m_stream.is_open())
        return -1;
    std::ios::seekdir dir;
    switch (origin) {
    case FromBeginning: dir = std::ios::beg; break;
    case FromCurrent: dir = std::ios::cur; break;
    case FromEnd: dir = std::ios::end; break;
    default: return -1;
    }
    // A short read leaves end-of-file set, which would make every later seek fail.
    m_stream.clear();
    std::streamoff at;
    if (m_mode == ModeWrite) {
        m_stream.seekp(position, dir);
        at = m_stream.tellp();
    } else {
        m_stream.seekg(position, dir);
        at = m_stream.tellg();
    }
    if (m_stream.fail() || at < 0 || at > std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(at);
}

int32_t LXBinaryFile::tell()
{
    if (!m_stream.is_open())
        return -1;
    const std::streamoff at = m_mode == ModeWrite ? m_stream.tellp() : m_stream.tellg();
    if (at < 0 || at > std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(at);
}
