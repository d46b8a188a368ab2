// The started clock worked from the keyboard as a user works a Windows dialog, with real key
// presses and clicks through the X server (xdotool, which Wine starts as the Unix program it
// is): where the focus lands, Tab, Enter and Space on buttons, Alt+R and its error box, and a
// number box left for another program and come back to.
#include <gtest/gtest.h>

#include <string>

#include "memo/MemoRecord.h"
#include "tests/process/MainWindowFixture.h"

namespace {

using namespace siborang::process_tests;
using siborang::MemoRecord;
using siborang::win::Narrow;

std::string Named(HWND window) { return window ? Describe(window) : std::string("nothing"); }

class Keyboard : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (!XdoAvailable()) GTEST_SKIP() << "no xdotool: real key presses cannot be sent";
    }

    // The clock's window that has the keyboard focus becomes `wanted`.
    void ExpectFocus(HWND wanted, const char* what) {
        EXPECT_TRUE(WaitUntil(form_, [&] { return FocusOf(form_) == wanted; }, kTypingTimeout))
            << what << ": the focus is on " << Named(FocusOf(form_)) << ", not on " << Named(wanted);
    }
    void Key(const wchar_t* keys) { ASSERT_TRUE(Xdo(std::wstring(L"key ") + keys)) << "xdotool key " << Narrow(keys); }
    static HWND Button(HWND parent, const wchar_t* caption) {
        return ::FindWindowExW(parent, nullptr, L"Button", caption);
    }

    // "?" on the title panel opens the about dialog with the focus on its button; `key` closes
    // it. With `trayClick` the tray icon is clicked first, which must leave the dialog in front.
    void AboutClosedBy(const wchar_t* key, bool trayClick = false) {
        ASSERT_TRUE(ClickPanel(kQuestionButtonPoint));
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil(nullptr, [&] { return (about = VisibleWindowOf(kAboutClass, Pid())) != nullptr; }))
            << "\"?\" opened no about dialog";
        ExpectFocus(Button(about, kAboutCloseText), "the about dialog opened");
        if (trayClick) {
            // Sent, so that it has been handled when the check below looks.
            DWORD_PTR ignored = 0;
            ASSERT_TRUE(::SendMessageTimeoutW(tray_, kTrayCallback, 0, WM_LBUTTONUP, SMTO_BLOCK, 5000, &ignored));
            ASSERT_TRUE(WaitUntil(form_, [&] { return ActiveOf(form_) == about; }))
                << "after a tray click the active window is " << Named(ActiveOf(form_));
            ExpectFocus(Button(about, kAboutCloseText), "the tray clicked while the about dialog was up");
        }
        ASSERT_TRUE(XFocusOn(about)) << "the X server does not send the keys to the about dialog";
        Key(key);
        EXPECT_TRUE(WaitUntil(nullptr, [&] { return !::IsWindow(about) || !::IsWindowVisible(about); }))
            << Narrow(key) << " on the focused button did not close the about dialog";
    }
};

TEST_F(Keyboard, AUserWorksTheWindowsFromTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    EXPECT_TRUE(WaitUntil(form_, [&] { return ActiveOf(form_) == form_; })) << "the tray click left the window inactive";
    ExpectFocus(hotKeyBox_, "the tray click");
    EXPECT_TRUE(XFocusOn(form_)) << "the X server does not send the keys to the window";

    // Tab walks the tab order; the disabled listen button is passed over.
    const HWND editorButton = Button(form_, L"메모 작성");
    for (HWND next : {intervalSwitch_, memoSwitch_, interval_, editorButton, run_, hotKeyBox_}) {
        ASSERT_NO_FATAL_FAILURE(Key(L"Tab"));
        ExpectFocus(next, "Tab");
    }

    ASSERT_NO_FATAL_FAILURE(AboutClosedBy(L"Return"));
    ExpectFocus(hotKeyBox_, "after the about dialog");
    ASSERT_NO_FATAL_FAILURE(AboutClosedBy(L"space", /*trayClick=*/true));
    ASSERT_TRUE(XFocusOn(form_));

    // Alt+R with letters in the interval box: the error box takes Enter at once, and the
    // keyboard is back in the box afterwards.
    for (int i = 0; i < 3; ++i) ASSERT_NO_FATAL_FAILURE(Key(L"Tab"));
    ExpectFocus(interval_, "three Tabs from the hotkey box");
    ASSERT_TRUE(Xdo(L"type abc"));
    ASSERT_TRUE(WaitUntil(form_, [&] { return TextOf(interval_) == L"abc"; }, kTypingTimeout))
        << "typed abc, the box holds \"" << Narrow(TextOf(interval_)) << "\"";
    ASSERT_NO_FATAL_FAILURE(Key(L"alt+r"));
    const auto box = WaitForErrorBox();
    ASSERT_TRUE(box) << "Alt+R put up no error box";
    EXPECT_EQ(Narrow(box->text), "'abc' is not a valid integer value.");
    ASSERT_TRUE(XFocusOn(box->hwnd)) << "the X server does not send the keys to the error box";
    ASSERT_NO_FATAL_FAILURE(Key(L"Return"));
    EXPECT_TRUE(WaitUntil(form_, [&] { return !::IsWindow(box->hwnd) || !::IsWindowVisible(box->hwnd); }))
        << "the first Enter did not close the error box";
    EXPECT_TRUE(WaitUntil(form_, [&] { return ActiveOf(form_) == form_; }))
        << "after the error box the active window is " << Named(ActiveOf(form_));
    ExpectFocus(interval_, "after the error box");
    ASSERT_TRUE(XFocusOn(form_));

    // The editor opens with its calendar focused.
    ASSERT_NO_FATAL_FAILURE(Key(L"Tab"));
    ExpectFocus(editorButton, "Tab from the interval box");
    ASSERT_NO_FATAL_FAILURE(Key(L"Return"));
    HWND editor = nullptr, calendar = nullptr;
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return (editor = VisibleWindowOf(L"TForm2", Pid())) != nullptr; }))
        << "Enter on \"메모 작성\" opened no editor";
    for (HWND g = ::FindWindowExW(editor, nullptr, L"TGroupBox", nullptr); g && !calendar;
         g = ::FindWindowExW(editor, g, L"TGroupBox", nullptr))
        calendar = ::FindWindowExW(g, nullptr, L"TCalendar", nullptr);
    ASSERT_NE(calendar, nullptr);
    ExpectFocus(calendar, "the editor opened");
    ASSERT_TRUE(XFocusOn(editor));

    // "ab" left in the hour box, another program in front meanwhile, then "추가하기" clicked:
    // the box's exit handler runs first, so the hour stored is its fallback.
    ASSERT_NO_FATAL_FAILURE(Key(L"Tab"));
    ASSERT_TRUE(WaitUntil(editor, [&] { return FocusOf(editor) != calendar; }, kTypingTimeout))
        << "Tab did not leave the calendar";
    const HWND hour = FocusOf(editor);
    ASSERT_TRUE(Xdo(L"type ab"));
    ASSERT_TRUE(WaitUntil(editor, [&] { return TextOf(hour) == L"ab"; }, kTypingTimeout))
        << "typed ab, the hour box holds \"" << Narrow(TextOf(hour)) << "\"";
    const siborang::win::Window other(::CreateWindowExW(0, L"Static", L"another program", WS_POPUP | WS_VISIBLE, 10, 10,
                                                        200, 60, nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(other.Get());
    EXPECT_TRUE(WaitUntil(editor, [&] { return ActiveOf(editor) != editor; })) << "the other window is not in front";
    EXPECT_EQ(TextOf(hour), L"ab") << "leaving for another program ran the box's exit handler";
    const RECT add = RectOf(Button(editor, L"추가하기"));
    ASSERT_TRUE(Xdo(L"mousemove " + std::to_wstring((add.left + add.right) / 2) + L" " +
                    std::to_wstring((add.top + add.bottom) / 2) + L" click 1"));
    const std::wstring memos = workDir_.Path() + L"\\PostIt.dat";
    ASSERT_TRUE(WaitUntil(editor, [&] { return StateOf(memos).size == sizeof(MemoRecord); }))
        << "no memo was stored" << BoxNote();
    MemoRecord stored{};
    const FileHandle file(::CreateFileW(memos.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    DWORD n = 0;
    ASSERT_TRUE(file && ::ReadFile(file.Get(), &stored, sizeof stored, &n, nullptr) && n == sizeof stored);
    EXPECT_EQ(stored.Hour, 23);
    EXPECT_EQ(TextOf(hour), L"23");
}

}  // namespace
