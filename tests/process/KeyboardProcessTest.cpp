// The started clock worked from the keyboard as a user works a Windows dialog, with real key
// presses and clicks through the X server (xdotool, which Wine starts as the Unix program it
// is): where the focus lands, Tab, Enter and Space on buttons, Alt+R and its error box, and a
// number box left for another program and come back to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "memo/MemoRecord.h"
#include "tests/process/MainWindowFixture.h"

namespace {

using namespace siborang::process_tests;
using siborang::MemoRecord;
using siborang::win::Narrow;

// Runs xdotool with `args` and waits until it is done; true when it did what it was told, and
// then `output` holds what it printed. Wine starts a Unix program without a handle to wait
// on, so a shell around it leaves a file behind when it ends: the output, then the status.
bool Xdo(const std::wstring& args, std::string* output = nullptr) {
    static unsigned counter = 0;
    const std::wstring marker =
        L"/tmp/siborang-xdo-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::wstring command = L"/bin/sh -c \"/usr/bin/xdotool " + args + L" > " + marker + L".part; echo $? >> " +
                           marker + L".part; mv " + marker + L".part " + marker + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    const KernelHandle process(info.hProcess), thread(info.hThread);
    std::wstring path = L"Z:" + marker;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::string text;
    const bool ended = WaitUntil(nullptr, [&] {
        FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        char buffer[256];
        DWORD n = 0;
        if (!file || !::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) || n == 0) return false;
        text.assign(buffer, n);
        return true;
    });
    ::DeleteFileW(path.c_str());
    const std::size_t status = text.find_last_of('\n', text.size() >= 2 ? text.size() - 2 : 0);
    if (output) *output = text.substr(0, status == std::string::npos ? 0 : status);
    return ended && text.compare(status == std::string::npos ? 0 : status + 1, 1, "0") == 0;
}

// The X server sends typed keys to the X window with the input focus, which follows the
// active window a moment later: Wine's outer X window of it, or the one inside for its client
// area. Now and then Wine asks for the focus before the X server shows a new window, and the X
// server refuses; the window is then given the X focus as a window manager would, since only
// the keys' way there is at stake (the window's own focus is checked through Win32).
bool XFocusOn(HWND window) {
    const auto outer = reinterpret_cast<std::uintptr_t>(::GetPropW(window, L"__wine_x11_whole_window"));
    const auto inner = reinterpret_cast<std::uintptr_t>(::GetPropW(window, L"__wine_x11_client_window"));
    if (!outer) return true;  // not an X11 driver: nothing to wait for
    const auto focused = [&] {
        std::string focus;
        if (!Xdo(L"getwindowfocus -f", &focus)) return false;
        const auto xid = std::strtoull(focus.c_str(), nullptr, 10);
        return xid == outer || (inner && xid == inner);
    };
    if (WaitUntil(nullptr, focused, 3s)) return true;
    return Xdo(L"windowfocus " + std::to_wstring(outer)) && WaitUntil(nullptr, focused);
}

std::string Named(HWND window) { return window ? Describe(window) : std::string("nothing"); }

class Keyboard : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (::GetFileAttributesW(L"Z:\\usr\\bin\\xdotool") == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no xdotool: real key presses cannot be sent";
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
