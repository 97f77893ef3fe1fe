// The draggable bar between two panes (above and below for a horizontal bar, left and right
// for a vertical one). Dragging draws an outline on the parent; releasing moves the bar,
// lays the panes out again and tells the parent with message 0x83E8 (lParam 0; the skin
// engine's exclude query has the same number and carries the control's window).
#pragma once
#include "framework/fwwindow.h"

constexpr UINT WM_SPLITTER_MOVED = 0x83E8;
// What the skin engine sends the bar when the skin changes.
constexpr UINT WM_SPLITTER_SKIN_CHANGED = 0x8034;

class CSplitterBar : public FwWindow {
public:
    CSplitterBar() = default;
    ~CSplitterBar() override;

    bool create(DWORD style, const RECT& rect, HWND parent, int id, bool horizontal);
    void setMinPaneSize(int n) { minPane_ = n < 0 ? 0 : n; }
    int minPaneSize() const { return minPane_; }
    // Lays the bar along the first pane's far edge and both panes against it.
    void setPanes(HWND first, HWND second);
    void layoutPanes();
    int lowerLimit() const { return lower_; }
    int upperLimit() const { return upper_; }
    bool dragging() const { return dragging_; }
    COLORREF background() const { return bg_; }
    COLORREF highlight() const { return hi_; }
    COLORREF shadow() const { return shadow_; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    int onCreate(CREATESTRUCTW& cs) override;
    void onDestroy() override;
    bool onPaint() override;
    bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;
    bool onLButtonDown(POINT at, UINT keys) override;
    bool onMouseMove(POINT at, UINT keys) override;
    bool onLButtonUp(POINT at, UINT keys) override;
    bool onCaptureChanged(HWND newCapture) override;

private:
    void eraseOutline();
    // The pointer (screen coordinates) in the parent's client coordinates.
    POINT inParent(POINT screen) const;
    void drawOutline(POINT screen);
    RECT rectInParent() const;
    // The colours of the current skin's "Splitter" object; the system's where it has none.
    void readSkinColours();

    bool horizontal_ = true;
    HWND first_ = nullptr, second_ = nullptr;
    int minPane_ = 0;
    int lower_ = 0, upper_ = 0;
    bool dragging_ = false;
    bool outlineDrawn_ = false;
    RECT start_{}, last_{};
    void* skin_ = nullptr;
    bool watched_ = false;
    COLORREF bg_ = GetSysColor(COLOR_BTNFACE), hi_ = GetSysColor(COLOR_BTNHIGHLIGHT),
             shadow_ = GetSysColor(COLOR_BTNSHADOW);
};
