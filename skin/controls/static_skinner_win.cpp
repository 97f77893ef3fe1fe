// The group box and static skinners (Windows).
#ifdef _WIN32
#include <windows.h>

#include "button_skinners.h"
#include "control_paint.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

constexpr int kStaticTextChars = 1024;
constexpr int kCaptionTextChars = 300;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

uint32_t styleOf(HWND w) { return static_cast<uint32_t>(GetWindowLongW(w, GWL_STYLE)); }

void addTransparent(HWND w) { SetWindowLongW(w, GWL_EXSTYLE, GetWindowLongW(w, GWL_EXSTYLE) | WS_EX_TRANSPARENT); }

// Repaints the parent's area under the control (or under a rectangle of the control).
void refreshParentUnder(HWND control, const RECT *part)
{
    HWND parent = GetParent(control);
    if (parent == nullptr) return;
    RECT r;
    if (part != nullptr) {
        r = *part;
    } else {
        GetClientRect(control, &r);
    }
    MapWindowPoints(control, parent, reinterpret_cast<POINT *>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
    UpdateWindow(parent);
}

// Runs the control's own procedure with WS_VISIBLE cleared, so that it paints nothing.
LRESULT callHidden(ControlSkinner &skinner, HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    SetWindowLongW(w, GWL_STYLE, style & ~WS_VISIBLE);
    const LRESULT result = skinner.callPrevious(message, wp, lp);
    SetWindowLongW(w, GWL_STYLE, style);
    return result;
}

}  // namespace

// ---- GroupBoxSkinner

bool GroupBoxSkinner::attach(HWND window)
{
    if (window == nullptr) return false;
    addTransparent(window);
    if (!ControlSkinner::attach(window)) return false;
    refreshParentUnder(window, nullptr);
    return true;
}

GroupBoxLayout GroupBoxSkinner::layout(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    std::wstring text = skinWindowText(window_, kCaptionTextChars);
    SIZE extent{0, 0};
    {
        ControlFontSelection font(window_, dc);
        const std::wstring measured = text.empty() ? L"A" : text;
        GetTextExtentPoint32W(dc, measured.c_str(), static_cast<int>(measured.size()), &extent);
    }
    auto *def = dynamic_cast<GroupBoxDefinition *>(definition_);
    const SkinRect margins = def ? def->captionMargins : SkinRect{0, 0, 0, 0};
    return groupBoxLayout(toSkinRect(client), extent.cx, extent.cy, margins, styleOf(window_));
}

void GroupBoxSkinner::paint(HDC dc)
{
    const GroupBoxLayout g = layout(dc);
    caption_ = toRECT(g.caption);
    skinPaintParentBackground(window_, dc);
    auto *def = dynamic_cast<GroupBoxDefinition *>(definition_);
    const std::wstring text = skinWindowText(window_, kCaptionTextChars);
    if (def == nullptr) return;
    // The frame runs behind the caption only when there is no text. Its picture is keyed: the
    // parent's background shows through inside the box.
    const int saved = SaveDC(dc);
    if (!text.empty()) {
        ExcludeClipRect(dc, caption_.left, caption_.top, caption_.right, caption_.bottom);
    }
    skinDrawKeyedNineGrid(def->owner(), dc, toRECT(g.frame), def->frame, keyColor_, skinIsRightToLeft(window_));
    RestoreDC(dc, saved);
    if (text.empty()) return;
    if (def->captionTransparent == 0) {
        skinDrawNineGrid(def->owner(), dc, caption_, def->captionImage, def->captionColor, kSkinFill, false);
    }
    ControlFontSelection font(window_, dc);
    SetBkMode(dc, TRANSPARENT);
    const RECT textRect = toRECT(g.captionText);
    skinStyledText(dc, def->textEffect, textRect, text.c_str(), static_cast<int>(text.size()), kCaptionFormat);
}

void GroupBoxSkinner::onPaint()
{
    ControlSkinner::onPaint();
    // The box is painted whole: the controls inside it that come after it are drawn again.
    RECT box;
    GetWindowRect(window_, &box);
    for (HWND w = GetWindow(window_, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if ((GetWindowLongW(w, GWL_STYLE) & WS_GROUP) != 0) continue;
        RECT r, overlap;
        GetWindowRect(w, &r);
        if (IntersectRect(&overlap, &r, &box)) {
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    }
}

LRESULT GroupBoxSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_ENABLE:
    case WM_SETTEXT: {
        const RECT old = caption_;
        const LRESULT result = callHidden(*this, window_, message, wp, lp);
        // The parent shows again where a longer caption stood.
        if (!IsRectEmpty(&old)) refreshParentUnder(window_, &old);
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        return result;
    }
    case WM_SETFONT:
        SetRectEmpty(&caption_);
        InvalidateRect(window_, nullptr, FALSE);
        break;
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

// ---- StaticSkinner

bool StaticSkinner::attach(HWND window)
{
    if (window == nullptr || !staticIsSkinned(styleOf(window))) return false;
    // The definition may come from the container only in the base's attach: read it after.
    if (!ControlSkinner::attach(window)) return false;
    auto *def = dynamic_cast<StaticDefinition *>(definition_);
    if (def != nullptr && def->transparent != 0) addTransparent(window);
    refreshParentUnder(window, nullptr);
    return true;
}

void StaticSkinner::paintBackground(HDC dc, const RECT &client)
{
    auto *def = dynamic_cast<StaticDefinition *>(definition_);
    if (def == nullptr || def->transparent != 0) {
        skinPaintParentBackground(window_, dc);
        return;
    }
    skinDrawNineGrid(def->owner(), dc, client, def->frame, def->bgColor, kSkinFill, false);
}

void StaticSkinner::paint(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    const uint32_t style = styleOf(window_);
    switch (staticKind(style)) {
    case StaticKind::kIcon: {
        HICON icon = reinterpret_cast<HICON>(callPrevious(STM_GETICON, 0, 0));
        if (icon == nullptr) return;
        if ((style & SS_CENTERIMAGE) != 0) {
            DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        } else {
            DrawIcon(dc, 0, 0, icon);
        }
        return;
    }
    case StaticKind::kBitmap: {
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(callPrevious(STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bm{};
        if (bitmap == nullptr || !GetObjectW(bitmap, sizeof bm, &bm)) return;
        int x = 0, y = 0;
        if ((style & SS_CENTERIMAGE) != 0) {
            x = (client.right - bm.bmWidth) / 2;
            y = (client.bottom - bm.bmHeight) / 2;
        }
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return;
    }
    case StaticKind::kText:
        break;
    }
    paintBackground(dc, client);
    auto *def = dynamic_cast<StaticDefinition *>(definition_);
    const std::wstring text = skinWindowText(window_, kStaticTextChars);
    if (def == nullptr || text.empty()) return;
    const bool editLike = (style & SS_EDITCONTROL) != 0;
    const SkinTextEffect &effect = editLike || IsWindowEnabled(window_) ? def->enabledText : def->disabledText;
    ControlFontSelection font(window_, dc);
    SetBkMode(dc, TRANSPARENT);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    skinStyledText(dc, effect, client, text.c_str(), static_cast<int>(text.size()),
                   staticTextFormat(style, skinIsRightToLeft(window_)));
    RestoreDC(dc, saved);
}

void StaticSkinner::onPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (dc == nullptr) return;
    paint(dc);
    EndPaint(window_, &ps);
}

LRESULT StaticSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_ERASEBKGND: {
        if (staticKind(styleOf(window_)) != StaticKind::kText) return callPrevious(message, wp, lp);
        RECT client;
        GetClientRect(window_, &client);
        paintBackground(reinterpret_cast<HDC>(wp), client);
        return 1;
    }
    case WM_ENABLE:
    case WM_SETTEXT: {
        const LRESULT result = callHidden(*this, window_, message, wp, lp);
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        return result;
    }
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

#endif
