// LXBinaryFile: a thin wrapper over a binary file stream, open either for reading
// (mode 1) or for writing (mode 2, created or truncated).
#ifndef WORDMERE_ENGINE_LXBINARYFILE_H
#define WORDMERE_ENGINE_LXBINARYFILE_H

#include <cstdint>
#include <fstream>

#include "base/lxstring.h"

class LXBinaryFile {
public:
    enum Mode { ModeRead = 1, ModeWrite = 2 };
    enum Origin { FromBeginning = 1, FromCurrent = 2, FromEnd = 3 };

    LXBinaryFile();
    ~LXBinaryFile();

    LXBinaryFile(const LXBinaryFile &) = delete;
    LXBinaryFile &operator=(const LXBinaryFile &) = delete;

    // Closes what is open, then opens the path (any encoding; taken as text) for the
    // mode. True when the file is open.
    bool open(const lxstring &path, int mode);
    void close();
    bool isOpen() const;

    // Read mode only (else 0): the number of bytes read.
    uint32_t read(void *buffer, uint32_t count);
    // Write mode only (else false): true when the stream has no error afterwards.
    bool write(const void *buffer, uint32_t count);
    // Write mode only (else false): hands what is buffered to the system; false when
    // that fails (a full disk shows here, if not before).
    bool flush();

    // Moves the write position in write mode, the read position otherwise; the new
    // absolute position, or -1 on error (or beyond 32 bits). A failed earlier read does
    // not block later seeks.
    int32_t seek(int32_t position, int origin);
    // The current position (write position in write mode); -1 on error.
    int32_t tell();

    // The size of the file opened for reading, taken at open; 0 otherwise.
    uint32_t getSize() const { return m_size; }
    int getMode() const { return m_mode; }
    const lxstring &getPath() const { return m_path; }

    // Calls of read() since open; lets tests see what a cache spared.
    uint32_t getReadCount() const { return m_readCount; }

private:
    int m_mode;
    lxstring m_path;
    std::fstream m_stream;
    uint32_t m_size;
    uint32_t m_readCount;
};

#endif
