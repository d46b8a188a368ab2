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
class SweepTick final : public Form1Tick {
public:
    SweepTick(TForm1& form, TickTime now) : Form1Tick(form), now_(now) {}
    TickTime Now() override { return now_; }
    bool IntervalChecked() override { return false; }
    bool MemoChecked() override { return true; }
    void SpeakNow() override {}

private:
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
    void Report(const char* what, int files, std::uint32_t seed) const {
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        std::printf("[ sweep    ] %s: %d files tried (seed %u) in %.1f s\n", what, files, seed, seconds);
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
    Report("PostIt.dat through the minute tick", files, kSeed);
    std::printf("[ sweep    ] %zu memos raised\n", raised);
}

// ---------------------------------------------------------------------------------------------
// The memo editor browsing a damaged file

bool CalendarCanShow(const Due& d) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    const bool leap = d.year % 4 == 0 && (d.year % 100 != 0 || d.year % 400 == 0);
    return d.day <= kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
}

// A line as a single-line box shows it: the whole text, or the text up to a control character
// (where the edit control may stop).
bool ShowsLine(const std::wstring& shown, const std::wstring& line) {
    if (shown == line) return true;
    const std::size_t control =
        std::find_if(line.begin(), line.end(), [](wchar_t c) { return c < 0x20; }) - line.begin();
    return control < line.size() && shown.size() >= control && line.compare(0, shown.size(), shown) == 0;
}

// What the editor shows of memo `i` of the file, checked against the file's bytes.
void ExpectShown(const TForm2& f, const std::string& bytes, std::int32_t i, const std::string& context) {
    SCOPED_TRACE(context + ", memo " + std::to_string(i));
    ASSERT_EQ(CurrentIndex, i);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), i);
    const Due d = DueOf(bytes, static_cast<std::size_t>(i));
    EXPECT_EQ(f.EYear->Text(), std::to_wstring(d.year));
    EXPECT_EQ(f.EMonth->Text(), std::to_wstring(d.month));
    EXPECT_EQ(f.EHour->Text(), std::to_wstring(d.hour));
    EXPECT_EQ(f.EMinute->Text(), std::to_wstring(d.minute));
    if (CalendarCanShow(d)) {
        const TCalendar& c = f.Calendar();
        EXPECT_EQ((Due{c.Year(), c.Month(), c.Day(), d.hour, d.minute}), d) << "the calendar is elsewhere";
    }
    const bool old = bytes[static_cast<std::size_t>(i) * kRecord] == 1;
    EXPECT_EQ(f.Label8->Text(), old ? L"옛날 메모(확인함)" : L"");
    const win::Control* boxes[] = {f.EMemo1, f.EMemo2, f.EMemo3};
    for (std::size_t line = 0; line < 3; ++line) {
        const std::wstring expected = win::FromCp949(LineOf(bytes, static_cast<std::size_t>(i), line));
        EXPECT_TRUE(ShowsLine(boxes[line]->Text(), expected))
            << "line " << line << " shows \"" << Narrow(boxes[line]->Text()) << "\", the file holds \""
            << Narrow(expected) << "\"";
    }
}

void Press(win::Control* button) { ::SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

// The entry picked as the user picks it: the list reports the selection change.
void PickEntry(TForm2& f, int index) {
    ::SendMessageW(f.ComboBox1->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(f.ComboBox1->Handle()), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(f.ComboBox1->Handle()));
}

TEST_F(HostileFiles, DamagedMemoFilesBrowsedInTheEditor) {
    Random random(kSeed + 1);
    const fs::path file = dir_ / "PostIt.dat";
    int files = 0;
    std::size_t shown = 0;
    for (int i = 0; i < 40 && !HasFailure(); ++i, ++files) {
        const MemoFileCase c = DamagedMemoFile(random, i, 12);
        ASSERT_NO_FATAL_FAILURE(WriteAll(file, c.bytes));
        const std::string context = "file " + std::to_string(i) + " (" + c.kind + ", " +
                                    std::to_string(c.bytes.size()) + " bytes)";
        const std::size_t boxesBefore = BoxCount();
        auto& app = win::Application::Instance();
        TForm2& f = app.CreateOwned<TForm2>();
        f.Show();

        const auto count = static_cast<std::int32_t>(c.bytes.size() / kRecord);
        EXPECT_EQ(f.Label7->Text(), L"메모 겟수 " + std::to_wstring(count) + L"개") << context;
        ASSERT_EQ(f.ComboBox1->ItemCount(), count) << context;
        for (std::int32_t k = 0; k < count; k += std::max(1, count / 50)) {
            const Due d = DueOf(c.bytes, static_cast<std::size_t>(k));
            wchar_t entry[64];
            std::swprintf(entry, 64, L"%d/%d/%d %d:%d", d.year, d.month, d.day, d.hour, d.minute);
            EXPECT_EQ(f.ComboBox1->Item(k), entry) << context << ", entry " << k;
        }
        if (count > 0 && count <= 50) {
            // Through every memo with "뒤 내용", and back with "앞 내용".
            ExpectShown(f, c.bytes, 0, context);
            for (std::int32_t k = 1; k < count && f.Button2->Enabled(); ++k) {
                Press(f.Button2);
                ExpectShown(f, c.bytes, k, context);
            }
            EXPECT_EQ(CurrentIndex, count - 1) << context << ": \"뒤 내용\" stopped early";
            EXPECT_FALSE(f.Button2->Enabled()) << context;
            for (std::int32_t k = count - 2; k >= 0 && f.Button1->Enabled(); --k) {
                Press(f.Button1);
                ExpectShown(f, c.bytes, k, context);
            }
            EXPECT_EQ(CurrentIndex, 0) << context << ": \"앞 내용\" stopped early";
            shown += static_cast<std::size_t>(2 * count - 1);
        }
        for (int pick = 0; pick < 4 && count > 0; ++pick) {
            const int k = pick == 0 ? count - 1 : Pick(random, 0, count - 1);
            PickEntry(f, k);
            ExpectShown(f, c.bytes, k, context);
            EXPECT_EQ(f.Button1->Enabled(), k > 0) << context;
            EXPECT_EQ(f.Button2->Enabled(), k < count - 1) << context;
            ++shown;
        }
        Press(f.Button5);  // "나가기"
        app.Destroy(f);
        EXPECT_EQ(BoxCount(), boxesBefore) << context << ": an error box for a readable file";
        EXPECT_FALSE(MemoFileIsOpen()) << context;
        EXPECT_TRUE(ReadAll(file) == c.bytes) << context << ": browsing changed the file";
    }
    Report("PostIt.dat browsed in the memo editor", files, kSeed + 1);
    std::printf("[ sweep    ] %zu memos shown\n", shown);
}

// ---------------------------------------------------------------------------------------------
// Tockly.ini: damaged and foreign files, and what may be read from them

struct SettingKey {
    const char* name;
    std::int32_t fallback;
};
constexpr SettingKey kKeys[] = {{"Option1", 0}, {"VKEY", 3}, {"KEY", 87}, {"Check1", 1}, {"Check2", 1}, {"MINUTE", 30}};

struct SettingsFileCase {
    std::string kind;
    std::string bytes;
    std::vector<std::string> values[std::size(kKeys)];  // everything written under [TOCKLY]
};

// A value no reading can take for a number: its first character already is none.
std::string Junk(Random& random, std::size_t n) {
    static constexpr char kFirst[] = "xZ#!~\x80\xB0\xFE\xFF";
    std::string junk(1, kFirst[Pick(random, 0, static_cast<int>(std::size(kFirst)) - 2)]);
    for (std::size_t i = 1; i < n; ++i) {
        char b = RandomByte(random);
        if (b == '\r' || b == '\n') b = '.';  // on its own line; the whole-file junk breaks lines
        junk += b;
    }
    return junk;
}

std::string SettingValue(Random& random, std::size_t key) {
    switch (Pick(random, 0, 9)) {
    case 0: return "";
    case 1: return Junk(random, static_cast<std::size_t>(Pick(random, 1, 40)));
    case 2: return Junk(random, static_cast<std::size_t>(Pick(random, 1100, 5000)));  // past the reader's buffer
    case 3: return "9" + std::string(static_cast<std::size_t>(Pick(random, 1100, 3000)), '7');  // long digits
    case 4: return "0x" + std::to_string(Pick(random, 10, 99));  // hexadecimal digits
    case 5: return "$" + std::to_string(Pick(random, 1, 7));
    case 6: return "  " + std::to_string(Pick(random, -5, 70000)) + " ";
    default: {
        static constexpr int kGood[][4] = {{0, 1, 2, 7}, {0, 3, 4, 7}, {65, 87, 112, 300}, {0, 1, 5, -1},
                                           {0, 1, 5, -1}, {-1, 1, 30, 65536}};
        return std::to_string(kGood[key][Pick(random, 0, 3)]);
    }
    }
}

SettingsFileCase DamagedSettingsFile(Random& random, int index) {
    SettingsFileCase c;
    if (index % 9 == 8) {
        c.kind = "random bytes";
        c.bytes = RandomBytes(random, static_cast<std::size_t>(Pick(random, 0, 3000)));
        return c;
    }
    const char* eol = Chance(random, 50) ? "\r\n" : "\n";
    const int sections = Chance(random, 30) ? 2 : 1;
    std::string text;
    for (int section = 0; section < sections; ++section) {
        if (Chance(random, 30)) text += "[Other]" + std::string(eol) + "KEY=65" + eol + "MINUTE=7" + eol;
        text += (Chance(random, 20) ? "[tockly]" : "[TOCKLY]") + std::string(eol);
        for (std::size_t k = 0; k < std::size(kKeys); ++k) {
            const int times = Pick(random, 0, 9) == 0 ? 0 : Chance(random, 20) ? 2 : 1;  // absent, once, twice
            for (int t = 0; t < times; ++t) {
                const std::string value = SettingValue(random, k);
                c.values[k].push_back(value);
                text += std::string(kKeys[k].name) + "=" + value + eol;
            }
            if (Chance(random, 10)) text += Junk(random, static_cast<std::size_t>(Pick(random, 1, 200))) + eol;
            if (Chance(random, 5)) text += std::string(1, '\0') + "; a stray byte" + eol;
        }
    }
    switch (index % 9) {
    case 0:
    case 1:
        c.kind = "UTF-16 with a byte-order mark";
        c.bytes = "\xFF\xFE";
        for (char ch : text) c.bytes += {ch, '\0'};  // each byte as the code unit of its value
        break;
    case 2:
        c.kind = "UTF-8 with a byte-order mark";
        c.bytes = "\xEF\xBB\xBF" + text;
        break;
    default:
        c.kind = "ANSI";
        c.bytes = text;
        break;
    }
    return c;
}

std::set<std::int32_t> Accepted(const SettingsFileCase& c, std::size_t key) {
    std::set<std::int32_t> accepted{kKeys[key].fallback};
    for (const std::string& value : c.values[key]) {
        const std::size_t first = value.find_first_not_of(" \t"), last = value.find_last_not_of(" \t");
        const std::string trimmed = first == std::string::npos ? "" : value.substr(first, last - first + 1);
        accepted.insert(ParseProfileInteger(trimmed, kKeys[key].fallback));
    }
    return accepted;
}

std::string ReadSetting(const char* key) {
    char buffer[256];
    ::GetPrivateProfileStringA("TOCKLY", key, "<none>", buffer, sizeof buffer, "Tockly.ini");
    return buffer;
}

std::string Listed(const std::set<std::int32_t>& values) {
    std::string out;
    for (auto v : values) out += (out.empty() ? "" : ", ") + std::to_string(v);
    return "{" + out + "}";
}

TEST_F(HostileFiles, DamagedSettingsFilesLoadedAndRun) {
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const fs::path settings = fs::path(windows) / "Tockly.ini";
    const bool hadFile = fs::exists(settings);
    const std::string saved = ReadAll(settings);

    Random random(kSeed + 2);
    int files = 0, readValues = 0;
    auto& app = win::Application::Instance();
    for (int i = 0; i < 54 && !HasFailure(); ++i, ++files) {
        const SettingsFileCase c = DamagedSettingsFile(random, i);
        ASSERT_NO_FATAL_FAILURE(WriteAll(settings, c.bytes));
        const std::string context = "file " + std::to_string(i) + " (" + c.kind + ", " +
                                    std::to_string(c.bytes.size()) + " bytes)";
        const std::size_t boxesBefore = BoxCount();
        auto form = std::make_unique<TForm1>(app);
        TForm1& f = *form;

        // The defaults or the values written, for every key.
        const auto option = Accepted(c, 0), modifiers = Accepted(c, 1), keys = Accepted(c, 2),
                   check1 = Accepted(c, 3), check2 = Accepted(c, 4), minutes = Accepted(c, 5);
        EXPECT_TRUE(f.Button1->Enabled() ? option.contains(1) : option != std::set<std::int32_t>{1})
            << context << ": listen button " << f.Button1->Enabled() << " for Option1 in " << Listed(option);
        std::set<std::uint16_t> shortcuts;
        // The box holds a key code of one byte.
        for (auto m : modifiers)
            for (auto k : keys) shortcuts.insert(JoinShortcut(m, k) & 0xE0FF);
        EXPECT_TRUE(shortcuts.contains(f.HotKey1->HotKeyValue()))
            << context << ": hotkey box " << f.HotKey1->HotKeyValue() << " for VKEY in " << Listed(modifiers)
            << " and KEY in " << Listed(keys);
        const auto expectSwitch = [&](const win::Control* box, const std::set<std::int32_t>& values, const char* key) {
            const bool possible = std::any_of(values.begin(), values.end(),
                                              [&](std::int32_t v) { return (v != 0) == box->Checked(); });
            EXPECT_TRUE(possible) << context << ": " << key << " checked " << box->Checked() << " for " << Listed(values);
        };
        expectSwitch(f.CheckBox1, check1, "Check1");
        expectSwitch(f.CheckBox2, check2, "Check2");
        std::set<std::wstring> intervals;
        for (auto v : minutes) intervals.insert(std::to_wstring(static_cast<std::uint16_t>(v)));
        EXPECT_TRUE(intervals.contains(f.Edit1->Text()))
            << context << ": interval " << Narrow(f.Edit1->Text()) << " for MINUTE in " << Listed(minutes);

        readValues += (f.Button1->Enabled() ? 1 : 0) + (f.HotKey1->HotKeyValue() != 0xC057 ? 1 : 0) +
                      (f.CheckBox1->Checked() ? 0 : 1) + (f.CheckBox2->Checked() ? 0 : 1) +
                      (f.Edit1->Text() != L"30" ? 1 : 0);

        // Run writes what the window holds, and the file reads back as written.
        Press(f.Button2);
        EXPECT_EQ(BoxCount(), boxesBefore) << context << ": an error box";
        const SplitHotKey split = SplitShortcut(f.HotKey1->HotKeyValue());
        const std::string key = std::to_string(split.key), flags = std::to_string(ModifierFlags(split));
        EXPECT_EQ(ReadSetting("KEY"), key) << context;
        EXPECT_EQ(ReadSetting("VKEY"), flags) << context;
        EXPECT_EQ(ReadSetting("Check1"), f.CheckBox1->Checked() ? "1" : "0") << context;
        EXPECT_EQ(ReadSetting("Check2"), f.CheckBox2->Checked() ? "1" : "0") << context;
        EXPECT_EQ(ReadSetting("MINUTE"), Narrow(f.Edit1->Text())) << context;
        const std::wstring interval = f.Edit1->Text();
        const bool switch1 = f.CheckBox1->Checked(), switch2 = f.CheckBox2->Checked();
        f.Close();
        form.reset();

        // And the next start loads it so.
        form = std::make_unique<TForm1>(app);
        EXPECT_EQ(form->HotKey1->HotKeyValue(), JoinShortcut(std::stoi(flags), std::stoi(key))) << context;
        EXPECT_EQ(form->Edit1->Text(), interval) << context;
        EXPECT_EQ(form->CheckBox1->Checked(), switch1) << context;
        EXPECT_EQ(form->CheckBox2->Checked(), switch2) << context;
        form->Close();
        form.reset();
    }
    ::DeleteFileW(settings.c_str());
    if (hadFile) WriteAll(settings, saved);
    Report("Tockly.ini loaded and saved by Run", files, kSeed + 2);
    std::printf("[ sweep    ] %d settings other than the defaults read\n", readValues);
}

}  // namespace
}  // namespace siborang
