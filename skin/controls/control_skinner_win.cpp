// The control skinner base (Windows).
#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "control_skinner.h"
#include "control_types.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_manager.h"

namespace {
ControlTooltipHooks gTooltip;

constexpr UINT kPlacementFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kSkinRedrawFlags = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;

HFONT toFont(ControlFontKeeper::Handle h) { return reinterpret_cast<HFONT>(h); }
ControlFontKeeper::Handle toHandle(HFONT f) { return reinterpret_cast<ControlFontKeeper::Handle>(f); }
}  // namespace

void setControlTooltipHooks(const ControlTooltipHooks &hooks) { gTooltip = hooks; }

ControlSkinner::ControlSkinner(int32_t typeCode, WindowSkinner *container)
    : ownerWindow_(container ? container->window() : nullptr), typeCode_(typeCode)
{
}

ControlSkinner::~ControlSkinner() = default;

TextStyleObject *ControlSkinner::textStyle() const { return dynamic_cast<TextStyleObject *>(definition_); }

SkinObject *ControlSkinner::definitionInOwner() const
{
    if (window_ == nullptr || ownerWindow_ == nullptr) {
        return nullptr;
    }
    WindowSkinner *owner = SkinManager::instance().findSkinner(ownerWindow_);
    if (owner == nullptr || owner->definition() == nullptr) {
        return nullptr;
    }
    const int32_t id = static_cast<int32_t>(GetWindowLongW(window_, GWL_ID));
    SkinObject *found = findControlObject(owner->definition(), id, typeCode_);
    const int32_t fallback = skinControlFallbackType(typeCode_);
    if (found == nullptr && fallback != kSkinNone) {
        found = findControlObject(owner->definition(), id, fallback);
    }
    return found;
}

bool ControlSkinner::applyDefinitionPlacement(bool redrawOnFont)
{
    TextStyleObject *style = textStyle();
    if (style == nullptr) {
        return false;
    }
    if (style->hasFontSet() && style->fontHandle != nullptr) {
        postSkinFont(static_cast<HFONT>(style->fontHandle), redrawOnFont && !style->hasPositionSet());
    }
    if (style->hasPositionSet()) {
        const SkinRect &at = style->rect;
        MoveWindow(window_, at.left, at.top, at.width(), at.height(), TRUE);
        return true;
    }
    return false;
}

bool ControlSkinner::attach(HWND window)
{
    if (window == nullptr || !IsWindow(window)) {
        return false;
    }
    // A combo box's drop-down list lies on the desktop, which is no window of the program's.
    HWND parent = GetParent(window);
    if (parent == GetDesktopWindow()) {
        parent = nullptr;
    }
    const WPARAM id = static_cast<WPARAM>(GetWindowLongW(window, GWL_ID));
    if (parent != nullptr && SendMessageW(parent, WM_SKIN_QUERY_EXCLUDE, id, reinterpret_cast<LPARAM>(window)) != 0) {
        return false;
    }
    window_ = window;
    SkinObject *child = definitionInOwner();
    window_ = nullptr;
    if (child != nullptr) {
        WindowSkinner::setSkin(child);
    }
    if (!WindowSkinner::attach(window)) {
        return false;
    }
    if (child != nullptr) {
        applyDefinitionPlacement(true);
        return true;
    }
    TextStyleObject *style = textStyle();
    if (style != nullptr && style->hasFontSet() && style->fontHandle != nullptr) {
        postSkinFont(static_cast<HFONT>(style->fontHandle), true);
    }
    return true;
}

SkinObject *ControlSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = WindowSkinner::setSkin(definition);
    if (window_ == nullptr) {
        return previous;
    }
    if (SkinObject *child = definitionInOwner()) {
        WindowSkinner::setSkin(child);
        if (applyDefinitionPlacement(false)) {
            return previous;
        }
    } else {
        TextStyleObject *style = textStyle();
        if (style != nullptr && style->hasFontSet() && style->fontHandle != nullptr) {
            postSkinFont(static_cast<HFONT>(style->fontHandle), false);
        } else {
            restoreOwnFont(false);
        }
    }
    RedrawWindow(window_, nullptr, nullptr, kSkinRedrawFlags);
    return previous;
}

void ControlSkinner::postSkinFont(HFONT font, bool redraw)
{
    if (window_ == nullptr || !skinControlTakesFont(typeCode_)) {
        return;
    }
    if (font_.beginSkinFont(toHandle(font))) {
        PostMessageW(window_, WM_SKIN_SAVE_FONT, 0, 0);
    }
    PostMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

void ControlSkinner::restoreOwnFont(bool redraw)
{
    if (window_ == nullptr) {
        return;
    }
    // Skin fonts still in the queue would reach the control after it got its own back.
    MSG msg;
    std::vector<MSG> others;
    while (PeekMessageW(&msg, window_, WM_SETFONT, WM_SETFONT, PM_REMOVE | PM_NOYIELD)) {
        if (!font_.isSkinFont(static_cast<ControlFontKeeper::Handle>(msg.wParam))) {
            others.push_back(msg);
        }
    }
    while (PeekMessageW(&msg, window_, WM_SKIN_SAVE_FONT, WM_SKIN_SAVE_FONT, PM_REMOVE | PM_NOYIELD)) {
    }
    for (const MSG &m : others) {
        PostMessageW(m.hwnd, m.message, m.wParam, m.lParam);
    }
    ControlFontKeeper::Handle own = 0;
    if (font_.takeOwnFont(&own) && !destroyed_) {
        callPrevious(WM_SETFONT, reinterpret_cast<WPARAM>(toFont(own)), redraw ? TRUE : FALSE);
    }
}

void ControlSkinner::detach()
{
    if (window_ != nullptr && skinControlTakesFont(typeCode_)) {
        restoreOwnFont(true);
    }
    WindowSkinner::detach();
}

bool ControlSkinner::modifyStyle(DWORD remove, DWORD add, UINT positionFlags)
{
    const DWORD old = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old) {
        return false;
    }
    SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(changed));
    if (positionFlags != 0) {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, positionFlags | kPlacementFlags);
    }
    return true;
}

SkinObject *ControlSkinner::tooltipDefinition()
{
    WindowSkinner *owner = ownerWindow_ ? SkinManager::instance().findSkinner(ownerWindow_) : nullptr;
    if (owner == nullptr) {
        return nullptr;
    }
    return findControlObject(owner->definition(), 0, kSkinTooltip);
}

void ControlSkinner::showTooltip()
{
    if (gTooltip.show != nullptr) gTooltip.show(this);
}

void ControlSkinner::hideTooltip()
{
    if (gTooltip.hide != nullptr) gTooltip.hide(this);
}

void ControlSkinner::startHover()
{
    if (hover_) {
        return;
    }
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, HOVER_DEFAULT};
    TrackMouseEvent(&track);
    hover_ = true;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    showTooltip();
}

LRESULT ControlSkinner::onMouseLeave()
{
    if (!hover_) {
        return 0;
    }
    hover_ = false;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    POINT at;
    GetCursorPos(&at);
    if (gTooltip.holdsPoint == nullptr || !gTooltip.holdsPoint(this, at)) {
        hideTooltip();
    }
    return 0;
}

void ControlSkinner::onPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (dc == nullptr) {
        return;
    }
    paintThroughMemory(dc);
    EndPaint(window_, &ps);
}

void ControlSkinner::paintThroughMemory(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    MemoryDC memory(dc, client.right, client.bottom);
    if (memory.isValid()) {
        paint(memory.dc());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.dc(), 0, 0, SRCCOPY);
    }
}

void ControlSkinner::onNcDestroy()
{
    if (ownerWindow_ != nullptr && IsWindow(ownerWindow_)) {
        SendMessageW(ownerWindow_, WM_SKIN_CONTROL_DESTROYED, reinterpret_cast<WPARAM>(window_), 0);
    }
    WindowSkinner::onNcDestroy();
}

LRESULT ControlSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_UPDATEUISTATE:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        onNcDestroy();
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        hideTooltip();
        break;
    case WM_MOUSEMOVE:
        startHover();
        break;
    case WM_MOUSELEAVE:
        onMouseLeave();
        break;
    case WM_SKIN_SAVE_FONT:
        font_.onOwnFontRead(static_cast<ControlFontKeeper::Handle>(callPrevious(WM_GETFONT, 0, 0)));
        return 0;
    default:
        break;
    }
    return WindowSkinner::windowProc(message, wp, lp);
}

#endif
