#include "updaterclient.h"
#include "plist.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

const wchar_t kUpdaterHeaders[] = L"Accept: text/*\r\nUser-Agent: Lexifold Updater\r\n";

namespace {
bool isRedirect(int status) { return status == 301 || status == 302 || status == 303; }

// The announced length (0 when there is none); false when it is malformed or too large.
bool announcedLength(HttpResponse& r, uint64_t limit, uint64_t& length) {
    length = 0;
    std::wstring text;
    if (!r.header(L"Content-Length", text)) return true;
    return parseContentLength(text, length) && length <= limit;
}

// Reads the body into `sink` one read at a time; the code of the first failure.
template <class Sink>
int readBody(HttpResponse& r, uint64_t announced, uint64_t limit, const std::atomic<bool>& cancel, Sink sink) {
    char buf[kUpdaterReadSize];
    uint64_t sum = 0;
    for (;;) {
        if (cancel) return kUpdaterCancelled;
        uint32_t got = 0;
        if (!r.read(buf, sizeof buf, got)) return cancel ? kUpdaterCancelled : kUpdaterNetworkError;
        if (got == 0) break;
        sum += got;
        if (sum > limit || (announced && sum > announced)) return kUpdaterIncomplete;
        int code = sink(buf, got, sum);
        if (code != kUpdaterOk) return code;
    }
    if (cancel) return kUpdaterCancelled;
    if (announced && sum != announced) return kUpdaterIncomplete;
    return kUpdaterOk;
}

std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    std::random_device rd;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(rd()));
    std::filesystem::path p = target;
    p += suffix;
    return p;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
    return MoveFileExW(from.wstring().c_str(), to.wstring().c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}
}  // namespace

int openUpdaterRequest(const std::wstring& address, HttpTransport& transport, std::unique_ptr<HttpResponse>& out) {
    out.reset();
    if (!transport.ready()) return kUpdaterNoStatusCallback;
    HttpAddress a;
    if (!parseHttpAddress(address, a)) return kUpdaterNotHttp;
    int code = transport.get(a, kUpdaterHeaders, out, kUpdaterNoConnection, kUpdaterNoRequest);
    if (code != kUpdaterOk) {
        out.reset();
        return code;
    }
    int status = out->status();
    if (isRedirect(status)) {
        std::wstring location;
        out->header(L"Location", location);
        out.reset();
        location = trimPlistText(location);
        if (location.empty()) return kUpdaterRedirectWithoutLocation;
        HttpAddress target;
        if (!parseHttpAddress(resolveLocation(address, location), target)) return kUpdaterRedirectNotHttp;
        code = transport.get(target, kUpdaterHeaders, out, kUpdaterRedirectNoConnection, kUpdaterRedirectNoRequest);
        if (code == kUpdaterOk && out->status() != kHttpOk) code = kUpdaterRedirectFailed;
        if (code != kUpdaterOk) out.reset();
        return code;
    }
    if (status == kHttpDenied) {
        out.reset();
        return kUpdaterUnauthorized;
    }
    return kUpdaterOk;
}

int fetchUpdaterText(const std::wstring& address, HttpTransport& transport, const std::atomic<bool>& cancel,
                     std::wstring& text) {
    text.clear();
    std::unique_ptr<HttpResponse> r;
    int code = openUpdaterRequest(address, transport, r);
    if (code != kUpdaterOk) return code;
    if (r->status() != kHttpOk) return kUpdaterNotOk;
    uint64_t announced;
    if (!announcedLength(*r, kUpdaterMaxText, announced)) return kUpdaterIncomplete;
    std::string body;
    code = readBody(*r, announced, kUpdaterMaxText, cancel, [&](const char* p, uint32_t n, uint64_t) {
        body.append(p, n);
        return kUpdaterOk;
    });
    if (code != kUpdaterOk) return code;
    return decodeUtf8Body(body, text) ? kUpdaterOk : kUpdaterBadText;
}

int downloadUpdaterFile(const std::wstring& address, const std::wstring& localPath, HttpTransport& transport,
                        const std::atomic<bool>& cancel, const UpdaterProgress& progress,
                        const UpdaterAccept& accept) {
    std::filesystem::path target, temp;
    try {
        target = std::filesystem::path(localPath);
        temp = temporaryBeside(target);
    } catch (...) {
        return kUpdaterCannotCreateFile;
    }
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file) return kUpdaterCannotCreateFile;
    int code;
    {
        std::unique_ptr<HttpResponse> r;
        code = openUpdaterRequest(address, transport, r);
        uint64_t total = 0;
        if (code == kUpdaterOk && r->status() != kHttpOk) code = kUpdaterNotOk;
        if (code == kUpdaterOk && !announcedLength(*r, kUpdaterMaxDownload, total)) code = kUpdaterIncomplete;
        if (code == kUpdaterOk)
            code = readBody(*r, total, kUpdaterMaxDownload, cancel, [&](const char* p, uint32_t n, uint64_t sum) {
                if (!file.write(p, n)) return kUpdaterCannotCreateFile;
                if (progress) progress(sum, total);
                return kUpdaterOk;
            });
    }
    file.close();
    if (code == kUpdaterOk && file.fail()) code = kUpdaterCannotCreateFile;
    if (code == kUpdaterOk && accept && !accept(temp.wstring())) code = kUpdaterUnusableFile;
    if (code == kUpdaterOk && !replaceFile(temp, target)) code = kUpdaterCannotCreateFile;
    if (code != kUpdaterOk) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
    }
    return code;
}
