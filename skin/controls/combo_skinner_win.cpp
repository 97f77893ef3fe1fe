// The combo box skinner (Windows).
#ifdef _WIN32
#include "combo_skinner.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "control_paint.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_repository.h"

namespace {

constexpr int kOwnerDrawInset = 2;
constexpr int kMaxSelectionChars = 1024;

RECT toRect(const SkinRect &r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void replaceBrush(HBRUSH &brush, COLORREF color)
{
    if (brush) {
        DeleteObject(brush);
    }
    brush = CreateSolidBrush(color);
}

std::wstring selectionText(HWND combo)
{
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return std::wstring();
    }
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0 || length > kMaxSelectionChars) {
        return std::wstring();
    }
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (copied <= 0 || copied > length) {
        return std::wstring();
    }
    return std::wstring(text.data(), static_cast<size_t>(copied));
}

}  // namespace

ComboBoxSkinner::ComboBoxSkinner(WindowSkinner *container) : ControlSkinner(kSkinComboBox, container) {}

ComboBoxSkinner::~ComboBoxSkinner()
{
    for (HBRUSH b : {background_, disabled_}) {
        if (b) {
            DeleteObject(b);
        }
    }
}

ComboBoxDefinition *ComboBoxSkinner::comboDefinition() const { return dynamic_cast<ComboBoxDefinition *>(definition_); }

void ComboBoxSkinner::makeBrushes()
{
    ComboBoxDefinition *d = comboDefinition();
    replaceBrush(background_, d ? static_cast<COLORREF>(d->bgColor) : GetSysColor(COLOR_WINDOW));
    replaceBrush(disabled_, d ? static_cast<COLORREF>(d->disabledBgColor) : GetSysColor(COLOR_BTNFACE));
}

bool ComboBoxSkinner::attach(HWND window)
{
    if (window == nullptr) {
        return false;
    }
    const uint32_t style = static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
    if (!comboIsSkinned(style)) {
        return false;
    }
    ownerDrawFixed_ = (style & kComboStyleOwnerDrawFixed) != 0;
    makeBrushes();
    if (!ControlSkinner::attach(window)) {
        return false;
    }
    skinDropList();
    if (dropList_ == nullptr) {
        PostMessageW(window, WM_SKIN_ATTACH_DROP_LIST, 0, 0);
    }
    return true;
}

void ComboBoxSkinner::skinDropList()
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(window_, &info) || info.hwndList == nullptr || info.hwndList == window_) {
        return;
    }
    SkinManager &manager = SkinManager::instance();
    if (manager.findSkinner(info.hwndList) != nullptr) {
        dropList_ = info.hwndList;
        return;
    }
    SkinObject *object = nullptr;
    if (WindowSkinner *owner = ownerWindow_ ? manager.findSkinner(ownerWindow_) : nullptr) {
        object = findControlObject(owner->definition(), GetDlgCtrlID(info.hwndList), kSkinListBox);
    }
    if (object == nullptr && manager.currentSkin() != nullptr) {
        object = manager.currentSkin()->findObjectByType(kSkinListBox);
    }
    if (object == nullptr) {
        return;
    }
    // The list belongs to the combo box: its colour questions come here and its going is told here.
    WindowSkinner *list = manager.makeControlSkinner(kSkinListBox, this);
    if (list == nullptr) {
        return;
    }
    if (!manager.registerSkinner(list, info.hwndList)) {
        delete list;
        return;
    }
    list->setSkin(object);
    list->setContainer(this);
    children_[info.hwndList] = list;
    if (!list->attach(info.hwndList)) {
        children_.erase(info.hwndList);
        manager.detachWindow(info.hwndList, false);
        return;
    }
    dropList_ = info.hwndList;
}

void ComboBoxSkinner::detach()
{
    // The drop-down list is no child window: the base's walk of the children never meets it.
    if (dropList_ != nullptr) {
        HWND list = dropList_;
        dropList_ = nullptr;
        if (children_.erase(list) != 0) {
            SkinManager::instance().detachWindow(list, false);
        }
    }
    ControlSkinner::detach();
}

SkinObject *ComboBoxSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ControlSkinner::setSkin(definition);
    makeBrushes();
    return previous;
}

ComboLayout ComboBoxSkinner::layout() const
{
    RECT client{0, 0, 0, 0};
    if (window_ != nullptr) {
        GetClientRect(window_, &client);
    }
    ComboBoxDefinition *d = comboDefinition();
    const SkinRect margins = d ? d->frame.margins : makeSkinRect(0, 0, 0, 0);
    return comboLayout(makeSkinRect(client.left, client.top, client.right, client.bottom), margins, GetSystemMetrics(SM_CYHSCROLL));
}

void ComboBoxSkinner::paintFrame(HDC dc, const RECT &client, bool withText)
{
    ComboBoxDefinition *d = comboDefinition();
    if (d == nullptr) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const bool focused = GetFocus() == window_;
    const ComboLayout l = layout();
    skinDrawNineGrid(d->owner(), dc, client, d->frame, d->bgColor, kSkinFill, false);
    const RECT edit = toRect(l.edit);
    FillRect(dc, &edit, enabled ? background_ : disabled_);
    const RECT text = toRect(l.text);
    if (!enabled) {
        skinFillRect(dc, text, d->disabledBgColor);
    } else if (focused) {
        skinFillRect(dc, text, d->focusedBgColor);
    }
    if (withText) {
        const std::wstring selection = selectionText(window_);
        if (!selection.empty()) {
            ControlFontSelection font(window_, dc);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, !enabled ? d->disabledTextColor : focused ? d->focusedTextColor : d->textColor);
            RECT at = text;
            DrawTextW(dc, selection.c_str(), static_cast<int>(selection.size()), &at,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    bool has[kComboButtonCount];
    for (int i = 0; i < kComboButtonCount; ++i) {
        has[i] = d->buttons[i].isSet();
    }
    const int32_t picture = comboButtonPicture(buttonState_, enabled, has);
    const RECT button = toRect(l.button);
    if (d->buttons[picture].isSet() && !l.button.isEmpty()) {
        skinDrawKeyedNineGrid(d->owner(), dc, button, d->buttons[picture], keyColor_);
    }
}

void ComboBoxSkinner::paint(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    if (ownerDrawFixed_) {
        paintOwnerDrawn(dc, client);
    } else {
        paintFrame(dc, client, true);
    }
}

void ComboBoxSkinner::paintOwnerDrawn(HDC target, const RECT &client)
{
    MemoryDC own(target, client.right, client.bottom);
    MemoryDC skinned(target, client.right, client.bottom);
    if (!own.isValid() || !skinned.isValid()) {
        return;
    }
    callPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own.dc()), PRF_CLIENT);
    paintFrame(skinned.dc(), client, false);
    // The owner's drawing of the selection, inside the frame and before the button.
    const ComboLayout l = layout();
    const int left = kOwnerDrawInset, top = kOwnerDrawInset;
    const int right = std::min<int>(client.right - kOwnerDrawInset, l.button.left);
    const int bottom = client.bottom - kOwnerDrawInset;
    if (right > left && bottom > top) {
        BitBlt(skinned.dc(), left, top, right - left, bottom - top, own.dc(), left, top, SRCCOPY);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, skinned.dc(), 0, 0, SRCCOPY);
}

void ComboBoxSkinner::repaintNow()
{
    if (window_ != nullptr && !destroyed_) {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }
}

void ComboBoxSkinner::setButtonState(int32_t state)
{
    if (state == buttonState_) {
        return;
    }
    buttonState_ = state;
    repaintNow();
}

LRESULT ComboBoxSkinner::onMouseLeave()
{
    buttonState_ = kComboButtonStateNormal;
    return ControlSkinner::onMouseLeave();
}

LRESULT ComboBoxSkinner::answerEditColors(HDC dc)
{
    ComboBoxDefinition *d = comboDefinition();
    if (IsWindowEnabled(window_)) {
        SetBkColor(dc, d->bgColor);
        SetTextColor(dc, d->textColor);
        return reinterpret_cast<LRESULT>(background_);
    }
    SetBkColor(dc, d->disabledBgColor);
    SetTextColor(dc, d->disabledTextColor);
    return reinterpret_cast<LRESULT>(disabled_);
}

LRESULT ComboBoxSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        if (dropList_ == nullptr) {
            skinDropList();
        }
        return result;
    }
    case WM_SKIN_ATTACH_DROP_LIST:
        if (dropList_ == nullptr && !destroyed_) {
            skinDropList();
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_COMMAND:
    case CB_SELECTSTRING:
    case CB_SETCURSEL: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        repaintNow();
        return result;
    }
    case WM_CTLCOLOREDIT:
        if (comboDefinition() != nullptr) {
            return answerEditColors(reinterpret_cast<HDC>(wp));
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (comboDefinition() != nullptr && !IsWindowEnabled(window_)) {
            return answerEditColors(reinterpret_cast<HDC>(wp));
        }
        break;
    case WM_MOUSEMOVE:
        setButtonState(comboStateAfterMove(buttonState_, layout(), GET_X_LPARAM(lp), GET_Y_LPARAM(lp), (wp & MK_LBUTTON) != 0));
        break;
    case WM_LBUTTONDOWN:
        setButtonState(kComboButtonStatePressed);
        break;
    case WM_LBUTTONUP: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        setButtonState(kComboButtonStateNormal);
        return result;
    }
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

#endif
