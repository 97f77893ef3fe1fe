// The non-client answers of a skinned frame or dialog on a real window (Windows only): the
// client rectangle under the skin's borders and the menu bar, the hit test at a screen point,
// and the min/max information, from the geometry of frame_geometry.h. The frame and dialog
// skinners hand these messages here; the window's real style is the one kept when the skinner
// attached (the default procedure is shown another one).
#ifndef WORDMERE_SKIN_CORE_FRAME_NONCLIENT_H
#define WORDMERE_SKIN_CORE_FRAME_NONCLIENT_H

#include <windows.h>

#include <functional>

#include "frame_geometry.h"
#include "menu_bar_model.h"

// A screen point in window coordinates, mirrored (width - 1 - x) for a right-to-left window.
SkinPoint frameWindowPoint(HWND window, POINT screen);

class FrameNonClient {
public:
    enum class Kind { Frame, Dialog };

    // `menuBar` may be null (dialogs, frames without a menu); neither is owned.
    FrameNonClient(HWND window, const BorderedDefinition *definition, MenuBarModel *menuBar, Kind kind,
                   uint32_t realStyle);

    // WM_NCCALCSIZE: the first rectangle (window rectangle in the parent's coordinates) becomes
    // the client rectangle; the menu bar is laid out for the client width. Answers 0.
    LRESULT onNcCalcSize(LPARAM lp);
    // WM_NCHITTEST at a screen point; `partAnswer` what the frame's parts answer there.
    int32_t hitTest(POINT screen, int32_t partAnswer = kHitNowhere) const;
    // WM_GETMINMAXINFO: ours, merged with what the window's own procedure answers (called with
    // the information as the system filled it in).
    void onGetMinMaxInfo(MINMAXINFO &info, const std::function<void(MINMAXINFO &)> &ownProcedure) const;

    // The pieces for the window's current size, and the menu bar's rectangle (window
    // coordinates; empty without a bar).
    FramePieces currentPieces() const;
    SkinRect menuBarRect() const { return menuBarRect_; }
    bool rightToLeft() const;
    // Asked at each layout: whether the menu bar shows the buttons of a maximised MDI child.
    void setMdiButtonsQuery(std::function<bool()> query) { mdiButtons_ = std::move(query); }

private:
    SkinSize windowSize() const;

    HWND window_;
    const BorderedDefinition *definition_;
    MenuBarModel *menuBar_;
    Kind kind_;
    uint32_t realStyle_;
    FramePieces design_;
    SkinRect menuBarRect_{0, 0, 0, 0};
    std::function<bool()> mdiButtons_;
};

#endif
