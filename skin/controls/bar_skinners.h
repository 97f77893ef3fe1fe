// Skinners of the bar-like common controls: tab controls (vertical tabs drawn along the tab and
// turned, bottom tabs flipped), headers, rebars, toolbars (with the skinned tooltip of their
// buttons), status bars and the framework's control bars. Each draws the control's background
// and items from its definition into an off-screen DC; bar_layout.h says where the pieces go.
// Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_BAR_SKINNERS_H
#define WORDMERE_SKIN_CONTROLS_BAR_SKINNERS_H

#include <windows.h>

#include <memory>
#include <string>

#include "control_skinner.h"
#include "skin_definitions.h"

class ToolbarTooltips;

class TabControlSkinner : public ControlSkinner {
public:
    explicit TabControlSkinner(WindowSkinner *container);
    // Owner-drawn tab controls (TCS_OWNERDRAWFIXED) are left to their owner.
    bool attach(HWND window) override;
    void paint(HDC dc) override;
    // Copies through a clip that leaves out the visible siblings and children.
    void onPaint() override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;

private:
    void paintTab(HDC dc, const TabDefinition &def, int index, const RECT &tab, int32_t side);
    // The part of the painted control under a child that asks for its background.
    LRESULT paintChildBackground(HDC childDc, HWND child);
};

class HeaderSkinner : public ControlSkinner {
public:
    explicit HeaderSkinner(WindowSkinner *container);
    void paint(HDC dc) override;
};

class RebarSkinner : public ControlSkinner {
public:
    explicit RebarSkinner(WindowSkinner *container);
    void paint(HDC dc) override;
};

class ToolbarSkinner : public ControlSkinner {
public:
    explicit ToolbarSkinner(WindowSkinner *container);
    ~ToolbarSkinner() override;
    // A toolbar that shows tooltips of its own (TBSTYLE_TOOLTIPS) gets the skinned ones in their
    // place: the skinner takes a tooltip text of its own, and gives the control its tooltips back
    // when it goes.
    bool attach(HWND window) override;
    void detach() override;
    void paint(HDC dc) override;
    // Stores the text and turns off the control's own tooltips (an empty text turns them on).
    void setTooltipText(const wchar_t *text) override;
    // The toolbar's tooltips are per button (moves over the buttons arm them), never the
    // control's one text on entering it.
    void showTooltip() override {}
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    LRESULT onMouseLeave() override;
    // Hides the skinned tooltip while it is this toolbar's.
    void hideTooltip() override;
    // The button the tooltip is about (-1 none).
    int32_t tooltipButton() const;

private:
    void paintBackground(HDC dc, const RECT &area);
    void paintButton(HDC dc, const ToolBarDefinition &def, int index, bool hot, bool withTexts);
    void paintNonClient();
    void redrawButtonAt(POINT client);
    // Inside a framework control bar docked left or right.
    bool dockedSideways() const;

    std::unique_ptr<ToolbarTooltips> tips_;
    // Whether attach took the control's own tooltips over (detach gives them back).
    bool tookOverTooltips_ = false;
};

class StatusBarSkinner : public ControlSkinner {
public:
    explicit StatusBarSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    // No definition (or one of another type) selects the built-in one.
    SkinObject *setSkin(SkinObject *definition) override;
    void paint(HDC dc) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    const StatusBarDefinition &builtIn() const { return *builtIn_; }

private:
    std::unique_ptr<StatusBarDefinition> builtIn_;
};

class ControlBarSkinner : public ControlSkinner {
public:
    explicit ControlBarSkinner(WindowSkinner *container);
    void paint(HDC dc) override;
};

#endif
