// The skinners of the date controls and of link windows. The month calendar takes the skin's
// colours and draws its two title buttons from the skin over its own drawing; the date-time
// picker draws its field and drop button from the skin and drops down a calendar of its own
// (calendar_drop_down.h) instead of the control's; a link window lays the control's own
// drawing over the skin background of a Static definition. The looks and places come from
// date_control_rules.h.
#ifndef WORDMERE_SKIN_CONTROLS_DATE_LINK_SKINNERS_H
#define WORDMERE_SKIN_CONTROLS_DATE_LINK_SKINNERS_H

#include <windows.h>

#include "control_skinner.h"
#include "date_control_rules.h"

class MonthCalendarSkinner : public ControlSkinner {
public:
    explicit MonthCalendarSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    SkinObject *setSkin(SkinObject *definition) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc) override;
    void onPaint() override;

    const CalendarTitleButtons &titleButtons() const { return buttons_; }
    // 0 none, 1 previous, 2 next.
    int32_t pressedButton() const { return pressed_; }

private:
    void findTitleButtons();
    void applyColors();
    void setPressed(int32_t button);
    // Runs the control's own procedure with WS_VISIBLE cleared, so that it paints nothing.
    LRESULT callHidden(UINT message, WPARAM wp, LPARAM lp);

    CalendarTitleButtons buttons_{SkinRect{0, 0, 0, 0}, SkinRect{0, 0, 0, 0}};
    int32_t pressed_ = 0;
};

class DateTimePickerSkinner : public ControlSkinner {
public:
    explicit DateTimePickerSkinner(WindowSkinner *container);
    bool attach(HWND window) override;
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc) override;
    void onPaint() override;

    // Whether the picker's own calendar is dropped down, and its window then (else null).
    bool calendarOpen() const;
    HWND openCalendar() const;

private:
    LRESULT onButtonDown(WPARAM wp, LPARAM lp);
    void onNcPaint(WPARAM wp);
    // The text the field shows: the window text, or the date formatted as the control shows it.
    std::wstring fieldText();
    void drawDropButton(HDC dc, const RECT &button);
};

class LinkWindowSkinner : public ControlSkinner {
public:
    explicit LinkWindowSkinner(WindowSkinner *container);
    LRESULT windowProc(UINT message, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc) override;
    void onPaint() override;
};

#endif
