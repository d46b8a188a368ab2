#pragma once
// The month calendar without its window: the date codec, the month layout on the grid,
// cell labels, the date parts and the selection rules. controls/Calendar.h puts it in a
// window. Portable: no Win32 here.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/GridModel.h"
#include "core/Dates.h"

namespace siborang {

// The header texts by weekday (0 = Sunday), one Hanja each in CP949. Friday is D0 DD, the
// code that maps to the compatibility ideograph U+F90A.
inline constexpr std::array<std::string_view, 7> WeekdayNames{
    "\xEC\xED", "\xEA\xC5", "\xFB\xFD", "\xE2\xA9", "\xD9\xCA", "\xD0\xDD", "\xF7\xCF"};

inline constexpr int kCalendarColumns = 7;
inline constexpr int kCalendarRows = 7;

// The day number in column 0 of week row 1: 1 - the column of the 1st (1, 0 ... -5).
int FirstCellDayOf(int year, int month, int startOfWeek);

class CalendarModel : public TCustomGrid {
public:
    using TodayFn = std::function<DateParts()>;
    using TNotifyEvent = std::function<void(CalendarModel& sender)>;

    // Starts on today's date, as `today` tells it.
    explicit CalendarModel(TodayFn today);

    int GetDatePart(int index) const;
    void SetDatePart(int index, int value);
    int Year() const { return GetDatePart(1); }
    int Month() const { return GetDatePart(2); }
    int Day() const { return GetDatePart(3); }
    void SetYear(int value) { SetDatePart(1, value); }
    void SetMonth(int value) { SetDatePart(2, value); }
    void SetDay(int value) { SetDatePart(3, value); }

    DateDays DateValue() const noexcept { return dateValue_; }
    int FirstCellDay() const noexcept { return firstCellDay_; }
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool value) noexcept { readOnly_ = value; }
    TDayOfWeek StartOfWeek() const noexcept { return startOfWeek_; }
    // 0 = Sunday ... 6 = Saturday; other values are ignored.
    void SetStartOfWeek(int value);
    bool InLayout() const noexcept { return inLayout_; }
    bool UseCurrentDate() const noexcept { return useCurrentDate_; }
    void SetUseCurrentDate(bool value);

    static int MonthLength(int year, int month) { return siborang::MonthLength(year, month); }
    static bool LeapYear(int year) { return siborang::LeapYear(year); }
    int CurrentMonthLength() const;

    // The text of a cell: a weekday name in the header (CP949), else the day number or "".
    std::string CellLabel(int column, int row) const;

    void LayOutMonth();

    TNotifyEvent OnChange;

protected:
    bool CanSelectCell(int column, int row) override;
    void HandleClick() override;
    void ClientResized(int width, int height) override;
    void NotifyChange();

private:
    TodayFn today_;
    DateDays dateValue_ = 0;
    int firstCellDay_ = 1;
    bool readOnly_ = false;
    TDayOfWeek startOfWeek_ = 0;
    bool inLayout_ = false;
    bool useCurrentDate_ = true;
};

}  // namespace siborang
