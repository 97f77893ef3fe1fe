// The push button, check box and radio button skinners (Windows).
#ifdef _WIN32
#include <windows.h>

#include <cstring>
#include <vector>

#include "button_skinners.h"
#include "rasterimage.h"
#include "control_paint.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_repository.h"

namespace {

constexpr int kPushTextChars = 300;
constexpr int kCheckTextChars = 200;
constexpr int kTickGap = 2;
constexpr int kDefaultIconSide = 32;

uint32_t styleOf(HWND w) { return static_cast<uint32_t>(GetWindowLongW(w, GWL_STYLE)); }

RECT inset(const RECT &r, const SkinRect &m) { return RECT{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom}; }

SIZE iconSize(HICON icon)
{
    SIZE size{kDefaultIconSide, kDefaultIconSide};
    ICONINFO info{};
    if (icon != nullptr && GetIconInfo(icon, &info)) {
        BITMAP bm{};
        if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
            size = SIZE{bm.bmWidth, bm.bmHeight};
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    return size;
}

WPARAM clickedCommand(HWND w) { return MAKEWPARAM(static_cast<WORD>(GetWindowLongW(w, GWL_ID)), BN_CLICKED); }

}  // namespace

// ---- PushButtonSkinner

bool PushButtonSkinner::attach(HWND window)
{
    if (window == nullptr || !buttonIsSkinned(styleOf(window))) {
        return false;
    }
    if (!ControlSkinner::attach(window)) {
        return false;
    }
    if (definition_ != nullptr) {
        updateRegion();
    }
    return true;
}

SkinObject *PushButtonSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ControlSkinner::setSkin(definition);
    if (window_ != nullptr) {
        updateRegion();
    }
    return previous;
}

HRGN PushButtonSkinner::pushRegion()
{
    ButtonDefinition *def = pushLikeDefinition();
    if (def == nullptr || !def->looks[kButtonNormal].image.isSet()) {
        return nullptr;
    }
    RECT client;
    GetClientRect(window_, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return nullptr;
    }
    HDC screen = GetDC(window_);
    MemoryDC memory(screen, client.right, client.bottom);
    ReleaseDC(window_, screen);
    if (!memory.isValid()) {
        return nullptr;
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    skinFillRect(memory.dc(), client, face);
    skinDrawNineGrid(def->owner(), memory.dc(), client, def->looks[kButtonNormal].image, face, kSkinFill, false);
    HBITMAP bitmap = memory.releaseBitmap();
    RasterImage picture;
    const bool read = picture.CreateFromHBITMAP(bitmap, nullptr);
    DeleteObject(bitmap);
    return read ? skinRegionFromPicture(picture, keyColor_) : nullptr;
}

void PushButtonSkinner::updateRegion()
{
    if (window_ == nullptr || destroyed_) {
        return;
    }
    HRGN region = drawnAsPush() ? pushRegion() : nullptr;
    if (region == nullptr && region_ == nullptr) {
        return;
    }
    // The system owns what SetWindowRgn is given; the skinner keeps its own copy.
    HRGN copy = nullptr;
    if (region != nullptr) {
        copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, region, nullptr, RGN_COPY);
    }
    if (region_ != nullptr) {
        DeleteObject(region_);
    }
    region_ = region;
    SetWindowRgn(window_, copy, TRUE);
}

SkinObject *PushButtonSkinner::ownTypeDefinition()
{
    SkinRepository *skin = SkinManager::instance().currentSkin();
    return skin ? skin->findObjectByType(typeCode_) : nullptr;
}

void PushButtonSkinner::redrawNow()
{
    if (window_ == nullptr) return;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

ButtonState PushButtonSkinner::buttonState()
{
    const LRESULT state = callPrevious(BM_GETSTATE, 0, 0);
    ButtonState s;
    s.enabled = IsWindowEnabled(window_) != FALSE;
    s.pushed = (state & BST_PUSHED) != 0;
    s.pressed = pressed_;
    s.hover = hover_;
    s.checked = (callPrevious(BM_GETCHECK, 0, 0) & (BST_CHECKED | BST_INDETERMINATE)) != 0;
    s.focused = GetFocus() == window_;
    // Read at each paint: the dialog manager moves the default with BM_SETSTYLE, which need not
    // announce the change.
    s.isDefault = typeCode_ == kSkinButton && (styleOf(window_) & button_style::kTypeMask) == BS_DEFPUSHBUTTON;
    return s;
}

bool PushButtonSkinner::drawnAsPush() const
{
    return typeCode_ == kSkinButton || (styleOf(window_) & button_style::kPushLike) != 0;
}

ButtonDefinition *PushButtonSkinner::pushLikeDefinition()
{
    if (definition_ == nullptr) return nullptr;
    if (definition_->type() == kSkinButton) return static_cast<ButtonDefinition *>(definition_);
    SkinRepository *skin = definition_->owner();
    if (skin == nullptr) return nullptr;
    SkinObject *found = nullptr;
    if (auto *check = dynamic_cast<CheckBoxDefinition *>(definition_)) {
        char name[kSkinShortTextBytes + 1] = {};
        std::memcpy(name, check->pushLikeName, kSkinShortTextBytes);
        if (name[0] != '\0') found = skin->findObject(name);
    }
    if (found == nullptr || found->type() != kSkinButton) found = skin->findObject("PushLikeButton");
    if (found == nullptr || found->type() != kSkinButton) found = skin->findObjectByType(kSkinButton);
    return found != nullptr && found->type() == kSkinButton ? static_cast<ButtonDefinition *>(found) : nullptr;
}

void PushButtonSkinner::paint(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    if (drawnAsPush()) {
        drawPush(dc, client);
    } else {
        drawCheck(dc, client);
    }
}

void PushButtonSkinner::drawContent(HDC dc, const RECT &area, const SkinTextEffect &text, bool pushLike, int maxChars)
{
    const uint32_t style = styleOf(window_);
    const SkinRect within = toSkinRect(area);
    if ((style & button_style::kIcon) != 0) {
        HICON icon = reinterpret_cast<HICON>(callPrevious(BM_GETIMAGE, IMAGE_ICON, 0));
        if (icon == nullptr) return;
        const SIZE size = iconSize(icon);
        const RECT at = toRECT(alignButtonContent(within, size.cx, size.cy, style, pushLike));
        UINT flags = DST_ICON | ((style & WS_DISABLED) ? DSS_DISABLED : 0);
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, at.left, at.top, size.cx, size.cy, flags);
        return;
    }
    if ((style & button_style::kBitmap) != 0) {
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(callPrevious(BM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bm{};
        if (bitmap == nullptr || !GetObjectW(bitmap, sizeof bm, &bm)) return;
        const RECT at = toRECT(alignButtonContent(within, bm.bmWidth, bm.bmHeight, style, pushLike));
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(dc, at.left, at.top, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return;
    }
    const std::wstring label = skinWindowText(window_, maxChars);
    if (label.empty()) return;
    ControlFontSelection font(window_, dc);
    SetBkMode(dc, TRANSPARENT);
    const UINT format = buttonTextFormat(style, skinIsRightToLeft(window_));
    const SIZE size = skinMeasureText(dc, label, area, format);
    const RECT at = toRECT(alignButtonContent(within, size.cx, size.cy, style, pushLike));
    skinStyledText(dc, text, at, label.c_str(), static_cast<int>(label.size()), format);
}

void PushButtonSkinner::drawPush(HDC dc, const RECT &client)
{
    skinPaintParentBackground(window_, dc);
    ButtonDefinition *def = pushLikeDefinition();
    if (def == nullptr) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    bool has[kPushLookCount];
    for (int i = 0; i < kPushLookCount; ++i) has[i] = def->looks[i].image.isSet();
    const ButtonState s = buttonState();
    const int look = typeCode_ == kSkinButton ? pushButtonLook(s, has) : pushLikeLook(s, has);
    const SkinLook &chosen = def->looks[look];
    skinDrawKeyedNineGrid(def->owner(), dc, client, chosen.image, keyColor_);
    drawContent(dc, inset(client, chosen.margins), chosen.text, true, kPushTextChars);
}

void PushButtonSkinner::drawCheck(HDC dc, const RECT &client)
{
    auto *def = dynamic_cast<CheckBoxDefinition *>(definition_);
    if (def == nullptr) {
        skinPaintParentBackground(window_, dc);
        return;
    }
    bool bg[kCheckLooks], tick[kCheckLooks];
    for (int i = 0; i < kCheckLooks; ++i) {
        bg[i] = def->looks[i].background.isSet();
        tick[i] = def->looks[i].tick.isSet();
    }
    const ButtonState s = buttonState();
    const CheckLookChoice choice = checkLook(s, typeCode_ == kSkinRadio, bg, tick);
    const SkinNineGrid &background = def->looks[choice.background].background;
    if (def->transparent != 0) {
        skinPaintParentBackground(window_, dc);
        skinDrawKeyedNineGrid(def->owner(), dc, client, background, keyColor_);
    } else {
        skinDrawNineGrid(def->owner(), dc, client, background, GetSysColor(COLOR_BTNFACE), kSkinFill, false);
    }
    const SkinNineGrid &mark = def->looks[choice.tick].tick;
    const uint32_t style = styleOf(window_);
    const int side = mark.isSet() ? mark.source.width() : 13;
    const int height = mark.isSet() ? mark.source.height() : 13;
    RECT box = client;
    RECT text = client;
    if ((style & button_style::kLeftText) != 0) {
        box.left = client.right - side;
        text.right = box.left - kTickGap;
    } else {
        box.right = client.left + side;
        text.left = box.right + kTickGap;
    }
    const SkinRect placed = alignButtonContent(toSkinRect(box), side, height, style & button_style::kVCenter, false);
    box = toRECT(placed);
    skinDrawKeyedNineGrid(def->owner(), dc, box, mark, keyColor_);
    drawContent(dc, text, def->looks[choice.tick].text, false, kCheckTextChars);
}

void PushButtonSkinner::click()
{
    clickAction();
    redrawNow();
    PostMessageW(GetParent(window_), WM_COMMAND, clickedCommand(window_), reinterpret_cast<LPARAM>(window_));
}

LRESULT PushButtonSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        redrawNow();
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE: {
        const LRESULT result = callPrevious(message, wp, lp);
        redrawNow();
        return result;
    }
    case BM_GETCHECK:
        return callPrevious(message, wp, lp);
    case WM_SIZE: {
        const LRESULT result = callPrevious(message, wp, lp);
        updateRegion();
        return result;
    }
    case WM_STYLECHANGED:
        if (wp == static_cast<WPARAM>(GWL_STYLE)) {
            updateRegion();
        }
        break;
    case BM_SETCHECK: {
        callPrevious(WM_SETREDRAW, FALSE, 0);
        const LRESULT result = callPrevious(message, wp, lp);
        callPrevious(WM_SETREDRAW, TRUE, 0);
        redrawNow();
        return result;
    }
    case WM_KEYDOWN:
        if (wp != VK_SPACE) break;
        pressed_ = true;
        redrawNow();
        return 0;
    case WM_KEYUP:
        if (wp != VK_SPACE) break;
        // A release without the press (the key went down elsewhere) is no click.
        if (pressed_) {
            pressed_ = false;
            click();
        }
        return 0;
    case WM_CHAR:
    case WM_DEADCHAR:
        if (GetCapture() == window_) {
            ReleaseCapture();
            pressed_ = false;
            redrawNow();
        }
        break;
    case WM_MOUSEMOVE:
        if ((wp & MK_LBUTTON) != 0 && GetCapture() == window_) {
            RECT client;
            GetClientRect(window_, &client);
            const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            const bool inside = PtInRect(&client, at) != FALSE;
            if (inside != pressed_) {
                pressed_ = inside;
                redrawNow();
            }
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        hideTooltip();
        // Pressed first: the focus that the click gives is not a keyboard move into a group.
        pressed_ = true;
        SetFocus(window_);
        SetCapture(window_);
        redrawNow();
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window_) {
            ReleaseCapture();
            RECT client;
            GetClientRect(window_, &client);
            const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            pressed_ = false;
            if (PtInRect(&client, at)) {
                click();
            } else {
                redrawNow();
            }
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (pressed_ && reinterpret_cast<HWND>(lp) != window_) {
            pressed_ = false;
            redrawNow();
        }
        break;
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

// ---- ButtonSkinner

bool ButtonSkinner::isDefault() const
{
    return window_ != nullptr && (styleOf(window_) & button_style::kTypeMask) == BS_DEFPUSHBUTTON;
}

LRESULT ButtonSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_SETTEXT: {
        // The button's own procedure would paint the new text over the skin.
        const LONG style = GetWindowLongW(window_, GWL_STYLE);
        SetWindowLongW(window_, GWL_STYLE, style & ~WS_VISIBLE);
        const LRESULT result = callPrevious(message, wp, lp);
        SetWindowLongW(window_, GWL_STYLE, style);
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
        return result;
    }
    default:
        break;
    }
    return PushButtonSkinner::windowProc(message, wp, lp);
}

// ---- CheckBoxSkinner and RadioButtonSkinner

void CheckBoxSkinner::clickAction()
{
    const uint32_t style = styleOf(window_);
    const int current = static_cast<int>(callPrevious(BM_GETCHECK, 0, 0));
    const int next = nextCheckState(style, current);
    if (next != current) {
        SendMessageW(window_, BM_SETCHECK, static_cast<WPARAM>(next), 0);
    }
}

void RadioButtonSkinner::clickAction()
{
    if ((styleOf(window_) & button_style::kTypeMask) != button_style::kAutoRadio) return;
    HWND parent = GetParent(window_);
    std::vector<HWND> windows;
    std::vector<RadioSibling> siblings;
    size_t self = 0;
    for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == window_) self = windows.size();
        windows.push_back(w);
        const bool radio = (SendMessageW(w, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
        siblings.push_back(RadioSibling{(GetWindowLongW(w, GWL_STYLE) & WS_GROUP) != 0, radio});
    }
    for (const auto &check : radioGroupChecks(siblings, self)) {
        SendMessageW(windows[check.first], BM_SETCHECK, static_cast<WPARAM>(check.second), 0);
    }
}

LRESULT RadioButtonSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    // The dialog manager moves the focus through a group with the arrow keys: an unchecked
    // auto radio button that gets the focus without a mouse click is chosen, as the platform's is.
    if (message == WM_SETFOCUS && !pressed_ && (GetKeyState(VK_LBUTTON) & 0x8000) == 0 &&
        (styleOf(window_) & button_style::kTypeMask) == button_style::kAutoRadio &&
        callPrevious(BM_GETCHECK, 0, 0) == BST_UNCHECKED) {
        click();
        return 0;
    }
    return PushButtonSkinner::windowProc(message, wp, lp);
}

#endif
