// The skinners of "Button" and "Static" windows: push buttons, check boxes and radio buttons
// (sharing PushButtonSkinner, which owns a button's mouse and keyboard behaviour and draws
// its content), group boxes and static controls. Check boxes and radios with BS_PUSHLIKE are
// drawn as push buttons. The looks, layouts and groups come from button_rules.h.
#ifndef WORDMERE_SKIN_CONTROLS_BUTTON_SKINNERS_H
#define WORDMERE_SKIN_CONTROLS_BUTTON_SKINNERS_H

#include <windows.h>

#include "button_rules.h"
#include "control_skinner.h"

class ButtonDefinition;

class PushButtonSkinner : public ControlSkinner {
public:
    using ControlSkinner::ControlSkinner;
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc) override;

    // Shapes a button drawn as a push button by its look's key colour at the client size (no
    // shape for a look without a picture); a check box or radio that stopped being push-like
    // loses its shape.
    void updateRegion();

    // What a completed click does to the button's own state (auto check boxes and radios).
    virtual void clickAction() {}
    // The first object of the skin of this skinner's own type.
    virtual SkinObject *ownTypeDefinition();
    virtual void redrawNow();

    bool pressed() const { return pressed_; }
    ButtonState buttonState();

protected:
    bool drawnAsPush() const;
    // The normal push look's shape at the client size; null without one.
    HRGN pushRegion();
    // The definition a push look is drawn from.
    ButtonDefinition *pushLikeDefinition();
    void drawPush(HDC dc, const RECT &client);
    void drawCheck(HDC dc, const RECT &client);
    void drawContent(HDC dc, const RECT &area, const SkinTextEffect &text, bool pushLike, int maxChars);
    void click();

    bool pressed_ = false;
};

class ButtonSkinner : public PushButtonSkinner {
public:
    explicit ButtonSkinner(WindowSkinner *container) : PushButtonSkinner(kSkinButton, container) {}
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    // BS_DEFPUSHBUTTON, read from the style at each use.
    bool isDefault() const;
};

class CheckBoxSkinner : public PushButtonSkinner {
public:
    explicit CheckBoxSkinner(WindowSkinner *container) : PushButtonSkinner(kSkinCheckBox, container) {}
    void clickAction() override;
};

class RadioButtonSkinner : public PushButtonSkinner {
public:
    explicit RadioButtonSkinner(WindowSkinner *container) : PushButtonSkinner(kSkinRadio, container) {}
    void clickAction() override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
};

class GroupBoxSkinner : public ControlSkinner {
public:
    explicit GroupBoxSkinner(WindowSkinner *container) : ControlSkinner(kSkinGroupBox, container) {}
    bool attach(HWND window) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc) override;
    void onPaint() override;

private:
    GroupBoxLayout layout(HDC dc);
    RECT caption_{0, 0, 0, 0};
};

class StaticSkinner : public ControlSkinner {
public:
    explicit StaticSkinner(WindowSkinner *container) : ControlSkinner(kSkinStatic, container) {}
    bool attach(HWND window) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc) override;
    void onPaint() override;

private:
    void paintBackground(HDC dc, const RECT &client);
};

#endif
