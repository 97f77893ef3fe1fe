// The scrolled skinners (Windows).
#ifdef _WIN32
#include "scrolled_skinners.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "skin_codes.h"
#include "skin_definitions.h"
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

LRESULT ScrolledControlSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        // The control paints its own content.
        return WindowSkinner::windowProc(message, wp, lp);
    case WM_SKIN_APPLY_SCROLLBARS:
        applyScrollBars();
        return 0;
    default:
        return ControlSkinner::windowProc(message, wp, lp);
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
