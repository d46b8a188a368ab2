#pragma once
// What a screen reader is told about the month calendar, without its window: the selected date
// in words and the cells as the table's children. controls/CalendarAccess.h answers the reader
// with it. Portable: no Win32 here.
#include <string>
#include <vector>

#include "controls/CalendarModel.h"

namespace siborang {

// "2024년 3월 5일", in CP949.
std::string KoreanDateText(const DateParts& date);
// "화요일", in CP949: the weekday of a date.
std::string KoreanWeekdayText(const DateParts& date);

enum class CalendarCellKind {
    Weekday,  // the header row
    Day,
    Blank,    // before the 1st or after the month's last day
};

struct CalendarCellFacts {
    CalendarCellKind kind = CalendarCellKind::Blank;
    int column = 0, row = 0;
    std::string label;  // as the cell shows it (CP949)
    std::string name;   // as a reader says it: a day with its weekday ("25일 목요일"), else the label
    std::string date;   // a day's full date (KoreanDateText); else empty
    bool selected = false;  // the calendar's date
    bool current = false;   // the grid's current cell, where the keys move from
};

// Every cell, row by row from the header: the table's children 1..49 in this order.
std::vector<CalendarCellFacts> CalendarCells(const CalendarModel& calendar);

// A cell's child id: its place row by row, from 1.
long CalendarCellChild(int column, int row);

// The child that takes the focus when the day or the month moves: the current cell.
long CalendarFocusChild(const CalendarModel& calendar);

}  // namespace siborang
