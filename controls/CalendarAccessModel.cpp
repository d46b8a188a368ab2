#include "controls/CalendarAccessModel.h"

namespace siborang {

std::string KoreanDateText(const DateParts& date) {
    // CP949: 년 B3E2, 월 BFF9, 일 C0CF.
    return std::to_string(date.year) + "\xB3\xE2 " + std::to_string(date.month) + "\xBF\xF9 " +
           std::to_string(date.day) + "\xC0\xCF";
}

std::vector<CalendarCellFacts> CalendarCells(const CalendarModel& calendar) {
    const DateParts shown = DecodeDate(calendar.DateValue());
    std::vector<CalendarCellFacts> cells;
    cells.reserve(static_cast<std::size_t>(calendar.ColCount() * calendar.RowCount()));
    for (int row = 0; row < calendar.RowCount(); ++row) {
        for (int column = 0; column < calendar.ColCount(); ++column) {
            CalendarCellFacts cell;
            cell.column = column;
            cell.row = row;
            cell.label = calendar.CellLabel(column, row);
            cell.current = column == calendar.Col() && row == calendar.Row();
            if (row < calendar.FixedRows()) {
                cell.kind = CalendarCellKind::Weekday;
            } else if (!cell.label.empty()) {
                cell.kind = CalendarCellKind::Day;
                const int day = calendar.FirstCellDay() + column + (row - calendar.FixedRows()) * kCalendarColumns;
                cell.date = KoreanDateText({shown.year, shown.month, day});
                cell.selected = day == shown.day;
            }
            cells.push_back(std::move(cell));
        }
    }
    return cells;
}

long CalendarCellChild(int column, int row) { return static_cast<long>(row) * kCalendarColumns + column + 1; }

long CalendarFocusChild(const CalendarModel& calendar) { return CalendarCellChild(calendar.Col(), calendar.Row()); }

}  // namespace siborang
