// The memo editor of the started clock, opened from "메모 작성" and driven from outside through
// its real controls: the main window and the tray icon step aside while it is open, and a
// session of adds, overwrites and deletes leaves exactly what it entered in PostIt.dat.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "memo/MemoRecord.h"
#include "tests/process/MainWindowFixture.h"

namespace {

using namespace siborang::process_tests;
using siborang::MemoRecord;
using siborang::win::Narrow;

constexpr wchar_t kEditorClass[] = L"TForm2";

class MemoEditorTest : public MainWindowTest {
protected:
    // The editor, once "메모 작성" has opened it.
    void OpenEditor() {
        ASSERT_NO_FATAL_FAILURE(ShowFromTray());
        const HWND button = ::FindWindowExW(form_, nullptr, L"Button", L"메모 작성");
        ASSERT_NE(button, nullptr) << "no \"메모 작성\" button";
        ASSERT_TRUE(::PostMessageW(button, BM_CLICK, 0, 0));  // the editor's modal loop runs inside
        ASSERT_TRUE(WaitUntil(nullptr, [&] { return (editor_ = VisibleWindowOf(kEditorClass, Pid())) != nullptr; }))
            << "no editor came up" << BoxNote();
        Answers(editor_);
        group1_ = GroupWithCaption(false);
        group2_ = GroupWithCaption(true);
        ASSERT_NE(group1_, nullptr);
        ASSERT_NE(group2_, nullptr);
        calendar_ = ::FindWindowExW(group1_, nullptr, L"TCalendar", nullptr);
        ASSERT_NE(calendar_, nullptr) << "no calendar in the date group";
    }

    // The memo-lines group names itself; the date group's caption is the date.
    HWND GroupWithCaption(bool memoLines) const {
        for (HWND g = ::FindWindowExW(editor_, nullptr, L"TGroupBox", nullptr); g;
             g = ::FindWindowExW(editor_, g, L"TGroupBox", nullptr))
            if ((CaptionOf(g) == L" 메모 내용(3줄까지) ") == memoLines) return g;
        return nullptr;
    }

    // The child window of a group box at a point of its client area.
    static HWND ChildAt(HWND group, int x, int y) {
        HWND child = ::ChildWindowFromPointEx(group, POINT{x, y}, CWP_SKIPINVISIBLE);
        return child == group ? nullptr : child;
    }
    HWND Year() const { return ChildAt(group1_, 24 + 10, 256 + 10); }
    HWND Month() const { return ChildAt(group1_, 120 + 10, 256 + 10); }
    HWND Hour() const { return ChildAt(group1_, 216 + 10, 256 + 10); }
    HWND Minute() const { return ChildAt(group1_, 304 + 10, 256 + 10); }
    HWND Line(int i) const { return ChildAt(group2_, 16 + 10, 27 + 24 * i + 5); }
    HWND Button(const wchar_t* caption) const { return ::FindWindowExW(editor_, nullptr, L"Button", caption); }

    // Work the editor does for what was sent has been done once this returns; an editor that
    // closed meanwhile has done it too.
    bool Settle() const { return Answers(editor_) || !::IsWindow(editor_); }

    void Type(HWND box, const std::wstring& text) const {
        ASSERT_NE(box, nullptr);
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000,
                                          &ignored));
    }
    void Press(const wchar_t* caption) const {
        const HWND button = Button(caption);
        ASSERT_NE(button, nullptr) << "no button \"" << Narrow(caption) << "\"";
        ASSERT_TRUE(::IsWindowEnabled(button)) << "\"" << Narrow(caption) << "\" is disabled";
        // Sent: a posted click can be overtaken by the messages sent after it (the next box's
        // text), which the editor's thread takes first. A box the click puts up ends the wait.
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &ignored);
        ASSERT_TRUE(Settle());
        ASSERT_EQ(VisibleWindowOf(L"#32770", Pid()), nullptr) << "pressing \"" << Narrow(caption) << "\"" << BoxNote();
    }
    // A day of the month the calendar shows, picked with the mouse: the 1st stands in
    // column `firstColumn` of week row 1, the header row above.
    void PickDay(int day, int firstColumn) const {
        RECT rc;
        ::GetClientRect(calendar_, &rc);
        const int cell = firstColumn + day - 1;
        const int x = (cell % 7) * rc.right / 7 + rc.right / 14;
        const int y = (1 + cell / 7) * rc.bottom / 7 + rc.bottom / 14;
        // Sent, as a click on a button is.
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(calendar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y), SMTO_BLOCK, 5000,
                                          &ignored));
        ASSERT_TRUE(::SendMessageTimeoutW(calendar_, WM_LBUTTONUP, 0, MAKELPARAM(x, y), SMTO_BLOCK, 5000, &ignored));
    }
    // A whole memo entered in March 2027 (the 1st is a Monday: column 1).
    void Enter(int day, int hour, int minute, const std::vector<std::wstring>& lines) const {
        ASSERT_NO_FATAL_FAILURE(Type(Year(), L"2027"));
        ASSERT_NO_FATAL_FAILURE(Type(Month(), L"3"));
        ASSERT_NO_FATAL_FAILURE(PickDay(day, 1));
        ASSERT_NO_FATAL_FAILURE(Type(Hour(), std::to_wstring(hour)));
        ASSERT_NO_FATAL_FAILURE(Type(Minute(), std::to_wstring(minute)));
        for (int i = 0; i < 3; ++i) ASSERT_NO_FATAL_FAILURE(Type(Line(i), i < static_cast<int>(lines.size()) ? lines[i] : L""));
    }

    HWND editor_ = nullptr;
    HWND group1_ = nullptr;
    HWND group2_ = nullptr;
    HWND calendar_ = nullptr;
};

using MemoEditor = MemoEditorTest;

struct Stored {
    int confirmed, year, month, day, hour, minute;
    std::wstring line1, line2, line3;
    bool operator==(const Stored&) const = default;
};
void PrintTo(const Stored& s, std::ostream* os) {
    *os << s.confirmed << " " << s.year << "/" << s.month << "/" << s.day << " " << s.hour << ":" << s.minute << " \""
        << Narrow(s.line1) << "\" \"" << Narrow(s.line2) << "\" \"" << Narrow(s.line3) << "\"";
}

std::vector<Stored> StoredMemos(const std::wstring& path) {
    std::vector<Stored> memos;
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    MemoRecord r;
    DWORD n = 0;
    while (file && ::ReadFile(file.Get(), &r, sizeof r, &n, nullptr) && n == sizeof r) {
        auto line = [&](int i) { return siborang::win::FromCp949(r.Lines[i].View()); };
        memos.push_back({r.Confirmed, r.Year, r.Month, r.Day, r.Hour, r.Minute, line(0), line(1), line(2)});
    }
    return memos;
}

// ---------------------------------------------------------------------------------------------

TEST_F(MemoEditor, OpeningHidesTheWindowAndTheIconAndClosingBringsBothBack) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenEditor());
    EXPECT_FALSE(::IsWindowVisible(form_)) << "the main window stays up beside the editor";
    EXPECT_TRUE(WaitUntil(nullptr, [&] { return !ShellHolds(tray_); })) << "the icon stays in the tray";
    EXPECT_EQ(::GetWindow(editor_, GW_OWNER), app_);
    EXPECT_TRUE(::IsWindowVisible(editor_));

    ASSERT_NO_FATAL_FAILURE(Press(L"나가기"));
    EXPECT_TRUE(WaitUntil(nullptr, [&] { return !::IsWindow(editor_); })) << "the editor was not freed";
    ASSERT_TRUE(WaitShown(true)) << "the main window did not come back";
    EXPECT_EQ(Describe(TopLeftOf(form_)), Describe(Corner(form_)));
    EXPECT_TRUE(WaitUntil(nullptr, [&] { return ShellHolds(tray_); })) << "the icon did not come back";
    EXPECT_TRUE(::IsWindowEnabled(form_));
}

TEST_F(MemoEditor, ASessionOfAddsOverwritesAndDeletesLeavesWhatItEntered) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(OpenEditor());

    ASSERT_NO_FATAL_FAILURE(Enter(10, 8, 15, {L"첫 메모", L"둘째 줄"}));
    ASSERT_NO_FATAL_FAILURE(Press(L"추가하기"));
    ASSERT_NO_FATAL_FAILURE(Enter(11, 9, 30, {L"두 번째"}));
    ASSERT_NO_FATAL_FAILURE(Press(L"추가하기"));
    ASSERT_NO_FATAL_FAILURE(Enter(12, 10, 45, {L"세 번째", L"", L"끝"}));
    ASSERT_NO_FATAL_FAILURE(Press(L"추가하기"));
    // Back to the second, which is shown with its own date and time; change its hour and text.
    ASSERT_NO_FATAL_FAILURE(Press(L"앞 내용"));
    ASSERT_NO_FATAL_FAILURE(Type(Hour(), L"21"));
    ASSERT_NO_FATAL_FAILURE(Type(Line(0), L"고친 두 번째"));
    ASSERT_NO_FATAL_FAILURE(Press(L"덮어쓰기"));
    // Delete the first; the corrected second takes its place, and gets a new minute.
    ASSERT_NO_FATAL_FAILURE(Press(L"앞 내용"));
    ASSERT_NO_FATAL_FAILURE(Press(L"삭제하기"));
    ASSERT_NO_FATAL_FAILURE(Type(Minute(), L"5"));
    ASSERT_NO_FATAL_FAILURE(Press(L"덮어쓰기"));
    ASSERT_NO_FATAL_FAILURE(Enter(31, 23, 59, {L"마지막 날"}));
    ASSERT_NO_FATAL_FAILURE(Press(L"추가하기"));
    ASSERT_NO_FATAL_FAILURE(Press(L"나가기"));
    ASSERT_TRUE(WaitShown(true));

    const std::vector<Stored> expected{
        {0, 2027, 3, 11, 21, 5, L"고친 두 번째", L"", L""},
        {0, 2027, 3, 12, 10, 45, L"세 번째", L"", L"끝"},
        {0, 2027, 3, 31, 23, 59, L"마지막 날", L"", L""},
    };
    EXPECT_EQ(StoredMemos(workDir_.Path() + L"\\PostIt.dat"), expected);
}

}  // namespace
