#include "format/lxcontainerwriter.h"

#include "format/lxfilesystem.h"
#include "format/lxstreamfile.h"

namespace {

const uint32_t kDirectoryEntrySize = 16;
const uint32_t kSizeWordOffset = 4;

std::string bytes(const lxstring &s)
{
    lxstring t(s);
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), static_cast<size_t>(t.size()));
}

} // namespace

LXContainerWriter::LXContainerWriter(LXCompressor *compressor, uint32_t streamCount)
    : m_compressor(compressor), m_streams(streamCount), m_compressed(streamCount, false),
      m_requireCompression(false), m_sizeInHeader(false), m_tooLarge(false)
{
}

lxstring LXContainerWriter::temporaryPath(const lxstring &path)
{
    lxstring t(path);
    t.setEncoding(LXEncodingUtf8);
    t += ".part";
    return t;
}

bool LXContainerWriter::writeTemporary(const lxstring &temporary, std::string &error)
{
    m_tooLarge = false;
    const uint32_t count = static_cast<uint32_t>(m_streams.size());
    LXStreamFile file(m_compressor);
    if (!file.open(temporary, LXStreamFile::ModeWrite, static_cast<int32_t>(count))) {
        error = bytes(temporary) + " cannot be created";
        return false;
    }
    for (uint32_t s = 0; s < count; ++s) {
        uint32_t at = 0;
        for (char c : m_streams[s])
            file.writeByte(static_cast<int32_t>(s), at, static_cast<uint8_t>(c));
        const LXStream *written = file.getStream(static_cast<int32_t>(s));
        if (!written || written->getLength() != m_streams[s].size()) {
            error = "out of memory for stream " + std::to_string(s);
            return false;
        }
        if (m_compressed[s])
            file.setCompressed(static_cast<int32_t>(s), true);
    }
    if (!file.write()) {
        error = bytes(temporary) + " cannot be written (is the disk full?)";
        return false;
    }
    for (uint32_t s = 0; m_requireCompression && s < count; ++s) {
        if (m_compressed[s] && !m_streams[s].empty() && !file.getStream(static_cast<int32_t>(s))->isCompressed()) {
            error = "stream " + std::to_string(s) + " (" + std::to_string(m_streams[s].size()) +
                    " bytes) is too large to be stored compressed";
            m_tooLarge = true;
            return false;
        }
    }
    if (m_sizeInHeader) {
        // Stream 0 is stored whole right behind the header and the directory: written a
        // second time with the size, it takes the same bytes.
        const int32_t size = file.seek(0, LXBinaryFile::FromEnd);
        uint32_t at = kSizeWordOffset;
        file.writeInt32(0, at, static_cast<uint32_t>(size));
        const int32_t streamStart = static_cast<int32_t>(LXStreamFile::kHeaderSize + kDirectoryEntrySize * count);
        if (size < 0 || file.getStream(0)->isCompressed() ||
            file.seek(streamStart, LXBinaryFile::FromBeginning) != streamStart || !file.writeStream(0)) {
            error = bytes(temporary) + " cannot be written (is the disk full?)";
            return false;
        }
    }
    if (!file.flush()) {
        error = bytes(temporary) + " cannot be written (is the disk full?)";
        return false;
    }
    file.close();
    if (!LXFileSystem::flushToDisk(temporary)) {
        error = bytes(temporary) + " cannot be flushed to the disk";
        return false;
    }
    return true;
}

bool LXContainerWriter::write(const lxstring &path, std::string &error)
{
    const lxstring temporary = temporaryPath(path);
    bool ok = writeTemporary(temporary, error);
    if (ok && !LXFileSystem::replace(temporary, path)) {
        error = bytes(path) + " cannot be replaced (is it in use, or the folder read-only?)";
        ok = false;
    }
    if (!ok)
        LXFileSystem::remove(temporary);
    return ok;
}
