// The combo box skinner: the combo box drawn from its ComboBox definition (the frame, the edit
// area, the selection's text, the drop button in its normal, hot, pressed and disabled
// pictures), the colours of its edit answered from the definition, and its drop-down list
// skinned as a list box whose container is the combo box. Owner-draw-fixed combo boxes keep
// their owner's drawing of the selection inside the skinned frame; simple and owner-draw-
// variable ones stay unskinned. The geometry comes from combo_layout.h.
#ifndef WORDMERE_SKIN_CONTROLS_COMBO_SKINNER_H
#define WORDMERE_SKIN_CONTROLS_COMBO_SKINNER_H

#include <windows.h>

#include "combo_layout.h"
#include "control_skinner.h"

class ComboBoxDefinition;

// Posted to a combo box whose drop-down list did not exist yet when it was skinned (a combo
// box skinned as it is created makes its list afterwards).
constexpr UINT WM_SKIN_ATTACH_DROP_LIST = 6034;

class ComboBoxSkinner : public ControlSkinner {
public:
    explicit ComboBoxSkinner(WindowSkinner *container);
    ~ComboBoxSkinner() override;
    bool attach(HWND window) override;
    void detach() override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    // Owner-draw-fixed: the control's own drawing of the selection (WM_PRINTCLIENT) inside
    // the skinned frame and before the button.
    void paint(HDC dc) override;
    LRESULT onMouseLeave() override;

    int32_t buttonState() const { return buttonState_; }
    bool isOwnerDrawFixed() const { return ownerDrawFixed_; }
    // Where the parts lie in the client area now.
    ComboLayout layout() const;
    // The drop-down list (null for none or before attaching).
    HWND dropList() const { return dropList_; }

private:
    ComboBoxDefinition *comboDefinition() const;
    void makeBrushes();
    void setButtonState(int32_t state);
    void repaintNow();
    // The frame, the edit area and the drop button; with the text unless the owner draws it.
    void paintFrame(HDC dc, const RECT &client, bool withText);
    void paintOwnerDrawn(HDC target, const RECT &client);
    void skinDropList();
    LRESULT answerEditColors(HDC dc);

    bool ownerDrawFixed_ = false;
    HBRUSH background_ = nullptr;
    HBRUSH disabled_ = nullptr;
    int32_t buttonState_ = kComboButtonStateNormal;
    HWND dropList_ = nullptr;
};

#endif
