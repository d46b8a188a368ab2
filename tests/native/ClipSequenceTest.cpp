#include "speech/ClipSequence.h"

#include <gtest/gtest.h>

namespace siborang {
namespace {

using Clips = std::vector<std::string>;

struct Case {
    std::uint16_t hour, minute;
    Clips clips;
};

class ClipSequenceTable : public testing::TestWithParam<Case> {};

TEST_P(ClipSequenceTable, SpeaksInOrder) {
    const Case& c = GetParam();
    EXPECT_EQ(ClipSequence(c.hour, c.minute), c.clips) << c.hour << ":" << c.minute;
}

INSTANTIATE_TEST_SUITE_P(
    Times, ClipSequenceTable,
    testing::Values(
        Case{0, 0, {"___Hour10", "___Hour2", "___Hours"}},
        Case{9, 5, {"___Hour9", "___Hours", "___Minute5", "___Minute"}},
        Case{10, 10, {"___Hour10", "___Hours", "___Minute10", "___Minute"}},
        Case{11, 15, {"___Hour10", "___Hour1", "___Hours", "___Minute10", "___Minute5", "___Minute"}},
        Case{12, 30, {"___Hour10", "___Hour2", "___Hours", "___Minute3", "___Minute10", "___Minute"}},
        Case{13, 59, {"___Hour1", "___Hours", "___Minute5", "___Minute10", "___Minute9", "___Minute"}},
        Case{22, 40, {"___Hour10", "___Hours", "___Minute4", "___Minute10", "___Minute"}},
        Case{12, 0, {"___Hour10", "___Hour2", "___Hours"}},
        Case{10, 0, {"___Hour10", "___Hours"}},
        Case{23, 11, {"___Hour10", "___Hour1", "___Hours", "___Minute10", "___Minute1", "___Minute"}},
        Case{1, 20, {"___Hour1", "___Hours", "___Minute2", "___Minute10", "___Minute"}},
        Case{7, 1, {"___Hour7", "___Hours", "___Minute1", "___Minute"}}));

TEST(ClipSequence, EveryTimeOfDayIsWellFormed) {
    for (std::uint16_t hour = 0; hour < 24; ++hour) {
        for (std::uint16_t minute = 0; minute < 60; ++minute) {
            const Clips clips = ClipSequence(hour, minute);
            ASSERT_LE(clips.size(), 7u);
            const auto hours = std::find(clips.begin(), clips.end(), "___Hours");
            ASSERT_NE(hours, clips.end());
            // The minute part is there exactly when the minute is not 0, and ends the sequence.
            EXPECT_EQ(minute == 0, hours + 1 == clips.end()) << hour << ":" << minute;
            if (minute != 0) {
                EXPECT_EQ(clips.back(), "___Minute");
            }
            // One-digit minutes never say "ten"; 10-19 never say "one ten".
            const bool saysTen = std::find(clips.begin(), clips.end(), "___Minute10") != clips.end();
            EXPECT_EQ(saysTen, minute >= 10);
            if (minute >= 10 && minute < 20) {
                EXPECT_EQ(*(hours + 1), "___Minute10");
            }
            // Hour and hour + 12 sound the same.
            if (hour < 12) {
                EXPECT_EQ(clips, ClipSequence(static_cast<std::uint16_t>(hour + 12), minute));
            }
        }
    }
}

}  // namespace
}  // namespace siborang
