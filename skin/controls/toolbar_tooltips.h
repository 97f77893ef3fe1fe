// The skinned tooltip of a toolbar's buttons: as the pointer moves, the button under it becomes
// the tooltip's subject (only a change of button re-arms the show delay), and when the delay
// ends the tooltip asks for the text at the pointer: what the toolbar's owner answers for the
// button's command as it does for the control's own tooltips (TTN_GETDISPINFOW, in the
// interface's language), else the second line of the string resource named by the command id.
// The toolbar skinner passes its mouse moves here. Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_TOOLBAR_TOOLTIPS_H
#define WORDMERE_SKIN_CONTROLS_TOOLBAR_TOOLTIPS_H

#include <windows.h>

#include <string>

#include "bar_layout.h"
#include "skin_tooltip.h"

class ToolbarTooltips : public TooltipTextProvider {
public:
    explicit ToolbarTooltips(HWND toolbar) : toolbar_(toolbar) {}
    ~ToolbarTooltips() override;

    // The toolbar's own tooltip text; without one the toolbar shows no tooltips.
    void setTooltipText(const std::wstring &text) { text_ = text; }
    const std::wstring &tooltipText() const { return text_; }

    // The pointer moved to a client point; definition: the toolbar's Tooltip object (or null).
    void onMouseMove(POINT client, SkinObject *definition);
    // The pointer left the toolbar: the button is forgotten.
    void onMouseLeave() { subject_.forget(); }

    int32_t subjectButton() const { return subject_.button(); }
    std::wstring tooltipTextAt(int x, int y) override;

private:
    // The button at a client point, -1 for none (separators count as none).
    int32_t buttonAt(POINT client) const;

    HWND toolbar_;
    std::wstring text_;
    ToolbarTooltipSubject subject_;
};

#endif
