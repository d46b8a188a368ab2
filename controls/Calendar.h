#pragma once
// TCalendar: the month calendar control in a window of class "TCalendar". Its date, layout
// and rules live in CalendarModel; this adds the window, the cell drawing and today's date
// from the local clock.
#include "controls/CalendarModel.h"
#include "controls/Grid.h"
#include "win/Controls.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang {

inline constexpr wchar_t kCalendarClass[] = L"TCalendar";

class TCalendar : public CalendarModel, public win::CustomControl {
public:
    TCalendar(HINSTANCE instance, const GridPlacement& placement, TodayFn today = &LocalToday);
    ~TCalendar() override;

    HWND Handle() const noexcept override { return window_.Handle(); }
    COLORREF Color() const noexcept { return window_.Color(); }

    // The local date, from GetLocalTime.
    static DateParts LocalToday();
    // The calendar behind a control of the "TCalendar" kind; raises for any other control.
    static TCalendar& Of(const win::Control& control);

private:
    void PaintCell(HDC dc, int column, int row, const RECT& rect);

    // For weekday names the control's font cannot show (a font without Hanja).
    win::Font fallbackFont_;
    GridWindow window_;
};

// Makes "TCalendar" a control kind that layout rows can place (its designed value is
// StartOfWeek); done once at start-up.
void RegisterCalendarKind();

}  // namespace siborang
