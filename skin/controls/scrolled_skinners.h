// Skinners of the controls that paint their own content and scroll bars: the plain scrolled
// control (IP address), list boxes, edits (and rich edits), tree views and list views. They
// give the control skinned scroll bars where the platform class uses them, and the colours
// of their definitions.
#ifndef WORDMERE_SKIN_CONTROLS_SCROLLED_SKINNERS_H
#define WORDMERE_SKIN_CONTROLS_SCROLLED_SKINNERS_H

#include <windows.h>

#include "control_skinner.h"

// Messages the scrolled skinners post or send to their controls.
enum ScrolledSkinMessage : UINT {
    WM_SKIN_APPLY_SCROLLBARS = 6029,
    WM_SKIN_REFRESH = 6030,
};

class ScrolledControlSkinner : public ControlSkinner {
public:
    ScrolledControlSkinner(int32_t typeCode, WindowSkinner *container);
    explicit ScrolledControlSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    void detach() override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    bool scrollBarsInstalled() const { return scrollBarsInstalled_; }

protected:
    // Skinned scroll bars on the control, sized from the skin's ScrollBar object, unless the
    // platform class keeps the system's bars (there the control's bars would never follow it).
    void applyScrollBars();
    void sizeScrollBars();

private:
    bool scrollBarsInstalled_ = false;
};

class ListBoxSkinner : public ScrolledControlSkinner {
public:
    explicit ListBoxSkinner(WindowSkinner *container);
    ~ListBoxSkinner() override;
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    bool isDropList() const { return dropList_; }

private:
    void makeBrush();
    HBRUSH background_ = nullptr;
    bool dropList_ = false;
};

class EditSkinner : public ScrolledControlSkinner {
public:
    explicit EditSkinner(WindowSkinner *container);
    ~EditSkinner() override;
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;

private:
    void makeBrushes();
    void applyRichEditBackground();
    HBRUSH edit_ = nullptr;
    HBRUSH readOnly_ = nullptr;
};

class TreeViewSkinner : public ScrolledControlSkinner {
public:
    explicit TreeViewSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
};

class ListViewSkinner : public ScrolledControlSkinner {
public:
    explicit ListViewSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
};

#endif
