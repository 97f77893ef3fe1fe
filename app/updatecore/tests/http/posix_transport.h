// A plain HTTP/1.1 transport over POSIX sockets, so the updater's protocol is tested natively
// against the real test server: one connection per request, the body up to the announced
// length or the end of the connection, time-outs on every wait, abort by shutting the socket.
#pragma once
#include "updaterclient.h"
#include <mutex>

class PosixTransport : public HttpTransport {
public:
    explicit PosixTransport(int timeoutMs = 30000) : timeoutMs_(timeoutMs) {}
    bool ready() override { return true; }
    int get(const HttpAddress& address, const std::wstring& headers, std::unique_ptr<HttpResponse>& out,
            int noConnection, int noRequest) override;
    void abort() override;

    // The socket being used (one request at a time); -1 when none.
    void setActive(int fd);
    bool aborted() const { return aborted_; }

private:
    int timeoutMs_;
    std::mutex lock_;
    int active_ = -1;
    std::atomic<bool> aborted_{false};
};
