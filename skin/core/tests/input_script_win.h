// Real input for the Windows window tests: pointer moves, clicks and keys sent with SendInput
// from a system thread of its own (an InputScript) while the test's thread pumps its messages,
// since a move loop, a menu or a message box runs a modal loop on the test's thread. Every
// wait is stretched by the run's slowness factor (WORDMERE_TEST_TIME_SCALE).
#ifndef WORDMERE_SKIN_CORE_TESTS_INPUT_SCRIPT_WIN_H
#define WORDMERE_SKIN_CORE_TESTS_INPUT_SCRIPT_WIN_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>

namespace input_script {

inline double timeScale()
{
    const char *v = std::getenv("WORDMERE_TEST_TIME_SCALE");
    const double s = v ? std::atof(v) : 1.0;
    return s > 0 ? s : 1.0;
}

inline DWORD scaled(DWORD ms) { return static_cast<DWORD>(ms * timeScale()); }

// Dispatches the thread's messages for about ms (not scaled).
inline void pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(10);
    } while (static_cast<int32_t>(end - GetTickCount()) > 0);
}

// Waits until the condition holds or the (scaled) time is up, pumping the thread's messages
// meanwhile, or (on an input thread, which has no windows) only sleeping.
template <typename Condition>
bool waitUntil(Condition condition, DWORD ms, bool pumping)
{
    const DWORD end = GetTickCount() + scaled(ms);
    while (!condition()) {
        if (static_cast<int32_t>(end - GetTickCount()) <= 0) return false;
        if (pumping) {
            pump(20);
        } else {
            Sleep(20);
        }
    }
    return true;
}

template <typename Condition>
bool waitFor(Condition condition, DWORD ms = 5000)
{
    return waitUntil(condition, ms, true);
}

template <typename Condition>
bool pollFor(Condition condition, DWORD ms = 5000)
{
    return waitUntil(condition, ms, false);
}

inline void moveTo(int x, int y)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(x * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = static_cast<LONG>(y * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    Sleep(scaled(60));
}

inline void button(DWORD flag)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
    Sleep(scaled(60));
}

// Presses the left button at from, moves the pointer by dx, dy in four steps and lets go there:
// a drag as a user makes it (a caption drag, a thumb drag).
inline void dragBy(POINT from, int dx, int dy)
{
    moveTo(from.x, from.y);
    button(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step) moveTo(from.x + dx * step / 4, from.y + dy * step / 4);
    button(MOUSEEVENTF_LEFTUP);
}

inline void click(int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
{
    moveTo(x, y);
    button(down);
    button(up);
}

inline void key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
    Sleep(scaled(40));
}

inline void press(WORD vk)
{
    key(vk, false);
    key(vk, true);
}

// Runs a script of input on a system thread: under an emulated Wine a std::thread ends the
// process when it finishes.
class InputScript {
public:
    explicit InputScript(std::function<void()> script) : script_(std::move(script))
    {
        thread_ = CreateThread(nullptr, 0, &InputScript::run, this, 0, nullptr);
    }
    ~InputScript()
    {
        if (thread_ != nullptr) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
    }
    InputScript(const InputScript &) = delete;
    InputScript &operator=(const InputScript &) = delete;

    // Pumps until the script has run; false when it did not finish in time.
    bool finish(DWORD ms = 60000)
    {
        return thread_ != nullptr && waitFor([&] { return done_.load(); }, ms);
    }

private:
    static DWORD WINAPI run(void *self)
    {
        auto *script = static_cast<InputScript *>(self);
        script->script_();
        script->done_ = true;
        return 0;
    }
    std::function<void()> script_;
    std::atomic<bool> done_{false};
    HANDLE thread_ = nullptr;
};

}  // namespace input_script

#endif
