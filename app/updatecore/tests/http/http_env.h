// The test server's address and folder (set by http_test.sh), the transport under test
// (made by the build that runs the tests), and small file helpers.
#pragma once
#include "updaterclient.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <algorithm>
#include <memory>
#include <vector>
#include <string>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace fs = std::filesystem;

// The transport under test with the given time-out of every wait.
std::unique_ptr<HttpTransport> makeTestTransport(int timeoutMs);
// Whether the transport's abort ends a blocked wait at once; false where only the wait's own
// time-out can end it (WinInet under Wine).
bool testTransportCancelsAtOnce();

inline std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

inline std::wstring serverAddress() {
    const char* a = std::getenv("WORDMERE_TEST_SERVER");
    return a ? widen(a) : std::wstring();
}

// The served folder (under Wine, through the Z: drive that is the Unix root).
inline fs::path serverRoot() {
    const char* r = std::getenv("WORDMERE_TEST_SERVER_ROOT");
    if (!r) return fs::path();
#ifdef _WIN32
    return fs::path(L"Z:" + widen(r)).make_preferred();
#else
    return fs::path(r);
#endif
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool readBytes(const fs::path& path, std::string& bytes) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return true;
}

// A served file: ROOT/files/NAME.
inline fs::path servedFile(const std::string& name) { return serverRoot() / "files" / name; }

// A fresh empty folder under the system's temporary folder.
inline fs::path freshFolder() {
    fs::path base = fs::temp_directory_path();
    for (unsigned i = static_cast<unsigned>(std::rand());; ++i) {
        fs::path p = base / ("wordmere-http-" + std::to_string(i));
        std::error_code ec;
        if (fs::create_directory(p, ec)) return p;
    }
}

// The names in a folder, sorted, comma-separated.
inline std::string folderListing(const fs::path& folder) {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string s;
    for (auto& n : names) s += (s.empty() ? "" : ",") + n;
    return s;
}

// The run's slowness factor (WORDMERE_TEST_TIME_SCALE, 1 to 100; 1 when unset): an emulated Wine
// stretches every wait.
inline int slownessFactor() {
    const char* v = std::getenv("WORDMERE_TEST_TIME_SCALE");
    const int s = v ? std::atoi(v) : 1;
    return s >= 1 && s <= 100 ? s : 1;
}

inline std::string patternBytes(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

// A piece of work run on a thread of its own; the destructor waits for it. Under an emulated Wine
// a std::thread ends the process, so the Windows build runs it on a system thread.
class AsideTask {
public:
    explicit AsideTask(std::function<int()> work) : work_(std::move(work)) {
#ifdef _WIN32
        thread_ = CreateThread(nullptr, 0, &AsideTask::run, this, 0, nullptr);
#else
        thread_ = std::thread([this] {
            int r = work_();
            std::lock_guard<std::mutex> g(lock_);
            result_ = r;
            done_ = true;
            cv_.notify_all();
        });
#endif
    }
    ~AsideTask() {
#ifdef _WIN32
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
#else
        thread_.join();
#endif
    }
    AsideTask(const AsideTask&) = delete;
    AsideTask& operator=(const AsideTask&) = delete;

    // True when the work ended within `limit`.
    bool waitFor(std::chrono::milliseconds limit) {
#ifdef _WIN32
        return thread_ && WaitForSingleObject(thread_, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
#else
        std::unique_lock<std::mutex> g(lock_);
        return cv_.wait_for(g, limit, [this] { return done_; });
#endif
    }
    // The work's answer, once waitFor said it ended.
    int result() const { return result_; }

private:
    std::function<int()> work_;
    int result_ = -1;
#ifdef _WIN32
    static DWORD WINAPI run(LPVOID p) {
        auto* self = static_cast<AsideTask*>(p);
        self->result_ = self->work_();
        return 0;
    }
    HANDLE thread_ = nullptr;
#else
    std::thread thread_;
    std::mutex lock_;
    std::condition_variable cv_;
    bool done_ = false;
#endif
};
