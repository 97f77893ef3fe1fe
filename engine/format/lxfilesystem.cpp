#include "format/lxfilesystem.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::filesystem::path nativePath(const lxstring &path)
{
    lxstring utf8(path);
    utf8.setEncoding(LXEncodingUtf8);
    return std::filesystem::u8path(std::string(utf8.c_str(), static_cast<size_t>(utf8.size())));
}

#ifndef _WIN32
bool syncDescriptorOf(const std::filesystem::path &path, int flags)
{
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}
#endif

} // namespace

bool LXFileSystem::flushToDisk(const lxstring &path)
{
#ifdef _WIN32
    HANDLE h = CreateFileW(nativePath(path).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = FlushFileBuffers(h) != 0;
    return CloseHandle(h) != 0 && ok;
#else
    return syncDescriptorOf(nativePath(path), O_RDONLY);
#endif
}

bool LXFileSystem::replace(const lxstring &source, const lxstring &target)
{
    const std::filesystem::path from = nativePath(source), to = nativePath(target);
#ifdef _WIN32
    return MoveFileExW(from.wstring().c_str(), to.wstring().c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // The new name is on the disk once its folder is; a failure here no longer undoes
    // the replacement, which has happened.
    std::filesystem::path folder = to.parent_path();
    syncDescriptorOf(folder.empty() ? std::filesystem::path(".") : folder, O_RDONLY | O_DIRECTORY);
    return true;
#endif
}

bool LXFileSystem::remove(const lxstring &path)
{
    std::error_code error;
    std::filesystem::remove(nativePath(path), error);
    return !error;
}

bool LXFileSystem::exists(const lxstring &path)
{
    std::error_code error;
    return std::filesystem::exists(nativePath(path), error);
}

bool LXFileSystem::stamp(const lxstring &path, LXFileStamp &stamp)
{
    const std::filesystem::path file = nativePath(path);
#ifdef _WIN32
    HANDLE h = CreateFileW(file.wstring().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok)
        return false;
    stamp.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.modified = static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                          info.ftLastWriteTime.dwLowDateTime);
    stamp.file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
#else
    struct stat s;
    if (::stat(file.c_str(), &s) != 0)
        return false;
    const int64_t kNanoseconds = 1000000000;
    stamp.size = static_cast<uint64_t>(s.st_size);
    stamp.modified = static_cast<int64_t>(s.st_mtim.tv_sec) * kNanoseconds + s.st_mtim.tv_nsec;
    stamp.file = static_cast<uint64_t>(s.st_ino);
#endif
    return true;
}
