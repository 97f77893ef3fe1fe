#include "toolbar_tooltips.h"

#include <commctrl.h>

#include "rich_text_drawer.h"

namespace {

// What arms the tooltip: the real text is asked for at the pointer when the delay ends.
const wchar_t kArmingText[] = L"TB";
constexpr int kTooltipPartOfCommandString = 1;

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
    return SkinTooltip::instance().drawer().getResourceStringPart(static_cast<UINT>(button.idCommand),
                                                                  kTooltipPartOfCommandString);
}
