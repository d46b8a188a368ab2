// What a screen reader is told of the month calendar: the date in words and the cells as children,
// the days named with their weekdays.
#include <gtest/gtest.h>

#include <string>

#include "controls/CalendarAccessModel.h"

namespace siborang {
namespace {

// CP949: 년 B3E2, 월 BFF9, 일 C0CF.
TEST(CalendarAccessModel, SaysTheDateInKorean) {
    EXPECT_EQ(KoreanDateText({2024, 3, 5}), "2024\xB3\xE2 3\xBF\xF9 5\xC0\xCF");
    EXPECT_EQ(KoreanDateText({9999, 12, 31}), "9999\xB3\xE2 12\xBF\xF9 31\xC0\xCF");
}

// August 2015 from Sunday: the 1st is a Saturday (column 6 of row 1), the 31st a Monday (row 6).
TEST(CalendarAccessModel, ListsTheCellsRowByRowAndFocusesTheCurrentDay) {
    CalendarModel calendar([] { return DateParts{2015, 8, 11}; });
    auto cells = CalendarCells(calendar);
    ASSERT_EQ(cells.size(), 49u);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(CalendarCellChild(cells[i].column, cells[i].row), static_cast<long>(i + 1)) << i;
        EXPECT_EQ(cells[i].label, calendar.CellLabel(cells[i].column, cells[i].row)) << i;
        EXPECT_EQ(cells[i].selected, i + 1 == static_cast<std::size_t>(CalendarCellChild(2, 3))) << i;
    }
    EXPECT_EQ(cells[0].kind, CalendarCellKind::Weekday);
    EXPECT_EQ(cells[0].name, cells[0].label);
    EXPECT_EQ(cells[7].kind, CalendarCellKind::Blank);
    EXPECT_EQ(cells[13].date, KoreanDateText({2015, 8, 1}));
    EXPECT_EQ(cells[43].date, KoreanDateText({2015, 8, 31}));
    // CP949: 일 C0CF, 토 C5E4, 월 BFF9, 요일 BFE4 C0CF.
    EXPECT_EQ(cells[13].name, "1\xC0\xCF \xC5\xE4\xBF\xE4\xC0\xCF");  // 1일 토요일
    EXPECT_EQ(cells[43].name, "31\xC0\xCF \xBF\xF9\xBF\xE4\xC0\xCF");  // 31일 월요일
    EXPECT_EQ(cells[44].kind, CalendarCellKind::Blank);
    EXPECT_EQ(CalendarFocusChild(calendar), CalendarCellChild(2, 3));

    calendar.KeyDown(kKeyRight, false, false);
    EXPECT_EQ(CalendarFocusChild(calendar), CalendarCellChild(3, 3));
    // September 2015 begins on a Tuesday: the 12th moves to column 6 of row 2.
    calendar.SetMonth(9);
    EXPECT_EQ(CalendarFocusChild(calendar), CalendarCellChild(6, 2));
    cells = CalendarCells(calendar);
    EXPECT_TRUE(cells[CalendarCellChild(6, 2) - 1].selected);
    EXPECT_EQ(cells[CalendarCellChild(6, 2) - 1].date, KoreanDateText({2015, 9, 12}));
}

}  // namespace
}  // namespace siborang
