#pragma once
// TCalendar: the month calendar control in a window of class "TCalendar". Its date, layout
// and rules live in CalendarModel; this adds the window, the cell drawing and today's date
// from the local clock.
#include "controls/CalendarAccess.h"
#include "controls/CalendarModel.h"
#include "controls/Grid.h"
#include <memory>

#include "win/Control.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang {

inline constexpr wchar_t kCalendarClass[] = L"TCalendar";

class TCalendar : public CalendarModel {
public:
    TCalendar(HINSTANCE instance, const GridPlacement& placement, TodayFn today = &LocalToday);
    ~TCalendar();
    TCalendar(const TCalendar&) = delete;
    TCalendar& operator=(const TCalendar&) = delete;

    HWND Handle() const noexcept { return window_.Handle(); }
    COLORREF Color() const noexcept { return window_.Color(); }
    // What a screen reader is told of the calendar.
    CalendarAccess& Access() noexcept { return access_; }
    // The font and the grid lines' width of a new scale; the cells fill the window anew.
    void SetLook(HFONT font, int lineWidth);

    // The local date, from GetLocalTime.
    static DateParts LocalToday();
    // The calendar behind a control of the "TCalendar" kind; raises for any other control.
    static TCalendar& Of(const win::Control& control);

private:
    void PaintCell(HDC dc, int column, int row, const RECT& rect);

    // For weekday names the control's font cannot show (a font without Hanja).
    win::Font fallbackFont_;
    CalendarAccess access_;  // before the window, which asks it while it lives
    GridWindow window_;
};

// The calendar as a control of a form, made by a layout row that puts it into a CalendarControl
// member; the calendar's click and change are the row's OnClick and OnChange, with this control
// as their sender. A screen reader hears every change of the date.
class CalendarControl final : public win::Control {
public:
    struct Args {
        int startOfWeek = 0;
    };

    CalendarControl(win::ControlSite& site, win::Control* parent, const win::ControlRow& row, const Args& args);
    HWND Handle() const noexcept override { return calendar_ ? calendar_->Handle() : nullptr; }
    TCalendar& Calendar() const noexcept { return *calendar_; }
    // The calendar's window goes with it.
    void Unbind() noexcept override { calendar_.reset(); }
    // Its window, cells, lines and font at the form's new scale.
    void ApplyDpi() override;

private:
    std::unique_ptr<TCalendar> calendar_;
};

}  // namespace siborang
