// The started clock read as a blind user's screen reader reads it, through MSAA from this
// process: a name for every control the keyboard reaches, the hotkey's value, the labels, "?"
// pressed through its default action, the calendar's date and its moves, and a note's alert.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/common/MemoSamples.h"
#include "tests/process/AccessProbe.h"
#include "tests/process/MainWindowFixture.h"

namespace {

using namespace siborang::process_tests;
using siborang::samples::Bytes;
using siborang::samples::Memo;

constexpr UINT_PTR kMinuteTimerId = 1;
constexpr auto kEventTimeout = 10s;

// What a reader finds walking the window: every node and element, for failure messages too.
std::string Listing(const std::vector<AccessibleNode>& nodes) {
    std::string text;
    for (const AccessibleNode& node : nodes) {
        text += "\n  " + ClassOf(node.window) + " \"" + Narrow(node.facts.name) + "\" role " +
                std::to_string(node.facts.role);
        for (const AccessibleChild& e : node.elements)
            text += " [" + std::to_string(e.facts.role) + " \"" + Narrow(e.facts.name) + "\"]";
    }
    return text;
}

// Every window the keyboard reaches (a tab stop) is named; the names of the elements found.
std::vector<std::wstring> ExpectNamedAndListElements(HWND top) {
    const std::vector<AccessibleNode> nodes = WalkWindows(top);
    std::vector<std::wstring> elements;
    for (const AccessibleNode& node : nodes) {
        const bool tabStop = (::GetWindowLongW(node.window, GWL_STYLE) & WS_TABSTOP) != 0;
        EXPECT_TRUE(node.facts.answered) << ClassOf(node.window) << " gives no object";
        EXPECT_TRUE(!tabStop || !node.facts.name.empty()) << ClassOf(node.window) << " has no name" << Listing(nodes);
        for (const AccessibleChild& e : node.elements) elements.push_back(e.facts.name);
    }
    return elements;
}

bool Has(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class Accessibility : public MainWindowTest {
protected:
    bool WriteMemoFile(const std::string& bytes) const {
        FileHandle file(::CreateFileW((workDir_.Path() + L"\\PostIt.dat").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }

    ComApartment com_;
};

TEST_F(Accessibility, AReaderHearsTheNoteAndReadsAndWorksEveryWindow) {
    ASSERT_TRUE(WriteMemoFile(Bytes({Memo(2020, 3, 4, 5, 6, L"첫째 줄", L"둘째 줄")})));
    ASSERT_NO_FATAL_FAILURE(Start());
    WinEventListener events(Pid(), EVENT_SYSTEM_ALERT, EVENT_OBJECT_VALUECHANGE);
    ASSERT_TRUE(events);

    // The note: an alert whose object reads the heading and the text, and which takes no focus.
    ASSERT_TRUE(::PostMessageW(form_, WM_TIMER, kMinuteTimerId, 0));
    const auto alert = events.WaitFor(EVENT_SYSTEM_ALERT, kEventTimeout);
    ASSERT_TRUE(alert) << "no alert for the note";
    EXPECT_EQ(ClassOf(alert->window), "TForm3");
    const AccessibleFacts note = AccessibleWindow(alert->window).Facts();
    EXPECT_EQ(note.role, ROLE_SYSTEM_ALERT);
    EXPECT_EQ(note.name, L"지나친 메모: 2020년 3월 4일 5시 6분");
    EXPECT_NE(note.description.find(L"첫째 줄"), std::wstring::npos) << Narrow(note.description);
    EXPECT_NE(note.description.find(L"둘째 줄"), std::wstring::npos) << Narrow(note.description);
    EXPECT_FALSE(note.state & STATE_SYSTEM_FOCUSABLE);

    // The main window: named by its title, every control named, the labels readable.
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    EXPECT_EQ(AccessibleWindow(form_).Facts().name, L"시보랑");
    const std::vector<std::wstring> labels = ExpectNamedAndListElements(form_);
    EXPECT_TRUE(Has(labels, L"핫키 등록") && Has(labels, L"분 마다")) << Listing(WalkWindows(form_));
    const AccessibleFacts hotKey = AccessibleWindow(hotKeyBox_).Facts();
    EXPECT_EQ(hotKey.name, L"핫키 등록");
    EXPECT_EQ(hotKey.role, ROLE_SYSTEM_HOTKEYFIELD);
    EXPECT_EQ(hotKey.value, L"Ctrl+Alt+W");
    EXPECT_EQ(AccessibleWindow(interval_).Facts().name, L"분 마다");

    // "?" pressed as a reader presses it opens the about dialog, whose lines can be read.
    const AccessibleWindow panel(panel_);
    long question = 0;
    for (const AccessibleChild& child : panel.Children())
        if (!child.window && child.facts.name == L"?" && child.facts.role == ROLE_SYSTEM_PUSHBUTTON) {
            question = child.id;
        }
    ASSERT_NE(question, 0) << "no \"?\" button" << Listing(WalkWindows(panel_));
    EXPECT_EQ(panel.DoDefaultAction(question), S_OK);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return (about = VisibleWindowOf(kAboutClass, Pid())) != nullptr; }))
        << "\"?\" did not open the about dialog" << BoxNote();
    EXPECT_EQ(AccessibleWindow(about).Facts().name, kAboutCaption);
    EXPECT_TRUE(Has(ExpectNamedAndListElements(about), L"시보랑 개발팀 (별명: 시계지기)"));
    ASSERT_TRUE(::PostMessageW(::FindWindowExW(about, nullptr, L"Button", kAboutCloseText), BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return !VisibleWindowOf(kAboutClass, Pid()); }));

    // The editor: every control named, the calendar a table whose moves are heard.
    ASSERT_TRUE(::PostMessageW(::FindWindowExW(form_, nullptr, L"Button", L"메모 작성"), BM_CLICK, 0, 0));
    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return (editor = VisibleWindowOf(L"TForm2", Pid())) != nullptr; }))
        << "no editor came up" << BoxNote();
    Answers(editor);
    EXPECT_EQ(AccessibleWindow(editor).Facts().name, L"메모 내용 작성하기");
    ExpectNamedAndListElements(editor);
    HWND calendar = nullptr;
    for (const AccessibleNode& node : WalkWindows(editor))
        if (ClassOf(node.window) == "TCalendar") calendar = node.window;
    ASSERT_NE(calendar, nullptr);
    const AccessibleWindow table(calendar);
    const AccessibleFacts before = table.Facts();
    EXPECT_EQ(before.role, ROLE_SYSTEM_TABLE);
    EXPECT_EQ(before.name, L"날짜");
    EXPECT_NE(before.value.find(L"년 "), std::wstring::npos) << Narrow(before.value);
    ASSERT_EQ(FocusOf(editor), calendar) << "the editor opens with the calendar focused";
    const std::optional<long> day = table.FocusedChild();
    ASSERT_TRUE(day) << "no cell has the focus";
    // A week on or back, within the month whatever today is: the cell below or above.
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    const bool down = today.wDay <= 21;
    ASSERT_TRUE(::PostMessageW(calendar, WM_KEYDOWN, down ? VK_DOWN : VK_UP, 0));
    // The system's own focus event for the calendar window may come first.
    std::optional<HeardEvent> moved;
    while ((moved = events.WaitFor(EVENT_OBJECT_FOCUS, kEventTimeout, calendar)) && moved->child == CHILDID_SELF) {
    }
    ASSERT_TRUE(moved) << "the move of the day was not heard";
    EXPECT_EQ(moved->child, *day + (down ? 7 : -7));
    EXPECT_EQ(table.FocusedChild(), moved->child);
    EXPECT_NE(table.Facts().value, before.value);
    EXPECT_EQ(table.Facts(moved->child).description, table.Facts().value);
}

}  // namespace
