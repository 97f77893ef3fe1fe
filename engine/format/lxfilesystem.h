// LXFileSystem: the few file operations that a safe rewrite needs beyond the standard
// streams: pushing a written file's data to the disk, and putting a new file in the
// place of an old one in one step, so that a reader (or a crash) sees either the old file
// or the new one, never a part of either. The only platform calls of the engine.
#ifndef WORDMERE_ENGINE_LXFILESYSTEM_H
#define WORDMERE_ENGINE_LXFILESYSTEM_H

#include <cstdint>

#include "base/lxstring.h"

// What tells one state of a file from another: its size, the time it was last written and,
// where the system numbers files, its number (a file put in another's place has a new one,
// even when it was written within the same tick of the file system's clock).
struct LXFileStamp {
    uint64_t size = 0;
    int64_t modified = 0;   // in the file system's own ticks
    uint64_t file = 0;      // the file's number on its device; 0 where there is none
};

inline bool operator==(const LXFileStamp &a, const LXFileStamp &b)
{
    return a.size == b.size && a.modified == b.modified && a.file == b.file;
}
inline bool operator!=(const LXFileStamp &a, const LXFileStamp &b)
{
    return !(a == b);
}

class LXFileSystem {
public:
    // Writes the file's data through to the disk. False when the file cannot be opened
    // or the system reports an error.
    static bool flushToDisk(const lxstring &path);
    // Replaces target by source (which then no longer exists), in one step: MoveFileExW
    // with replace-existing and write-through on Windows, rename elsewhere (followed by a
    // flush of the folder). False, and both files untouched, when it cannot be done.
    static bool replace(const lxstring &source, const lxstring &target);
    // True when the file is gone (or was never there).
    static bool remove(const lxstring &path);
    static bool exists(const lxstring &path);
    // The file's stamp; false when it cannot be read.
    static bool stamp(const lxstring &path, LXFileStamp &stamp);
};

#endif
