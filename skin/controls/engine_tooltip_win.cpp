// The skinned tooltip as the engine's own window, and the controls' tooltips shown in it
// (Windows).
#ifdef _WIN32
#include <windows.h>

#include <string>

#include "control_skinner.h"
#include "skin_codes.h"
#include "skin_engine_services.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "skin_tooltip.h"
#include "window_skinner.h"

namespace {

HINSTANCE gEngineModule = nullptr;

// Asks the control under the tooltip for its text through its window, so a control destroyed
// while its tooltip waits is never reached.
class ControlTextProvider : public TooltipTextProvider {
public:
    HWND control = nullptr;
    std::wstring tooltipTextAt(int x, int y) override
    {
        WindowSkinner *skinner = control ? SkinManager::instance().findSkinner(control) : nullptr;
        return skinner ? skinner->tooltipText(x, y) : std::wstring();
    }
};

ControlTextProvider &controlProvider()
{
    static ControlTextProvider provider;
    return provider;
}

void engineStarted(HINSTANCE module)
{
    gEngineModule = module ? module : GetModuleHandleW(nullptr);
    SkinTooltip &tooltip = SkinTooltip::instance();
    if (!SkinTooltip::registerClass(gEngineModule) || !tooltip.create(nullptr))
        return;
    tooltip.setResourceModule(gEngineModule);
    SkinManager::instance().watch(tooltip.window(), kSkinChangedMessage);
}

void engineEnding()
{
    SkinTooltip &tooltip = SkinTooltip::instance();
    if (tooltip.textProvider() == &controlProvider())
        tooltip.setTextProvider(nullptr);
    if (tooltip.window())
        SkinManager::instance().unwatch(tooltip.window());
    tooltip.destroy();
    // The skins go with the engine: the next start's window must not measure its frame from
    // a Tooltip object of one of them.
    tooltip.setSkin(nullptr);
    SkinTooltip::unregisterClass(gEngineModule);
}

bool showsFor(ControlSkinner *control)
{
    return SkinTooltip::instance().textProvider() == &controlProvider() && controlProvider().control == control->window();
}

void showControlTooltip(ControlSkinner *control)
{
    const std::wstring text = control->tooltipText(0, 0);
    if (text.empty())
        return;
    SkinTooltip &tooltip = SkinTooltip::instance();
    SkinObject *look = control->tooltipDefinition();
    if (look == nullptr) {
        SkinRepository *skin = SkinManager::instance().currentSkin();
        look = skin ? skin->findObjectByType(kSkinTooltip) : nullptr;
    }
    tooltip.setSkin(look);
    controlProvider().control = control->window();
    tooltip.setTextProvider(&controlProvider());
    tooltip.showText(text.c_str());
}

void hideControlTooltip(ControlSkinner *control)
{
    if (showsFor(control))
        SkinTooltip::instance().hide();
}

bool tooltipHoldsPoint(ControlSkinner *control, POINT screen)
{
    HWND window = SkinTooltip::instance().window();
    if (!showsFor(control) || window == nullptr || !IsWindowVisible(window))
        return false;
    RECT r;
    GetWindowRect(window, &r);
    return PtInRect(&r, screen) != FALSE;
}

}  // namespace

void skinInstallTooltip()
{
    ControlTooltipHooks hooks;
    hooks.show = &showControlTooltip;
    hooks.hide = &hideControlTooltip;
    hooks.holdsPoint = &tooltipHoldsPoint;
    setControlTooltipHooks(hooks);
    SkinEngineServices services;
    services.started = &engineStarted;
    services.ending = &engineEnding;
    skinSetEngineServices(services);
}

#endif
