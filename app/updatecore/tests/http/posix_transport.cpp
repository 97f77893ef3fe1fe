#include "posix_transport.h"
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace {
std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(static_cast<char>(c));
    return s;
}

std::wstring lower(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

class PosixResponse : public HttpResponse {
public:
    PosixResponse(PosixTransport& t, int fd, int timeoutMs) : transport_(t), fd_(fd), timeoutMs_(timeoutMs) {}
    ~PosixResponse() override {
        transport_.setActive(-1);
        close(fd_);
    }
    int status() override { return status_; }
    bool header(const std::wstring& name, std::wstring& value) override {
        auto it = headers_.find(lower(name));
        if (it == headers_.end()) return false;
        value = it->second;
        return true;
    }
    bool read(char* buffer, uint32_t size, uint32_t& got) override {
        got = 0;
        if (hasLength_ && remaining_ == 0) return true;
        if (pending_.empty()) {
            char buf[4096];
            ssize_t n;
            if (!receive(buf, sizeof buf, n)) return false;
            if (n == 0) return true;
            pending_.assign(buf, static_cast<size_t>(n));
        }
        size_t take = std::min<size_t>(size, pending_.size());
        if (hasLength_) take = static_cast<size_t>(std::min<uint64_t>(take, remaining_));
        std::memcpy(buffer, pending_.data(), take);
        pending_.erase(0, take);
        if (hasLength_) remaining_ -= take;
        got = static_cast<uint32_t>(take);
        return true;
    }
    // Reads the status line and headers; false on any failure.
    bool readHead() {
        std::string head;
        size_t end;
        while ((end = head.find("\r\n\r\n")) == std::string::npos) {
            char buf[1024];
            ssize_t n;
            if (!receive(buf, sizeof buf, n) || n == 0 || head.size() > 65536) return false;
            head.append(buf, static_cast<size_t>(n));
        }
        pending_ = head.substr(end + 4);
        head.resize(end);
        size_t sp = head.find(' ');
        if (head.compare(0, 5, "HTTP/") != 0 || sp == std::string::npos) return false;
        status_ = std::atoi(head.c_str() + sp + 1);
        size_t pos = head.find("\r\n");
        while (pos != std::string::npos) {
            size_t next = head.find("\r\n", pos + 2);
            std::string line = head.substr(pos + 2, next == std::string::npos ? std::string::npos : next - pos - 2);
            size_t colon = line.find(':');
            if (colon != std::string::npos) {
                std::string v = line.substr(colon + 1);
                v.erase(0, v.find_first_not_of(' '));
                headers_[lower(std::wstring(line.begin(), line.begin() + colon))] = std::wstring(v.begin(), v.end());
            }
            pos = next;
        }
        auto it = headers_.find(L"content-length");
        uint64_t n;
        if (it != headers_.end() && parseContentLength(it->second, n)) {
            hasLength_ = true;
            remaining_ = n;
        }
        return true;
    }

private:
    bool receive(char* buf, size_t size, ssize_t& n) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs_) <= 0 || transport_.aborted()) return false;
        n = recv(fd_, buf, size, 0);
        return n >= 0 && !transport_.aborted();
    }

    PosixTransport& transport_;
    int fd_;
    int timeoutMs_;
    int status_ = 0;
    std::map<std::wstring, std::wstring> headers_;
    std::string pending_;
    bool hasLength_ = false;
    uint64_t remaining_ = 0;
};
}  // namespace

void PosixTransport::setActive(int fd) {
    std::lock_guard<std::mutex> g(lock_);
    active_ = fd;
}

void PosixTransport::abort() {
    aborted_ = true;
    std::lock_guard<std::mutex> g(lock_);
    if (active_ >= 0) shutdown(active_, SHUT_RDWR);
}

int PosixTransport::get(const HttpAddress& a, const std::wstring& headers, std::unique_ptr<HttpResponse>& out,
                        int noConnection, int noRequest) {
    out.reset();
    addrinfo hints{}, *res = nullptr;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(narrow(a.host).c_str(), std::to_string(a.port).c_str(), &hints, &res) != 0) return noConnection;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    bool connected = fd >= 0 && connect(fd, res->ai_addr, res->ai_addrlen) == 0;
    freeaddrinfo(res);
    if (!connected) {
        if (fd >= 0) close(fd);
        return kUpdaterNetworkError;
    }
    setActive(fd);
    auto response = std::make_unique<PosixResponse>(*this, fd, timeoutMs_);
    std::string request = "GET " + narrow(a.object) + " HTTP/1.1\r\nHost: " + narrow(a.host) + ":" +
                          std::to_string(a.port) + "\r\n" + narrow(headers) + "Connection: close\r\n\r\n";
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size()))
        return noRequest;
    if (!response->readHead()) return aborted_ ? kUpdaterCancelled : kUpdaterNetworkError;
    out = std::move(response);
    return kUpdaterOk;
}
