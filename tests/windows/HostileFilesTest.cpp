// Damaged and foreign files, made by seeded generators, through the real code: PostIt.dat
// through the minute tick and the memo editor's browsing, Tockly.ini through the main
// window's loading and Run. Never a crash or a read past a field, no error box where the file
// could be read, only the due and missed pending memos raised, nothing written but their
// Confirmed byte, and settings that are the file's values, or the defaults where it has none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "clock/MinuteTick.h"
#include "clock/Unit1.h"
#include "clock/Unit3.h"
#include "memo/MemoFile.h"
#include "memo/Unit2.h"
#include "tests/common/Folders.h"
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
constexpr std::size_t kRecord = kMemoRecordSize;

int Pick(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
std::string RandomBytes(Random& random, std::size_t n) {
    std::string bytes(n, '\0');
    for (char& b : bytes) b = static_cast<char>(Pick(random, 0, 255));
    return bytes;
}

std::string ReadAll(const fs::path& path) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    return bytes;
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && (bytes.empty() || ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                       &written, nullptr)))
        << "cannot write " << path.string() << ", error " << ::GetLastError();
}

// ---------------------------------------------------------------------------------------------
// PostIt.dat: damaged files, and what the file's own bytes say must happen

struct Due {
    int year, month, day, hour, minute;
    auto operator<=>(const Due&) const = default;
};
Due DueOf(const std::string& bytes, std::size_t record) {
    const auto field = [&](std::size_t offset) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + record * kRecord + offset);
        return static_cast<std::int16_t>(p[0] | p[1] << 8);
    };
    return {field(2), field(4), field(6), field(8), field(10)};
}

// Line `line` of a record as the file holds it: never more than the field's 70 bytes.
std::string LineOf(const std::string& bytes, std::size_t record, std::size_t line) {
    const std::size_t at = record * kRecord + 12 + 71 * line;
    return bytes.substr(at + 1, std::min<std::size_t>(static_cast<unsigned char>(bytes[at]), 70));
}

// A record of random bytes whose time lies around `now` or at an extreme, whose lengths run
// past their field, and whose Confirmed byte is 0 when `pending`, else any other value.
std::string DamagedRecord(Random& random, const Due& now, bool pending) {
    std::string record = RandomBytes(random, kRecord);
    static constexpr int kConfirmed[] = {1, 1, 2, 255};
    record[0] = static_cast<char>(pending ? 0 : kConfirmed[Pick(random, 0, 3)]);
    const int around[] = {now.year, now.month, now.day, now.hour, now.minute};
    static constexpr int kExtreme[] = {INT16_MIN, INT16_MAX, 0, -1};
    for (std::size_t i = 0; i < 5; ++i) {
        const int value = Pick(random, 0, 2) ? around[i] + Pick(random, -1, 1) : kExtreme[Pick(random, 0, 3)];
        record[2 + 2 * i] = static_cast<char>(value & 0xFF);
        record[3 + 2 * i] = static_cast<char>((value >> 8) & 0xFF);
    }
    static constexpr int kLength[] = {0, 70, 71, 255};
    for (std::size_t line = 0; line < 3; ++line)
        record[12 + 71 * line] = static_cast<char>(Pick(random, 0, 1) ? kLength[Pick(random, 0, 3)] : Pick(random, 1, 255));
    return record;
}

struct MemoFileCase {
    const char* kind;
    std::string bytes;
    Due now;
};

// The kinds of damage in turn; file 7 holds a few megabytes of records.
MemoFileCase DamagedMemoFile(Random& random, int index, int maxRecords) {
    MemoFileCase c{"", "", {Pick(random, 1990, 2100), Pick(random, 1, 12), Pick(random, 1, 31), Pick(random, 0, 23),
                            Pick(random, 0, 59)}};
    const int records = index == 7 ? 3 * 1024 * 1024 / static_cast<int>(kRecord) : Pick(random, 1, maxRecords);
    const int kind = index == 7 ? 7 : index % 5;
    switch (kind) {
    case 0:
        c.kind = index % 10 ? "one byte" : "empty";
        c.bytes = RandomBytes(random, index % 10 ? 1 : 0);
        return c;
    case 1:
        c.kind = "random bytes";
        c.bytes = RandomBytes(random, static_cast<std::size_t>(Pick(random, 1, maxRecords * kRecord)));
        return c;
    case 2:
        c.kind = "pending around now";
        break;
    default:
        c.kind = index == 7 ? "megabytes" : "damaged records";
        break;
    }
    // Pending now and then, or always; in the big file seldom, lest it raise thousands of notes.
    for (int i = 0; i < records; ++i)
        c.bytes += DamagedRecord(random, c.now, kind == 2 || Pick(random, 0, 999) < (kind == 7 ? 1 : 400));
    if (Pick(random, 0, 1)) c.bytes += RandomBytes(random, static_cast<std::size_t>(Pick(random, 1, kRecord - 1)));
    return c;
}

struct Note {
    std::wstring heading, text;
    auto operator<=>(const Note&) const = default;
};

TickTime TickOf(const Due& now) {
    const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
    return {u(now.year), u(now.month), u(now.day), u(now.hour), u(now.minute)};
}

// Which memos a tick at `now` raises, and the file it leaves: the timing and the heading are
// the tick's own (their rules are tested natively), the record read from the file's bytes.
std::vector<Note> ExpectedNotes(const MemoFileCase& c, std::string& after) {
    std::vector<Note> notes;
    after = c.bytes;
    for (std::size_t i = 0; i < c.bytes.size() / kRecord; ++i) {
        MemoRecord memo;
        std::memcpy(&memo, c.bytes.data() + i * kRecord, kRecord);
        const MemoTiming timing = TimingOf(memo, TickOf(c.now));
        if (memo.Confirmed != 0 || timing == MemoTiming::Future) continue;
        after[i * kRecord] = 1;
        notes.push_back({win::FromCp949(NoteHeading(memo, timing)),
                         win::FromCp949(LineOf(c.bytes, i, 0) + "   " + LineOf(c.bytes, i, 1) + "   " + LineOf(c.bytes, i, 2))});
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

// The tick as the main window runs it, on the real memo file and real notes, at a chosen
// "now" and without the speaker.
class SweepTick final : public Form1Tick {
public:
    SweepTick(TForm1& form, const Due& now) : Form1Tick(form), now_(now) {}
    TickTime Now() override { return TickOf(now_); }
    bool SpeakNow() override { return true; }

private:
    Due now_;
};

// Every note standing, read and then closed.
std::vector<Note> TakeNotes() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM p) CALLBACK -> BOOL {
            if (dynamic_cast<TForm3*>(win::Form::FromHandle(w))) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::vector<Note> notes;
    for (HWND w : windows) {
        auto* note = static_cast<TForm3*>(win::Form::FromHandle(w));
        notes.push_back({note->Label1->Text(), note->Label2->Text()});
        win::Application::Instance().Destroy(*note);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

// Each sweep works in a directory of its own; any error box fails it.
class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.emplace(L"siborang-hostile-");
        ASSERT_TRUE(folder_->Ready());
        dir_ = folder_->Path();
        boxes_.emplace();
    }
    void TearDown() override {
        for (const auto& text : boxes_->Texts()) ADD_FAILURE() << "error box: " << Narrow(text);
        boxes_.reset();
        folder_.reset();
    }
    static std::string Context(int i, const char* kind, const std::string& bytes) {
        return "file " + std::to_string(i) + " (" + kind + ", " + std::to_string(bytes.size()) + " bytes)";
    }

    std::optional<probes::WorkingFolder> folder_;
    fs::path dir_;
    std::optional<testing::MessageBoxWatcher> boxes_;
};

TEST_F(HostileFiles, DamagedMemoFilesThroughTheMinuteTick) {
    auto form = std::make_unique<TForm1>(win::Application::Instance());
    form->Timer1->SetEnabled(false);  // only the ticks below
    const Settings memosOnly{.showMemos = true};
    Random random(kSeed);
    int files = 0;
    for (; files < 160 && !HasFailure(); ++files) {
        const MemoFileCase c = DamagedMemoFile(random, files, 24);
        ASSERT_NO_FATAL_FAILURE(WriteAll(dir_ / "PostIt.dat", c.bytes));
        std::string expectedFile;
        const auto expected = ExpectedNotes(c, expectedFile);
        SweepTick tick(*form, c.now);
        std::int32_t counter = 0;
        TickMemory memory;
        win::Guard([&] { RunMinuteTick(tick, memosOnly, counter, memory); });  // as the timer runs it
        const std::string context = Context(files, c.kind, c.bytes);
        EXPECT_FALSE(MemoFileIsOpen()) << context;
        EXPECT_TRUE(TakeNotes() == expected) << context << ": not the " << expected.size() << " notes expected";
        EXPECT_TRUE(ReadAll(dir_ / "PostIt.dat") == expectedFile)
            << context << ": the file changed beyond the raised memos' Confirmed byte";
    }
    form->Close();
    std::printf("[ sweep    ] PostIt.dat through the minute tick: %d files tried (seed %u)\n", files, kSeed);
}

TEST_F(HostileFiles, DamagedMemoFilesBrowsedInTheEditor) {
    Random random(kSeed + 1);
    auto& app = win::Application::Instance();
    int files = 0;
    for (; files < 40 && !HasFailure(); ++files) {
        const MemoFileCase c = DamagedMemoFile(random, files, 12);
        ASSERT_NO_FATAL_FAILURE(WriteAll(dir_ / "PostIt.dat", c.bytes));
        const std::string context = Context(files, c.kind, c.bytes);
        TForm2& f = app.CreateOwned<TForm2>();
        f.Show();
        const auto count = static_cast<std::int32_t>(c.bytes.size() / kRecord);
        ASSERT_EQ(f.ComboBox1->ItemCount(), count) << context;
        // Through every memo with "뒤 내용" and back with "앞 내용": each shown whole, its lines
        // never past their field. A box may stop at a control character, never before one.
        const auto expectShown = [&] {
            EXPECT_EQ(f.ComboBox1->ItemIndex(), CurrentIndex) << context;
            const win::Control* boxes[] = {f.EMemo1, f.EMemo2, f.EMemo3};
            for (std::size_t line = 0; line < 3; ++line) {
                const std::wstring stored = win::FromCp949(LineOf(c.bytes, static_cast<std::size_t>(CurrentIndex), line));
                const std::wstring plain = stored.substr(
                    0, std::find_if(stored.begin(), stored.end(), [](wchar_t ch) { return ch < L' '; }) - stored.begin());
                const std::wstring shown = boxes[line]->Text();
                EXPECT_TRUE(stored.starts_with(shown) && shown.starts_with(plain))
                    << context << ", memo " << CurrentIndex << " line " << line << ": shows \"" << Narrow(shown)
                    << "\" of \"" << Narrow(plain) << "\"";
            }
            EXPECT_EQ(f.EHour->Text(), std::to_wstring(DueOf(c.bytes, static_cast<std::size_t>(CurrentIndex)).hour));
        };
        if (count > 0 && count <= 50) {
            expectShown();
            while (f.Button2->Enabled()) ::SendMessageW(f.Button2->Handle(), BM_CLICK, 0, 0), expectShown();
            EXPECT_EQ(CurrentIndex, count - 1) << context << ": \"뒤 내용\" stopped early";
            while (f.Button1->Enabled()) ::SendMessageW(f.Button1->Handle(), BM_CLICK, 0, 0), expectShown();
            EXPECT_EQ(CurrentIndex, 0) << context << ": \"앞 내용\" stopped early";
        }
        ::SendMessageW(f.Button5->Handle(), BM_CLICK, 0, 0);  // "나가기"
        app.Destroy(f);
        EXPECT_TRUE(ReadAll(dir_ / "PostIt.dat") == c.bytes) << context << ": browsing changed the file";
    }
    std::printf("[ sweep    ] PostIt.dat browsed in the memo editor: %d files tried (seed %u)\n", files, kSeed + 1);
}

// ---------------------------------------------------------------------------------------------
// Tockly.ini: damaged and foreign files, and what may be read from them

struct SettingKey {
    const char* name;
    std::int32_t fallback;
};
constexpr SettingKey kKeys[] = {{"Option1", 0}, {"VKEY", 3}, {"KEY", 87}, {"Check1", 1}, {"Check2", 1}, {"MINUTE", 30}};

struct SettingsFileCase {
    const char* kind;
    std::string bytes;
    // What the clock must read for each key, by how the file was made: the first value in the
    // first [TOCKLY] section, or the fallback where that is missing or no number.
    std::int32_t expected[std::size(kKeys)];
};

// A value as a damaged or foreign file may hold it, and the number it stands for: junk
// (longer than the reader's buffer too), long digits, hexadecimal, or plain numbers.
struct SettingText {
    std::string text;
    std::optional<std::int32_t> number;
};
SettingText SettingValue(Random& random) {
    switch (Pick(random, 0, 6)) {
    case 0: return {"", std::nullopt};
    case 1: return {"x" + RandomBytes(random, static_cast<std::size_t>(Pick(random, 0, 40))), std::nullopt};
    case 2: return {"#" + RandomBytes(random, static_cast<std::size_t>(Pick(random, 1100, 5000))), std::nullopt};
    case 3: return {"9" + std::string(static_cast<std::size_t>(Pick(random, 1100, 3000)), '7'), std::nullopt};
    case 4: {
        // The digits of a small decimal number, read as hexadecimal: "0x42" and "$42" are 66.
        const std::string digits = std::to_string(Pick(random, 1, 99));
        return {(Pick(random, 0, 1) ? "0x" : "$") + digits, std::stoi(digits, nullptr, 16)};
    }
    default: {
        const int value = Pick(random, -5, 70000);
        return {std::to_string(value), value};
    }
    }
}

SettingsFileCase DamagedSettingsFile(Random& random, int index) {
    SettingsFileCase c{"random bytes", "", {}};
    bool given[std::size(kKeys)] = {};
    for (std::size_t k = 0; k < std::size(kKeys); ++k) c.expected[k] = kKeys[k].fallback;
    if (index % 6 == 5) {
        c.bytes = RandomBytes(random, static_cast<std::size_t>(Pick(random, 0, 3000)));
        return c;
    }
    std::string text = "[Other]\nKEY=65\n";
    const int sections = Pick(random, 1, 2);  // a duplicate section now and then
    for (int section = 0; section < sections; ++section) {
        text += "[TOCKLY]\n";
        for (std::size_t k = 0; k < std::size(kKeys); ++k) {
            for (int times = Pick(random, 0, 2); times > 0; --times) {  // absent, once or twice
                SettingText value = SettingValue(random);
                // A line of its own; a NUL would leave it to the profile reader where the
                // line ends.
                std::replace_if(
                    value.text.begin(), value.text.end(), [](char ch) { return ch == '\n' || ch == '\r' || ch == '\0'; },
                    '.');
                text += std::string(kKeys[k].name) + "=" + value.text + "\n";
                if (section == 0 && !given[k]) {
                    given[k] = true;
                    if (value.number) c.expected[k] = *value.number;
                }
            }
        }
    }
    switch (index % 6) {
    case 0:
        c.kind = "UTF-16 with a byte-order mark";
        c.bytes = "\xFF\xFE";
        for (char ch : text) c.bytes += {ch, '\0'};
        break;
    case 1:
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

using probes::ReadSetting;

TEST_F(HostileFiles, DamagedSettingsFilesLoadedAndRun) {
    const fs::path settings = probes::SettingsPath();
    const bool hadFile = fs::exists(settings);
    const std::string saved = ReadAll(settings);
    Random random(kSeed + 2);
    int files = 0;
    for (; files < 54 && !HasFailure(); ++files) {
        const SettingsFileCase c = DamagedSettingsFile(random, files);
        ASSERT_NO_FATAL_FAILURE(WriteAll(settings, c.bytes));
        const std::string context = Context(files, c.kind, c.bytes);
        TForm1 f(win::Application::Instance());

        // What the file says, or the fallback, for every key.
        const auto* e = c.expected;
        EXPECT_EQ(f.Button1->Enabled(), e[0] == 1) << context << ": the listen button, Option1 " << e[0];
        // The box holds a one-byte key code and the three modifier bits.
        const auto modifier = [&](std::int32_t flag, std::uint16_t bit) { return (e[1] & flag) ? bit : 0; };
        const auto shortcut = static_cast<std::uint16_t>((e[2] & 0xFF) | modifier(4, 0x2000) | modifier(2, 0x4000) |
                                                         modifier(1, 0x8000));
        EXPECT_EQ(f.HotKey1->HotKeyValue(), shortcut) << context << ": the hotkey box, VKEY " << e[1] << " KEY " << e[2];
        EXPECT_EQ(f.CheckBox1->Checked(), e[3] != 0) << context << ": Check1 " << e[3];
        EXPECT_EQ(f.CheckBox2->Checked(), e[4] != 0) << context << ": Check2 " << e[4];
        EXPECT_EQ(Narrow(f.Edit1->Text()), std::to_string(static_cast<std::uint16_t>(e[5])))
            << context << ": the interval, MINUTE " << e[5];

        // Run writes the same settings back, in the file's own terms.
        ::SendMessageW(f.Button2->Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(ReadSetting("KEY"), std::to_string(e[2] & 0xFF)) << context;
        EXPECT_EQ(ReadSetting("VKEY"), std::to_string(e[1] & 7)) << context;  // Alt 1, Ctrl 2, Shift 4
        EXPECT_EQ(ReadSetting("Check1"), e[3] != 0 ? "1" : "0") << context;
        EXPECT_EQ(ReadSetting("Check2"), e[4] != 0 ? "1" : "0") << context;
        EXPECT_EQ(ReadSetting("MINUTE"), std::to_string(static_cast<std::uint16_t>(e[5]))) << context;
        f.Close();
    }
    ::DeleteFileW(settings.c_str());
    if (hadFile) WriteAll(settings, saved);
    std::printf("[ sweep    ] Tockly.ini loaded and saved by Run: %d files tried (seed %u)\n", files, kSeed + 2);
}

}  // namespace
}  // namespace siborang
