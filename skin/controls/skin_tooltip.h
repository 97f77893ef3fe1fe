// SkinTooltip: the process's one skinned tooltip, a popup of class "GlossvaneTooltip32" framed
// by the skin's Tooltip object and showing rich text (the rich-text drawer's HTML subset).
// Skinned windows and controls hand it a text, or arm it with a text provider that is asked
// for the text at the pointer when the show delay ends; it places itself beside the pointer as
// the skin asks, falling back to a placement that fits on the monitor (tooltip_rules.h), and
// hides after the hide delay or when the pointer leaves it. Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_SKIN_TOOLTIP_H
#define WORDMERE_SKIN_CONTROLS_SKIN_TOOLTIP_H

#include <windows.h>

#include <memory>
#include <string>

#include "skin_definitions.h"
#include "tooltip_rules.h"

class RichTextDrawer;

// Makes the tooltip the engine's own: its class is registered and its window made when the
// engine starts (or at once when it runs already), and both go when the engine ends; the window
// takes the Tooltip object of every skin made current. The skinned controls' pointer tracking
// shows their tooltip texts in it. Idempotent.
void skinInstallTooltip();

// Asked for the tooltip text at a screen point when the show delay ends.
class TooltipTextProvider {
public:
    virtual ~TooltipTextProvider() = default;
    virtual std::wstring tooltipTextAt(int x, int y) = 0;
};

class SkinTooltip {
public:
    static SkinTooltip &instance();
    static const wchar_t kClassName[];

    // The window class, in the engine's module.
    static bool registerClass(HINSTANCE module);
    static void unregisterClass(HINSTANCE module);

    // Makes the tooltip window owned by owner; false when none was made.
    bool create(HWND owner);
    void destroy();
    HWND window() const { return window_; }

    // The skin's Tooltip object (type 42) frames it; anything else selects the built-in look.
    // Its style sheet goes to the drawer. Answers the previous definition (null for the built-in).
    SkinObject *setSkin(SkinObject *definition);
    const TooltipDefinition &definition() const;

    // Arms the show delay for the text at the point (the cursor position when none). The shown
    // tooltip is hidden first; an empty text shows nothing and answers false.
    bool showText(const wchar_t *text, const POINT *at = nullptr);
    void hide();

    void setTextProvider(TooltipTextProvider *provider) { provider_ = provider; }
    TooltipTextProvider *textProvider() const { return provider_; }
    void setResourceModule(HMODULE module);
    RichTextDrawer &drawer() { return *drawer_; }

    int32_t state() const { return timeline_.state(); }
    const std::u16string &text() const { return timeline_.text(); }
    POINT anchor() const { return anchor_; }

private:
    SkinTooltip();
    ~SkinTooltip();

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT message, WPARAM wp, LPARAM lp);
    void carryOut(int32_t action);
    void showNow();
    void onShowTimer();
    void paint();
    void paintFrame();
    TooltipFrame frame() const;

    HWND window_ = nullptr;
    const TooltipDefinition *skin_ = nullptr;  // null: the built-in one
    std::unique_ptr<TooltipDefinition> builtIn_;
    std::unique_ptr<RichTextDrawer> drawer_;
    TooltipTextProvider *provider_ = nullptr;
    TooltipTimeline timeline_;
    POINT anchor_{0, 0};
    bool tracking_ = false;
};

#endif
