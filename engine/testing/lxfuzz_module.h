// What the module fuzzers share: UTF-8 text as lxstring, a scratch file per process, the
// seed module's bytes as the writer leaves them, and the input read as changes to those
// bytes.
#ifndef WORDMERE_ENGINE_FUZZ_LXFUZZ_MODULE_H
#define WORDMERE_ENGINE_FUZZ_LXFUZZ_MODULE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "format/lxdwriter.h"

inline lxstring u8(const char *s)
{
    return lxstring(s, LXEncodingUtf8);
}

// "$TMPDIR/wm_<name>_<pid><what>", so parallel fuzzing jobs keep apart.
inline std::string fuzzScratchPath(const char *name, const char *what)
{
    const char *dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/wm_" + name + "_" + std::to_string(getpid()) + what;
}

// The bytes of the module the writer writes to path (removed after); empty when it refuses.
inline std::string writtenModule(LXDWriter &w, const std::string &path)
{
    std::string bytes, why;
    if (w.write(path, why)) {
        std::ifstream f(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    std::remove(path.c_str());
    return bytes;
}

// Each three bytes of the input: a 16-bit offset into the file and the byte to put
// there; a last lone byte cuts the file to that fraction of its length. The file must
// not be empty.
inline void applyChanges(std::string &file, const uint8_t *data, size_t size)
{
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        size_t at = (size_t(data[i]) << 8 | data[i + 1]) % file.size();
        file[at] = static_cast<char>(data[i + 2]);
    }
    if (i < size && file.size() > 16) {
        size_t keep = 16 + (file.size() - 16) * data[i] / 255;
        if (keep < file.size())
            file.resize(keep);
    }
}

inline void writeBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

#endif
