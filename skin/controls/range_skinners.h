// Skinners of the range controls: the progress bar and the scroll-bar control, whose values
// the skinner holds while it is attached (and hands back when it goes), and the trackbar and
// the up-down control, which keep their own values and are only drawn from the skin. None of
// them takes the skin's font. Vertical forms are drawn as horizontal ones and turned.
#ifndef WORDMERE_SKIN_CONTROLS_RANGE_SKINNERS_H
#define WORDMERE_SKIN_CONTROLS_RANGE_SKINNERS_H

#include <windows.h>

#include "control_skinner.h"
#include "range_models.h"
#include "scroll_tracker.h"

// Posted by the progress bar's skinner to its control at attach: take the values over.
enum RangeSkinMessage : UINT { WM_SKIN_TAKE_OVER = 6031 };

class ProgressSkinner : public ControlSkinner {
public:
    explicit ProgressSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    void detach() override;
    void paint(HDC dc) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;

    // True once the skinner answers the progress messages itself.
    bool active() const { return active_; }
    const ProgressModel &model() const { return model_; }

private:
    void takeOver();
    // The progress messages while active; false for any other message.
    bool answer(UINT message, WPARAM wp, LPARAM lp, LRESULT &result);
    void drawFlat(HDC dc, int width, int height);
    void changed();

    ProgressModel model_;
    bool active_ = false;
};

class TrackbarSkinner : public ControlSkinner {
public:
    explicit TrackbarSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    void detach() override;
    void paint(HDC dc) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;

private:
    DWORD styleBefore_ = 0;
};

class UpDownSkinner : public ControlSkinner {
public:
    explicit UpDownSkinner(WindowSkinner *container);
    void paint(HDC dc) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    LRESULT onMouseLeave() override;

    // One of UpDownState.
    int32_t buttonState() const { return buttonState_; }

private:
    void setState(int32_t state);
    int32_t halfAt(LPARAM point) const;
    void drawHalves(HDC dc, int width, int height, bool horizontal);

    int32_t buttonState_ = kUpDownNormal;
};

class ScrollBarControlSkinner : public ControlSkinner {
public:
    explicit ScrollBarControlSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    void paint(HDC dc) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    LRESULT onMouseLeave() override;

    bool active() const { return active_; }
    const ScrollValues &values() const { return values_; }

private:
    bool vertical() const;
    ScrollAxis axis() const;
    int32_t along(LPARAM point) const;
    void refresh();
    void run(const ScrollActions &actions);
    LRESULT setScrollInfo(const SCROLLINFO *info, bool redraw);
    LRESULT getScrollInfo(SCROLLINFO *info) const;
    void drawBar(HDC dc, const RECT &client);
    void measure();

    bool active_ = false;
    ScrollValues values_;
    int32_t trackPos_ = 0;
    ScrollControlTracker tracker_;
    // Arrow and smallest-thumb lengths of the horizontal and the vertical form.
    int32_t arrow_[2] = {0, 0};
    int32_t minThumb_[2] = {0, 0};
};

#endif
