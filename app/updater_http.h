// The updater's transport over WinInet: one internet client per task, time-outs on every
// wait, and a cancel that closes the request being read so a stalled read ends at once.
#pragma once
#include "updaterclient.h"
#include <windows.h>
#include <wininet.h>
#include <mutex>

class WinInetTransport : public HttpTransport {
public:
    // A client with the application name as user agent and the system's proxy settings.
    explicit WinInetTransport(DWORD timeoutMs = kDefaultTimeoutMs);
    ~WinInetTransport() override;
    bool ready() override;
    int get(const HttpAddress& address, const std::wstring& headers, std::unique_ptr<HttpResponse>& out,
            int noConnection, int noRequest) override;
    void abort() override;

    // The request a response reads; a cancel closes it, so the response then must not.
    void watch(HINTERNET request);
    bool unwatch(HINTERNET request);
    static constexpr DWORD kDefaultTimeoutMs = 30000;

private:
    HINTERNET client_ = nullptr;
    std::mutex lock_;
    HINTERNET watched_ = nullptr;
    bool aborted_ = false;
};
