#include "clock/MinuteTick.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/Errors.h"
#include "tests/common/MemoSamples.h"

namespace siborang {
namespace {

using samples::Memo;

// A clock, a speaker and a memo file in memory; it records what the tick did.
class FakeWorld : public TickWorld {
public:
    TickTime now{2026, 12, 8, 10, 7};
    Settings settings{.speakAtIntervals = true, .showMemos = true, .intervalText = "30"};
    std::vector<MemoRecord> file;
    std::vector<std::string> log;
    std::vector<PendingNoteTexts> notes;
    int unreadable = -1;
    int unwritable = -1;
    bool endsDuringSpeech = false;
    TickMemory memory;

    TickTime Now() override { return now; }
    bool SpeakNow() override {
        log.push_back("speak");
        return !endsDuringSpeech;
    }
    void OpenMemos() override { log.push_back("open"); }
    std::int32_t MemoCount() override { return static_cast<std::int32_t>(file.size()); }
    int ReadMemo(std::int32_t i, MemoRecord& m) override {
        if (i == unreadable) return -1;
        m = file[static_cast<std::size_t>(i)];
        return 0;
    }
    int WriteMemo(std::int32_t i, const MemoRecord& m) override {
        log.push_back("write " + std::to_string(i));
        if (i == unwritable) return -1;
        file[static_cast<std::size_t>(i)] = m;
        return 0;
    }
    void CloseMemos() override { log.push_back("close"); }
    void ShowMemoNote(const PendingNoteTexts& note) override {
        log.push_back("note");
        notes.push_back(note);
    }
};

std::string Text(const NoteText& t) { return std::string(t.View()); }

TEST(MemoTiming, EachFieldCanDecide) {
    const TickTime now{2026, 12, 8, 10, 7};
    EXPECT_EQ(TimingOf(Memo(2026, 12, 8, 10, 7), now), MemoTiming::Due);
    EXPECT_EQ(TimingOf(Memo(2025, 12, 31, 23, 59), now), MemoTiming::Missed);  // year
    EXPECT_EQ(TimingOf(Memo(2026, 11, 30, 23, 59), now), MemoTiming::Missed);  // month
    EXPECT_EQ(TimingOf(Memo(2026, 12, 7, 23, 59), now), MemoTiming::Missed);   // day
    EXPECT_EQ(TimingOf(Memo(2026, 12, 8, 9, 59), now), MemoTiming::Missed);    // hour
    EXPECT_EQ(TimingOf(Memo(2026, 12, 8, 10, 6), now), MemoTiming::Missed);    // minute
    EXPECT_EQ(TimingOf(Memo(2026, 12, 8, 10, 8), now), MemoTiming::Future);
    EXPECT_EQ(TimingOf(Memo(2027, 1, 1, 0, 0), now), MemoTiming::Future);
    EXPECT_EQ(TimingOf(Memo(2026, 12, 9, 0, 0), now), MemoTiming::Future);
    // Record fields are signed: a negative year is long past, not far in the future.
    EXPECT_EQ(TimingOf(Memo(-1, 12, 8, 10, 7), now), MemoTiming::Missed);
    EXPECT_EQ(TimingOf(Memo(2026, 12, 8, 10, -1), now), MemoTiming::Missed);
}

TEST(NoteHeading, DueAndMissedFormatsInCp949) {
    const MemoRecord m = Memo(2026, 12, 8, 9, 5);
    EXPECT_EQ(NoteHeading(m, MemoTiming::Due), "2026\xB3\xE2 12\xBF\xF9 8\xC0\xCF 9\xBD\xC3 5\xBA\xD0");
    EXPECT_EQ(NoteHeading(m, MemoTiming::Missed),
              "\xC1\xF6\xB3\xAA\xC4\xA3 \xB8\xDE\xB8\xF0: 2026\xB3\xE2 12\xBF\xF9 8\xC0\xCF 9\xBD\xC3 5\xBA\xD0");
    // The longest heading the fields allow stays within 80 bytes.
    const MemoRecord extreme = Memo(-32768, -32768, -32768, -32768, -32768);
    EXPECT_LE(NoteHeading(extreme, MemoTiming::Missed).size(), 80u);
}

TEST(NotePlaces, RepeatFromRunToRun) {
    NoteRandom small;
    const NotePlace a = NextNotePlace(small, 1024, 768, 96);
    const NotePlace b = NextNotePlace(small, 1024, 768, 96);
    const NotePlace c = NextNotePlace(small, 1024, 768, 96);
    EXPECT_EQ((std::pair{a.left, a.top}), (std::pair{34, 10}));
    EXPECT_EQ((std::pair{b.left, b.top}), (std::pair{166, 456}));
    EXPECT_EQ((std::pair{c.left, c.top}), (std::pair{529, 151}));
    NoteRandom large;
    const NotePlace d = NextNotePlace(large, 1920, 1080, 96);
    const NotePlace e = NextNotePlace(large, 1920, 1080, 96);
    EXPECT_EQ((std::pair{d.left, d.top}), (std::pair{62, 10}));
    EXPECT_EQ((std::pair{e.left, e.top}), (std::pair{348, 724}));
}

TEST(NotePlaces, StayInsideTheMarginsAtEveryScale) {
    // A note is 240 pixels square at most, frame included, at 96 dpi; it grows with the scale.
    for (const int dpi : {96, 120, 144, 192}) {
        NoteRandom random;
        const int margin = dpi * 10 / 96, note = dpi * 240 / 96;
        for (int i = 0; i < 10000; ++i) {
            const NotePlace p = NextNotePlace(random, 1280, 720, dpi);
            ASSERT_GE(p.left, margin) << dpi;
            ASSERT_GE(p.top, margin) << dpi;
            ASSERT_LE(p.left + note, 1280) << dpi;
            ASSERT_LE(p.top + note, 720) << dpi;
        }
    }
}

TEST(MinuteTick, DueAndMissedMemosAreStoredConfirmedThenShownInFileOrder) {
    FakeWorld w;
    w.settings.speakAtIntervals = false;
    w.file = {Memo(2026, 12, 8, 10, 7, "due"), Memo(2026, 12, 8, 10, 8, "future"), Memo(2026, 12, 1, 8, 0, "missed"),
              Memo(2026, 12, 1, 8, 0, "shown", 1), Memo(2026, 12, 1, 8, 0, "two", 2), Memo(2026, 12, 8, 10, 7, "also")};
    std::int32_t counter = 0;
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.log, (std::vector<std::string>{"open", "write 0", "note", "write 2", "note", "write 5", "note", "close"}));
    ASSERT_EQ(w.notes.size(), 3u);
    EXPECT_EQ(Text(w.notes[0].Lines[0]), "due");
    EXPECT_EQ(Text(w.notes[1].Lines[0]), "missed");
    EXPECT_EQ(Text(w.notes[2].Lines[0]), "also");
    EXPECT_EQ(Text(w.notes[1].Heading).substr(0, 13), "\xC1\xF6\xB3\xAA\xC4\xA3 \xB8\xDE\xB8\xF0: ");
    EXPECT_EQ(w.file[0].Confirmed, 1);
    EXPECT_EQ(w.file[1].Confirmed, 0);
    EXPECT_EQ(w.file[4].Confirmed, 2);  // any non-zero value counts as shown, and stays
    // A second tick in the same minute shows nothing new.
    w.log.clear();
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.log, (std::vector<std::string>{"open", "close"}));
}

TEST(MinuteTick, AnUnreadableRecordIsSkipped) {
    FakeWorld w;
    w.settings.speakAtIntervals = false;
    w.file = {Memo(2026, 12, 8, 10, 7), Memo(2026, 12, 8, 10, 7)};
    w.unreadable = 0;
    std::int32_t counter = 0;
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.log, (std::vector<std::string>{"open", "write 1", "note", "close"}));
}

TEST(MinuteTick, IntervalSpeaksOnTheNthTick) {
    FakeWorld w;
    w.settings.showMemos = false;
    std::int32_t counter = 0;
    for (int tick = 1; tick <= 60; ++tick) {
        w.log.clear();
        RunMinuteTick(w, w.settings, counter, w.memory);
        EXPECT_EQ(w.log.size(), (tick == 30 || tick == 60) ? 1u : 0u) << tick;
    }
    w.settings.intervalText = "1";
    for (int tick = 0; tick < 3; ++tick) {
        w.log.clear();
        RunMinuteTick(w, w.settings, counter, w.memory);
        EXPECT_EQ(w.log, (std::vector<std::string>{"speak"}));
    }
    w.settings.intervalText = "-5";
    w.log.clear();
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.log, (std::vector<std::string>{"speak"}));
    EXPECT_EQ(counter, 0);
}

TEST(MinuteTick, AProgramEndingDuringTheIntervalAnnouncementLeavesTheDueMemosUnseen) {
    FakeWorld w;
    w.settings.intervalText = "1";
    w.endsDuringSpeech = true;
    w.file = {Memo(2026, 12, 8, 10, 7, "due")};
    std::int32_t counter = 0;
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.log, std::vector<std::string>{"speak"});
    EXPECT_EQ(w.file[0].Confirmed, 0);
}

TEST(MinuteTick, FullHourSpeaksOnceWhateverTheSwitches) {
    FakeWorld w;
    w.now.minute = 0;
    w.settings.intervalText = "1";
    std::int32_t counter = 0;
    RunMinuteTick(w, w.settings, counter, w.memory);  // the interval reached in minute 0: spoken once
    EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "speak"), 1);
    for (auto [check1, check2] : {std::pair{false, true}, std::pair{false, false}}) {
        w.settings.speakAtIntervals = check1;
        w.settings.showMemos = check2;
        ++w.now.hour;
        w.log.clear();
        RunMinuteTick(w, w.settings, counter, w.memory);
        EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "speak"), 1);
    }
    EXPECT_EQ(w.log, (std::vector<std::string>{"speak"}));  // both off: only the hour
}

TEST(MinuteTick, EachFullHourIsSpokenByTheFirstTickInItsMinuteZeroOnly) {
    FakeWorld w;
    w.settings.speakAtIntervals = w.settings.showMemos = false;
    std::int32_t counter = 0;
    auto spokenAt = [&](int day, int hour, int minute) {
        w.now.day = static_cast<std::uint16_t>(day);
        w.now.hour = static_cast<std::uint16_t>(hour);
        w.now.minute = static_cast<std::uint16_t>(minute);
        w.log.clear();
        RunMinuteTick(w, w.settings, counter, w.memory);
        return std::count(w.log.begin(), w.log.end(), "speak");
    };
    EXPECT_EQ(spokenAt(8, 10, 0), 1);  // a tick due at 9:59:58, come late
    EXPECT_EQ(spokenAt(8, 10, 0), 0);  // the next one, still in minute 0
    EXPECT_EQ(spokenAt(9, 10, 0), 1);  // the same hour of the next day
    EXPECT_EQ(spokenAt(9, 10, 1), 0);
    EXPECT_EQ(spokenAt(9, 10, 0), 1);  // the clock set back into the hour
    // The interval's announcement in minute 0 was the hour's; its own count goes on as before.
    w.settings.speakAtIntervals = true;
    w.settings.intervalText = "2";
    EXPECT_EQ(spokenAt(9, 11, 59), 0);
    EXPECT_EQ(spokenAt(9, 12, 0), 1);
    EXPECT_EQ(spokenAt(9, 12, 0), 0);
    EXPECT_EQ(spokenAt(9, 12, 0), 1);
}

TEST(MinuteTick, AMemoWhoseFlagCannotBeStoredIsShownOnceWhileTheFileHoldsItThere) {
    FakeWorld w;
    w.settings.speakAtIntervals = false;
    w.file = {Memo(2026, 12, 1, 8, 0, "locked"), Memo(2026, 12, 1, 9, 0, "free")};
    w.unwritable = 0;
    std::int32_t counter = 0;
    RunMinuteTick(w, w.settings, counter, w.memory);
    ASSERT_EQ(w.notes.size(), 2u);
    w.log.clear();
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.log, (std::vector<std::string>{"open", "write 0", "close"}));  // only the flag again
    // Another memo in its place (rewritten, or moved down by a deletion) is a memo of its own.
    w.file[0].Lines[0].Assign("rewritten");
    RunMinuteTick(w, w.settings, counter, w.memory);
    ASSERT_EQ(w.notes.size(), 3u);
    EXPECT_EQ(Text(w.notes[2].Lines[0]), "rewritten");
    // Once the flag can be stored, it is.
    w.unwritable = -1;
    RunMinuteTick(w, w.settings, counter, w.memory);
    RunMinuteTick(w, w.settings, counter, w.memory);
    EXPECT_EQ(w.notes.size(), 3u);
    EXPECT_EQ(w.file[0].Confirmed, 1);
}

TEST(MinuteTick, AnUnparsableIntervalEndsTheTick) {
    FakeWorld w;
    w.settings.intervalText = "abc";
    w.now.minute = 0;
    std::int32_t counter = 0;
    EXPECT_THROW(RunMinuteTick(w, w.settings, counter, w.memory), AppError);
    EXPECT_TRUE(w.log.empty());  // no memo scan, no hourly announcement
}

}  // namespace
}  // namespace siborang
