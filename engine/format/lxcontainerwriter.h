// LXContainerWriter: writes a whole stream container (the form of every module file) in one
// go and safely: the streams are laid out in memory, written to a file beside the target,
// flushed through to the disk, and only then put in the target's place in one step. A
// crash, a full disk or a locked target at any moment leaves the old file as it was.
#ifndef WORDMERE_ENGINE_LXCONTAINERWRITER_H
#define WORDMERE_ENGINE_LXCONTAINERWRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include "base/lxstring.h"

class LXCompressor;

class LXContainerWriter {
public:
    // The compressor is borrowed.
    LXContainerWriter(LXCompressor *compressor, uint32_t streamCount);

    // The bytes of a stream, to be filled by the caller.
    std::string &stream(uint32_t index) { return m_streams[index]; }
    void setCompressed(uint32_t index) { m_compressed[index] = true; }
    // A stream set compressed must be stored so (the container stores a stream whose
    // blocks it cannot address whole); otherwise writing fails.
    void requireCompression() { m_requireCompression = true; }
    // Bytes 4..7 of stream 0 become the size of the whole file.
    void storeSizeInHeader() { m_sizeInHeader = true; }

    // The file written beside the target until it takes its place.
    static lxstring temporaryPath(const lxstring &path);

    // False, with the reason, when anything fails; the target is then untouched and no
    // temporary file is left behind.
    bool write(const lxstring &path, std::string &error);
    // Whether the last write failed only because a stream required compressed held more
    // than a compressed stream can (its blocks are addressed in 24 bits).
    bool wasTooLarge() const { return m_tooLarge; }

private:
    bool writeTemporary(const lxstring &temporary, std::string &error);

    LXCompressor *m_compressor;
    std::vector<std::string> m_streams;
    std::vector<bool> m_compressed;
    bool m_requireCompression;
    bool m_sizeInHeader;
    bool m_tooLarge;
};

#endif
