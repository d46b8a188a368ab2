#include "controls/CalendarModel.h"

#include <algorithm>
#include <charconv>

#include "core/Errors.h"

namespace siborang {
namespace {

// Days from 1 March of year 0 in the proleptic Gregorian calendar, shifted so that
// 30 December 1899 is day 0 (H. Hinnant's civil-day algorithms).
constexpr std::int64_t kEpochShift = 693899;

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

}  // namespace

bool LeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int MonthLength(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return MonthDays[static_cast<std::size_t>(month - 1)] + (month == 2 && LeapYear(year) ? 1 : 0);
}

DateDays EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > MonthLength(year, month)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return static_cast<DateDays>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                 kEpochShift);
}

DateParts DecodeDate(DateDays date) {
    const std::int64_t z = static_cast<std::int64_t>(date) + kEpochShift;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int DayOfWeek(DateDays date) {
    // Day 0 was a Saturday.
    const int r = static_cast<int>((static_cast<std::int64_t>(date) - 1) % 7);
    return (r + 7) % 7 + 1;
}

int FirstCellDayOf(int year, int month, int startOfWeek) {
    const int w = DayOfWeek(EncodeDate(year, month, 1));
    const int a = (w - startOfWeek + 7) % 7;
    return a == 0 ? -5 : 2 - a;
}

CalendarModel::CalendarModel(TodayFn today) : today_(std::move(today)) {
    SetFixedCols(0);
    SetFixedRows(1);
    SetColCount(kCalendarColumns);
    SetRowCount(kCalendarRows);
    SetOptions((Options() & ~kRangeSelect) | kDrawFocusSelected);
    const DateParts now = today_();
    dateValue_ = EncodeDate(now.year, now.month, now.day);
    LayOutMonth();
}

int CalendarModel::GetDatePart(int index) const {
    const DateParts parts = DecodeDate(dateValue_);
    switch (index) {
    case 1: return parts.year;
    case 2: return parts.month;
    case 3: return parts.day;
    default: return -1;
    }
}

void CalendarModel::SetDatePart(int index, int value) {
    if (value < 1) return;
    DateParts p = DecodeDate(dateValue_);
    switch (index) {
    case 1:
        if (value == p.year) return;
        // Taken whole: a year past 9999 fails below instead of wrapping round 16 bits.
        p.year = value;
        break;
    case 2:
        if (value > 12 || value == p.month) return;
        p.month = value;
        break;
    case 3:
        if (value > CurrentMonthLength() || value == p.day) return;
        p.day = value;
        break;
    default:
        return;
    }
    dateValue_ = EncodeDate(p.year, p.month, p.day);
    useCurrentDate_ = false;
    LayOutMonth();
    NotifyChange();
}

void CalendarModel::SetDate(int year, int month, int day) {
    const DateDays date = EncodeDate(year, month, day);
    if (date == dateValue_) return;
    dateValue_ = date;
    useCurrentDate_ = false;
    LayOutMonth();
    NotifyChange();
}

void CalendarModel::SetStartOfWeek(int value) {
    if (value < 0 || value > 6 || value == startOfWeek_) return;
    startOfWeek_ = static_cast<TDayOfWeek>(value);
    LayOutMonth();
}

void CalendarModel::SetUseCurrentDate(bool value) {
    if (value == useCurrentDate_) return;
    useCurrentDate_ = value;
    if (value) {
        const DateParts now = today_();
        dateValue_ = EncodeDate(now.year, now.month, now.day);
        LayOutMonth();
    }
}

int CalendarModel::CurrentMonthLength() const { return MonthLength(GetDatePart(1), GetDatePart(2)); }

std::string CalendarModel::CellLabel(int column, int row) const {
    if (row == 0) return std::string(WeekdayNames[static_cast<std::size_t>((column + startOfWeek_) % 7)]);
    const int n = firstCellDay_ + column + (row - 1) * 7;
    if (n < 1 || n > CurrentMonthLength()) return {};
    return std::to_string(n);
}

void CalendarModel::LayOutMonth() {
    struct LayoutScope {
        CalendarModel& self;
        explicit LayoutScope(CalendarModel& s) : self(s) { self.inLayout_ = true; }
        ~LayoutScope() { self.inLayout_ = false; }
    } scope(*this);
    const DateParts p = DecodeDate(dateValue_);
    firstCellDay_ = FirstCellDayOf(p.year, p.month, startOfWeek_);
    const int k = p.day - firstCellDay_;
    MoveCurrentCell(k % 7, k / 7 + 1, false, false);
    InvalidateGrid();
}

bool CalendarModel::CanSelectCell(int column, int row) {
    if (readOnly_ && !inLayout_) return false;
    if (CellLabel(column, row).empty()) return false;
    return TCustomGrid::CanSelectCell(column, row);
}

void CalendarModel::HandleClick() {
    TCustomGrid::HandleClick();
    const std::string text = CellLabel(Col(), Row());
    if (text.empty()) return;
    int day = 0;
    std::from_chars(text.data(), text.data() + text.size(), day);
    SetDatePart(3, day);
}

void CalendarModel::ClientResized(int width, int height) {
    // Seven cells and six grid lines fill each direction; every cell is wholly visible.
    const int lines = 6 * GridLineWidth();
    SetDefaultColWidth(std::max((width - lines) / kCalendarColumns, 0));
    SetDefaultRowHeight(std::max((height - lines) / kCalendarRows, 0));
}

void CalendarModel::NotifyChange() {
    if (OnChange) OnChange(*this);
}

}  // namespace siborang
