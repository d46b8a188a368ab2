// The calendar's date codec, month layout, cell labels and date-part rules, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/CalendarModel.h"
#include "core/Errors.h"

namespace siborang {
namespace {

TEST(DateCodec, EncodesFromTheLastDayOf1899AndRoundTrips) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2015, 8, 1), 42217);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    for (DateDays d = EncodeDate(1, 1, 1); d <= EncodeDate(9999, 12, 31); d += 97) {
        const DateParts p = DecodeDate(d);
        ASSERT_EQ(EncodeDate(p.year, p.month, p.day), d);
    }
    EXPECT_EQ(DecodeDate(EncodeDate(2000, 2, 29)), (DateParts{2000, 2, 29}));
    EXPECT_EQ(DecodeDate(-1), (DateParts{1899, 12, 29}));
}

TEST(DateCodec, WeekdaysCountFromSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2015, 2, 1)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2015, 8, 1)), 7);   // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);      // Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 8)), 3);  // Tuesday
}

TEST(DateCodec, RefusesDatesThatDoNotExist) {
    const std::vector<DateParts> bad{{0, 1, 1},  {10000, 1, 1}, {2015, 0, 1},  {2015, 13, 1},
                                     {2015, 1, 0}, {2015, 4, 31}, {2001, 2, 29}, {1900, 2, 29}};
    for (const DateParts& p : bad) {
        try {
            EncodeDate(p.year, p.month, p.day);
            ADD_FAILURE() << p.year << "-" << p.month << "-" << p.day << " encoded";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
    }
}

TEST(DateCodec, LeapYearsFollowTheGregorianRules) {
    EXPECT_EQ(MonthLength(1900, 2), 28);
    EXPECT_EQ(MonthLength(2000, 2), 29);
    EXPECT_EQ(MonthLength(2004, 2), 29);
    EXPECT_EQ(MonthLength(2100, 2), 28);
    EXPECT_EQ(MonthLength(2015, 2), 28);
    EXPECT_FALSE(LeapYear(1900));
    EXPECT_TRUE(LeapYear(2000));
    EXPECT_EQ(MonthLength(2015, 4), 30);
    EXPECT_EQ(MonthLength(2015, 12), 31);
    EXPECT_EQ(MonthLength(2015, 0), 0);
    EXPECT_EQ(MonthLength(2015, 13), 0);
    EXPECT_EQ(CalendarModel::MonthLength(2004, 2), 29);
}

// A calendar whose "today" the test chooses, and a record of its events.
class Calendar : public ::testing::Test {
protected:
    DateParts today{2015, 8, 15};
    std::vector<std::string> events;
    CalendarModel cal{[this] { return today; }};

    void SetUp() override {
        cal.OnClick = [this](TCustomGrid&) { events.push_back("click"); };
        cal.OnChange = [this](CalendarModel& sender) {
            events.push_back("change " + std::to_string(sender.Year()) + "-" + std::to_string(sender.Month()) + "-" +
                             std::to_string(sender.Day()) + " at " + std::to_string(sender.Col()) + "," +
                             std::to_string(sender.Row()));
        };
        cal.SetClientSize(349, 202);
    }
    // Brings the calendar to a date without going through an impossible one.
    void Go(int y, int m, int d) {
        cal.SetDay(1);
        cal.SetYear(y);
        cal.SetMonth(m);
        cal.SetDay(d);
        events.clear();
    }
    std::vector<std::string> Row(int row) {
        std::vector<std::string> labels;
        for (int c = 0; c < 7; ++c) labels.push_back(cal.CellLabel(c, row));
        return labels;
    }
};

TEST_F(Calendar, StartsOnTodayWithTodaysCellCurrent) {
    EXPECT_EQ(cal.Year(), 2015);
    EXPECT_EQ(cal.Month(), 8);
    EXPECT_EQ(cal.Day(), 15);
    EXPECT_TRUE(cal.UseCurrentDate());
    EXPECT_FALSE(cal.InLayout());
    EXPECT_FALSE(cal.ReadOnly());
    EXPECT_EQ(cal.StartOfWeek(), 0);
    EXPECT_EQ(cal.Current(), (GridCell{6, 3}));  // 15 August 2015 was a Saturday
    EXPECT_EQ(cal.ColCount(), 7);
    EXPECT_EQ(cal.RowCount(), 7);
    EXPECT_EQ(cal.FixedCols(), 0);
    EXPECT_EQ(cal.FixedRows(), 1);
    EXPECT_FALSE(cal.Options() & kRangeSelect);
    EXPECT_TRUE(cal.Options() & kDrawFocusSelected);
    EXPECT_EQ(cal.GetDatePart(0), -1);
    EXPECT_EQ(cal.GetDatePart(4), -1);
    EXPECT_TRUE(events.empty());
}

TEST_F(Calendar, February2015FillsFourWeekRowsExactly) {
    Go(2015, 2, 10);
    EXPECT_EQ(cal.FirstCellDay(), 1);
    EXPECT_EQ(cal.CellLabel(0, 1), "1");
    EXPECT_EQ(cal.CellLabel(6, 4), "28");
    EXPECT_EQ(Row(1), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(Row(5), std::vector<std::string>(7));
    EXPECT_EQ(Row(6), std::vector<std::string>(7));
    EXPECT_EQ(cal.Current(), (GridCell{2, 2}));
}

TEST_F(Calendar, August2015StartsInTheLastColumnAndEndsInRowSix) {
    Go(2015, 8, 31);
    EXPECT_EQ(cal.FirstCellDay(), -5);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"", "", "", "", "", "", "1"}));
    EXPECT_EQ(Row(6), (std::vector<std::string>{"30", "31", "", "", "", "", ""}));
    EXPECT_EQ(cal.Current(), (GridCell{1, 6}));
    EXPECT_EQ(Row(0), (std::vector<std::string>{"\xEC\xED", "\xEA\xC5", "\xFB\xFD", "\xE2\xA9", "\xD9\xCA",
                                                "\xD0\xDD", "\xF7\xCF"}));
}

TEST_F(Calendar, August2015FromMondayShiftsHeaderAndDays) {
    cal.SetStartOfWeek(1);
    EXPECT_EQ(cal.FirstCellDay(), -4);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"\xEA\xC5", "\xFB\xFD", "\xE2\xA9", "\xD9\xCA", "\xD0\xDD",
                                                "\xF7\xCF", "\xEC\xED"}));
    EXPECT_EQ(cal.CellLabel(5, 1), "1");
    EXPECT_EQ(cal.CellLabel(4, 1), "");
    EXPECT_EQ(cal.Current(), (GridCell{5, 3}));  // the 15th
    EXPECT_TRUE(events.empty());                 // relaid out without a change event
    EXPECT_TRUE(cal.UseCurrentDate());
    cal.SetStartOfWeek(7);  // not a weekday: ignored
    EXPECT_EQ(cal.StartOfWeek(), 1);
}

TEST_F(Calendar, EveryStartOfWeekPutsThe1stInWeekRowOne) {
    for (int sow = 0; sow < 7; ++sow) {
        cal.SetStartOfWeek(sow);
        for (int m = 1; m <= 12; ++m) {
            cal.SetMonth(m);
            const int first = cal.FirstCellDay();
            ASSERT_GE(first, -5);
            ASSERT_LE(first, 1);
            ASSERT_EQ(cal.CellLabel(1 - first, 1), "1");
            const int k = cal.CurrentMonthLength() - first;
            ASSERT_LE(k / 7 + 1, 6);
            ASSERT_EQ(cal.CellLabel(k % 7, k / 7 + 1), std::to_string(cal.CurrentMonthLength()));
        }
    }
}

// What every refused assignment must leave as it was.
struct Snapshot {
    DateDays date;
    GridCell cell;
    bool useCurrentDate;
    int firstCellDay;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const CalendarModel& c) { return {c.DateValue(), c.Current(), c.UseCurrentDate(), c.FirstCellDay()}; }

TEST_F(Calendar, IgnoredAssignmentsChangeNothingAndFireNothing) {
    struct Case {
        const char* what;
        int y, m, d;  // where the calendar stands first
        int index, value;
    };
    const Case cases[] = {
        {"Day 31 in a 30-day month", 2015, 9, 10, 3, 31},
        {"Day 29 in February 2015", 2015, 2, 10, 3, 29},
        {"Month 13", 2015, 8, 15, 2, 13},
        {"Month 0", 2015, 8, 15, 2, 0},
        {"Day 0", 2015, 8, 15, 3, 0},
        {"Year 0", 2015, 8, 15, 1, 0},
        {"Year -2015", 2015, 8, 15, 1, -2015},
        {"Month -1", 2015, 8, 15, 2, -1},
        {"Day -1", 2015, 8, 15, 3, -1},
        {"same year", 2015, 8, 15, 1, 2015},
        {"same month", 2015, 8, 15, 2, 8},
        {"same day", 2015, 8, 15, 3, 15},
        {"index 0", 2015, 8, 15, 0, 5},
        {"index 4", 2015, 8, 15, 4, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cal.SetUseCurrentDate(true);
        today = {c.y, c.m, c.d};
        cal.SetUseCurrentDate(false);
        cal.SetUseCurrentDate(true);  // lands on the case's date, still "current"
        ASSERT_EQ(cal.Day(), c.d);
        events.clear();
        const Snapshot before = Take(cal);
        cal.SetDatePart(c.index, c.value);
        EXPECT_EQ(Take(cal), before);
        EXPECT_TRUE(events.empty());
    }
}

TEST_F(Calendar, ImpossibleDatesFailAndChangeNothing) {
    struct Case {
        const char* what;
        int y, m, d;
        int index, value;
    };
    const Case cases[] = {
        {"Month 2 on the 30th", 2015, 1, 30, 2, 2},
        {"Month 2 on the 31st", 2015, 1, 31, 2, 2},
        {"Month 4 on the 31st", 2015, 1, 31, 2, 4},
        {"Year 2001 on 29 February 2000", 2000, 2, 29, 1, 2001},
        {"Year 10000", 2015, 8, 15, 1, 10000},
        {"Year 65536 + 2015", 2015, 8, 15, 1, 65536 + 2015},
        {"Year 65537", 2015, 8, 15, 1, 65537},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cal.SetUseCurrentDate(true);
        today = {c.y, c.m, c.d};
        cal.SetUseCurrentDate(false);
        cal.SetUseCurrentDate(true);
        ASSERT_EQ(cal.Day(), c.d);
        events.clear();
        const Snapshot before = Take(cal);
        try {
            cal.SetDatePart(c.index, c.value);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
        EXPECT_EQ(Take(cal), before);
        EXPECT_TRUE(events.empty());
        EXPECT_FALSE(cal.InLayout());
    }
}

TEST_F(Calendar, ASuccessfulChangeFiresOnceAfterTheNewLayout) {
    cal.SetMonth(2);
    EXPECT_EQ(events, (std::vector<std::string>{"change 2015-2-15 at 0,3"}));
    EXPECT_FALSE(cal.UseCurrentDate());
    EXPECT_EQ(cal.FirstCellDay(), 1);
    events.clear();
    cal.SetYear(2016);  // 1 February 2016 was a Monday
    EXPECT_EQ(events, (std::vector<std::string>{"change 2016-2-15 at 1,3"}));
    events.clear();
    cal.SetDay(29);
    EXPECT_EQ(events, (std::vector<std::string>{"change 2016-2-29 at 1,5"}));
    events.clear();
    cal.SetDay(1);
    cal.SetYear(2);  // typed digit by digit, a year passes through small values
    EXPECT_EQ(cal.DateValue(), EncodeDate(2, 2, 1));
}

TEST_F(Calendar, UseCurrentDateReturnsToTodayWithoutAnEvent) {
    Go(2001, 3, 4);
    EXPECT_FALSE(cal.UseCurrentDate());
    today = {2026, 12, 8};
    cal.SetUseCurrentDate(true);
    EXPECT_TRUE(cal.UseCurrentDate());
    EXPECT_EQ(cal.DateValue(), EncodeDate(2026, 12, 8));
    EXPECT_EQ(cal.Current(), (GridCell{2, 2}));
    EXPECT_TRUE(events.empty());
    // It does not follow the clock: assigning the value it has does nothing.
    today = {2027, 1, 1};
    cal.SetUseCurrentDate(true);
    EXPECT_EQ(cal.Year(), 2026);
}

TEST_F(Calendar, ClickingADayFiresClickThenChange) {
    // The 20th of August 2015: column 4, week row 4; cells are 50 pixels apart, rows 29.
    cal.MouseDown(4 * 50 + 10, 4 * 29 + 10, false);
    EXPECT_EQ(cal.Current(), (GridCell{4, 4}));
    EXPECT_TRUE(events.empty());
    cal.MouseUp(4 * 50 + 10, 4 * 29 + 10);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "change 2015-8-20 at 4,4"}));
    events.clear();
    // A blank cell refuses the move; the release only clicks.
    cal.MouseDown(10, 29 + 10, false);
    cal.MouseUp(10, 29 + 10);
    EXPECT_EQ(cal.Current(), (GridCell{4, 4}));
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));
    events.clear();
    // The header selects nothing and its release is no click.
    cal.MouseDown(10, 10, false);
    cal.MouseUp(10, 10);
    EXPECT_TRUE(events.empty());
}

TEST_F(Calendar, ReadOnlyRefusesTheUserButNotTheOwner) {
    cal.SetReadOnly(true);
    const GridCell start = cal.Current();
    cal.KeyDown(kKeyLeft, false, false);
    cal.MouseDown(2 * 50 + 5, 3 * 29 + 5, false);
    cal.MouseUp(2 * 50 + 5, 3 * 29 + 5);
    EXPECT_EQ(cal.Current(), start);
    EXPECT_EQ(cal.Day(), 15);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "click"}));  // the key and the release
    events.clear();
    cal.SetDay(3);
    EXPECT_EQ(cal.Current(), (GridCell{1, 2}));
    EXPECT_EQ(events, (std::vector<std::string>{"change 2015-8-3 at 1,2"}));
}

TEST_F(Calendar, ArrowsNeverWrapAndBlankCellsRefuse) {
    Go(2015, 8, 31);  // column 1 of row 6
    cal.KeyDown(kKeyRight, false, false);
    EXPECT_EQ(cal.Day(), 31);
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));
    events.clear();
    cal.SetDay(22);  // column 6
    events.clear();
    cal.KeyDown(kKeyRight, false, false);  // already at the last column: no target, no click
    EXPECT_EQ(cal.Day(), 22);
    EXPECT_TRUE(events.empty());
    cal.SetDay(1);  // column 6 of row 1
    events.clear();
    cal.KeyDown(kKeyLeft, false, false);
    cal.KeyDown(kKeyUp, false, false);
    EXPECT_EQ(cal.Day(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));  // Up from row 1 goes nowhere
    events.clear();
    cal.KeyDown(kKeyDown, false, false);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "change 2015-8-8 at 6,2"}));
}

TEST_F(Calendar, PagesJumpFiveRowsOnlyOntoDays) {
    // August 2015: row 1 shows only the 1st (column 6), row 6 only the 30th and 31st.
    Go(2015, 8, 30);  // column 0 of row 6
    cal.KeyDown(kKeyPageUp, false, false);  // column 0 of row 1: blank
    EXPECT_EQ(cal.Day(), 30);
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));
    cal.SetDay(29);  // column 6 of row 5; five rows up is clamped to row 1, the 1st
    cal.KeyDown(kKeyPageUp, false, false);
    EXPECT_EQ(cal.Current(), (GridCell{6, 1}));
    EXPECT_EQ(cal.Day(), 1);
    cal.KeyDown(kKeyPageDown, false, false);  // column 6 of row 6: blank
    EXPECT_EQ(cal.Day(), 1);
    cal.SetDay(2);  // column 0 of row 2; five rows down is clamped to row 6, the 30th
    cal.KeyDown(kKeyPageDown, false, false);
    EXPECT_EQ(cal.Current(), (GridCell{0, 6}));
    EXPECT_EQ(cal.Day(), 30);
    cal.SetDay(31);  // column 1 of row 6
    cal.KeyDown(kKeyPageUp, false, false);  // column 1 of row 1: blank
    EXPECT_EQ(cal.Day(), 31);
    // Ctrl: the first and the last week row shown, Home and End along the row.
    cal.SetDay(12);  // column 3 of row 3
    cal.KeyDown(kKeyHome, false, false);
    EXPECT_EQ(cal.Day(), 9);
    cal.KeyDown(kKeyEnd, false, false);
    EXPECT_EQ(cal.Day(), 15);
    cal.KeyDown(kKeyPageUp, false, true);
    EXPECT_EQ(cal.Day(), 1);
}

TEST_F(Calendar, SizeNotificationSetsTheCellSize) {
    EXPECT_EQ(cal.DefaultColWidth(), 49);
    EXPECT_EQ(cal.DefaultRowHeight(), 28);
    EXPECT_EQ(cal.LastFullVisibleCol(), 6);
    EXPECT_EQ(cal.LastFullVisibleRow(), 6);
    cal.SetGridLineWidth(3);  // takes effect at the next size notification only
    EXPECT_EQ(cal.DefaultColWidth(), 49);
    cal.SetClientSize(349, 202);
    EXPECT_EQ(cal.DefaultColWidth(), 47);  // (349 - 18) / 7
    EXPECT_EQ(cal.DefaultRowHeight(), 26);  // (202 - 18) / 7
    cal.SetClientSize(10, 5);  // smaller than the grid lines: empty cells
    EXPECT_EQ(cal.DefaultColWidth(), 0);
    EXPECT_EQ(cal.DefaultRowHeight(), 0);
}

TEST_F(Calendar, CellsFillTheClientAreaWithTheRemainderSpread) {
    cal.SetClientSize(526, 305);  // at 144 dpi: cells of 7 x 74 + 2 and 7 x 42 + 5 pixels
    std::vector<int> lefts, tops;
    for (int i = 0; i < 7; ++i) {
        lefts.push_back(cal.CellRect(i, 0).left);
        tops.push_back(cal.CellRect(0, i).top);
    }
    EXPECT_EQ(lefts, (std::vector<int>{0, 75, 151, 226, 301, 376, 452}));  // columns 1 and 5 wider
    EXPECT_EQ(tops, (std::vector<int>{0, 44, 87, 131, 175, 219, 262}));    // rows 0, 2, 3, 4, 6 higher
    EXPECT_EQ(cal.CellRect(6, 6), (GridRect{452, 262, 526, 305}));
    EXPECT_EQ(cal.MouseCoord(150, 130), (GridCell{1, 2}));  // the lines after a wider cell
    EXPECT_EQ(cal.MouseCoord(151, 131), (GridCell{2, 3}));
}

}  // namespace
}  // namespace siborang
