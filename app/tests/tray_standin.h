// A stand-in for the taskbar's notification area, for test runs where no shell is up (under an
// emulated Wine the shell's desktop process ends early, so there is no "Shell_TrayWnd"): a thread
// of the test program keeps a top-level window of that class and answers what the system's
// Shell_NotifyIconW sends it (one WM_COPYDATA per call, its dwData the NIM_ code), recording each
// call so that a test can check the icons added, changed and removed, and send an icon's
// callback message back as a click on it would.
// Where a real notification area exists it is used instead and nothing is recorded.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

class TrayStandIn {
public:
    struct Call {
        DWORD op = 0;            // NIM_ADD, NIM_MODIFY, NIM_DELETE, ...
        HWND window = nullptr;   // the icon's window
        UINT id = 0;             // the icon's uID
        UINT flags = 0;          // the call's uFlags
        UINT callback = 0;       // uCallbackMessage
        std::wstring tip;        // szTip, when NIF_TIP is among the flags
    };

    TrayStandIn() {
        if (FindWindowW(kClass, nullptr)) return;  // a real notification area
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &TrayStandIn::run, this, 0, nullptr);
        if (thread_) WaitForSingleObject(ready_, INFINITE);
    }
    ~TrayStandIn() {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (ready_) CloseHandle(ready_);
    }
    TrayStandIn(const TrayStandIn&) = delete;
    TrayStandIn& operator=(const TrayStandIn&) = delete;

    // True when this stand-in is the notification area (no real one was found).
    bool active() const { return window_ != nullptr; }
    HWND window() const { return window_; }

    std::vector<Call> calls() const {
        std::lock_guard<std::mutex> g(lock_);
        return calls_;
    }
    void clear() {
        std::lock_guard<std::mutex> g(lock_);
        calls_.clear();
        icons_.clear();
    }
    // The icons shown now (added and not yet deleted).
    size_t iconCount() const {
        std::lock_guard<std::mutex> g(lock_);
        return icons_.size();
    }
    // Sends the icon's callback message for a mouse message (WM_LBUTTONDBLCLK, WM_RBUTTONUP) as
    // the shell does; false when no such icon is shown.
    bool click(UINT id, UINT mouseMessage) {
        Call icon;
        {
            std::lock_guard<std::mutex> g(lock_);
            const Call* found = findIcon(id);
            if (!found) return false;
            icon = *found;
        }
        return PostMessageW(icon.window, icon.callback, icon.id, mouseMessage) != FALSE;
    }

private:
    static constexpr const wchar_t* kClass = L"Shell_TrayWnd";

    static DWORD WINAPI run(LPVOID p) {
        auto* self = static_cast<TrayStandIn*>(p);
        HINSTANCE inst = GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TrayStandIn::proc;
        wc.hInstance = inst;
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);
        HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, inst, self);
        self->window_ = w;
        SetEvent(self->ready_);
        if (!w) return 1;
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        return 0;
    }

    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(w, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<TrayStandIn*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (msg == WM_COPYDATA && self) return self->onCall(*reinterpret_cast<const COPYDATASTRUCT*>(lp));
        if (msg == WM_CLOSE) {
            DestroyWindow(w);
            return 0;
        }
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(w, msg, wp, lp);
    }

    LRESULT onCall(const COPYDATASTRUCT& data);

    const Call* findIcon(UINT id) const {
        for (auto& c : icons_)
            if (c.id == id) return &c;
        return nullptr;
    }

    HANDLE ready_ = nullptr, thread_ = nullptr;
    HWND window_ = nullptr;
    mutable std::mutex lock_;
    std::vector<Call> calls_;
    std::vector<Call> icons_;
};

// The system's call as it arrives: the icon's window (32 bits), uID, uFlags, uCallbackMessage and
// szTip at the start of the copied data, in that order (seen in Wine's WM_COPYDATA); the rest
// (state, balloon, the icon's pixels) is not needed here.
inline LRESULT TrayStandIn::onCall(const COPYDATASTRUCT& data) {
    constexpr size_t kWindow = 0, kId = 4, kFlags = 8, kCallback = 12, kTip = 16, kTipChars = 128;
    constexpr size_t kHead = kTip + kTipChars * sizeof(wchar_t);
    if (!data.lpData || data.cbData < kHead) return FALSE;
    const auto* bytes = static_cast<const unsigned char*>(data.lpData);
    auto u32 = [bytes](size_t at) {
        uint32_t v;
        std::memcpy(&v, bytes + at, sizeof v);
        return v;
    };
    Call call;
    call.op = static_cast<DWORD>(data.dwData);
    call.window = reinterpret_cast<HWND>(static_cast<uintptr_t>(u32(kWindow)));
    call.id = u32(kId);
    call.flags = u32(kFlags);
    call.callback = u32(kCallback);
    if (call.flags & NIF_TIP) {
        wchar_t tip[kTipChars];
        std::memcpy(tip, bytes + kTip, sizeof tip);
        tip[kTipChars - 1] = L'\0';
        call.tip = tip;
    }
    std::lock_guard<std::mutex> g(lock_);
    calls_.push_back(call);
    // Answered as a shell does: one icon per window and id; a change or removal needs it there.
    auto it = icons_.begin();
    while (it != icons_.end() && !(it->window == call.window && it->id == call.id)) ++it;
    switch (call.op) {
    case NIM_ADD:
        if (it != icons_.end()) return FALSE;
        icons_.push_back(call);
        return TRUE;
    case NIM_MODIFY:
        if (it == icons_.end()) return FALSE;
        if (call.flags & NIF_MESSAGE) it->callback = call.callback;
        if (call.flags & NIF_TIP) it->tip = call.tip;
        return TRUE;
    case NIM_DELETE:
        if (it == icons_.end()) return FALSE;
        icons_.erase(it);
        return TRUE;
    default:
        return it != icons_.end();
    }
}
