#include "controls/CalendarAccessModel.h"

namespace siborang {

std::string KoreanDateText(const DateParts& date) {
    // CP949: 년 B3E2, 월 BFF9, 일 C0CF.
    return std::to_string(date.year) + "\xB3\xE2 " + std::to_string(date.month) + "\xBF\xF9 " +
           std::to_string(date.day) + "\xC0\xCF";
}

std::string KoreanWeekdayText(const DateParts& date) {
    // CP949: 일 C0CF, 월 BFF9, 화 C8AD, 수 BCF6, 목 B8F1, 금 B1DD, 토 C5E4; 요일 BFE4 C0CF.
    static constexpr const char* kDays[] = {"\xC0\xCF", "\xBF\xF9", "\xC8\xAD", "\xBC\xF6",
                                            "\xB8\xF1", "\xB1\xDD", "\xC5\xE4"};
    return std::string(kDays[DayOfWeek(EncodeDate(date.year, date.month, date.day)) - 1]) + "\xBF\xE4\xC0\xCF";
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
            cell.name = cell.label;
            cell.current = column == calendar.Col() && row == calendar.Row();
            if (row < calendar.FixedRows()) {
                cell.kind = CalendarCellKind::Weekday;
            } else if (!cell.label.empty()) {
                cell.kind = CalendarCellKind::Day;
                const int day = calendar.FirstCellDay() + column + (row - calendar.FixedRows()) * kCalendarColumns;
                const DateParts date{shown.year, shown.month, day};
                cell.name = cell.label + "\xC0\xCF " + KoreanWeekdayText(date);  // 일
                cell.date = KoreanDateText(date);
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
