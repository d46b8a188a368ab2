// The memo editor in a real window on a real PostIt.dat in a directory of its own: what it
// shows on opening, stepping, adding, overwriting and deleting, the number boxes, the calendar
// following the memos, the memo lines' byte limit, and the errors it reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "controls/Calendar.h"
#include "memo/MemoFile.h"
#include "memo/Unit2.h"
#include "tests/common/Folders.h"
#include "tests/common/MemoSamples.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Text.h"

namespace siborang {
namespace {

namespace fs = std::filesystem;
using win::Narrow;
using samples::Bytes;
using samples::Memo;


std::string FileBytes() {
    win::FileHandle file(::CreateFileW(L"PostIt.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    return bytes;
}

MemoRecord RecordOnDisk(std::size_t index) {
    const std::string bytes = FileBytes();
    MemoRecord r;
    std::memset(&r, 0, sizeof r);
    if (bytes.size() >= (index + 1) * sizeof r) std::memcpy(&r, bytes.data() + index * sizeof r, sizeof r);
    return r;
}

struct Due {
    int year, month, day, hour, minute;
    bool operator==(const Due&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Due& d) {
    return os << d.year << "/" << d.month << "/" << d.day << " " << d.hour << ":" << d.minute;
}
Due DueOf(const MemoRecord& r) { return {r.Year, r.Month, r.Day, r.Hour, r.Minute}; }

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.emplace(L"siborang-editor-");
        ASSERT_TRUE(folder_->Ready());
        dir_ = folder_->Path();
        boxes_.emplace();
    }
    void TearDown() override {
        Close();
        // A box nobody expected is a failure of its own (and it was answered, not left hanging).
        if (!boxesChecked_) {
            for (const auto& text : boxes_->Texts()) ADD_FAILURE() << "error box: " << Narrow(text);
        }
        boxes_.reset();
        folder_.reset();
    }

    void Put(const std::vector<MemoRecord>& records) {
        win::FileHandle file(::CreateFileW(L"PostIt.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(static_cast<bool>(file));
        const std::string bytes = Bytes(records);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }

    TForm2& Open() {
        editor_ = &win::Application::Instance().CreateOwned<TForm2>();
        editor_->Show();
        return *editor_;
    }
    void Close() {
        if (!editor_) return;
        editor_->SpeedButton1Click(*editor_->Button5);
        win::Application::Instance().Destroy(*editor_);
        editor_ = nullptr;
    }

    // A button pressed as the user would: its click goes through the window procedure, so an
    // error shows in the standard error box.
    static void Press(win::Control* button) { ::SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

    // A number box given a text and left, as by typing and Tab.
    void Leave(win::Control* box, const wchar_t* text) {
        box->SetText(text);
        editor_->EYearExit(*box);
    }

    void Fill(int year, int month, int day, int hour, int minute, std::vector<std::wstring> lines = {}) {
        TForm2& f = *editor_;
        TCalendar& calendar = f.Calendar();
        calendar.SetDay(1);
        f.EYear->SetText(std::to_wstring(year));
        f.EMonth->SetText(std::to_wstring(month));
        calendar.SetDay(day);
        f.EHour->SetText(std::to_wstring(hour));
        f.EMinute->SetText(std::to_wstring(minute));
        lines.resize(3);
        f.EMemo1->SetText(lines[0]);
        f.EMemo2->SetText(lines[1]);
        f.EMemo3->SetText(lines[2]);
    }

    Due Shown() const {
        const TForm2& f = *editor_;
        return {std::stoi(f.EYear->Text()), std::stoi(f.EMonth->Text()), f.Calendar().Day(),
                std::stoi(f.EHour->Text()), std::stoi(f.EMinute->Text())};
    }
    Due CalendarDate() const {
        const TCalendar& c = editor_->Calendar();
        return {c.Year(), c.Month(), c.Day(), 0, 0};
    }
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> entries;
        for (int i = 0; i < editor_->ComboBox1->ItemCount(); ++i) entries.push_back(editor_->ComboBox1->Item(i));
        return entries;
    }
    // Previous, next, delete enabled?
    std::string Buttons() const {
        const TForm2& f = *editor_;
        return std::string(f.Button1->Enabled() ? "P" : "-") + (f.Button2->Enabled() ? "N" : "-") +
               (f.Button4->Enabled() ? "D" : "-");
    }

    // The texts of the error boxes shown so far; the test has looked at them.
    std::vector<std::wstring> BoxTexts() {
        boxesChecked_ = true;
        return boxes_->Texts();
    }

    TForm2* editor_ = nullptr;
    std::optional<testing::MessageBoxWatcher> boxes_;
    bool boxesChecked_ = false;
    std::optional<probes::WorkingFolder> folder_;
    fs::path dir_;
};

std::wstring TodayCaption() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return L" " + std::to_wstring(t.wYear) + L" 年 " + std::to_wstring(t.wMonth) + L" 月 " + std::to_wstring(t.wDay) +
           L" 日 ";
}

// ---------------------------------------------------------------------------------------------

TEST_F(Editor, WithoutAFileCreatesItAndShowsNowWithOnlyAddOverwriteAndExitUsable) {
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    TForm2& f = Open();
    SYSTEMTIME after;
    ::GetLocalTime(&after);

    EXPECT_TRUE(fs::exists(dir_ / "PostIt.dat"));
    EXPECT_EQ(fs::file_size(dir_ / "PostIt.dat"), 0u);
    EXPECT_TRUE(MemoFileIsOpen()) << "the file stays open while the editor is shown";
    EXPECT_EQ(Narrow(f.GroupBox1->Text()), Narrow(TodayCaption()));
    EXPECT_EQ(f.EYear->Text(), std::to_wstring(after.wYear));
    EXPECT_EQ(f.EMonth->Text(), std::to_wstring(after.wMonth));
    const int hour = std::stoi(f.EHour->Text()), minute = std::stoi(f.EMinute->Text());
    EXPECT_TRUE((hour == before.wHour && minute == before.wMinute) || (hour == after.wHour && minute == after.wMinute))
        << hour << ":" << minute;
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 0개");
    EXPECT_EQ(f.ComboBox1->ItemCount(), 0);
    EXPECT_EQ(Buttons(), "---");
    EXPECT_TRUE(f.Button3->Enabled() && f.Button5->Enabled() && f.Button6->Enabled());
    EXPECT_TRUE(f.EMemo1->Text().empty() && f.EMemo2->Text().empty() && f.EMemo3->Text().empty());
    // The caption bar is gone; the sizeable frame stays; centred by the size that leaves.
    EXPECT_EQ(::GetWindowLongW(f.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_NE(::GetWindowLongW(f.Handle(), GWL_STYLE) & WS_THICKFRAME, 0);
    const RECT rc = f.BoundsRect();
    EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - ::GetSystemMetrics(SM_CYSCREEN) / 2), 1) << rc.top;
}

TEST_F(Editor, WithThreeMemosListsThemAndShowsTheFirst) {
    Put({Memo(2026, 12, 7, 9, 5, L"첫째", L"둘", L"셋"), Memo(2027, 1, 2, 13, 30, L"b"), Memo(2025, 6, 30, 0, 0, L"c")});
    TForm2& f = Open();
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2026/12/7 9:5", L"2027/1/2 13:30", L"2025/6/30 0:0"}));
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(CurrentIndex, 0);
    EXPECT_EQ(Shown(), (Due{2026, 12, 7, 9, 5}));
    EXPECT_EQ(CalendarDate(), (Due{2026, 12, 7, 0, 0}));
    EXPECT_EQ(Narrow(f.GroupBox1->Text()), " 2026 年 12 月 7 日 ");
    EXPECT_EQ(Narrow(f.EMemo1->Text() + L"|" + f.EMemo2->Text() + L"|" + f.EMemo3->Text()), "첫째|둘|셋");
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 3개");
    EXPECT_EQ(Buttons(), "-ND");

    // Next, next, previous; the list follows.
    Press(f.Button2);
    EXPECT_EQ(CurrentIndex, 1);
    EXPECT_EQ(Buttons(), "PND");
    Press(f.Button2);
    EXPECT_EQ(Shown(), (Due{2025, 6, 30, 0, 0}));
    EXPECT_EQ(Buttons(), "P-D");
    Press(f.Button1);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(Shown(), (Due{2027, 1, 2, 13, 30}));
    EXPECT_EQ(Buttons(), "PND");
}

TEST_F(Editor, PickingAnEntryShowsItsMemo) {
    Put({Memo(2026, 1, 1, 1, 1), Memo(2026, 2, 2, 2, 2), Memo(2026, 3, 3, 3, 3)});
    TForm2& f = Open();
    // What the combo box reports when the user picks entry 2.
    ::SendMessageW(f.ComboBox1->Handle(), CB_SETCURSEL, 2, 0);
    ::SendMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(f.ComboBox1->Handle()), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(f.ComboBox1->Handle()));
    EXPECT_EQ(CurrentIndex, 2);
    EXPECT_EQ(Shown(), (Due{2026, 3, 3, 3, 3}));
    EXPECT_EQ(Buttons(), "P-D");
}

TEST_F(Editor, AddAppendsListsAndMakesTheNewMemoCurrent) {
    Put({Memo(2026, 1, 1, 1, 1)});
    TForm2& f = Open();
    Fill(2027, 3, 14, 15, 9, {L"새 메모", L"", L"끝"});
    Press(f.Button6);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2026/1/1 1:1", L"2027/3/14 15:9"}));
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(CurrentIndex, 1);
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 2개");
    EXPECT_EQ(Buttons(), "P-D");
    const MemoRecord stored = RecordOnDisk(1);
    EXPECT_EQ(DueOf(stored), (Due{2027, 3, 14, 15, 9}));
    EXPECT_EQ(stored.Confirmed, 0);
    EXPECT_EQ(win::FromCp949(stored.Lines[0].View()), L"새 메모");
    EXPECT_EQ(stored.Lines[1].Length, 0);
    EXPECT_EQ(win::FromCp949(stored.Lines[2].View()), L"끝");
    EXPECT_EQ(FileBytes().size(), 2 * sizeof(MemoRecord));
    EXPECT_TRUE(MemoFileIsOpen()) << "closed and opened again after the add";
}

TEST_F(Editor, OverwriteReplacesOnlyItsRecordAndMakesItPendingAgain) {
    const std::vector<MemoRecord> memos{Memo(2026, 1, 1, 1, 1, L"a"), Memo(2026, 2, 2, 2, 2, L"b", L"", L"", 1),
                                        Memo(2026, 3, 3, 3, 3, L"c")};
    Put(memos);
    TForm2& f = Open();
    Press(f.Button2);
    EXPECT_EQ(Narrow(f.Label8->Text()), "옛날 메모(확인함)");
    Leave(f.EHour, L"20");
    f.EMemo1->SetText(L"고침");
    Press(f.Button3);

    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2026/1/1 1:1", L"2026/2/2 20:2", L"2026/3/3 3:3"}));
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(f.Label8->Text(), L"");
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 3개");
    EXPECT_EQ(Buttons(), "PND");
    const std::string bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 3 * sizeof(MemoRecord));
    EXPECT_EQ(bytes.substr(0, sizeof(MemoRecord)), Bytes({memos[0]}));
    EXPECT_EQ(bytes.substr(2 * sizeof(MemoRecord)), Bytes({memos[2]}));
    const MemoRecord stored = RecordOnDisk(1);
    EXPECT_EQ(stored.Confirmed, 0);
    EXPECT_EQ(DueOf(stored), (Due{2026, 2, 2, 20, 2}));
    EXPECT_EQ(win::FromCp949(stored.Lines[0].View()), L"고침");
}

TEST_F(Editor, OverwriteOnAFileEmptySinceOpeningStoresRecordZero) {
    TForm2& f = Open();
    Fill(2026, 5, 5, 5, 5, {L"처음"});
    Press(f.Button3);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2026/5/5 5:5"}));
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Buttons(), "--D");
    EXPECT_EQ(FileBytes().size(), sizeof(MemoRecord));
    EXPECT_EQ(DueOf(RecordOnDisk(0)), (Due{2026, 5, 5, 5, 5}));
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 1개");
}

TEST_F(Editor, DeleteShowsTheNextThenTheNewLastThenToday) {
    Put({Memo(2026, 1, 1, 1, 1, L"a"), Memo(2026, 2, 2, 2, 2, L"b"), Memo(2026, 3, 3, 3, 3, L"c")});
    TForm2& f = Open();
    // The middle: the memo after it takes its place.
    Press(f.Button2);
    Press(f.Button4);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2026/1/1 1:1", L"2026/3/3 3:3"}));
    EXPECT_EQ(CurrentIndex, 1);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(Shown(), (Due{2026, 3, 3, 3, 3}));
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 2개");
    EXPECT_EQ(Buttons(), "P-D");
    // The last: the new last one is shown.
    Press(f.Button4);
    EXPECT_EQ(CurrentIndex, 0);
    EXPECT_EQ(Shown(), (Due{2026, 1, 1, 1, 1}));
    EXPECT_EQ(f.EMemo1->Text(), L"a");
    EXPECT_EQ(Buttons(), "--D");
    // The only one: today, the time now, nothing to step to or delete.
    Press(f.Button4);
    EXPECT_EQ(CurrentIndex, -1);
    EXPECT_EQ(f.ComboBox1->ItemCount(), 0);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 0개");
    EXPECT_EQ(Buttons(), "---");
    EXPECT_EQ(Narrow(f.GroupBox1->Text()), Narrow(TodayCaption()));
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    EXPECT_EQ(CalendarDate(), (Due{t.wYear, t.wMonth, t.wDay, 0, 0}));
    EXPECT_TRUE(f.EMemo1->Text().empty() && f.Label8->Text().empty());
    EXPECT_EQ(FileBytes().size(), 0u);

    // Overwrite with no memo shown adds one, keeping the list and the file in step.
    Fill(2030, 7, 7, 7, 7, {L"다시"});
    Press(f.Button3);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2030/7/7 7:7"}));
    EXPECT_EQ(CurrentIndex, 0);
    EXPECT_EQ(FileBytes().size(), sizeof(MemoRecord));
    EXPECT_EQ(DueOf(RecordOnDisk(0)), (Due{2030, 7, 7, 7, 7}));
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 1개");
    EXPECT_EQ(Buttons(), "--D");
}

// Each box's exit handler is wired to its own rule: one text per box that only its rule
// turns into this (the rules themselves: NumberBoxExit in the native tests), and the forms
// kept as typed are stored as numbers on saving.
TEST_F(Editor, EachNumberBoxCorrectsByItsOwnRuleAndKeptFormsAreStoredAsNumbers) {
    TForm2& f = Open();
    f.Calendar().SetDay(1);  // any month the boxes name has it
    struct Case {
        win::Control* box;
        const wchar_t* typed;
        const wchar_t* after;
    };
    const Case cases[] = {
        {f.EHour, L"ab", L"23"}, {f.EMinute, L"75", L"59"}, {f.EMonth, L"0", L"1"}, {f.EYear, L"abc", L"1990"},
        {f.EHour, L"$F", L"$F"}, {f.EMinute, L"+5", L"+5"},
    };
    for (const Case& c : cases) {
        Leave(c.box, c.typed);
        EXPECT_EQ(Narrow(c.box->Text()), Narrow(c.after)) << c.box->Name() << " left with \"" << Narrow(c.typed) << "\"";
    }
    Leave(f.EYear, L"2026");
    Leave(f.EMonth, L"4");
    Press(f.Button6);
    const MemoRecord stored = RecordOnDisk(0);
    EXPECT_EQ(stored.Hour, 15);
    EXPECT_EQ(stored.Minute, 5);
    EXPECT_EQ(stored.Month, 4);
}

TEST_F(Editor, LeavingABoxByTabRunsItsExitHandler) {
    TForm2& f = Open();
    ::SetForegroundWindow(f.Handle());
    f.EHour->SetFocus();
    if (::GetFocus() != f.EHour->Handle()) GTEST_SKIP() << "the editor cannot take the focus here";
    f.EHour->SetText(L"99");
    f.EMinute->SetFocus();
    EXPECT_EQ(f.EHour->Text(), L"23");
}

// The controls are stacked as designed (the list over the group box it overlaps), so Tab
// cannot follow the stacking: it follows the tab order, into and out of the group boxes.
TEST_F(Editor, TabFollowsTheTabOrderNotTheStacking) {
    TForm2& f = Open();
    ::SetForegroundWindow(f.Handle());
    f.EHour->SetFocus();
    if (::GetFocus() != f.EHour->Handle()) GTEST_SKIP() << "the editor cannot take the focus here";
    auto tab = [&](bool shift) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        testing::PumpMessages(30);
        keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
        const win::Control* c = f.ControlOf(::GetFocus());
        return c ? c->Name() : std::string("(none)");
    };
    EXPECT_EQ(tab(false), "EMinute");
    EXPECT_EQ(tab(false), "EYear");
    EXPECT_EQ(tab(false), "EMonth");
    // Out of GroupBox1 (tab order 1): "앞 내용" and "뒤 내용" are disabled with no memo.
    EXPECT_EQ(tab(false), "Button3");
    EXPECT_EQ(tab(false), "Button5");
    EXPECT_EQ(tab(false), "EMemo1");  // into GroupBox2 (tab order 7)
    EXPECT_EQ(tab(false), "EMemo2");
    EXPECT_EQ(tab(false), "EMemo3");
    EXPECT_EQ(tab(false), "Button6");
    EXPECT_EQ(tab(false), "ComboBox1");
    EXPECT_EQ(tab(false), "Calendar1") << "round to the start";
    EXPECT_EQ(tab(true), "ComboBox1");
    EXPECT_EQ(::GetWindow(f.ComboBox1->Handle(), GW_HWNDPREV), nullptr) << "the list lies on top";
}

TEST_F(Editor, TheCalendarFollowsTheYearAndMonthBoxesAndNamesThePickedDay) {
    TForm2& f = Open();
    f.Calendar().SetDay(10);
    f.EYear->SetText(L"2027");
    f.EMonth->SetText(L"3");
    EXPECT_EQ(CalendarDate(), (Due{2027, 3, 10, 0, 0}));
    EXPECT_EQ(Narrow(f.GroupBox1->Text()), " 2027 年 3 月 10 日 ");
    f.EMonth->SetText(L"13");  // out of range: the calendar keeps its month
    EXPECT_EQ(CalendarDate(), (Due{2027, 3, 10, 0, 0}));
    f.EMonth->SetText(L"");  // an empty box gives December
    EXPECT_EQ(CalendarDate().month, 12);
    f.Calendar().SetDay(24);
    EXPECT_EQ(Narrow(f.GroupBox1->Text()), " 2027 年  月 24 日 ") << "year and month as the boxes hold them";
}

// What a reader was last told by the editor's alert; empty for nothing.
std::wstring LastAlert(const TForm2& f) {
    const auto items = f.AccessibleItems();
    return !items.empty() && items.back().role == ROLE_SYSTEM_ALERT ? items.back().name : L"";
}

// The calendar a reader is not on moves with a month typed into its box: heard as the new date.
TEST_F(Editor, AMonthTypedIntoItsBoxIsHeardAsTheCalendarsNewDateOneShownIsNot) {
    Put({Memo(2024, 5, 1, 8, 0)});
    TForm2& f = Open();
    EXPECT_EQ(LastAlert(f), L"") << "showing the memo moved the calendar";
    f.EMonth->SetFocus();
    if (::GetFocus() != f.EMonth->Handle()) GTEST_SKIP() << "the editor cannot take the focus here";
    ::SendMessageW(f.EMonth->Handle(), EM_SETSEL, 0, -1);
    ::SendMessageW(f.EMonth->Handle(), WM_CHAR, L'3', 0);
    EXPECT_EQ(LastAlert(f), L"2024년 3월 1일 금요일");
}

TEST_F(Editor, TheCalendarGoesFromTheLastOfDecemberToTheFifteenthOfNovember) {
    Put({Memo(2026, 12, 31, 8, 0), Memo(2026, 11, 15, 9, 0), Memo(2024, 2, 29, 10, 0), Memo(2025, 3, 31, 11, 0)});
    TForm2& f = Open();
    EXPECT_EQ(CalendarDate(), (Due{2026, 12, 31, 0, 0}));
    const Due expected[] = {{2026, 11, 15, 0, 0}, {2024, 2, 29, 0, 0}, {2025, 3, 31, 0, 0}};
    const char* captions[] = {" 2026 年 11 月 15 日 ", " 2024 年 2 月 29 日 ", " 2025 年 3 月 31 日 "};
    for (int i = 0; i < 3; ++i) {
        Press(f.Button2);
        EXPECT_EQ(CalendarDate(), expected[i]);
        EXPECT_EQ(Narrow(f.GroupBox1->Text()), captions[i]);
    }
}

TEST_F(Editor, OldMemoMarkOnlyForConfirmedOne) {
    Put({Memo(2026, 1, 1, 1, 1, L"", L"", L"", 1), Memo(2026, 1, 1, 1, 1, L"", L"", L"", 2), Memo(2026, 1, 1, 1, 1)});
    TForm2& f = Open();
    EXPECT_EQ(Narrow(f.Label8->Text()), "옛날 메모(확인함)");
    Press(f.Button2);
    EXPECT_EQ(f.Label8->Text(), L"");
    Press(f.Button1);
    EXPECT_EQ(Narrow(f.Label8->Text()), "옛날 메모(확인함)");
    Press(f.Button2);
    Press(f.Button2);
    EXPECT_EQ(f.Label8->Text(), L"");
}

TEST_F(Editor, ThreeFullLinesRoundTrip) {
    const std::wstring lines[] = {L"가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라",
                                  L"오늘 오후 세시에 회의실에서 분기 보고서 검토 회의가 있습니다 꼭.",
                                  L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!?"};
    for (const auto& line : lines) ASSERT_EQ(win::ToCp949(line).size(), 64u);
    {
        Open();
        Fill(2026, 8, 15, 12, 0, {lines[0], lines[1], lines[2]});
        EXPECT_EQ(editor_->EMemo1->Text(), lines[0]) << "a full line is not refused";
        Press(editor_->Button6);
        Close();
    }
    const MemoRecord stored = RecordOnDisk(0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(stored.Lines[i].View(), win::ToCp949(lines[i])) << "line " << i;
    TForm2& f = Open();
    EXPECT_EQ(f.EMemo1->Text(), lines[0]);
    EXPECT_EQ(f.EMemo2->Text(), lines[1]);
    EXPECT_EQ(f.EMemo3->Text(), lines[2]);
}

// Typing as the keyboard does: one WM_CHAR per character, to the focused box.
void Type(win::Control* box, std::wstring_view text) {
    for (wchar_t c : text) ::SendMessageW(box->Handle(), WM_CHAR, c, 1);
}

TEST_F(Editor, MemoLinesRefuseInputBeyondSixtyFourBytesOrOutsideTheKoreanCodePage) {
    TForm2& f = Open();
    Type(f.EMemo1, L"가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라");  // 64 bytes
    EXPECT_EQ(win::ToCp949(f.EMemo1->Text()).size(), 64u);
    Type(f.EMemo1, L"마");
    EXPECT_EQ(win::ToCp949(f.EMemo1->Text()).size(), 64u) << "a 65th and 66th byte";
    Type(f.EMemo1, L"a");
    EXPECT_EQ(win::ToCp949(f.EMemo1->Text()).size(), 64u);

    // 63 bytes leave room for one more ASCII letter, not for a Hangul syllable.
    f.EMemo2->SetText(L"");
    Type(f.EMemo2, std::wstring(63, L'x'));
    Type(f.EMemo2, L"가");
    EXPECT_EQ(f.EMemo2->Text(), std::wstring(63, L'x'));
    Type(f.EMemo2, L"y");
    EXPECT_EQ(f.EMemo2->Text(), std::wstring(63, L'x') + L"y");

    // A character code page 949 cannot hold (Thai) is refused where it is typed.
    f.EMemo3->SetText(L"");
    Type(f.EMemo3, L"가ก나");
    EXPECT_EQ(f.EMemo3->Text(), L"가나");
    // Pasted Hangul within the box's 64 characters but over 64 bytes is refused whole.
    f.EMemo3->SetText(L"");
    ::SendMessageW(f.EMemo3->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(std::wstring(40, L'한').c_str()));
    EXPECT_EQ(f.EMemo3->Text(), L"");
}

// A 70-byte line from a file (which allows 70) is shown as it is, without a beep, and can be
// shortened a character at a time; only growth past 64 bytes is refused.
TEST_F(Editor, AnOverLongStoredLineShowsQuietlyAndShortens) {
    static int beeps;
    beeps = 0;
    const auto savedBeep = win::RefusalBeep;
    win::RefusalBeep = [] () noexcept { ++beeps; };
    const std::wstring stored(35, L'한');  // 70 bytes
    Put({Memo(2026, 5, 1, 9, 0, stored, stored)});
    TForm2& f = Open();
    EXPECT_EQ(f.EMemo1->Text(), stored);
    EXPECT_EQ(beeps, 0) << "showing the memo beeped";
    ::SendMessageW(f.EMemo1->Handle(), EM_SETSEL, 35, 35);
    Type(f.EMemo1, L"\b\b");
    EXPECT_EQ(f.EMemo1->Text(), std::wstring(33, L'한'));
    EXPECT_EQ(beeps, 0);
    Type(f.EMemo1, L"a");  // 67 bytes: still past the limit, and growing
    EXPECT_EQ(f.EMemo1->Text(), std::wstring(33, L'한'));
    EXPECT_EQ(beeps, 1);
    win::RefusalBeep = savedBeep;
}

// The list names the memo shown: stepping selects the entry at the index, also after text
// typed into the list's own box has cleared its selection.
TEST_F(Editor, SteppingSelectsTheShownMemoWhateverWasTypedIntoTheList) {
    Put({Memo(2026, 1, 1, 1, 1), Memo(2026, 2, 2, 2, 2), Memo(2026, 3, 3, 3, 3)});
    TForm2& f = Open();
    Press(f.Button2);
    const HWND listText = ::GetWindow(f.ComboBox1->Handle(), GW_CHILD);
    ASSERT_NE(listText, nullptr);
    ::SendMessageW(listText, WM_CHAR, L'x', 1);
    Press(f.Button2);
    EXPECT_EQ(CurrentIndex, 2);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 2);
    ::SendMessageW(listText, WM_CHAR, L'y', 1);
    Press(f.Button1);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(Shown(), (Due{2026, 2, 2, 2, 2}));
}

TEST_F(Editor, AddRefusesADayTheEnteredMonthDoesNotHave) {
    Put({Memo(2026, 1, 31, 9, 0)});
    TForm2& f = Open();
    const std::string before = FileBytes();
    // February has no 31st: the calendar refuses the month and keeps 31 January.
    f.EMonth->SetText(L"2");
    EXPECT_EQ(CalendarDate(), (Due{2026, 1, 31, 0, 0}));
    Press(f.Button6);
    Press(f.Button3);
    // And 29 February in a common year, the calendar standing on a leap year's.
    f.Calendar().SetDay(29);
    f.Calendar().SetYear(2024);
    f.Calendar().SetMonth(2);
    f.EYear->SetText(L"2025");
    EXPECT_EQ(CalendarDate(), (Due{2024, 2, 29, 0, 0}));
    Press(f.Button6);

    const auto texts = BoxTexts();
    ASSERT_EQ(texts.size(), 5u);
    for (const auto& t : texts) EXPECT_EQ(Narrow(t), "Invalid argument to date encode.");
    EXPECT_EQ(FileBytes(), before) << "nothing stored";
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"2026/1/31 9:0"})) << "nothing listed";
    EXPECT_EQ(Narrow(f.Label7->Text()), "메모 겟수 1개");
}

TEST_F(Editor, AnUnwritableFileIsReportedAndTheEditorStillOpensAndCloses) {
    wchar_t dir[MAX_PATH];
    if (!::GetEnvironmentVariableW(L"SIBORANG_LOCKED_DIR", dir, MAX_PATH)) GTEST_SKIP() << "no locked directory";
    ASSERT_TRUE(::SetCurrentDirectoryW(dir));
    {
        win::FileHandle probe(::CreateFileW(L"PostIt.dat", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (probe) GTEST_SKIP() << "the locked PostIt.dat can be written here";
    }
    TForm2& f = Open();
    EXPECT_TRUE(::IsWindowVisible(f.Handle()));
    EXPECT_FALSE(MemoFileIsOpen());
    EXPECT_EQ(f.ComboBox1->ItemCount(), 0);
    Press(f.Button6);
    const auto texts = BoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(Narrow(texts[0]), "File access denied.");
    EXPECT_EQ(Narrow(texts[1]), "I/O error 103.");
    Close();  // leaving works as usual
    EXPECT_EQ(BoxTexts().size(), 2u);
}

TEST_F(Editor, Picture) {
    Put({Memo(2026, 12, 24, 19, 30, L"크리스마스 이브 저녁 약속", L"선물 포장하기", L"케이크 찾아오기", 1),
         Memo(2026, 12, 31, 23, 0, L"한 해 정리")});
    TForm2& f = Open();
    testing::PumpMessages(200);
    ASSERT_TRUE(testing::SaveScreenshot(f.Handle(), L"memo-editor"));
}

}  // namespace
}  // namespace siborang
