#include "core/IntParse.h"

#include <gtest/gtest.h>

#include "core/Errors.h"

namespace siborang {
namespace {

TEST(ParseInteger, LenientExamplesOfTheIntervalBox) {
    EXPECT_EQ(ParseIntegerOr(" 007", 30), 7);
    EXPECT_EQ(ParseIntegerOr("$1E", 30), 30);
    EXPECT_EQ(ParseIntegerOr("$1F", 30), 31);
    EXPECT_EQ(ParseIntegerOr("-5", 30), -5);
    EXPECT_EQ(ParseIntegerOr("+5", 30), 5);
    EXPECT_EQ(ParseIntegerOr("15 ", 30), 30);
    EXPECT_EQ(ParseIntegerOr("$FFFFFFFF", 30), -1);
    EXPECT_EQ(ParseIntegerOr("abc", 30), 30);
    EXPECT_EQ(ParseIntegerOr("", 30), 30);
}

TEST(ParseInteger, RefusesWhatIsNotOneWholeNumber) {
    for (const char* text : {"   ", "-", "+", "$", "$123456789", "$G", "1.5", "1e3", "--1", "\t5", "5\t", "- 5", "0x10"}) {
        EXPECT_FALSE(ParseInteger(text).has_value()) << text;
    }
}

TEST(ParseInteger, SignedThirtyTwoBitRange) {
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    EXPECT_FALSE(ParseInteger("2147483648").has_value());
    EXPECT_FALSE(ParseInteger("-2147483649").has_value());
    EXPECT_FALSE(ParseInteger("99999999999999999999999").has_value());
    EXPECT_EQ(ParseInteger("$80000000"), INT32_MIN);
    EXPECT_EQ(ParseInteger("$abcdef"), 0xABCDEF);
    EXPECT_EQ(ParseInteger("0000000000000000000012"), 12);
}

TEST(ParseInteger, StrictRaisesWithTheText) {
    EXPECT_EQ(ParseIntegerStrict("60"), 60);
    try {
        ParseIntegerStrict("abc");
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
}

TEST(ParseProfileInteger, HexForms) {
    EXPECT_EQ(ParseProfileInteger("0x41", 87), 65);
    EXPECT_EQ(ParseProfileInteger("0X41", 87), 65);
    EXPECT_EQ(ParseProfileInteger("$41", 87), 65);
    EXPECT_EQ(ParseProfileInteger("0x", 87), 87);   // two characters only: not hexadecimal
    EXPECT_EQ(ParseProfileInteger("0xZZ", 87), 87);
    EXPECT_EQ(ParseProfileInteger("041", 87), 41);
    EXPECT_EQ(ParseProfileInteger("-1", 30), -1);
    EXPECT_EQ(ParseProfileInteger("yes", 1), 1);
    EXPECT_EQ(ParseProfileInteger("", 3), 3);
}

TEST(IoErrorText, NamedCodesAndTheRest) {
    EXPECT_EQ(IoErrorText(2), "File not found");
    EXPECT_EQ(IoErrorText(3), "Invalid filename");
    EXPECT_EQ(IoErrorText(4), "Too many open files");
    EXPECT_EQ(IoErrorText(5), "File access denied");
    EXPECT_EQ(IoErrorText(100), "Read beyond end of file");
    EXPECT_EQ(IoErrorText(101), "Disk full");
    EXPECT_EQ(IoErrorText(112), "Disk full");  // what NTFS gives for a write that does not fit
    EXPECT_EQ(IoErrorText(39), "Disk full");
    EXPECT_EQ(IoErrorText(106), "I/O error 106");
    EXPECT_EQ(IoErrorText(103), "I/O error 103");
    EXPECT_EQ(IoErrorText(32), "I/O error 32");
    IoError e(5);
    EXPECT_EQ(e.Code(), 5u);
    EXPECT_STREQ(e.what(), "File access denied");
}

}  // namespace
}  // namespace siborang
