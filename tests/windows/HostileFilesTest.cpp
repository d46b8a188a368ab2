// Damaged and foreign files, made by a seeded generator, through the real code: PostIt.dat
// through the minute tick and the memo editor's browsing, Tockly.ini through the main
// window's loading and Run. Never a crash or a read past a field, no error box where the file
// could be read, only the due and missed pending memos raised, nothing written but their
// Confirmed byte, and settings that are the defaults or the values in the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "clock/SettingsLogic.h"
#include "clock/Unit1.h"
#include "clock/Unit3.h"
#include "controls/Calendar.h"
#include "core/IntParse.h"
#include "memo/MemoFile.h"
#include "memo/Unit2.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Handles.h"
#include "win/Text.h"

namespace siborang {
namespace {

namespace fs = std::filesystem;
using win::Narrow;
using Random = std::mt19937;

constexpr std::uint32_t kSeed = 20260611;

std::string ReadAll(const fs::path& path) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[65536];
    DWORD n = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    return bytes;
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    ASSERT_TRUE(static_cast<bool>(file)) << "cannot write " << path.string() << ", error " << ::GetLastError();
    DWORD written = 0;
    if (!bytes.empty()) {
        ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
}

int Pick(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
bool Chance(Random& random, int percent) { return Pick(random, 0, 99) < percent; }
char RandomByte(Random& random) { return static_cast<char>(Pick(random, 0, 255)); }
std::string RandomBytes(Random& random, std::size_t n) {
    std::string bytes(n, '\0');
    for (char& b : bytes) b = RandomByte(random);
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// PostIt.dat: damaged files, and what the file's own bytes say a tick and the editor must do

constexpr std::size_t kRecord = kMemoRecordSize;

std::int16_t Field(const std::string& bytes, std::size_t record, std::size_t offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + record * kRecord + offset);
    return static_cast<std::int16_t>(p[0] | p[1] << 8);
}

struct Due {
    int year, month, day, hour, minute;
    auto operator<=>(const Due&) const = default;
};
Due DueOf(const std::string& bytes, std::size_t record) {
    return {Field(bytes, record, 2), Field(bytes, record, 4), Field(bytes, record, 6), Field(bytes, record, 8),
            Field(bytes, record, 10)};
}

// Line `line` of a record as the file holds it: never more than the field's 70 bytes.
std::string LineOf(const std::string& bytes, std::size_t record, std::size_t line) {
    const std::size_t at = record * kRecord + 12 + 71 * line;
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(bytes[at]), 70);
    return bytes.substr(at + 1, length);
}

std::int16_t AroundOrExtreme(Random& random, int around) {
    switch (Pick(random, 0, 7)) {
    case 0: return INT16_MIN;
    case 1: return INT16_MAX;
    case 2: return 0;
    case 3: return -1;
    case 4: return static_cast<std::int16_t>(Pick(random, INT16_MIN, INT16_MAX));
    default: return static_cast<std::int16_t>(around + Pick(random, -1, 1));
    }
}

void PutField(std::string& record, std::size_t offset, int value) {
    record[offset] = static_cast<char>(value & 0xFF);
    record[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

std::uint8_t DamagedLength(Random& random) {
    switch (Pick(random, 0, 5)) {
    case 0: return 0;
    case 1: return 70;
    case 2: return 71;
    case 3: return 255;
    case 4: return static_cast<std::uint8_t>(Pick(random, 71, 255));
    default: return static_cast<std::uint8_t>(Pick(random, 1, 70));
    }
}

// One record with every byte chosen, the fields damaged or near `now`; pending when asked.
std::string DamagedRecord(Random& random, const TickTime& now, std::optional<std::uint8_t> confirmed) {
    std::string record = RandomBytes(random, kRecord);
    static constexpr std::uint8_t kConfirmed[] = {0, 0, 0, 1, 1, 2, 255};
    record[0] = static_cast<char>(confirmed ? *confirmed
                                  : Chance(random, 15) ? RandomByte(random)
                                  : kConfirmed[Pick(random, 0, 6)]);
    const int around[5] = {now.year, now.month, now.day, now.hour, now.minute};
    const bool wild = Chance(random, 50);
    for (std::size_t i = 0; i < 5; ++i)
        PutField(record, 2 + 2 * i, wild ? AroundOrExtreme(random, around[i]) : around[i] + Pick(random, -1, 1));
    for (std::size_t line = 0; line < 3; ++line) record[12 + 71 * line] = static_cast<char>(DamagedLength(random));
    return record;
}

TickTime SomeNow(Random& random) {
    if (Chance(random, 50)) {
        SYSTEMTIME t;
        ::GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
    }
    return {static_cast<std::uint16_t>(Pick(random, 1990, 2100)), static_cast<std::uint16_t>(Pick(random, 1, 12)),
            static_cast<std::uint16_t>(Pick(random, 1, 31)), static_cast<std::uint16_t>(Pick(random, 0, 23)),
            static_cast<std::uint16_t>(Pick(random, 0, 59))};
}

struct MemoFileCase {
    std::string kind;
    std::string bytes;
    TickTime now;
};

// The kinds of damage in turn, each with its own random parameters. maxRecords bounds the
// small files; the file of a few megabytes comes once, as case 7.
MemoFileCase DamagedMemoFile(Random& random, int index, int maxRecords) {
    MemoFileCase c{"", "", SomeNow(random)};
    const auto records = [&](int n, std::optional<std::uint8_t> confirmed) {
        for (int i = 0; i < n; ++i) c.bytes += DamagedRecord(random, c.now, confirmed);
    };
    const auto partialTail = [&] {
        if (Chance(random, 50)) c.bytes += RandomBytes(random, static_cast<std::size_t>(Pick(random, 1, kRecord - 1)));
    };
    if (index == 7) {
        c.kind = "megabytes";
        // Shown already or due later, but for a few pending ones that are due or missed.
        const int n = 3 * 1024 * 1024 / static_cast<int>(kRecord);
        for (int i = 0; i < n; ++i) {
            std::string record = DamagedRecord(random, c.now, Chance(random, 1) ? 0 : Pick(random, 1, 255));
            if (record[0] == 0 && Chance(random, 50)) PutField(record, 2, c.now.year + 1);
            c.bytes += record;
        }
        partialTail();
        return c;
    }
    switch (index % 6) {
    case 0:
        c.kind = index % 12 == 0 ? "empty" : "one byte";
        if (index % 12 != 0) c.bytes = RandomBytes(random, 1);
        break;
    case 1:
        c.kind = "random bytes";
        c.bytes = RandomBytes(random, static_cast<std::size_t>(Pick(random, 1, maxRecords * kRecord + kRecord - 1)));
        break;
    case 2:
    case 3:
        c.kind = "damaged records";
        records(Pick(random, 1, maxRecords), std::nullopt);
        partialTail();
        break;
    case 4:
        c.kind = "pending around now";
        records(Pick(random, 1, maxRecords), 0);
        break;
    default:
        c.kind = "partial record";
        records(Pick(random, 0, 3), std::nullopt);
        c.bytes += RandomBytes(random, static_cast<std::size_t>(Pick(random, 1, kRecord - 1)));
        break;
    }
    return c;
}

std::wstring Heading(const Due& d, bool missed) {
    wchar_t text[128];
    std::swprintf(text, 128, L"%ls%d년 %d월 %d일 %d시 %d분", missed ? L"지나친 메모: " : L"", d.year, d.month, d.day,
                  d.hour, d.minute);
    return text;
}

struct Note {
    std::wstring heading, text;
    auto operator<=>(const Note&) const = default;
};

// Which memos a tick at `now` raises, by the file's own bytes, and the file it leaves.
std::vector<Note> ExpectedNotes(const MemoFileCase& c, std::string& after) {
    std::vector<Note> notes;
    after = c.bytes;
    const Due now{c.now.year, c.now.month, c.now.day, c.now.hour, c.now.minute};
    for (std::size_t i = 0; i < c.bytes.size() / kRecord; ++i) {
        const Due due = DueOf(c.bytes, i);
        if (c.bytes[i * kRecord] != 0 || due > now) continue;
        after[i * kRecord] = 1;
        notes.push_back({Heading(due, due < now),
                         win::FromCp949(LineOf(c.bytes, i, 0) + "   " + LineOf(c.bytes, i, 1) + "   " +
                                        LineOf(c.bytes, i, 2))});
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

// The tick as the main window runs it, on the real memo file and real notes, at a chosen
// "now" and without the speaker.
class SweepTick final : public TickWorld {
public:
    SweepTick(TForm1& form, TickTime now) : form_(form), now_(now) {}
    TickTime Now() override { return now_; }
    bool IntervalChecked() override { return false; }
    std::string IntervalText() override { return "30"; }
    bool MemoChecked() override { return true; }
    void SpeakNow() override {}
    void OpenMemos() override { OpenMemoFile(); }
    std::int32_t MemoCount() override { return siborang::MemoCount(); }
    int ReadMemo(std::int32_t index, MemoRecord& memo) override { return siborang::ReadMemo(index, memo); }
    int WriteMemo(std::int32_t index, const MemoRecord& memo) override { return siborang::WriteMemo(index, memo); }
    void CloseMemos() override { CloseMemoFile(); }
    void ShowMemoNote(const PendingNoteTexts& note) override {
        PendingNote = note;
        form_.ShowMemoNote();
    }

private:
    TForm1& form_;
    TickTime now_;
};

// Every note standing, read and then closed.
std::vector<Note> TakeNotes() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            wchar_t cls[16] = {};
            ::GetClassNameW(w, cls, 16);
            if (std::wstring(cls) == L"TForm3") reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<Note> notes;
    for (HWND w : windows) {
        auto* note = static_cast<TForm3*>(win::Form::FromHandle(w));
        if (!note) continue;
        notes.push_back({note->Label1->Text(), note->Label2->Text()});
        win::Application::Instance().Destroy(*note);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

std::string Describe(const std::vector<Note>& notes) {
    std::string out;
    for (const auto& n : notes) out += "\n  [" + Narrow(n.heading) + "] " + Narrow(n.text);
    return out.empty() ? " (none)" : out;
}

// Each sweep works in a directory of its own, with the error boxes watched.
class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t previous[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, previous);
        previous_ = previous;
        dir_ = fs::temp_directory_path() / ("siborang-hostile-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(dir_);
        ASSERT_TRUE(::SetCurrentDirectoryW(dir_.c_str()));
        boxes_.emplace();
        started_ = std::chrono::steady_clock::now();
    }
    void TearDown() override {
        for (const auto& text : boxes_->Texts()) ADD_FAILURE() << "error box: " << Narrow(text);
        boxes_.reset();
        ::SetCurrentDirectoryW(previous_.c_str());
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::size_t BoxCount() const { return boxes_->Boxes().size(); }
    void Report(const char* what, int files) const {
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        std::printf("[ sweep    ] %s: %d files tried (seed %u) in %.1f s\n", what, files, kSeed, seconds);
    }

    fs::path dir_;
    std::wstring previous_;
    std::optional<testing::MessageBoxWatcher> boxes_;
    std::chrono::steady_clock::time_point started_;
};

TEST_F(HostileFiles, DamagedMemoFilesThroughTheMinuteTick) {
    auto form = std::make_unique<TForm1>(win::Application::Instance());
    form->Timer1->SetEnabled(false);  // only the ticks below
    Random random(kSeed);
    const fs::path file = dir_ / "PostIt.dat";
    int files = 0;
    std::size_t raised = 0;
    for (int i = 0; i < 160 && !HasFailure(); ++i, ++files) {
        const MemoFileCase c = DamagedMemoFile(random, i, 24);
        ASSERT_NO_FATAL_FAILURE(WriteAll(file, c.bytes));
        std::string expectedFile;
        const auto expected = ExpectedNotes(c, expectedFile);
        const std::size_t boxesBefore = BoxCount();

        SweepTick tick(*form, c.now);
        std::int32_t counter = 0;
        win::Guard([&] { RunMinuteTick(tick, counter); });  // as the timer runs it

        const std::string context = "file " + std::to_string(i) + " (" + c.kind + ", " +
                                    std::to_string(c.bytes.size()) + " bytes)";
        EXPECT_EQ(BoxCount(), boxesBefore) << context << ": an error box for a readable file";
        EXPECT_FALSE(MemoFileIsOpen()) << context;
        const auto notes = TakeNotes();
        raised += notes.size();
        EXPECT_EQ(notes.size(), expected.size()) << context;
        EXPECT_TRUE(notes == expected) << context << ": raised" << Describe(notes) << "\nexpected"
                                       << Describe(expected);
        const std::string after = ReadAll(file);
        EXPECT_TRUE(after == expectedFile) << context << ": the file changed beyond the raised memos' Confirmed byte";
    }
    form->Close();
    Report("PostIt.dat through the minute tick", files);
    std::printf("[ sweep    ] %zu memos raised\n", raised);
}

}  // namespace
}  // namespace siborang
