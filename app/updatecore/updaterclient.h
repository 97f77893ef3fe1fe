// The updater's HTTP protocol over a transport: a GET with the updater's headers that
// follows one redirect, a whole text body, and a file download that lands only when it is
// complete. The transport (WinInet in the program) only sends requests and reads answers.
#pragma once
#include "httpaddress.h"
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Why an updater request failed (0: it did not).
enum UpdaterCode : int {
    kUpdaterOk = 0,
    kUpdaterNetworkError = 1,
    kUpdaterNoStatusCallback = 2,
    kUpdaterNotHttp = 3,
    kUpdaterNoConnection = 4,
    kUpdaterNoRequest = 5,
    kUpdaterUnauthorized = 6,
    kUpdaterRedirectWithoutLocation = 7,
    kUpdaterRedirectNotHttp = 8,
    kUpdaterRedirectNoConnection = 9,
    kUpdaterRedirectNoRequest = 10,
    kUpdaterRedirectFailed = 11,
    kUpdaterBadText = 12,
    kUpdaterCannotCreateFile = 13,
    kUpdaterCancelled = 14,
    kUpdaterNotOk = 15,
    // The body is not as long as the server announced (cut short or too long), or larger
    // than the updater takes at all.
    kUpdaterIncomplete = 16,
    // The complete file is not one the program can use (a module that does not open).
    kUpdaterUnusableFile = 17,
};

constexpr uint32_t kUpdaterReadSize = 1023;
constexpr uint64_t kUpdaterMaxText = 8u << 20, kUpdaterMaxDownload = 1u << 30;
constexpr int kHttpOk = 200, kHttpDenied = 401;
extern const wchar_t kUpdaterHeaders[];

// One answer being read.
class HttpResponse {
public:
    virtual ~HttpResponse() = default;
    virtual int status() = 0;
    // A header of the answer by name (any letter case); false when it has none.
    virtual bool header(const std::wstring& name, std::wstring& value) = 0;
    // Up to `size` bytes of the body; `got` 0 at its end; false on a network failure.
    virtual bool read(char* buffer, uint32_t size, uint32_t& got) = 0;
};

class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    // False when the transport cannot work at all (no internet handle).
    virtual bool ready() = 0;
    // Sends a GET of `address` with `headers` added (CR LF separated) and reads the status;
    // kUpdaterOk, `noConnection` or `noRequest` as the step that failed, or a network error.
    virtual int get(const HttpAddress& address, const std::wstring& headers, std::unique_ptr<HttpResponse>& out,
                    int noConnection, int noRequest) = 0;
    // From another thread: ends a waiting send or read at once (both then fail).
    virtual void abort() = 0;
};

// Bytes so far and the announced total (0 when none was announced).
using UpdaterProgress = std::function<void(uint64_t sum, uint64_t total)>;
// Whether the complete file, still under its temporary name, may take its place.
using UpdaterAccept = std::function<bool(const std::wstring& temporaryPath)>;

// Opens a GET of `address`; kUpdaterOk with the answer, whatever its status apart from 401
// and redirects (one is followed; the location is resolved against the address).
int openUpdaterRequest(const std::wstring& address, HttpTransport& transport, std::unique_ptr<HttpResponse>& out);
// The body of a 200 answer, decoded from UTF-8 as a whole.
int fetchUpdaterText(const std::wstring& address, HttpTransport& transport, const std::atomic<bool>& cancel,
                     std::wstring& text);
// The body of a 200 answer into `localPath`: written to a temporary file beside it, checked
// against the announced length, and moved into place only when complete; on failure only
// the temporary file is deleted. `cancel` is polled before every read; `accept`, when set,
// has the last word on a complete file.
int downloadUpdaterFile(const std::wstring& address, const std::wstring& localPath, HttpTransport& transport,
                        const std::atomic<bool>& cancel, const UpdaterProgress& progress,
                        const UpdaterAccept& accept = nullptr);
