#include "shared.h"

#include "tchk.h"

// The program writes a trace-file path here; the library does not use it.
wchar_t gsTraceFileName[260] __attribute__((section(".shr"), shared)) = {};

namespace tchk {

const wchar_t kMutexName[] = L"WORDMEREHK";
const wchar_t kRequestMessageName[] = L"TCHK";
const wchar_t kCapturedMessageName[] = L"TCHK_string_captured";

// Every process that maps the library sees the same section; each field starts with its
// initial value when the first process loads it.
SharedState g_shared __attribute__((section(".shr"), shared)) = {};
ProcessState g_process;

SharedLock::SharedLock(DWORD timeoutMs) {
    if (!g_process.mutex) return;
    const DWORD r = WaitForSingleObject(g_process.mutex, timeoutMs);
    held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

SharedLock::~SharedLock() {
    if (held_) ReleaseMutex(g_process.mutex);
}

bool processAlive(DWORD pid) {
    if (pid == 0 || pid == kNoProcess) return false;
    if (pid == GetCurrentProcessId()) return true;
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!h) return false;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
}

bool hooksAreOurs() { return g_shared.hooksOn && g_shared.hooksProcess == GetCurrentProcessId(); }

bool hooksActive() {
    if (!g_shared.hooksOn) return false;
    if (processAlive(g_shared.hooksProcess)) return true;
    // The patched process died before it could restore its functions.
    g_shared.hooksOn = 0;
    g_shared.hooksProcess = 0;
    return false;
}

namespace {
UINT g_requestMessage = 0;
UINT g_capturedMessage = 0;
}  // namespace

UINT requestMessage() {
    if (!g_requestMessage) g_requestMessage = RegisterWindowMessageW(kRequestMessageName);
    return g_requestMessage;
}

UINT capturedMessage() {
    if (!g_capturedMessage) g_capturedMessage = RegisterWindowMessageW(kCapturedMessageName);
    return g_capturedMessage;
}

DWORD waitScaleFrom(const wchar_t* value) {
    constexpr DWORD kMaxScale = 100;
    if (!value || !*value) return 1;
    DWORD scale = 0;
    for (const wchar_t* c = value; *c; ++c) {
        if (*c < L'0' || *c > L'9') return 1;
        scale = scale * 10 + static_cast<DWORD>(*c - L'0');
        if (scale > kMaxScale) return 1;
    }
    return scale == 0 ? 1 : scale;
}

DWORD scaledWaitMs(DWORD ms) {
    static const DWORD scale = [] {
        wchar_t value[16] = L"";
        const DWORD n = GetEnvironmentVariableW(L"WORDMERE_TEST_TIME_SCALE", value, 16);
        return waitScaleFrom(n > 0 && n < 16 ? value : nullptr);
    }();
    return ms * scale;
}

LRESULT sendBounded(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, scaledWaitMs(kSendTimeoutMs), &result)) return 0;
    return static_cast<LRESULT>(result);
}

uintptr_t threadFlags() {
    if (g_process.tls == TLS_OUT_OF_INDEXES) return 0;
    LastErrorKeeper keep;
    return reinterpret_cast<uintptr_t>(TlsGetValue(g_process.tls));
}

ThreadFlagScope::ThreadFlagScope(uintptr_t flag) : previous_(threadFlags()) {
    if (g_process.tls != TLS_OUT_OF_INDEXES) TlsSetValue(g_process.tls, reinterpret_cast<void*>(previous_ | flag));
}

ThreadFlagScope::~ThreadFlagScope() {
    if (g_process.tls != TLS_OUT_OF_INDEXES) {
        LastErrorKeeper keep;
        TlsSetValue(g_process.tls, reinterpret_cast<void*>(previous_));
    }
}

}  // namespace tchk
