#include "fwwindow.h"

namespace {
const wchar_t kObjectProp[] = L"FwWindowObject";
}

FwWindow::~FwWindow() {
    destroy();
}

FwWindow* FwWindow::fromHandle(HWND hwnd) {
    return hwnd ? static_cast<FwWindow*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

bool FwWindow::create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                      int x, int y, int w, int h, HWND parent, HMENU menuOrId, HICON icon, UINT classStyle) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(inst, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = &FwWindow::windowProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        if (!RegisterClassExW(&wc)) return false;
    }
    HWND h2 = CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menuOrId, inst, this);
    return h2 != nullptr;
}

void FwWindow::subclass(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProp, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FwWindow::subclassProc)));
}

void FwWindow::unsubclass() {
    if (!hwnd_ || !original_) return;
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(hwnd_, kObjectProp);
    }
    original_ = nullptr;
    hwnd_ = nullptr;
}

void FwWindow::destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

LRESULT FwWindow::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (original_) return CallWindowProcW(original_, hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT FwWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if ((msg == WM_COMMAND || msg == WM_NOTIFY) && fwReflectNotification(msg, wp, lp, r)) return r;
    return defaultProc(msg, wp, lp);
}

bool fwReflectNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND child = nullptr;
    if (msg == WM_COMMAND)
        child = reinterpret_cast<HWND>(lp);
    else if (msg == WM_NOTIFY && lp)
        child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
    FwWindow* obj = FwWindow::fromHandle(child);
    return obj && obj->onReflect(msg, wp, lp, result);
}

LRESULT FwWindow::dispatch(FwWindow* self, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = self->handleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjectProp);
        if (self->original_)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->original_));
        self->original_ = nullptr;
        self->hwnd_ = nullptr;
        self->onFinalDestroy();
    }
    return r;
}

LRESULT CALLBACK FwWindow::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    FwWindow* self = fromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<FwWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            SetPropW(hwnd, kObjectProp, self);
        }
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return dispatch(self, hwnd, msg, wp, lp);
}

LRESULT CALLBACK FwWindow::subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    FwWindow* self = fromHandle(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return dispatch(self, hwnd, msg, wp, lp);
}

std::wstring fwWindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, &s[0], n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}
