#include "fwwindow.h"
#include "fwsubclass.h"

namespace {
const wchar_t kObjectProp[] = L"FwWindowObject";
}

FwWindow::~FwWindow() {
    HWND window = hwnd_;
    bool owned = owned_;
    // First out of the window's way: what follows must not reach this half-destroyed object.
    detach();
    if (owned && window && IsWindow(window)) DestroyWindow(window);
}

FwWindow* FwWindow::fromHandle(HWND hwnd) {
    return hwnd ? static_cast<FwWindow*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

void FwWindow::bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProp, this);
}

bool FwWindow::create(const FwCreateParams& p) {
    if (hwnd_ || !p.className) return false;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(inst, p.className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = p.classStyle;
        wc.lpfnWndProc = &FwWindow::windowProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = p.background;
        wc.lpszClassName = p.className;
        wc.hIcon = p.icon;
        wc.hIconSm = p.icon;
        if (!RegisterClassExW(&wc)) return false;
    }
    HMENU menuOrId = p.parent && (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.controlId))
                                                       : p.menu;
    owned_ = true;
    HWND h = CreateWindowExW(p.exStyle, p.className, p.title ? p.title : L"", p.style, p.x, p.y, p.width, p.height,
                             p.parent, menuOrId, inst, this);
    if (!h) owned_ = false;
    return h != nullptr;
}

bool FwWindow::subclass(HWND hwnd, bool owned) {
    if (hwnd_ || !IsWindow(hwnd) || fromHandle(hwnd)) return false;
    if (!fwAddSubclass(hwnd, &FwWindow::subclassLink, this)) return false;
    bind(hwnd);
    subclassed_ = true;
    owned_ = owned;
    return true;
}

void FwWindow::detach() {
    if (!hwnd_) return;
    if (subclassed_) fwRemoveSubclass(hwnd_, &FwWindow::subclassLink, this);
    if (fromHandle(hwnd_) == this) RemovePropW(hwnd_, kObjectProp);
    hwnd_ = nullptr;
    subclassed_ = false;
    owned_ = false;
}

void FwWindow::destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    detach();
}

LRESULT FwWindow::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (subclassed_) return fwDefSubclassProc(hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT FwWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = defaultProc(msg, wp, lp);
        if (r == -1 || !lp) return r;
        return onCreate(*reinterpret_cast<CREATESTRUCTW*>(lp));
    }
    case WM_DESTROY:
        onDestroy();
        return defaultProc(msg, wp, lp);
    }
    LRESULT r = 0;
    if (dispatchTyped(msg, wp, lp, r)) return r;
    return defaultProc(msg, wp, lp);
}

bool fwReflectNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND) {
        FwWindow* obj = FwWindow::fromHandle(reinterpret_cast<HWND>(lp));
        return obj && obj->onReflectedCommand(HIWORD(wp));
    }
    if (msg != WM_NOTIFY || !lp) return false;
    auto* header = reinterpret_cast<NMHDR*>(lp);
    FwWindow* obj = FwWindow::fromHandle(header->hwndFrom);
    return obj && obj->onReflectedNotify(*header, result);
}

LRESULT FwWindow::dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = handleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        detach();
        onFinalDestroy();
    }
    return r;
}

LRESULT CALLBACK FwWindow::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    FwWindow* self = fromHandle(hwnd);
    if (!self && msg == WM_NCCREATE && lp) {
        self = static_cast<FwWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) self->bind(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->dispatch(msg, wp, lp);
}

LRESULT FwWindow::subclassLink(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, void* data) {
    auto* self = static_cast<FwWindow*>(data);
    if (self->hwnd_ != hwnd) return fwDefSubclassProc(hwnd, msg, wp, lp);
    return self->dispatch(msg, wp, lp);
}

std::wstring fwWindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, &s[0], n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}
