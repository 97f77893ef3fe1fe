#include "clip_playback.h"

#include "avi_clip.h"

namespace {

constexpr ULONG_PTR kLargestResourceId = 0x10000;
const wchar_t kClipResourceType[] = L"AVI";
const wchar_t kTemporaryPrefix[] = L"GV$";
const wchar_t kTemporaryFallbackFolder[] = L"C:\\";

// The bytes of an "AVI" resource; false when the module has none of that name.
bool resourceBytes(HMODULE module, const wchar_t *name, const uint8_t **bytes, DWORD *size)
{
    HRSRC found = FindResourceW(module, name, kClipResourceType);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    *bytes = loaded ? static_cast<const uint8_t *>(LockResource(loaded)) : nullptr;
    *size = SizeofResource(module, found);
    return *bytes != nullptr && *size > 0;
}

// Writes the bytes to a new file of a unique name in the temporary folder; its name, or empty.
std::wstring writeTemporaryFile(const uint8_t *bytes, DWORD size)
{
    wchar_t folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        lstrcpyW(folder, kTemporaryFallbackFolder);
    wchar_t path[MAX_PATH];
    if (GetTempFileNameW(folder, kTemporaryPrefix, 0, path) == 0)
        return {};
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes, size, &written, nullptr) && written == size;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok) {
        DeleteFileW(path);
        return {};
    }
    return path;
}

}  // namespace

ClipPlayback::ClipPlayback(ClipPlaybackTarget &target) : target_(target)
{
    stopEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

ClipPlayback::~ClipPlayback()
{
    close();
    if (stopEvent_)
        CloseHandle(stopEvent_);
}

bool ClipPlayback::open(HMODULE module, const wchar_t *name)
{
    close();
    if (!name || !player_.available())
        return false;
    bool opened;
    if (reinterpret_cast<ULONG_PTR>(name) < kLargestResourceId)
        opened = openResource(module, name);
    else
        opened = player_.open(name) || openResource(module, name);
    if (!opened)
        return false;
    sequence_.open(player_.frameCount());
    return true;
}

bool ClipPlayback::openResource(HMODULE module, const wchar_t *name)
{
    const uint8_t *bytes = nullptr;
    DWORD size = 0;
    if (!resourceBytes(module, name, &bytes, &size))
        return false;
    // A clip the video library could not play, or could misread, never reaches it.
    if (!AviClip(bytes, size).readable())
        return false;
    temporaryFile_ = writeTemporaryFile(bytes, size);
    if (temporaryFile_.empty())
        return false;
    bool opened = player_.open(temporaryFile_.c_str());
    // The library may keep the file open: then it goes when the clip is closed.
    if (!opened || DeleteFileW(temporaryFile_.c_str()))
        deleteTemporaryFile();
    return opened;
}

void ClipPlayback::close()
{
    stop();
    joinThread();
    player_.close();
    deleteTemporaryFile();
    sequence_.open(0);
}

void ClipPlayback::deleteTemporaryFile()
{
    if (!temporaryFile_.empty())
        DeleteFileW(temporaryFile_.c_str());
    temporaryFile_.clear();
}

uint32_t ClipPlayback::periodMs() const { return aviFramePeriodMs(player_.framesPerSecond()); }

bool ClipPlayback::play(int32_t repeat, uint32_t packedRange)
{
    stop();
    joinThread();
    if (!player_.isOpen() || periodMs() == 0 || !sequence_.play(repeat, packedRange))
        return false;
    ResetEvent(stopEvent_);
    playing_ = true;
    thread_ = CreateThread(nullptr, 0, &ClipPlayback::threadMain, this, 0, nullptr);
    if (!thread_)
        playing_ = false;
    return thread_ != nullptr;
}

bool ClipPlayback::stop()
{
    if (!playing_.exchange(false))
        return false;
    SetEvent(stopEvent_);
    joinThread();
    return true;
}

void ClipPlayback::joinThread()
{
    if (!thread_)
        return;
    // The thread never waits for this one (it draws through its own DC), so this wait ends.
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI ClipPlayback::threadMain(void *self)
{
    static_cast<ClipPlayback *>(self)->run();
    return 0;
}

void ClipPlayback::run()
{
    DWORD period = periodMs();
    HWND window = target_.clipWindow();
    while (WaitForSingleObject(stopEvent_, period) == WAIT_TIMEOUT) {
        HDC dc = GetDC(window);
        if (dc) {
            target_.drawClipFrame(dc, sequence_.currentFrame());
            ReleaseDC(window, dc);
        }
        if (sequence_.advance()) {
            playing_ = false;
            return;
        }
    }
}
