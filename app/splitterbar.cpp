#include "splitterbar.h"
#include "options.h"
#include "skin_interface.h"
#include <windowsx.h>
#include <algorithm>

namespace {
constexpr int kCursorHorizontal = 15491, kCursorVertical = 15490;

// The drag outline: the rectangle inverted through a halftone brush, so drawing it a
// second time erases it.
void invertOutline(HDC dc, const RECT& r) {
    static const WORD pattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP bmp = CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH brush = CreatePatternBrush(bmp);
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(bmp);
}
}  // namespace

CSplitterBar::~CSplitterBar() {
    // The window goes first, so it leaves the skin's notifications while it still exists.
    destroy();
    if (skin_ && !appOption(kOptSkinningOff)) skinReleaseObject(skin_);
    skin_ = nullptr;
}

bool CSplitterBar::create(DWORD style, const RECT& r, HWND parent, int id, bool horizontal) {
    horizontal_ = horizontal;
    FwCreateParams p;
    p.className = L"CSplitterBar";
    p.style = style;
    p.x = r.left;
    p.y = r.top;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    p.parent = parent;
    p.controlId = id;
    return FwWindow::create(p);
}

void CSplitterBar::onDestroy() {
    if (watched_ && !appOption(kOptSkinningOff)) skinUnwatchWindow(hwnd_);
    watched_ = false;
}

int CSplitterBar::onCreate(CREATESTRUCTW&) {
    if (!appOption(kOptSkinningOff)) {
        readSkinColours();
        watched_ = skinWatchWindow(hwnd_, WM_SPLITTER_SKIN_CHANGED) != 0;
    }
    GetWindowRect(hwnd_, &start_);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT pc{};
    GetClientRect(GetParent(hwnd_), &pc);
    lower_ = horizontal_ ? pc.top : pc.left;
    upper_ = horizontal_ ? pc.bottom : pc.right;
    return 0;
}

void CSplitterBar::readSkinColours() {
    // The object of a skin that is no longer current is let go; the new skin's is read.
    if (skin_) skinReleaseObject(skin_);
    skin_ = skinFindObject(L"Splitter");
    COLORREF c = 0;
    // A colour the skin lacks keeps the system colour.
    bg_ = skin_ && skinObjectColor(skin_, L"BGColor", &c) ? c : GetSysColor(COLOR_BTNFACE);
    hi_ = skin_ && skinObjectColor(skin_, L"Highlight", &c) ? c : GetSysColor(COLOR_BTNHIGHLIGHT);
    shadow_ = skin_ && skinObjectColor(skin_, L"Shadow", &c) ? c : GetSysColor(COLOR_BTNSHADOW);
}

RECT CSplitterBar::rectInParent() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CSplitterBar::setPanes(HWND first, HWND second) {
    first_ = first;
    second_ = second;
    if (!first_ || !second_ || !hwnd_) return;
    HWND parent = GetParent(hwnd_);
    RECT a{}, b{};
    GetWindowRect(first_, &a);
    GetWindowRect(second_, &b);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&a), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
    if (horizontal_) {
        int f = GetSystemMetrics(SM_CXFRAME);
        MoveWindow(hwnd_, a.left, a.bottom - f / 2, a.right - a.left, f / 2 * 2, TRUE);
        lower_ = a.top + minPane_;
        upper_ = b.bottom - minPane_;
    } else {
        int f = GetSystemMetrics(SM_CYFRAME);
        MoveWindow(hwnd_, a.right - f / 2, a.top, f / 2 * 2, a.bottom - a.top, TRUE);
        lower_ = a.left + minPane_;
        upper_ = b.right - minPane_;
    }
    layoutPanes();
}

void CSplitterBar::layoutPanes() {
    if (!first_ || !second_ || !hwnd_) return;
    HWND parent = GetParent(hwnd_);
    RECT bar = rectInParent(), a{}, b{};
    GetWindowRect(first_, &a);
    GetWindowRect(second_, &b);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&a), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
    if (horizontal_) {
        int e = GetSystemMetrics(SM_CYBORDER);
        a.bottom = bar.top + e;
        b.top = bar.bottom - e;
    } else {
        int e = GetSystemMetrics(SM_CXBORDER);
        a.right = bar.left + e;
        b.left = bar.right - e;
    }
    MoveWindow(first_, a.left, a.top, std::max<int>(a.right - a.left, 0), std::max<int>(a.bottom - a.top, 0), TRUE);
    MoveWindow(second_, b.left, b.top, std::max<int>(b.right - b.left, 0), std::max<int>(b.bottom - b.top, 0), TRUE);
    InvalidateRect(parent, nullptr, TRUE);
}

bool CSplitterBar::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    HBRUSH brush = CreateSolidBrush(bg_);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    // A 3-D frame: highlight along the top and left, shadow along the bottom and right.
    HPEN light = CreatePen(PS_SOLID, 1, hi_), dark = CreatePen(PS_SOLID, 1, shadow_);
    HGDIOBJ old = SelectObject(dc, light);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    SelectObject(dc, dark);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left - 1, r.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(dark);
    EndPaint(hwnd_, &ps);
    return true;
}

POINT CSplitterBar::inParent(POINT screen) const {
    ScreenToClient(GetParent(hwnd_), &screen);
    return screen;
}

void CSplitterBar::drawOutline(POINT screen) {
    POINT p = inParent(screen);
    int across = horizontal_ ? p.y : p.x;
    if (across < lower_ || across > upper_) return;
    HWND parent = GetParent(hwnd_);
    RECT r = start_;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    if (horizontal_)
        OffsetRect(&r, 0, across - r.top);
    else
        OffsetRect(&r, across - r.left, 0);
    HDC dc = GetDC(parent);
    // The full bar as the outline; the last one is erased by inverting it again.
    if (outlineDrawn_) invertOutline(dc, last_);
    invertOutline(dc, r);
    ReleaseDC(parent, dc);
    last_ = r;
    outlineDrawn_ = true;
}

void CSplitterBar::eraseOutline() {
    if (!outlineDrawn_) return;
    HWND parent = GetParent(hwnd_);
    HDC dc = GetDC(parent);
    invertOutline(dc, last_);
    ReleaseDC(parent, dc);
    outlineDrawn_ = false;
}

bool CSplitterBar::onSetCursor(HWND, UINT, UINT) {
    DWORD pos = GetMessagePos();
    POINT p{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (!PtInRect(&r, p)) return false;
    int id = horizontal_ ? kCursorHorizontal : kCursorVertical;
    HCURSOR c = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    if (!c) c = LoadCursorW(nullptr, horizontal_ ? IDC_SIZENS : IDC_SIZEWE);
    SetCursor(c);
    return true;
}

bool CSplitterBar::onLButtonDown(POINT p, UINT) {
    ClientToScreen(hwnd_, &p);
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (!PtInRect(&r, p)) return false;
    SetCapture(hwnd_);
    dragging_ = true;
    start_ = r;
    outlineDrawn_ = false;
    drawOutline(p);
    return true;
}

bool CSplitterBar::onMouseMove(POINT p, UINT keys) {
    if (!dragging_ || !(keys & MK_LBUTTON)) return false;
    ClientToScreen(hwnd_, &p);
    drawOutline(p);
    return true;
}

bool CSplitterBar::onLButtonUp(POINT p, UINT) {
    if (!dragging_) return false;
    eraseOutline();
    ClientToScreen(hwnd_, &p);
    p = inParent(p);
    // The bar never leaves its limits, even when the lower limit lies above the upper.
    int across = std::max<int>(lower_, std::min<int>(horizontal_ ? p.y : p.x, upper_));
    RECT r = rectInParent();
    if (horizontal_)
        MoveWindow(hwnd_, r.left, across, r.right - r.left, r.bottom - r.top, TRUE);
    else
        MoveWindow(hwnd_, across, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
    ReleaseCapture();
    dragging_ = false;
    layoutPanes();
    SendMessageW(GetParent(hwnd_), WM_SPLITTER_MOVED, 0, 0);
    return true;
}

bool CSplitterBar::onCaptureChanged(HWND newCapture) {
    if (dragging_ && newCapture != hwnd_) {
        // Capture taken away mid-drag: forget the drag, leave the panes as they are.
        eraseOutline();
        dragging_ = false;
    }
    return false;
}

LRESULT CSplitterBar::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_SPLITTER_SKIN_CHANGED:
        // Another skin became current: its colours, painted at once.
        if (!appOption(kOptSkinningOff)) {
            readSkinColours();
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        return 0;
    case WM_NCCALCSIZE:
        // The whole window is the bar: with the border and caption bits of its style a bar a
        // few pixels high would otherwise have no client area to paint or to be clicked in.
        return 0;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}
