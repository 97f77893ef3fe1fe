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
    WM_SKIN_RESYNC = 6042,
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
    // The skin's border image in the border the control's extended styles give it; the system
    // draws the rest of the non-client area (its scroll bars).
    virtual void onNcPaint(HRGN update);

    // Brings the skinned copy of the bars (SB_HORZ, SB_VERT or SB_BOTH) in step with the
    // control's own, which Windows 98 and Me controls move without the intercepted functions.
    void resynchronise(int which);

protected:
    // The control's kind in the resynchronisation rules (resync_rules.h); -1 for none.
    virtual int32_t resyncKind() const { return -1; }
    // Whether the bars need resynchronising: skinned bars on Windows 98 or Me.
    bool resyncs() const;
    // The message handled by the control, then what the rules say follows it.
    LRESULT handleThenResync(UINT message, WPARAM wp, LPARAM lp);
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

protected:
    int32_t resyncKind() const override;

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

protected:
    int32_t resyncKind() const override;

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

protected:
    int32_t resyncKind() const override;
};

class ListViewSkinner : public ScrolledControlSkinner {
public:
    explicit ListViewSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;

protected:
    int32_t resyncKind() const override;

private:
    // Windows 98/Me: a dragged thumb scrolls the list view by the distance it moved.
    LRESULT trackThumb(int bar, int trackedPosition);
};

#endif
