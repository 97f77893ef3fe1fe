#include "toolbar_tooltips.h"

#include <commctrl.h>

#include <cwchar>

#include "rich_text_drawer.h"

namespace {

// What arms the tooltip: the real text is asked for at the pointer when the delay ends.
const wchar_t kArmingText[] = L"TB";
constexpr int kTooltipPartOfCommandString = 1;

// The text the toolbar's owner gives for a command, as it answers the control's own tooltips
// (TTN_GETDISPINFOW): the owner knows the interface language. Empty when it gives none.
std::wstring ownersTooltipText(HWND toolbar, int command)
{
    HWND owner = GetParent(toolbar);
    if (owner == nullptr || command == 0)
        return {};
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = static_cast<UINT_PTR>(command);
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(owner, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText != nullptr && IS_INTRESOURCE(info.lpszText)) {
        const wchar_t *resource = nullptr;
        const int length = info.hinst ? LoadStringW(info.hinst, LOWORD(reinterpret_cast<ULONG_PTR>(info.lpszText)),
                                                    reinterpret_cast<LPWSTR>(&resource), 0)
                                      : 0;
        return length > 0 && resource ? std::wstring(resource, static_cast<size_t>(length)) : std::wstring();
    }
    if (info.lpszText != nullptr && info.lpszText != LPSTR_TEXTCALLBACKW)
        return std::wstring(info.lpszText, wcsnlen(info.lpszText, sizeof info.szText / sizeof info.szText[0] * 4));
    return std::wstring(info.szText, wcsnlen(info.szText, sizeof info.szText / sizeof info.szText[0]));
}

}  // namespace

ToolbarTooltips::~ToolbarTooltips()
{
    SkinTooltip &tooltip = SkinTooltip::instance();
    if (tooltip.textProvider() == this) {
        tooltip.setTextProvider(nullptr);
        tooltip.hide();
    }
}

int32_t ToolbarTooltips::buttonAt(POINT client) const
{
    int32_t index = static_cast<int32_t>(SendMessageW(toolbar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client)));
    if (index < 0)
        return -1;
    TBBUTTON button{};
    if (!SendMessageW(toolbar_, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)) ||
        (button.fsStyle & TBSTYLE_SEP))
        return -1;
    return index;
}

void ToolbarTooltips::onMouseMove(POINT client, SkinObject *definition)
{
    SkinTooltip &tooltip = SkinTooltip::instance();
    int32_t button = text_.empty() ? -1 : buttonAt(client);
    if (button < 0) {
        subject_.moveOver(-1);
        if (tooltip.textProvider() == this)
            tooltip.hide();
        return;
    }
    if (!subject_.moveOver(button))
        return;
    tooltip.setTextProvider(this);
    tooltip.setSkin(definition);
    tooltip.showText(kArmingText);
}

std::wstring ToolbarTooltips::tooltipTextAt(int x, int y)
{
    POINT client{x, y};
    ScreenToClient(toolbar_, &client);
    int32_t index = buttonAt(client);
    if (index < 0)
        return {};
    TBBUTTON button{};
    SendMessageW(toolbar_, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    std::wstring owners = ownersTooltipText(toolbar_, button.idCommand);
    if (!owners.empty())
        return owners;
    return SkinTooltip::instance().drawer().getResourceStringPart(static_cast<UINT>(button.idCommand),
                                                                  kTooltipPartOfCommandString);
}
