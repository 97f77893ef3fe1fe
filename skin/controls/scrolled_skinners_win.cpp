// The scrolled skinners (Windows).
#ifdef _WIN32
#include "scrolled_skinners.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "resync_rules.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_platform.h"
#include "skin_repository.h"
#include "skin_scrollbar.h"

namespace {

constexpr DWORD kListOwnerDrawn = LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE;
const wchar_t kDropListClass[] = L"ComboLBox";

bool classIs(HWND window, const wchar_t *name)
{
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    return _wcsicmp(cls, name) == 0;
}

COLORREF colorOf(const SkinObject *d, SkinColor SkinObject::*field, COLORREF fallback)
{
    return d ? static_cast<COLORREF>(d->*field) : fallback;
}

void replaceBrush(HBRUSH &brush, COLORREF color)
{
    if (brush) {
        DeleteObject(brush);
    }
    brush = CreateSolidBrush(color);
}

LRESULT answerColors(HDC dc, COLORREF back, COLORREF text, HBRUSH brush)
{
    SetBkColor(dc, back);
    SetTextColor(dc, text);
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

// ---- the plain scrolled control

ScrolledControlSkinner::ScrolledControlSkinner(int32_t typeCode, WindowSkinner *container)
    : ControlSkinner(typeCode, container)
{
}

ScrolledControlSkinner::ScrolledControlSkinner(WindowSkinner *container)
    : ControlSkinner(kSkinScrollControl, container)
{
}

bool ScrolledControlSkinner::attach(HWND window)
{
    if (!ControlSkinner::attach(window)) {
        return false;
    }
    PostMessageW(window, WM_SKIN_APPLY_SCROLLBARS, 0, 0);
    return true;
}

void ScrolledControlSkinner::detach()
{
    if (scrollBarsInstalled_ && window()) {
        skinScrollBarUninstall(window());
        scrollBarsInstalled_ = false;
    }
    ControlSkinner::detach();
}

SkinObject *ScrolledControlSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ControlSkinner::setSkin(definition);
    if (scrollBarsInstalled_) {
        sizeScrollBars();
    }
    return previous;
}

void ScrolledControlSkinner::sizeScrollBars()
{
    SkinRepository *skin = SkinManager::instance().currentSkin();
    auto *bars = skin ? static_cast<ScrollBarDefinition *>(skin->findObjectByType(kSkinScrollBar)) : nullptr;
    if (bars) {
        skinScrollBarSetSize(window(), SB_BOTH, bars->buttonSize(), bars->buttonSize());
        skinScrollBarSetMinThumb(window(), SB_BOTH, bars->minThumbSize());
    }
}

void ScrolledControlSkinner::applyScrollBars()
{
    if (scrollBarsInstalled_ || !skinPlatformHasSkinnedScrollBars(skinPlatformClass())) {
        return;
    }
    SkinRepository *skin = SkinManager::instance().currentSkin();
    if (!skin || !skin->findObjectByType(kSkinScrollBar) || !skinScrollBarInstall(window())) {
        return;
    }
    skinScrollBarSetStyle(window(), SB_BOTH, kSkinScrollHotTracked);
    scrollBarsInstalled_ = true;
    sizeScrollBars();
}

namespace {

// The width of the border of a scrolled control, from its extended styles.
SIZE borderOf(HWND window)
{
    const DWORD ex = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    SIZE border{0, 0};
    if (ex & WS_EX_CLIENTEDGE) {
        border.cx += GetSystemMetrics(SM_CXEDGE);
        border.cy += GetSystemMetrics(SM_CYEDGE);
    }
    if (ex & WS_EX_DLGMODALFRAME) {
        border.cx += GetSystemMetrics(SM_CXDLGFRAME);
        border.cy += GetSystemMetrics(SM_CXDLGFRAME);
    }
    if (ex & WS_EX_STATICEDGE) {
        border.cx += 1;
        border.cy += 1;
    }
    return border;
}

// The region WM_NCPAINT gave (1: everything), as a region of its own.
HRGN copyOfUpdate(HRGN update, const RECT &screen)
{
    HRGN copy = CreateRectRgnIndirect(&screen);
    if (update != nullptr && update != reinterpret_cast<HRGN>(1)) {
        CombineRgn(copy, copy, update, RGN_AND);
    }
    return copy;
}

}  // namespace

void ScrolledControlSkinner::onNcPaint(HRGN update)
{
    TextStyleObject *style = textStyle();
    if (style == nullptr || !style->frame.isSet()) {
        callPrevious(WM_NCPAINT, reinterpret_cast<WPARAM>(update), 0);
        return;
    }
    const SIZE border = borderOf(window_);
    RECT screen;
    GetWindowRect(window_, &screen);
    RECT inner{screen.left + border.cx, screen.top + border.cy, screen.right - border.cx, screen.bottom - border.cy};
    if (inner.right < inner.left) inner.right = inner.left;
    if (inner.bottom < inner.top) inner.bottom = inner.top;
    // The system paints what lies inside the border (the scroll bars and their corner).
    HRGN rest = copyOfUpdate(update, inner);
    callPrevious(WM_NCPAINT, reinterpret_cast<WPARAM>(rest), 0);
    DeleteObject(rest);
    if (border.cx == 0 && border.cy == 0) {
        return;
    }
    HDC dc = GetWindowDC(window_);
    if (dc == nullptr) {
        return;
    }
    const RECT whole{0, 0, screen.right - screen.left, screen.bottom - screen.top};
    ExcludeClipRect(dc, border.cx, border.cy, whole.right - border.cx, whole.bottom - border.cy);
    skinDrawNineGrid(style->owner(), dc, whole, style->frame, style->bgColor, kSkinFill, false);
    ReleaseDC(window_, dc);
}

LRESULT ScrolledControlSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_NCPAINT:
        onNcPaint(reinterpret_cast<HRGN>(wp));
        return 0;
    case WM_PAINT:
    case WM_ERASEBKGND:
        // The control paints its own content.
        return WindowSkinner::windowProc(message, wp, lp);
    case WM_SKIN_APPLY_SCROLLBARS:
        applyScrollBars();
        return 0;
    case WM_SKIN_RESYNC:
        resynchronise(SB_BOTH);
        return 0;
    case WM_SIZE: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        if (resyncs()) {
            PostMessageW(window_, WM_SKIN_RESYNC, 0, 0);
        }
        return result;
    }
    default:
        return resyncs() ? handleThenResync(message, wp, lp) : ControlSkinner::windowProc(message, wp, lp);
    }
}

bool ScrolledControlSkinner::resyncs() const
{
    if (!scrollBarsInstalled_ || resyncKind() < 0) {
        return false;
    }
    const int32_t platform = skinPlatformClass();
    return platform == kPlatformWin98 || platform == kPlatformWinMe;
}

LRESULT ScrolledControlSkinner::handleThenResync(UINT message, WPARAM wp, LPARAM lp)
{
    int32_t notifyCode = 0;
    if (message == WM_NOTIFY && lp != 0) {
        notifyCode = static_cast<int32_t>(reinterpret_cast<const NMHDR *>(lp)->code);
    }
    bool styleChanged = false;
    if (message == WM_STYLECHANGED && lp != 0 &&
        (wp == static_cast<WPARAM>(GWL_STYLE) || wp == static_cast<WPARAM>(GWL_EXSTYLE))) {
        const auto *change = reinterpret_cast<const STYLESTRUCT *>(lp);
        styleChanged = change->styleOld != change->styleNew;
    }
    const bool listStyle = (GetWindowLongW(window_, GWL_STYLE) & LVS_TYPEMASK) == LVS_LIST;
    const ResyncAction action = resyncActionFor(resyncKind(), message, static_cast<uint32_t>(wp), notifyCode, styleChanged,
                                                listStyle);
    const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
    if (destroyed_ || window_ == nullptr) {
        return result;
    }
    switch (action) {
    case kResyncPost:
        PostMessageW(window_, WM_SKIN_RESYNC, 0, 0);
        break;
    case kResyncHorizontal:
        resynchronise(SB_HORZ);
        break;
    case kResyncVertical:
        resynchronise(SB_VERT);
        break;
    default:
        break;
    }
    return result;
}

void ScrolledControlSkinner::resynchronise(int which)
{
    if (!scrollBarsInstalled_ || window_ == nullptr || !skinScrollBarHas(window_)) {
        return;
    }
    auto realInfo = skinRealScrollFunctions().getScrollInfo;
    for (int bar : {SB_HORZ, SB_VERT}) {
        if (which != SB_BOTH && which != bar) {
            continue;
        }
        SCROLLINFO real{};
        real.cbSize = sizeof real;
        real.fMask = SIF_ALL;
        const BOOL known = realInfo ? realInfo(window_, bar, &real) : GetScrollInfo(window_, bar, &real);
        if (!known) {
            continue;
        }
        SCROLLINFO copy{};
        copy.cbSize = sizeof copy;
        copy.fMask = SIF_ALL;
        skinSbGetScrollInfo(window_, bar, &copy);
        // The page counts with the range: a list box that grew keeps its thumb to scale.
        if (real.nMin == copy.nMin && real.nMax == copy.nMax && real.nPage == copy.nPage) {
            if (real.nPos != copy.nPos) {
                skinSbSetScrollPos(window_, bar, real.nPos, TRUE);
            }
        } else {
            real.fMask = SIF_ALL;
            skinSbSetScrollInfoQuiet(window_, bar, &real, TRUE);
        }
    }
}

// ---- list boxes

ListBoxSkinner::ListBoxSkinner(WindowSkinner *container) : ScrolledControlSkinner(kSkinListBox, container) {}

ListBoxSkinner::~ListBoxSkinner()
{
    if (background_) {
        DeleteObject(background_);
    }
}

bool ListBoxSkinner::attach(HWND window)
{
    dropList_ = classIs(window, kDropListClass);
    if (!dropList_ && (GetWindowLongW(window, GWL_STYLE) & kListOwnerDrawn)) {
        return false;  // the owner draws its items
    }
    makeBrush();
    return ScrolledControlSkinner::attach(window);
}

int32_t ListBoxSkinner::resyncKind() const { return kResyncListBox; }

void ListBoxSkinner::makeBrush() { replaceBrush(background_, colorOf(definition(), &SkinObject::bgColor, GetSysColor(COLOR_WINDOW))); }

SkinObject *ListBoxSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ScrolledControlSkinner::setSkin(definition);
    makeBrush();
    return previous;
}

LRESULT ListBoxSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_CTLCOLORLISTBOX && reinterpret_cast<HWND>(lp) == window() && definition()) {
        return answerColors(reinterpret_cast<HDC>(wp), definition()->bgColor, definition()->textColor, background_);
    }
    return ScrolledControlSkinner::windowProc(message, wp, lp);
}

// ---- edits

EditSkinner::EditSkinner(WindowSkinner *container) : ScrolledControlSkinner(kSkinRichEdit, container) {}

EditSkinner::~EditSkinner()
{
    for (HBRUSH b : {edit_, readOnly_}) {
        if (b) {
            DeleteObject(b);
        }
    }
}

int32_t EditSkinner::resyncKind() const
{
    // A rich edit keeps its bars in step through the functions themselves.
    return window_ != nullptr && !classIs(window_, L"Edit") ? -1 : kResyncEdit;
}

void EditSkinner::makeBrushes()
{
    auto *d = static_cast<ScrollControlDefinition *>(definition());
    replaceBrush(edit_, colorOf(d, &SkinObject::bgColor, GetSysColor(COLOR_WINDOW)));
    replaceBrush(readOnly_, d ? d->readOnlyBgColor() : GetSysColor(COLOR_BTNFACE));
}

void EditSkinner::applyRichEditBackground()
{
    if (definition() && definition()->type() == kSkinRichEdit && window()) {
        SendMessageW(window(), EM_SETBKGNDCOLOR, 0, definition()->bgColor);
    }
}

bool EditSkinner::attach(HWND window)
{
    makeBrushes();
    if (!ScrolledControlSkinner::attach(window)) {
        return false;
    }
    applyRichEditBackground();
    return true;
}

SkinObject *EditSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ScrolledControlSkinner::setSkin(definition);
    makeBrushes();
    applyRichEditBackground();
    return previous;
}

LRESULT EditSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    // The parent reflects its colour messages about this edit here.
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) && reinterpret_cast<HWND>(lp) == window() &&
        definition()) {
        auto *d = static_cast<ScrollControlDefinition *>(definition());
        HDC dc = reinterpret_cast<HDC>(wp);
        if (message == WM_CTLCOLOREDIT) {
            return answerColors(dc, d->bgColor, d->textColor, edit_);
        }
        return answerColors(dc, d->readOnlyBgColor(), d->textColor, readOnly_);
    }
    return ScrolledControlSkinner::windowProc(message, wp, lp);
}

// ---- tree views and list views

TreeViewSkinner::TreeViewSkinner(WindowSkinner *container) : ScrolledControlSkinner(kSkinTreeView, container) {}

int32_t TreeViewSkinner::resyncKind() const { return kResyncTreeView; }

bool TreeViewSkinner::attach(HWND window)
{
    if (!ScrolledControlSkinner::attach(window)) {
        return false;
    }
    PostMessageW(window, WM_SKIN_REFRESH, 0, 0);
    return true;
}

SkinObject *TreeViewSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ScrolledControlSkinner::setSkin(definition);
    if (window()) {
        PostMessageW(window(), WM_SKIN_REFRESH, 0, 0);
    }
    return previous;
}

LRESULT TreeViewSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (message != WM_SKIN_REFRESH) {
        return ScrolledControlSkinner::windowProc(message, wp, lp);
    }
    if (auto *d = dynamic_cast<TreeViewDefinition *>(definition())) {
        SendMessageW(window(), TVM_SETTEXTCOLOR, 0, d->textColor);
        SendMessageW(window(), TVM_SETBKCOLOR, 0, d->bgColor);
        SendMessageW(window(), TVM_SETLINECOLOR, 0, d->lineColor);
        InvalidateRect(window(), nullptr, TRUE);
    }
    return 1;
}

ListViewSkinner::ListViewSkinner(WindowSkinner *container) : ScrolledControlSkinner(kSkinListView, container) {}

int32_t ListViewSkinner::resyncKind() const { return kResyncListView; }

LRESULT ListViewSkinner::trackThumb(int bar, int trackedPosition)
{
    SCROLLINFO real{};
    real.cbSize = sizeof real;
    real.fMask = SIF_ALL;
    auto realInfo = skinRealScrollFunctions().getScrollInfo;
    if (realInfo ? !realInfo(window_, bar, &real) : !GetScrollInfo(window_, bar, &real)) {
        return 0;
    }
    int distance = trackedPosition - real.nPos;
    const DWORD type = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)) & LVS_TYPEMASK;
    // Report and list views scroll vertically by items; the bar counts lines of 16 pixels.
    constexpr int kLineHeight = 16;
    if (bar == SB_VERT && (type == LVS_REPORT || type == LVS_LIST)) {
        distance *= kLineHeight;
    }
    if (distance != 0) {
        SendMessageW(window_, LVM_SCROLL, bar == SB_HORZ ? distance : 0, bar == SB_VERT ? distance : 0);
    }
    resynchronise(bar);
    return 0;
}

bool ListViewSkinner::attach(HWND window)
{
    if (GetWindowLongW(window, GWL_STYLE) & LVS_OWNERDRAWFIXED) {
        return false;
    }
    if (!ScrolledControlSkinner::attach(window)) {
        return false;
    }
    SendMessageW(window, WM_SKIN_REFRESH, 0, 0);
    return true;
}

SkinObject *ListViewSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ScrolledControlSkinner::setSkin(definition);
    if (window()) {
        SendMessageW(window(), WM_SKIN_REFRESH, 0, 0);
    }
    return previous;
}

LRESULT ListViewSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if ((message == WM_HSCROLL || message == WM_VSCROLL) && LOWORD(wp) == SB_THUMBTRACK && resyncs()) {
        SCROLLINFO skinned{};
        skinned.cbSize = sizeof skinned;
        skinned.fMask = SIF_TRACKPOS;
        const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
        skinSbGetScrollInfo(window_, bar, &skinned);
        return trackThumb(bar, skinned.nTrackPos);
    }
    if (message != WM_SKIN_REFRESH) {
        return ScrolledControlSkinner::windowProc(message, wp, lp);
    }
    if (SkinObject *d = definition()) {
        SendMessageW(window(), LVM_SETBKCOLOR, 0, d->bgColor);
        SendMessageW(window(), LVM_SETTEXTBKCOLOR, 0, d->bgColor);
        SendMessageW(window(), LVM_SETTEXTCOLOR, 0, d->textColor);
        InvalidateRect(window(), nullptr, TRUE);
    }
    return 1;
}

#endif
