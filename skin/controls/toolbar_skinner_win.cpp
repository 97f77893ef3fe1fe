// The toolbar skinner (Windows).
#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <vector>

#include "bar_layout.h"
#include "bar_skinners.h"
#include "control_paint.h"
#include "skin_codes.h"
#include "skin_draw.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "skin_tooltip.h"
#include "toolbar_tooltips.h"
#include "window_skinner.h"

namespace {

// The framework's control bars a toolbar may be docked in, and their side-docking styles.
const char *const kSideDockingBars[] = {"AfxControlBar42s", "AfxControlBar42sd", "AfxControlBar42sud",
                                        "AfxControlBar42su"};
constexpr DWORD kBarAlignLeft = 0x1000;   // CBRS_ALIGN_LEFT
constexpr DWORD kBarAlignRight = 0x4000;  // CBRS_ALIGN_RIGHT
constexpr int kSidewaysTurn = 270;
constexpr COLORREF kDropArrowColor = RGB(0, 0, 0);
constexpr int kTextGap = 2;
// The tooltip text a toolbar with tooltips of its own is given: any text arms the per-button
// tooltips, whose real texts come from the buttons' command strings.
const wchar_t kOwnTooltipsText[] = L"toolbar";

uint32_t styleOf(HWND w) { return static_cast<uint32_t>(GetWindowLongW(w, GWL_STYLE)); }

std::wstring buttonText(HWND toolbar, int command)
{
    const LRESULT length = SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data());
}

bool anyButtonText(HWND toolbar, int count)
{
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        if (SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)) &&
            !(b.fsStyle & BTNS_SEP) && SendMessageW(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand), 0) > 0)
            return true;
    }
    return false;
}

// Draws image index of the list at (x, y), greyed when disabled and no disabled list is given.
void drawIcon(HDC dc, HIMAGELIST list, HIMAGELIST disabledList, int index, int x, int y, int w, int h, bool disabled)
{
    if (disabled && disabledList != nullptr && index < ImageList_GetImageCount(disabledList)) {
        ImageList_Draw(disabledList, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    if (list == nullptr || index >= ImageList_GetImageCount(list)) return;
    if (!disabled) {
        ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon == nullptr) return;
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, w, h, DST_ICON | DSS_DISABLED);
    DestroyIcon(icon);
}

}  // namespace

ToolbarSkinner::ToolbarSkinner(WindowSkinner *container) : ControlSkinner(kSkinToolBar, container) {}

ToolbarSkinner::~ToolbarSkinner() = default;

bool ToolbarSkinner::attach(HWND window)
{
    if (window == nullptr) return false;
    tips_ = std::make_unique<ToolbarTooltips>(window);
    tips_->setTooltipText(tooltip_);
    if (!ControlSkinner::attach(window)) {
        tips_.reset();
        return false;
    }
    if (tooltip_.empty() && (styleOf(window) & TBSTYLE_TOOLTIPS) != 0) {
        setTooltipText(kOwnTooltipsText);
        tookOverTooltips_ = true;
    }
    paintNonClient();
    return true;
}

void ToolbarSkinner::detach()
{
    tips_.reset();  // no longer the tooltip's text provider
    if (tookOverTooltips_ && window_ != nullptr && IsWindow(window_)) {
        setTooltipText(nullptr);
        modifyStyle(0, TBSTYLE_TOOLTIPS, 0);
    }
    tookOverTooltips_ = false;
    ControlSkinner::detach();
}

int32_t ToolbarSkinner::tooltipButton() const { return tips_ ? tips_->subjectButton() : -1; }

void ToolbarSkinner::setTooltipText(const wchar_t *text)
{
    ControlSkinner::setTooltipText(text);
    if (tips_) tips_->setTooltipText(tooltip_);
    if (window_ == nullptr) return;
    modifyStyle(TBSTYLE_TOOLTIPS, 0, 0);
    // The toolbar made its tooltip window when it was created: it is silenced as well.
    if (HWND own = reinterpret_cast<HWND>(SendMessageW(window_, TB_GETTOOLTIPS, 0, 0))) {
        SendMessageW(own, TTM_ACTIVATE, tooltip_.empty() ? TRUE : FALSE, 0);
    }
}

bool ToolbarSkinner::dockedSideways() const
{
    HWND parent = GetParent(window_);
    if (parent == nullptr) return false;
    wchar_t wide[64] = L"";
    if (GetClassNameW(parent, wide, 64) == 0) return false;
    char name[128] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
    bool controlBar = false;
    for (const char *bar : kSideDockingBars) controlBar = controlBar || std::strcmp(name, bar) == 0;
    return controlBar && (GetWindowLongW(parent, GWL_STYLE) & (kBarAlignLeft | kBarAlignRight)) != 0;
}

void ToolbarSkinner::paintBackground(HDC dc, const RECT &area)
{
    auto *def = dynamic_cast<ToolBarDefinition *>(definition_);
    if (def == nullptr) {
        skinFillRect(dc, area, GetSysColor(COLOR_BTNFACE));
        return;
    }
    if (dockedSideways()) {
        skinDrawTurnedNineGrid(def->owner(), dc, area, def->frame, kSidewaysTurn, false, false, def->bgColor);
        return;
    }
    skinFillRect(dc, area, def->bgColor);
    skinDrawNineGrid(def->owner(), dc, area, def->frame, def->bgColor, kSkinNoFill, false);
}

void ToolbarSkinner::paint(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    paintBackground(dc, client);
    auto *def = dynamic_cast<ToolBarDefinition *>(definition_);
    if (def == nullptr) return;
    const int count = static_cast<int>(SendMessageW(window_, TB_BUTTONCOUNT, 0, 0));
    const int hot = static_cast<int>(SendMessageW(window_, TB_GETHOTITEM, 0, 0));
    const bool withTexts = anyButtonText(window_, count);
    ControlFontSelection font(window_, dc);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
        if (i != hot) paintButton(dc, *def, i, false, withTexts);
    }
    if (hot >= 0 && hot < count) paintButton(dc, *def, hot, true, withTexts);
}

void ToolbarSkinner::paintButton(HDC dc, const ToolBarDefinition &def, int index, bool hot, bool withTexts)
{
    TBBUTTON b{};
    RECT r{};
    if (!SendMessageW(window_, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b)) ||
        (b.fsStyle & BTNS_SEP) || (b.fsState & TBSTATE_HIDDEN) ||
        !SendMessageW(window_, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
        return;
    const int32_t look = toolButtonLook(b.fsState, hot);
    const SkinNineGrid &grid = def.buttons[look].isSet() ? def.buttons[look] : def.buttons[kToolNormal];
    skinDrawKeyedNineGrid(def.owner(), dc, r, grid, keyColor_);
    SkinRect content = toSkinRect(r);
    if (b.fsStyle & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN)) {
        for (const SkinRect &line : dropArrowLines(content)) skinFillRect(dc, toRECT(line), kDropArrowColor);
        content = dropButtonContent(content);
    }
    HIMAGELIST list = reinterpret_cast<HIMAGELIST>(SendMessageW(window_, TB_GETIMAGELIST, 0, 0));
    if (hot) {
        if (HIMAGELIST hotList = reinterpret_cast<HIMAGELIST>(SendMessageW(window_, TB_GETHOTIMAGELIST, 0, 0)))
            list = hotList;
    }
    HIMAGELIST disabledList = reinterpret_cast<HIMAGELIST>(SendMessageW(window_, TB_GETDISABLEDIMAGELIST, 0, 0));
    int iconWidth = 0, iconHeight = 0;
    const bool hasIcon = b.iBitmap >= 0 && list != nullptr && ImageList_GetIconSize(list, &iconWidth, &iconHeight);
    const bool disabled = look == kToolLookDisabled;
    const std::wstring text = withTexts ? buttonText(window_, b.idCommand) : std::wstring();
    const bool listStyle = (styleOf(window_) & TBSTYLE_LIST) != 0;
    int x = content.left + (content.width() - iconWidth) / 2;
    int y = content.top + (content.height() - iconHeight) / 2;
    RECT textRoom = toRECT(content);
    UINT format = DT_CENTER | DT_SINGLELINE | DT_BOTTOM;
    if (withTexts && listStyle) {
        x = content.left + kTextGap * 2;
        textRoom.left = x + iconWidth + kTextGap;
        format = DT_SINGLELINE | DT_VCENTER;
    } else if (withTexts) {
        y = content.top + kTextGap * 2;
        textRoom.top = y + iconHeight;
        textRoom.bottom -= kTextGap;
    }
    if (hasIcon) drawIcon(dc, list, disabledList, b.iBitmap, x, y, iconWidth, iconHeight, disabled);
    if (!text.empty()) {
        SetTextColor(dc, def.textColor);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRoom, format);
    }
}

void ToolbarSkinner::paintNonClient()
{
    RECT window, client;
    GetWindowRect(window_, &window);
    GetClientRect(window_, &client);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT *>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    if (EqualRect(&client, &window)) return;
    HDC dc = GetWindowDC(window_);
    if (dc == nullptr) return;
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    paintBackground(dc, window);
    ReleaseDC(window_, dc);
}

void ToolbarSkinner::redrawButtonAt(POINT client)
{
    const int index = static_cast<int>(SendMessageW(window_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client)));
    RECT r{};
    if (index >= 0 && SendMessageW(window_, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r))) {
        InvalidateRect(window_, &r, FALSE);
        UpdateWindow(window_);
    }
}

void ToolbarSkinner::hideTooltip()
{
    SkinTooltip &tooltip = SkinTooltip::instance();
    if (!tips_ || tooltip.textProvider() != tips_.get()) return;
    // The pointer that went on into the shown tooltip keeps it.
    POINT at;
    RECT shown;
    if (IsWindowVisible(tooltip.window()) && GetCursorPos(&at) && GetWindowRect(tooltip.window(), &shown) &&
        PtInRect(&shown, at))
        return;
    tooltip.hide();
}

LRESULT ToolbarSkinner::onMouseLeave()
{
    if (tips_) tips_->onMouseLeave();
    return ControlSkinner::onMouseLeave();
}

LRESULT ToolbarSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        if (dc == nullptr) return 0;
        // The control still sees its paint (nothing is left to draw), as its own state may follow it.
        callPrevious(WM_PAINT, 0, 0);
        paintThroughMemory(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_NCPAINT:
        paintNonClient();
        return 0;
    case WM_LBUTTONDOWN: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        if (!destroyed_) redrawButtonAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return result;
    }
    case WM_MOUSEMOVE: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        if (!destroyed_ && tips_) {
            SkinObject *tooltip = tooltipDefinition();
            if (tooltip == nullptr && SkinManager::instance().currentSkin() != nullptr)
                tooltip = SkinManager::instance().currentSkin()->findObjectByType(kSkinTooltip);
            tips_->onMouseMove(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, tooltip);
        }
        return result;
    }
    default:
        return ControlSkinner::windowProc(message, wp, lp);
    }
}

#endif
