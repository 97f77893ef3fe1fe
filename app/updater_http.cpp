#include "updater_http.h"
#include "settings.h"
#include <mutex>
#include <vector>

namespace {
constexpr DWORD_PTR kUpdaterContext = 1;
constexpr int kFirstHttpStatus = 100, kLastHttpStatus = 599;

void CALLBACK statusCallback(HINTERNET, DWORD_PTR, DWORD, LPVOID, DWORD) {}

// Every wait of `handle` bounded by `timeoutMs`. Wine takes a client's time-outs over for its
// connect only: the waits for an answer and for the body keep their own unless they are set on
// the connection and the request as well.
void setTimeOuts(HINTERNET handle, DWORD timeoutMs) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &timeoutMs, sizeof timeoutMs);
}

// A header's text; false when the answer has none.
bool headerText(HINTERNET request, DWORD which, std::wstring& text) {
    text.clear();
    DWORD size = 0;
    HttpQueryInfoW(request, which, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1);
    if (!HttpQueryInfoW(request, which, buf.data(), &size, nullptr)) return false;
    text.assign(buf.data(), size / sizeof(wchar_t));
    return true;
}

class WinInetResponse : public HttpResponse {
public:
    WinInetResponse(WinInetTransport& t, HINTERNET connection, HINTERNET request)
        : transport_(t), connection_(connection), request_(request) {}
    ~WinInetResponse() override {
        if (transport_.unwatch(request_)) InternetCloseHandle(request_);
        InternetCloseHandle(connection_);
    }
    int status() override {
        DWORD status = 0, size = sizeof status;
        if (!HttpQueryInfoW(request_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
            return 0;
        return static_cast<int>(status);
    }
    bool header(const std::wstring& name, std::wstring& value) override {
        // Both through the API, which matches header names in any letter case.
        if (name == L"Location") return headerText(request_, HTTP_QUERY_LOCATION, value);
        if (name == L"Content-Length") return headerText(request_, HTTP_QUERY_CONTENT_LENGTH, value);
        return false;
    }
    bool read(char* buffer, uint32_t size, uint32_t& got) override {
        DWORD n = 0;
        BOOL ok = InternetReadFile(request_, buffer, size, &n);
        got = n;
        return ok != FALSE;
    }

private:
    WinInetTransport& transport_;
    HINTERNET connection_, request_;
};
}  // namespace

WinInetTransport::WinInetTransport(DWORD timeoutMs) : timeoutMs_(timeoutMs) {
    client_ = InternetOpenW(applicationName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (client_) setTimeOuts(client_, timeoutMs_);
}

WinInetTransport::~WinInetTransport() {
    if (client_) InternetCloseHandle(client_);
}

bool WinInetTransport::ready() {
    return client_ && InternetSetStatusCallbackW(client_, statusCallback) != INTERNET_INVALID_STATUS_CALLBACK;
}

void WinInetTransport::watch(HINTERNET request) {
    std::lock_guard<SystemLock> g(lock_);
    watched_ = request;
}

bool WinInetTransport::unwatch(HINTERNET request) {
    std::lock_guard<SystemLock> g(lock_);
    if (watched_ != request) return false;
    watched_ = nullptr;
    return true;
}

// Under Wine a request closed while another thread waits on it goes on waiting until the server
// ends the connection: there a cancel leaves the request open, and its time-out ends the wait.
bool WinInetTransport::cancelEndsWaitsAtOnce() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine;
}

void WinInetTransport::abort() {
    std::lock_guard<SystemLock> g(lock_);
    aborted_ = true;
    if (!watched_ || !cancelEndsWaitsAtOnce()) return;
    InternetCloseHandle(watched_);
    watched_ = nullptr;
}

int WinInetTransport::get(const HttpAddress& a, const std::wstring& headers, std::unique_ptr<HttpResponse>& out,
                          int noConnection, int noRequest) {
    out.reset();
    HINTERNET connection = InternetConnectW(client_, a.host.c_str(), static_cast<INTERNET_PORT>(a.port), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, kUpdaterContext);
    if (!connection) return noConnection;
    setTimeOuts(connection, timeoutMs_);
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (a.secure) flags |= INTERNET_FLAG_SECURE;
    HINTERNET request =
        HttpOpenRequestW(connection, L"GET", a.object.c_str(), nullptr, nullptr, nullptr, flags, kUpdaterContext);
    if (!request) {
        InternetCloseHandle(connection);
        return noRequest;
    }
    setTimeOuts(request, timeoutMs_);
    // Wine sends our User-Agent only when the header is added this way.
    HttpAddRequestHeadersW(request, headers.c_str(), static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    {
        std::lock_guard<SystemLock> g(lock_);
        if (aborted_) {
            InternetCloseHandle(request);
            InternetCloseHandle(connection);
            return kUpdaterCancelled;
        }
        watched_ = request;
    }
    auto response = std::make_unique<WinInetResponse>(*this, connection, request);
    if (!HttpSendRequestW(request, nullptr, 0, nullptr, 0)) return aborted_ ? kUpdaterCancelled : kUpdaterNetworkError;
    // A wait for the answer that timed out can still report the request as sent, with no
    // status line read: the server never answered.
    const int status = response->status();
    if (status < kFirstHttpStatus || status > kLastHttpStatus) return aborted_ ? kUpdaterCancelled : kUpdaterNetworkError;
    out = std::move(response);
    return kUpdaterOk;
}
