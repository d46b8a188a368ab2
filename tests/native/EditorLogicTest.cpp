// The memo editor's decisions without a window: list entries, the number boxes' corrections
// on leaving them, the stored numbers and the due date it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "core/Errors.h"
#include "memo/EditorLogic.h"

namespace siborang {
namespace {

TEST(MemoEntryText, PlainDecimalsWithoutLeadingZeros) {
    MemoRecord memo;
    std::memset(&memo, 0, sizeof memo);
    memo.Year = 2026;
    memo.Month = 12;
    memo.Day = 7;
    memo.Hour = 9;
    memo.Minute = 5;
    EXPECT_EQ(MemoEntryText(memo), "2026/12/7 9:5");
    memo.Year = -5;
    memo.Minute = 0;
    EXPECT_EQ(MemoEntryText(memo), "-5/12/7 9:0");
}

struct ExitCase {
    const char* box;
    int tag;
    const char* typed;
    const char* after;
};

class NumberBoxExit : public testing::TestWithParam<ExitCase> {};

TEST_P(NumberBoxExit, LeavesTheCorrectedText) {
    const ExitCase& c = GetParam();
    EXPECT_EQ(NumberBoxAfterExit(c.typed, c.tag), c.after) << c.box << " left with \"" << c.typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    EveryBox, NumberBoxExit,
    testing::Values(
        // Hour: not a number or -1 gives 23; at most 0 gives 0; above 23 gives 23.
        ExitCase{"EHour", kHourTag, "ab", "23"}, ExitCase{"EHour", kHourTag, "-1", "23"},
        ExitCase{"EHour", kHourTag, "-5", "0"}, ExitCase{"EHour", kHourTag, "00", "0"},
        ExitCase{"EHour", kHourTag, "24", "23"}, ExitCase{"EHour", kHourTag, "7", "7"},
        ExitCase{"EHour", kHourTag, "$F", "$F"}, ExitCase{"EHour", kHourTag, "+5", "+5"},
        ExitCase{"EHour", kHourTag, "", "23"},
        // Minute: falls back to 0, kept to 0..59.
        ExitCase{"EMinute", kMinuteTag, "", "0"}, ExitCase{"EMinute", kMinuteTag, "-1", "0"},
        ExitCase{"EMinute", kMinuteTag, "75", "59"}, ExitCase{"EMinute", kMinuteTag, "-7", "0"},
        ExitCase{"EMinute", kMinuteTag, "05", "05"}, ExitCase{"EMinute", kMinuteTag, "59", "59"},
        ExitCase{"EMinute", kMinuteTag, "60", "59"},
        // Month: falls back to 12, kept to 1..12.
        ExitCase{"EMonth", kMonthTag, "0", "1"}, ExitCase{"EMonth", kMonthTag, "13", "12"},
        ExitCase{"EMonth", kMonthTag, "", "12"}, ExitCase{"EMonth", kMonthTag, "-1", "12"},
        ExitCase{"EMonth", kMonthTag, "11", "11"},
        // Year: falls back to 1990; any other integer stays.
        ExitCase{"EYear", kYearTag, "abc", "1990"}, ExitCase{"EYear", kYearTag, "0", "0"},
        ExitCase{"EYear", kYearTag, "-5", "-5"}, ExitCase{"EYear", kYearTag, "-1", "1990"},
        ExitCase{"EYear", kYearTag, "2027", "2027"}),
    [](const testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.box) + std::to_string(info.index); });

TEST(NumberBoxExit, ValuesBeyondSixteenBitsAreJudgedByTheirLowBits) {
    // 65536 + 5 is 5 in 16 bits: an hour the box keeps as typed.
    EXPECT_EQ(NumberBoxAfterExit("65541", kHourTag), "65541");
    EXPECT_EQ(NumberBoxAfterExit("65535", kMinuteTag), "0");  // -1 in 16 bits
}

TEST(StoredNumber, StrictParseKeptToSixteenSignedBits) {
    EXPECT_EQ(StoredNumber("$F"), 15);
    EXPECT_EQ(StoredNumber("+5"), 5);
    EXPECT_EQ(StoredNumber("-5"), -5);
    EXPECT_EQ(StoredNumber("40000"), static_cast<std::int16_t>(40000 - 65536));
    try {
        StoredNumber("ab");
        ADD_FAILURE() << "no error for \"ab\"";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'ab' is not a valid integer value");
    }
}

TEST(CheckDueDate, RefusesDaysTheMonthDoesNotHave) {
    auto refused = [](int y, int m, int d) {
        try {
            CheckDueDate(y, m, d);
            return false;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
            return true;
        }
    };
    EXPECT_FALSE(refused(2026, 12, 31));
    EXPECT_FALSE(refused(2024, 2, 29));
    EXPECT_FALSE(refused(2000, 2, 29));
    EXPECT_TRUE(refused(2026, 2, 29));  // a common year
    EXPECT_TRUE(refused(1900, 2, 29));
    EXPECT_TRUE(refused(2026, 2, 31));  // the calendar kept 31 when it refused February
    EXPECT_TRUE(refused(2026, 11, 31));
    EXPECT_TRUE(refused(2026, 13, 1));
    EXPECT_TRUE(refused(2026, 0, 1));
    // Years the calendar ignores are the user's to store, as the year box keeps them.
    EXPECT_FALSE(refused(0, 1, 31));
    EXPECT_FALSE(refused(-5, 3, 1));
}

}  // namespace
}  // namespace siborang
