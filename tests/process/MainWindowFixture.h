#pragma once
// The main window of a started clock as the shell and a user see it from outside: its
// windows and controls found by class and caption, input sent as the mouse and keyboard
// would, the error boxes, and what the process holds. Shared by the tests of the main window
// and of the memo notes it raises.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/common/ShellProbe.h"
#include "tests/process/ProcessSupport.h"
#include "win/Handles.h"
#include "win/Text.h"
#include "win/Win32.h"

namespace siborang::process_tests {

using siborang::win::Narrow;

inline constexpr wchar_t kTrayClass[] = L"TTrayIconWindow";
inline constexpr UINT kTrayCallback = WM_USER + 1;
inline constexpr wchar_t kAboutClass[] = L"TForm4";
inline constexpr wchar_t kAboutCaption[] = L"시보랑(v1.8) 제작자에 관하여...";
inline constexpr wchar_t kAboutCloseText[] = L"닫  기";
inline constexpr wchar_t kIntervalSwitchText[] = L"일정한 시간마다 시간 말하기";
inline constexpr wchar_t kMemoSwitchText[] = L"정해진 시간에 특정 메모 보여주기";
inline constexpr wchar_t kRunText[] = L"작동 하기[&R]";
inline constexpr int kMessageBoxTextId = 0xFFFF;  // the static that holds a message box's text

// The window comes up this far left of and above the primary screen's bottom-right corner.
inline constexpr int kCornerFromRight = 330;
inline constexpr int kCornerFromBottom = 248;

// Points inside the windowless controls on the title panel, in panel coordinates.
inline constexpr POINT kTitleLabelPoint{5 + 6, 4 + 6};
inline constexpr POINT kQuestionButtonPoint{239 + 8, 4 + 7};
inline constexpr POINT kCloseButtonPoint{256 + 8, 4 + 7};

// A shown or hidden window, a box, a keystroke: each is a matter of milliseconds.
inline constexpr auto kStateTimeout = 10s;
inline constexpr auto kTypingTimeout = 5s;

// Wine's own tray when no desktop tray can take the icons; absent elsewhere.
struct WineTray {
    const wchar_t* window;  // the tray's top-level window
    const wchar_t* icon;    // the child that shows one icon
};
// Wine 8's stand-alone tray; Wine 10 shows the icons in its own Shell_TrayWnd, which on Windows
// is the taskbar and holds no such children.
inline constexpr WineTray kWineTrays[] = {{L"__winex11_standalone_tray", L"__winex11_tray_icon"},
                                          {L"Shell_TrayWnd", L"__wine_tray_icon"}};

// ---------------------------------------------------------------------------------------------
// Windows of another process

// Sent, not posted: returns once the window's thread has taken everything sent before it.
bool Answers(HWND window, UINT timeoutMs = 5000);

// The text as the control itself holds it (an edit's text lives in the edit).
std::wstring TextOf(HWND window);

std::wstring CaptionOf(HWND window);

std::string ClassOf(HWND window);

RECT RectOf(HWND window);

POINT TopLeftOf(HWND window);

std::string Describe(POINT p);

std::string Describe(HWND window);

bool Topmost(HWND window);

RECT VirtualScreen();

// Where a tray click puts `window` on this screen: higher only where this system's title bars
// made it taller than the corner leaves room for.
POINT Corner(HWND window);

std::vector<HWND> TopLevelWindowsOf(DWORD pid);

// Every window of the process, children included.
std::size_t WindowCountOf(DWORD pid);

// A visible top-level window of the process of this class.
HWND VisibleWindowOf(const wchar_t* className, DWORD pid);

using siborang::probes::ShellHolds;

// Until `done` holds or time runs out; the window answering a sent message in between lets
// whatever was posted to it before be handled.
template <class Predicate>
bool WaitUntil(HWND window, Predicate done, Clock::duration timeout = kStateTimeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (window) Answers(window);
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
}

// ---------------------------------------------------------------------------------------------
// Input through the system's input path, as from the keyboard and the mouse

bool SendKey(WORD vk, bool up);

bool TapKeys(std::initializer_list<WORD> keys);

// The keys pressed in order and let go in reverse, as a chord.
bool PressChord(std::initializer_list<WORD> keys);

// A left click where the cursor is put first.
bool RealClick(POINT screen);

// Runs xdotool with `args` and waits until it is done; true when it did what it was told, and
// then `output` holds what it printed. Keys sent so go through the X server as typed ones do,
// to the X window with the input focus.
bool Xdo(const std::wstring& args, std::string* output = nullptr);
// Until the X server gives `window` the input focus, or it is given as a window manager would.
bool XFocusOn(HWND window);
bool XdoAvailable();

// The focus and the active window of the thread that owns `window`, as another program sees them.
GUITHREADINFO GuiInfoOf(HWND window);
HWND FocusOf(HWND window);
HWND ActiveOf(HWND window);

// ---------------------------------------------------------------------------------------------
// Tockly.ini as the clock left it

std::string SettingOf(const char* key);

// ---------------------------------------------------------------------------------------------
// What the process holds, as far as another process can count it

struct Usage {
    std::size_t handles = 0;
    SIZE_T privateBytes = 0;
    std::size_t windows = 0;
};

// GetProcessHandleCount where it counts (Wine answers 0 and success); the handle table else.
Usage UsageOf(HANDLE process, DWORD pid, std::string& handleSource);

// The GDI and USER objects a started SiborangCounted.exe holds, as it counts them; nullopt when
// no counted build runs.
std::optional<LONG> CountedGdiObjects();

// ---------------------------------------------------------------------------------------------
// The fixture: one started clock and its windows

class MainWindowTest : public ProcessTest {
protected:
    void TearDown() override {
        // The clock goes before the settings file it may still be writing.
        clock_.reset();
        ProcessTest::TearDown();
    }

    // Starts the clock and finds its windows; fails the test when any is missing.
    void Start(bool traceSound = false, bool traceText = false);

    DWORD Pid() const { return clock_->Id(); }

    // What the shell posts for a left click on the icon.
    bool ClickTray() const { return ::PostMessageW(tray_, kTrayCallback, 0, WM_LBUTTONUP) != FALSE; }

    // Shown means on the screen: from the start the window is visible, but far off it.
    bool OnScreen() const {
        RECT overlap;
        const RECT rc = RectOf(form_), screen = VirtualScreen();
        return ::IsWindowVisible(form_) && ::IntersectRect(&overlap, &rc, &screen);
    }
    bool WaitShown(bool shown) const {
        return WaitUntil(form_, [&] { return shown ? OnScreen() : !::IsWindowVisible(form_); });
    }

    // Tray click, then the window on screen.
    void ShowFromTray() {
        ASSERT_TRUE(ClickTray());
        ASSERT_TRUE(WaitShown(true)) << "the tray click did not show the main window; it is " << Describe(form_);
    }

    // The Run button clicked, posted as the click may put up a box that waits for an answer.
    bool ClickRun() const { return ::PostMessageW(run_, BM_CLICK, 0, 0) != FALSE; }

    // A mouse message handled by the title panel before this returns, so that what it did
    // (or did not do) can be seen at once. Not for clicks that open a modal window.
    bool SendToPanel(UINT message, WPARAM wParam, LPARAM lParam) const {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(panel_, message, wParam, lParam, SMTO_BLOCK, 5000, &ignored) != 0;
    }

    // A press and release on the title panel at a point in its own coordinates, posted as the
    // click may open a modal window.
    bool ClickPanel(POINT at) const {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        return ::PostMessageW(panel_, WM_LBUTTONDOWN, MK_LBUTTON, where) &&
               ::PostMessageW(panel_, WM_LBUTTONUP, 0, where);
    }

    // The clock in front and the interval box holding the caret, by a click into it.
    void FocusIntervalBoxByClick();

    // Replaces the interval box's text by typing, as over a selection of all of it.
    void TypeIntoIntervalBox(std::wstring_view letters);

    struct SeenBox {
        HWND hwnd = nullptr;
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
    };

    // The standard error box of the clock, once it is up.
    std::optional<SeenBox> WaitForErrorBox() const;

    // What a box of the clock that is up says, for failure messages.
    std::string BoxNote() const;

    // Answers the box with OK, as its button would, and waits until it is gone.
    bool AnswerBox(HWND box) const;

    std::wstring startDir_;  // where the clock starts (and finds PostIt.dat); empty: workDir_
    std::wstring exe_;       // the program started; empty: the one under test
    std::optional<SiborangProcess> clock_;
    HWND form_ = nullptr;
    HWND app_ = nullptr;
    HWND tray_ = nullptr;
    HWND panel_ = nullptr;
    HWND group_ = nullptr;
    HWND run_ = nullptr;
    HWND hotKeyBox_ = nullptr;
    HWND intervalSwitch_ = nullptr;
    HWND memoSwitch_ = nullptr;
    HWND interval_ = nullptr;
};

}  // namespace siborang::process_tests
