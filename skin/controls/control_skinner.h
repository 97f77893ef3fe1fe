// ControlSkinner: the base of every skinner of a control inside a skinned window. It joins the
// control's subclass links, finds the definition its container gives it (by control id and
// type), paints through an off-screen DC, tracks the pointer for the hover look and the
// tooltip, and gives the control the skin's font, giving back the control's own font when it
// goes. createControlSkinner (control_factory.h) makes the right subclass for a type code.
#ifndef WORDMERE_SKIN_CONTROLS_CONTROL_SKINNER_H
#define WORDMERE_SKIN_CONTROLS_CONTROL_SKINNER_H

#include <windows.h>

#include "control_font.h"
#include "window_skinner.h"

class TextStyleObject;
class ControlSkinner;

// The skinned tooltip's part in the controls' pointer tracking (set by the tooltip; none:
// controls show no tooltip).
struct ControlTooltipHooks {
    void (*show)(ControlSkinner *control) = nullptr;
    void (*hide)(ControlSkinner *control) = nullptr;
    // Whether the screen point lies in the control's tooltip while it is shown.
    bool (*holdsPoint)(ControlSkinner *control, POINT screen) = nullptr;
};
void setControlTooltipHooks(const ControlTooltipHooks &hooks);

class ControlSkinner : public WindowSkinner {
public:
    // container: the skinner of the window the control lies in (null when applied alone).
    ControlSkinner(int32_t typeCode, WindowSkinner *container);
    ~ControlSkinner() override;

    // Draws the control into the DC of its client size; the base draws nothing.
    void paint(HDC dc) override {}
    SkinObject *setSkin(SkinObject *definition) override;
    bool attach(HWND window) override;
    void detach() override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    int32_t typeCode() const override { return typeCode_; }

    // The Tooltip object (control id 0) among the container's definition's children.
    virtual SkinObject *tooltipDefinition();
    virtual void showTooltip();
    virtual void hideTooltip();
    virtual LRESULT onMouseLeave();
    // BeginPaint, paint into an off-screen DC, copy it to the window.
    virtual void onPaint();
    // Paints the whole client area into an off-screen DC and copies it to dc at the origin.
    void paintThroughMemory(HDC dc);

    // Takes away and adds style bits; with positionFlags the frame is recomputed. False when
    // the style stays as it was.
    bool modifyStyle(DWORD remove, DWORD add, UINT positionFlags);
    // Gives the control a skin font (posted, behind a read of its own font the first time).
    void postSkinFont(HFONT font, bool redraw);

    HWND ownerWindow() const { return ownerWindow_; }
    bool hovering() const { return hover_; }
    const ControlFontKeeper &fontKeeper() const { return font_; }
    // The definition as the text-style record every control definition is; null otherwise.
    TextStyleObject *textStyle() const;

protected:
    void onNcDestroy() override;
    // The child of the owner's definition for this control (id and type, then the fallback type).
    SkinObject *definitionInOwner() const;
    void startHover();
    // Gives the definition's font, and moves the control to the definition's position.
    bool applyDefinitionPlacement(bool redrawOnFont);
    // Takes back the skin's posted fonts that have not arrived, then gives back the own font.
    void restoreOwnFont(bool redraw);

    ControlFontKeeper font_;
    bool hover_ = false;
    HWND ownerWindow_ = nullptr;
    int32_t typeCode_;
};

#endif
