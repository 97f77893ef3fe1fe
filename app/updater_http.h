// The updater's transport over WinInet: one internet client per task, time-outs on every
// wait, and a cancel that closes the request being read so a stalled read ends at once (under
// Wine, where a request closed while another thread waits on it goes on waiting, the request's
// own time-out ends that wait).
#pragma once
#include "updaterclient.h"
#include <windows.h>
#include <wininet.h>

// A lock of the system's own (the updater's threads are system threads, which under an emulated
// Wine do not mix with the C++ library's thread support); usable with std::lock_guard.
class SystemLock {
public:
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

class WinInetTransport : public HttpTransport {
public:
    // A client with the application name as user agent and the system's proxy settings.
    explicit WinInetTransport(DWORD timeoutMs = kDefaultTimeoutMs);
    ~WinInetTransport() override;
    bool ready() override;
    int get(const HttpAddress& address, const std::wstring& headers, std::unique_ptr<HttpResponse>& out,
            int noConnection, int noRequest) override;
    void abort() override;
    // Whether a cancel ends a blocked wait at once (false: the wait ends by its time-out).
    static bool cancelEndsWaitsAtOnce();

    // The request a response reads; a cancel closes it, so the response then must not.
    void watch(HINTERNET request);
    bool unwatch(HINTERNET request);
    static constexpr DWORD kDefaultTimeoutMs = 30000;

private:
    DWORD timeoutMs_;
    HINTERNET client_ = nullptr;
    SystemLock lock_;
    HINTERNET watched_ = nullptr;
    bool aborted_ = false;
};
