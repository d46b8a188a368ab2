#include "controls/CalendarModel.h"

#include <algorithm>
#include <charconv>

#include "core/Errors.h"

namespace siborang {

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
    // Seven cells and six grid lines fill each direction to its last pixel: what seven does not
    // divide is spread over the cells, so the last column and row end at the window's edge.
    const int lines = 6 * GridLineWidth();
    const int cellsWidth = std::max(width - lines, 0), cellsHeight = std::max(height - lines, 0);
    SetDefaultColWidth(cellsWidth / kCalendarColumns);
    SetExtraWidth(cellsWidth % kCalendarColumns);
    SetDefaultRowHeight(cellsHeight / kCalendarRows);
    SetExtraHeight(cellsHeight % kCalendarRows);
}

void CalendarModel::NotifyChange() {
    if (OnChange) OnChange(*this);
}

}  // namespace siborang
