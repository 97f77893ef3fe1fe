// The capture library's state: one shared section for every process that has the library
// mapped (the program and each GUI process the message hook reached), and the data each
// process keeps for itself.
#pragma once

#include <windows.h>

#include <cstdint>

#include "capturetext.h"
#include "commandline.h"

namespace tchk {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the library's text is UTF-16");

// Messages to the caller's notify window.
constexpr UINT kMsgTextCaptured = 0x83F3;
constexpr UINT kMsgBeginCapture = 0x83F4;
constexpr UINT kMsgCaptureByAccessibility = 0x83F5;
// The WM_LBUTTONDOWN that closes every exchange carries this lParam.
constexpr LPARAM kExchangeClosingPoint = 0x10001;

enum ActivationButton : int32_t { kKeyPress = 0, kLeftButton = 1, kMiddleButton = 2, kRightButton = 3 };
enum Request : LONG { kRequestNone = 0, kRequestCapture = 1 };

constexpr DWORD kNoProcess = 0xFFFFFFFF;
constexpr UINT_PTR kCaptureTimerId = 2;
constexpr UINT kCaptureTimeoutMs = 200;
constexpr DWORD kSendTimeoutMs = 500;      // every send to another process
constexpr DWORD kMutexWaitMs = 500;        // loading, unloading, applying a request
constexpr DWORD kControlMutexWaitMs = 5000; // init and disable
constexpr int kStripHalfWidth = 150;       // the strip redrawn around the point
constexpr int kStripWidth = 2 * kStripHalfWidth;

extern const wchar_t kMutexName[];
extern const wchar_t kRequestMessageName[];
extern const wchar_t kCapturedMessageName[];

struct SharedState {
    int32_t attachCount = 0;
    Point capturePoint;
    volatile LONG request = kRequestNone;
    DWORD targetProcess = kNoProcess;
    HWND targetWindow = nullptr;
    int32_t activationKey = VK_CONTROL;
    int32_t activationButton = kLeftButton;
    int32_t swallow = 1;
    CaptureText text = {};
    volatile LONG hooksOn = 0;
    DWORD hooksProcess = 0;          // the process whose functions are patched
    HHOOK messageHook = nullptr;
    DWORD ownerProcess = 0;          // the process that set the hook and made the fly window
    volatile LONG capturing = 0;
    char16_t result[kResultCapacity] = {};
    UINT capturedMessage = 0;
    UINT_PTR timerId = 0;
    HWND notifyWindow = nullptr;
    HWND flyWindow = nullptr;
    char16_t targetPath[kPathCapacity] = {};
};

struct ProcessState {
    HMODULE module = nullptr;
    HANDLE mutex = nullptr;
    DWORD tls = TLS_OUT_OF_INDEXES;
    LONG appliedRequest = kRequestNone;
    Point capturePoint;
    DWORD targetThread = 0;          // thread of the window under the point, when this process is the target
    WordBox boxes[kMaxWordBoxes] = {};
};

extern SharedState g_shared;
extern ProcessState g_process;

// The named mutex, held for the object's life when the wait succeeded (an abandoned mutex
// counts as taken).
class SharedLock {
  public:
    explicit SharedLock(DWORD timeoutMs);
    ~SharedLock();
    bool held() const { return held_; }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

  private:
    bool held_ = false;
};

bool processAlive(DWORD pid);
// The text-output functions are patched in a process that still runs (the flag of a
// process that died is cleared here).
bool hooksActive();
bool hooksAreOurs();

// The registered messages, looked up on first use (never under the loader lock).
UINT requestMessage();
UINT capturedMessage();

// The library's waits and its give-up time as the capture's caller runs them: the value times
// the test run's slowness factor (environment WORDMERE_TEST_TIME_SCALE, a whole number from 1 to
// 100, read once per process), so tests under an emulator can stretch them; the factor is 1
// when the variable is unset or not such a number, and the times are then the product's own.
DWORD scaledWaitMs(DWORD ms);
DWORD waitScaleFrom(const wchar_t* value);

// SendMessageTimeout with SMTO_ABORTIFHUNG and the library's time-out.
LRESULT sendBounded(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// Per-thread flags of the replacement functions.
enum ThreadFlag : uintptr_t { kInsideTextCall = 1, kInsideTabbedText = 2 };
uintptr_t threadFlags();

class ThreadFlagScope {
  public:
    explicit ThreadFlagScope(uintptr_t flag);
    ~ThreadFlagScope();
    ThreadFlagScope(const ThreadFlagScope&) = delete;
    ThreadFlagScope& operator=(const ThreadFlagScope&) = delete;

  private:
    uintptr_t previous_;
};

// Keeps the caller's last-error value across work done after a system call.
class LastErrorKeeper {
  public:
    LastErrorKeeper() : error_(GetLastError()) {}
    ~LastErrorKeeper() { SetLastError(error_); }

  private:
    DWORD error_;
};

}  // namespace tchk
