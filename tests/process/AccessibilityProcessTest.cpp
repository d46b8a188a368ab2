// The started clock read as a blind user's screen reader reads it, through MSAA from this
// process: a name for every control the keyboard reaches, the hotkey's value, the labels, "?"
// pressed through its default action, the calendar's date and its moves, and a note's alert.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/MemoSamples.h"
#include "tests/process/AccessProbe.h"
#include "tests/process/MainWindowFixture.h"

namespace {

using namespace siborang::process_tests;
using siborang::samples::Bytes;
using siborang::samples::Memo;

constexpr auto kEventTimeout = 10s;

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// Walks the window and all below it as a reader does: every tab stop must have a name; gives
// the names of the elements found (the labels and flat buttons).
std::wstring WalkNamingEveryTabStop(HWND top) {
    std::vector<HWND> windows{top};
    ::EnumChildWindows(top, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::wstring elements;
    for (HWND window : windows) {
        const AccessibleWindow object(window);
        const bool tabStop = (::GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) != 0;
        EXPECT_TRUE(!tabStop || !object.Facts().name.empty()) << ClassOf(window) << " has no name";
        for (const auto& [id, facts] : object.Elements()) elements += L"[" + facts.name + L"]";
    }
    return elements;
}

// A window a reader reads as the dialog in front: its window object named by its title.
AccessibleFacts ExpectDialog(HWND window, const wchar_t* title) {
    AccessibleFacts facts = AccessibleWindow(window, OBJID_WINDOW).Facts();
    EXPECT_EQ(facts.name, title);
    EXPECT_EQ(facts.role, ROLE_SYSTEM_DIALOG) << Narrow(title);
    return facts;
}

class Accessibility : public MainWindowTest {
protected:
    static void SetUpTestSuite() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
};

TEST_F(Accessibility, AReaderHearsTheNoteAndReadsAndWorksEveryWindow) {
    {
        FileHandle file(::CreateFileW((workDir_.Path() + L"\\PostIt.dat").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        const std::string memo = Bytes({Memo(2020, 3, 4, 5, 6, L"첫째 줄", L"둘째 줄")});
        DWORD written = 0;
        ASSERT_TRUE(file && ::WriteFile(file.Get(), memo.data(), static_cast<DWORD>(memo.size()), &written, nullptr));
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    WinEventListener events(Pid(), EVENT_SYSTEM_ALERT, EVENT_OBJECT_VALUECHANGE);
    ASSERT_TRUE(events);

    // The note: an alert whose object reads the heading and the text, and which takes no focus.
    ASSERT_TRUE(::PostMessageW(form_, WM_TIMER, 1, 0));  // the minute timer
    const auto alert = events.WaitFor(EVENT_SYSTEM_ALERT, kEventTimeout);
    ASSERT_TRUE(alert) << "no alert for the note";
    const AccessibleFacts note = AccessibleWindow(alert->window).Facts();
    EXPECT_EQ(note.role, ROLE_SYSTEM_ALERT);
    EXPECT_EQ(note.name, L"지나친 메모: 2020년 3월 4일 5시 6분");
    EXPECT_NE(note.description.find(L"둘째 줄"), std::wstring::npos) << Narrow(note.description);
    EXPECT_FALSE(note.state & STATE_SYSTEM_FOCUSABLE);
    const AccessibleFacts noteWindow = AccessibleWindow(alert->window, OBJID_WINDOW).Facts();
    EXPECT_EQ(noteWindow.name, note.name);
    EXPECT_EQ(noteWindow.role, ROLE_SYSTEM_ALERT);
    // Its "X" closes it when a reader presses it.
    const HWND close = ::FindWindowExW(alert->window, nullptr, L"Button", L"X");
    EXPECT_EQ(AccessibleWindow(close).DoDefaultAction(CHILDID_SELF), S_OK);
    EXPECT_TRUE(WaitUntil(nullptr, [&] { return !::IsWindow(alert->window); })) << "the note is still up";

    // The main window: a dialog named by its title, every control named, the labels readable.
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    EXPECT_EQ(AccessibleWindow(form_).Facts().name, L"시보랑");
    ExpectDialog(form_, L"시보랑");
    const AccessibleFacts group = AccessibleWindow(group_).Facts();
    EXPECT_EQ(group.role, ROLE_SYSTEM_GROUPING);
    EXPECT_EQ(group.name, L"작동 환경 설정");
    const std::wstring labels = WalkNamingEveryTabStop(form_);
    EXPECT_NE(labels.find(L"[핫키 등록]"), std::wstring::npos) << Narrow(labels);
    EXPECT_NE(labels.find(L"[분 마다]"), std::wstring::npos) << Narrow(labels);
    const AccessibleFacts hotKey = AccessibleWindow(hotKeyBox_).Facts();
    EXPECT_EQ(hotKey.name, L"핫키 등록");
    EXPECT_EQ(hotKey.role, ROLE_SYSTEM_HOTKEYFIELD);
    EXPECT_EQ(hotKey.value, L"Ctrl+Alt+W");
    // Q typed into the box (its rules add Ctrl+Alt) is heard as its new value.
    ASSERT_TRUE(::PostMessageW(hotKeyBox_, WM_KEYDOWN, 'Q', 0x00100001));
    ASSERT_TRUE(::PostMessageW(hotKeyBox_, WM_KEYUP, 'Q', 0xC0100001));
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_VALUECHANGE, kEventTimeout, hotKeyBox_)) << "the new keys were not heard";
    EXPECT_EQ(AccessibleWindow(hotKeyBox_).Facts().value, L"Ctrl+Alt+Q");

    // "?" pressed as a reader presses it opens the about dialog, whose lines can be read.
    const AccessibleWindow panel(panel_);
    long question = 0;
    for (const auto& [id, facts] : panel.Elements())
        if (facts.name == L"?" && facts.role == ROLE_SYSTEM_PUSHBUTTON) question = id;
    ASSERT_NE(question, 0) << "no \"?\" button";
    EXPECT_EQ(panel.DoDefaultAction(question), S_OK);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return (about = VisibleWindowOf(kAboutClass, Pid())) != nullptr; }));
    EXPECT_NE(WalkNamingEveryTabStop(about).find(L"[시보랑 개발팀 (별명: 시계지기)]"), std::wstring::npos);
    const AccessibleFacts credits = ExpectDialog(about, kAboutCaption);
    EXPECT_NE(credits.description.find(L"시보랑 개발팀 (별명: 시계지기)\n"), std::wstring::npos)
        << Narrow(credits.description);
    // Escape closes it as its button does; F1 in the main window opens it as "?" does.
    ASSERT_TRUE(::PostMessageW(::FindWindowExW(about, nullptr, L"Button", kAboutCloseText), WM_KEYDOWN, VK_ESCAPE, 0));
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return !VisibleWindowOf(kAboutClass, Pid()); })) << "Escape did not close it";
    ASSERT_TRUE(::PostMessageW(run_, WM_KEYDOWN, VK_F1, 0));
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return (about = VisibleWindowOf(kAboutClass, Pid())) != nullptr; }))
        << "F1 opened no about dialog";
    ASSERT_TRUE(::PostMessageW(::FindWindowExW(about, nullptr, L"Button", kAboutCloseText), BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return !VisibleWindowOf(kAboutClass, Pid()); }));

    // The editor: every control named, the calendar a table whose moves are heard.
    ASSERT_TRUE(::PostMessageW(::FindWindowExW(form_, nullptr, L"Button", L"메모 작성"), BM_CLICK, 0, 0));
    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return (editor = VisibleWindowOf(L"TForm2", Pid())) != nullptr; }));
    Answers(editor);
    EXPECT_EQ(AccessibleWindow(editor).Facts().name, L"메모 내용 작성하기");
    ExpectDialog(editor, L"메모 내용 작성하기");
    WalkNamingEveryTabStop(editor);
    const HWND calendar = FocusOf(editor);
    ASSERT_EQ(ClassOf(calendar), "TCalendar") << "the editor opens with the calendar focused";
    const AccessibleWindow table(calendar);
    const AccessibleFacts before = table.Facts();
    EXPECT_EQ(before.role, ROLE_SYSTEM_TABLE);
    const std::optional<long> day = table.FocusedChild();
    ASSERT_TRUE(day) << "no cell has the focus";
    // The editor shows the memo of Wednesday 4 March 2020: a week on is the cell below.
    ASSERT_TRUE(::PostMessageW(calendar, WM_KEYDOWN, VK_DOWN, 0));
    // The system's own focus event for the calendar window may come first.
    std::optional<HeardEvent> moved;
    while ((moved = events.WaitFor(EVENT_OBJECT_FOCUS, kEventTimeout, calendar)) && moved->child == CHILDID_SELF) {
    }
    ASSERT_TRUE(moved) << "the move of the day was not heard";
    EXPECT_EQ(moved->child, *day + 7);
    EXPECT_NE(table.Facts().value, before.value);
    const AccessibleFacts cell = table.Facts(moved->child);
    EXPECT_EQ(cell.description, table.Facts().value);
    EXPECT_EQ(cell.name, L"11일 수요일");

    // "추가하기" is heard though the focus stays where it was: the new count and the memo shown.
    ASSERT_TRUE(::PostMessageW(::FindWindowExW(editor, nullptr, L"Button", L"추가하기"), WM_KEYDOWN, VK_RETURN, 0));
    const auto added = events.WaitFor(EVENT_SYSTEM_ALERT, kEventTimeout, editor);
    ASSERT_TRUE(added) << "adding a memo was not heard";
    const std::wstring said = AccessibleWindow(editor).Facts(added->child).name;
    EXPECT_EQ(said.find(L"메모 겟수 2개, "), 0u) << Narrow(said);
}

}  // namespace
