#include "clock/MinuteTick.h"

#include <cstdio>

#include "core/Dpi.h"
#include "core/IntParse.h"

namespace siborang {

MemoTiming TimingOf(const MemoRecord& memo, const TickTime& now) {
    const int fields[5] = {memo.Year, memo.Month, memo.Day, memo.Hour, memo.Minute};
    const int current[5] = {now.year, now.month, now.day, now.hour, now.minute};
    for (int i = 0; i < 5; ++i) {
        if (fields[i] < current[i]) return MemoTiming::Missed;
        if (fields[i] > current[i]) return MemoTiming::Future;
    }
    return MemoTiming::Due;
}

std::string NoteHeading(const MemoRecord& memo, MemoTiming timing) {
    // CP949: 년 B3E2, 월 BFF9, 일 C0CF, 시 BDC3, 분 BAD0; "지나친 메모: ".
    char text[128];
    const int n = std::snprintf(text, sizeof text, "%s%d\xB3\xE2 %d\xBF\xF9 %d\xC0\xCF %d\xBD\xC3 %d\xBA\xD0",
                                timing == MemoTiming::Missed ? "\xC1\xF6\xB3\xAA\xC4\xA3 \xB8\xDE\xB8\xF0: " : "",
                                memo.Year, memo.Month, memo.Day, memo.Hour, memo.Minute);
    return std::string(text, n < 80 ? static_cast<std::size_t>(n) : 80);
}

std::uint32_t NoteRandom::Next(std::uint32_t n) noexcept {
    state_ = state_ * 0x08088405u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
}

NotePlace NextNotePlace(NoteRandom& random, int screenWidth, int screenHeight, int dpi) {
    const int room = ScaleToDpi(250, dpi), edge = ScaleToDpi(10, dpi);
    const int top = static_cast<int>(random.Next(static_cast<std::uint32_t>(screenHeight - room))) + edge;
    const int left = static_cast<int>(random.Next(static_cast<std::uint32_t>(screenWidth - room))) + edge;
    return {left, top};
}

namespace {

// The same memo: its time and its texts; padding and left-over bytes do not count.
bool SameMemo(const MemoRecord& a, const MemoRecord& b) {
    if (a.Year != b.Year || a.Month != b.Month || a.Day != b.Day || a.Hour != b.Hour || a.Minute != b.Minute)
        return false;
    for (std::size_t line = 0; line < kMemoLineCount; ++line) {
        if (a.Lines[line].View() != b.Lines[line].View()) return false;
    }
    return true;
}

}  // namespace

void RunMinuteTick(TickWorld& world, const Settings& settings, std::int32_t& intervalCounter, TickMemory& memory) {
    const TickTime now = world.Now();
    const TickMemory::Hour hour{now.year, now.month, now.day, now.hour};
    // Ticks keep their phase and an announcement holds the thread for seconds, so a tick due at
    // hh:59:58 can come after the hour, and the next one is still in minute 0: the hour is
    // spoken by the first. Another minute in between (the clock set back) lets it speak again.
    if (now.minute != 0) memory.announcedHour.reset();
    const bool hourHeard = memory.announcedHour == hour;
    bool spoken = false;
    auto speak = [&] {
        const bool whole = world.SpeakNow();
        spoken = true;
        if (now.minute == 0) memory.announcedHour = hour;
        return whole;
    };

    if (settings.speakAtIntervals) {
        ++intervalCounter;
        if (intervalCounter >= ParseIntegerStrict(settings.intervalText)) {
            const bool whole = speak();
            intervalCounter = 0;
            if (!whole) return;
        }
    }

    if (settings.showMemos) {
        world.OpenMemos();
        const std::int32_t count = world.MemoCount();
        auto& unstored = memory.shownUnstored;
        for (std::int32_t i = 0; i < count; ++i) {
            MemoRecord memo{};
            // A record that cannot be read is skipped.
            if (world.ReadMemo(i, memo) != 0) continue;
            if (const auto shown = unstored.find(i); shown != unstored.end()) {
                // Shown already though its flag could not be stored: only the flag is tried
                // again. Anything else there now is another memo.
                if (memo.Confirmed == 0 && SameMemo(memo, shown->second)) {
                    memo.Confirmed = 1;
                    if (world.WriteMemo(i, memo) == 0) unstored.erase(shown);
                    continue;
                }
                unstored.erase(shown);
            }
            if (memo.Confirmed != 0) continue;
            memo.Confirmed = 1;
            const MemoTiming timing = TimingOf(memo, now);
            if (timing == MemoTiming::Future) continue;
            // Stored confirmed before its note is shown, so it is shown once only; where the
            // flag cannot be stored, this run remembers it instead.
            if (world.WriteMemo(i, memo) != 0) unstored[i] = memo;
            PendingNoteTexts note{};
            note.Heading.Assign(NoteHeading(memo, timing));
            for (std::size_t line = 0; line < kMemoLineCount; ++line) note.Lines[line].Assign(memo.Lines[line].View());
            world.ShowMemoNote(note);
        }
        // Records past the end are gone.
        unstored.erase(unstored.lower_bound(count), unstored.end());
        world.CloseMemos();
    }

    if (now.minute == 0 && !spoken && !hourHeard) speak();
}

}  // namespace siborang
