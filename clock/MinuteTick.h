#pragma once
// The minute tick's decisions: the interval and hourly announcements, which memos are due or
// missed, their note headings, and where notes stand. Portable: the clock, the speaker, the
// memo file and the notes are behind the interface below.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "clock/SettingsLogic.h"
#include "memo/MemoRecord.h"

namespace siborang {

// "Now" for a whole tick: the date and the time of day to the minute.
struct TickTime {
    std::uint16_t year, month, day, hour, minute;
};

enum class MemoTiming { Future, Due, Missed };

// The record's five fields (signed) against now (unsigned), year first, to the minute.
MemoTiming TimingOf(const MemoRecord& memo, const TickTime& now);

// The hand-over from the tick to a note: four short texts of at most 80 CP949 bytes.
using NoteText = ShortText<80>;
struct PendingNoteTexts {
    NoteText Heading;
    NoteText Lines[kMemoLineCount];
};

// "%d년 %d월 %d일 %d시 %d분", or for a missed memo "지나친 메모: " and the same, in CP949,
// cut to 80 bytes.
std::string NoteHeading(const MemoRecord& memo, MemoTiming timing);

// The runtime's generator: state 0 at start, never seeded.
class NoteRandom {
public:
    // A number from 0 to n - 1.
    std::uint32_t Next(std::uint32_t n) noexcept;
    std::uint32_t State() const noexcept { return state_; }

private:
    std::uint32_t state_ = 0;
};

struct NotePlace {
    int left, top;
};
// Top is drawn before Left; both keep the note at least 10 pixels from the top-left edges and
// room for the note (250 pixels) before the bottom-right ones, at 96 dpi: scaled to the note's
// DPI, so that a note of any scale stands wholly on the screen.
NotePlace NextNotePlace(NoteRandom& random, int screenWidth, int screenHeight, int dpi);

// What a tick works with.
class TickWorld {
public:
    virtual ~TickWorld() = default;
    virtual TickTime Now() = 0;
    // False when the program or the session ended during the announcement: the tick ends
    // there, so that no memo is stored as seen by a program about to go.
    virtual bool SpeakNow() = 0;
    // The memo file: open, count and close raise; read and write return 0 or -1.
    virtual void OpenMemos() = 0;
    virtual std::int32_t MemoCount() = 0;
    virtual int ReadMemo(std::int32_t index, MemoRecord& memo) = 0;
    virtual int WriteMemo(std::int32_t index, const MemoRecord& memo) = 0;
    virtual void CloseMemos() = 0;
    virtual void ShowMemoNote(const PendingNoteTexts& note) = 0;
};

// What the tick keeps from one pass to the next besides the interval count.
struct TickMemory {
    struct Hour {
        std::uint16_t year, month, day, hour;
        bool operator==(const Hour&) const = default;
    };
    // The hour whose minute 0 the last tick spoke in; none once a tick falls in another minute.
    std::optional<Hour> announcedHour;
    // Memos shown whose Confirmed flag could not be stored, by index, as they were read.
    std::map<std::int32_t, MemoRecord> shownUnstored;
};

// One tick with the settings the window shows (the two switches and the interval);
// intervalCounter counts ticks towards the next interval announcement.
void RunMinuteTick(TickWorld& world, const Settings& settings, std::int32_t& intervalCounter, TickMemory& memory);

}  // namespace siborang
