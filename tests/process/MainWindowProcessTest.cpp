// Drives the started clock's main window, tray icon and about dialog from outside, as the
// shell and a user at the mouse and keyboard would: the tray click that brings the window to
// the corner, dragging it, Run, the interval box, the error boxes, "?" and "X"; and watches
// the process for leaks over many show-and-run cycles.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwctype>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/common/ShellProbe.h"
#include "speech/ClipSequence.h"
#include "tests/process/ProcessSupport.h"
#include "win/Handles.h"
#include "win/Text.h"
#include "win/Win32.h"

#include <psapi.h>
#include <winternl.h>

// Not declared by the MinGW headers, though user32 exports it.
extern "C" __declspec(dllimport) DWORD WINAPI GetGuiResources(HANDLE process, DWORD flags);

namespace {

using namespace siborang::process_tests;
using siborang::win::Narrow;

constexpr wchar_t kTrayClass[] = L"TTrayIconWindow";
constexpr UINT kTrayCallback = WM_USER + 1;
constexpr wchar_t kAboutClass[] = L"TForm4";
constexpr wchar_t kAboutCaption[] = L"시보랑(v1.8) 제작자에 관하여...";
constexpr wchar_t kAboutCloseText[] = L"닫  기";
constexpr wchar_t kIntervalSwitchText[] = L"일정한 시간마다 시간 말하기";
constexpr wchar_t kMemoSwitchText[] = L"정해진 시간에 특정 메모 보여주기";
constexpr wchar_t kRunText[] = L"작동 하기[&R]";
constexpr int kMessageBoxTextId = 0xFFFF;  // the static that holds a message box's text

// The window comes up this far left of and above the primary screen's bottom-right corner.
constexpr int kCornerFromRight = 330;
constexpr int kCornerFromBottom = 248;

// Points inside the windowless controls on the title panel, in panel coordinates.
constexpr POINT kTitleLabelPoint{5 + 6, 4 + 6};
constexpr POINT kQuestionButtonPoint{239 + 8, 4 + 7};
constexpr POINT kCloseButtonPoint{256 + 8, 4 + 7};

// A shown or hidden window, a box, a keystroke: each is a matter of milliseconds.
constexpr auto kStateTimeout = 10s;
constexpr auto kTypingTimeout = 5s;

// Wine's own tray when no desktop tray can take the icons; absent elsewhere.
constexpr wchar_t kWineTrayClass[] = L"__winex11_standalone_tray";
constexpr wchar_t kWineTrayIconClass[] = L"__winex11_tray_icon";

// ---------------------------------------------------------------------------------------------
// Windows of another process

// Sent, not posted: returns once the window's thread has taken everything sent before it.
bool Answers(HWND window, UINT timeoutMs = 5000) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

// The text as the control itself holds it (an edit's text lives in the edit).
std::wstring TextOf(HWND window) {
    wchar_t buffer[512] = {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, &length))
        return {};
    return std::wstring(buffer, std::min<std::size_t>(length, 511));
}

std::wstring CaptionOf(HWND window) {
    wchar_t buffer[512] = {};
    const int n = ::GetWindowTextW(window, buffer, 512);
    return std::wstring(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

std::string ClassOf(HWND window) {
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    return Narrow(name);
}

RECT RectOf(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc;
}

POINT TopLeftOf(HWND window) {
    const RECT rc = RectOf(window);
    return {rc.left, rc.top};
}

std::string Describe(POINT p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

std::string Describe(HWND window) {
    const RECT rc = RectOf(window);
    std::ostringstream out;
    out << ClassOf(window) << " \"" << Narrow(CaptionOf(window)) << "\" at " << rc.left << "," << rc.top << " - "
        << rc.right << "," << rc.bottom;
    return out.str();
}

bool Topmost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

RECT VirtualScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Where a tray click puts the window on this screen.
POINT Corner() {
    return {::GetSystemMetrics(SM_CXSCREEN) - kCornerFromRight, ::GetSystemMetrics(SM_CYSCREEN) - kCornerFromBottom};
}

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s.pid) s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Every window of the process, children included.
std::size_t WindowCountOf(DWORD pid) {
    std::size_t count = 0;
    for (HWND top : TopLevelWindowsOf(pid)) {
        ++count;
        ::EnumChildWindows(
            top, [](HWND, LPARAM param) -> BOOL { return ++*reinterpret_cast<std::size_t*>(param), TRUE; },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// A visible top-level window of the process of this class.
HWND VisibleWindowOf(const wchar_t* className, DWORD pid) {
    for (const auto& w : TopLevelWindows(className)) {
        if (w.pid == pid && ::IsWindowVisible(w.hwnd)) return w.hwnd;
    }
    return nullptr;
}

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

bool SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return ::SendInput(1, &input, sizeof input) == 1;
}

bool TapKeys(std::initializer_list<WORD> keys) {
    bool sent = true;
    for (WORD vk : keys) sent = SendKey(vk, false) && SendKey(vk, true) && sent;
    return sent;
}

// The keys pressed in order and let go in reverse, as a chord.
bool PressChord(std::initializer_list<WORD> keys) {
    bool sent = true;
    for (WORD vk : keys) sent = SendKey(vk, false) && sent;
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) sent = SendKey(*it, true) && sent;
    return sent;
}

// A left click where the cursor is put first.
bool RealClick(POINT screen) {
    if (!::SetCursorPos(screen.x, screen.y)) return false;
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// ---------------------------------------------------------------------------------------------
// Tockly.ini as the clock left it

std::string SettingOf(const char* key) {
    const std::string path = Narrow(SettingsPath());
    // This process's profile cache may still hold what an earlier test saw there.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    char buffer[256] = {};
    const DWORD n = ::GetPrivateProfileStringA("TOCKLY", key, "(missing)", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, n);
}

// ---------------------------------------------------------------------------------------------
// Lines of the shared stderr file written by one thread after an offset

std::vector<std::string> TraceLinesSince(const std::wstring& path, ULONGLONG offset, DWORD thread,
                                         std::string_view marker) {
    std::vector<std::string> lines;
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lines;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) return lines;
    std::string text;
    char buffer[8192];
    DWORD n = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
    // Wine puts the writing thread's id in hex in front of every trace line.
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04lx:", static_cast<unsigned long>(thread));
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(text.data() + start, end - start);
        if (line.starts_with(prefix) && line.find(marker) != std::string_view::npos) lines.emplace_back(line);
    }
    return lines;
}

// ---------------------------------------------------------------------------------------------
// What the process holds, as far as another process can count it

struct SystemHandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};
struct SystemHandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    SystemHandleEntry entries[1];
};
constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// The process's entries in the system's handle table; nullopt when it cannot be read.
std::optional<std::size_t> HandleTableCount(DWORD pid) {
    std::vector<unsigned char> buffer(1u << 20);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = ::NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(),
                                                static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch &&
           buffer.size() < (64u << 20))
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    if (status != 0) return std::nullopt;
    const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
    std::size_t count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) count += table->entries[i].processId == pid;
    return count;
}

struct Usage {
    std::size_t handles = 0;
    SIZE_T privateBytes = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    std::size_t windows = 0;
};

// GetProcessHandleCount where it counts (Wine answers 0 and success); the handle table else.
Usage UsageOf(HANDLE process, DWORD pid, std::string& handleSource) {
    Usage usage;
    DWORD handles = 0;
    if (::GetProcessHandleCount(process, &handles) && handles > 0) {
        usage.handles = handles;
        handleSource = "GetProcessHandleCount";
    } else if (const auto counted = HandleTableCount(pid)) {
        usage.handles = *counted;
        handleSource = "the system handle table (GetProcessHandleCount reports 0)";
    } else {
        handleSource = "nothing: neither GetProcessHandleCount nor the handle table answers";
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        usage.privateBytes = memory.PagefileUsage;  // Wine leaves PrivateUsage at zero
    usage.gdiObjects = ::GetGuiResources(process, 0 /* GR_GDIOBJECTS */);
    usage.userObjects = ::GetGuiResources(process, 1 /* GR_USEROBJECTS */);
    usage.windows = WindowCountOf(pid);
    return usage;
}

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
    void Start(bool traceSound = false) {
        clock_.emplace(workDir_.Path(), traceSound);
        ASSERT_TRUE(clock_->Started()) << "CreateProcess failed, error " << clock_->StartError();
        form_ = clock_->WaitUntilReady();
        ASSERT_NE(form_, nullptr) << "no TForm1 window of the new process appeared";
        // Start-up is over once the hotkey is registered, the last thing it does.
        ASSERT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
            << "Ctrl+Alt+W is not held after start-up";
        app_ = clock_->AppWindow();
        ASSERT_NE(app_, nullptr) << "no TApplication window";
        tray_ = WindowOf(kTrayClass, clock_->Id());
        ASSERT_NE(tray_, nullptr) << "no TTrayIconWindow: the shell has nowhere to report clicks on the icon";

        panel_ = ::FindWindowExW(form_, nullptr, L"TPanel", nullptr);
        group_ = ::FindWindowExW(form_, nullptr, L"TGroupBox", nullptr);
        run_ = ::FindWindowExW(form_, nullptr, L"Button", kRunText);
        ASSERT_NE(panel_, nullptr) << "no title panel";
        ASSERT_NE(group_, nullptr) << "no group box";
        ASSERT_NE(run_, nullptr) << "no Run button";
        hotKeyBox_ = ::FindWindowExW(group_, nullptr, HOTKEY_CLASSW, nullptr);
        intervalSwitch_ = ::FindWindowExW(group_, nullptr, L"Button", kIntervalSwitchText);
        memoSwitch_ = ::FindWindowExW(group_, nullptr, L"Button", kMemoSwitchText);
        interval_ = ::FindWindowExW(group_, nullptr, L"Edit", nullptr);
        ASSERT_NE(hotKeyBox_, nullptr) << "no hotkey box";
        ASSERT_NE(intervalSwitch_, nullptr) << "no interval check box";
        ASSERT_NE(memoSwitch_, nullptr) << "no memo check box";
        ASSERT_NE(interval_, nullptr) << "no interval box";
    }

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
    void FocusIntervalBoxByClick() {
        ::SetForegroundWindow(form_);
        const RECT rc = RectOf(interval_);
        ASSERT_TRUE(RealClick({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2})) << "SendInput refused the click";
        ASSERT_TRUE(WaitUntil(form_, [&] { return FocusOf(form_) == interval_; }, kTypingTimeout))
            << "the click did not put the caret into the interval box; the focus is on "
            << (FocusOf(form_) ? Describe(FocusOf(form_)) : std::string("nothing"));
    }

    // Replaces the interval box's text by typing, as over a selection of all of it.
    void TypeIntoIntervalBox(std::wstring_view letters) {
        ASSERT_TRUE(TapKeys({VK_HOME}));
        ASSERT_TRUE(PressChord({VK_SHIFT, VK_END}));
        for (wchar_t c : letters) ASSERT_TRUE(TapKeys({static_cast<WORD>(::towupper(c))}));
        ASSERT_TRUE(WaitUntil(form_, [&] { return TextOf(interval_) == letters; }, kTypingTimeout))
            << "typed \"" << Narrow(letters) << "\", the box holds \"" << Narrow(TextOf(interval_)) << "\"";
    }

    struct SeenBox {
        HWND hwnd = nullptr;
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
    };

    // The standard error box of the clock, once it is up.
    std::optional<SeenBox> WaitForErrorBox() const {
        HWND box = nullptr;
        if (!WaitUntil(nullptr, [&] { return (box = VisibleWindowOf(L"#32770", Pid())) != nullptr; }))
            return std::nullopt;
        Answers(box);
        HWND text = ::GetDlgItem(box, kMessageBoxTextId);
        return SeenBox{box, CaptionOf(box), text ? TextOf(text) : std::wstring(), ::GetWindow(box, GW_OWNER)};
    }

    // What a box of the clock that is up says, for failure messages.
    std::string BoxNote() const {
        HWND box = VisibleWindowOf(L"#32770", Pid());
        if (!box) return "; no box of the clock is up";
        HWND text = ::GetDlgItem(box, kMessageBoxTextId);
        return "; a box of the clock says \"" + Narrow(text ? TextOf(text) : std::wstring()) + "\"";
    }

    // Answers the box with OK, as its button would, and waits until it is gone.
    bool AnswerBox(HWND box) const {
        const bool gone = ::PostMessageW(box, WM_COMMAND, IDOK, 0) &&
                          WaitUntil(form_, [&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
        // Answered outside the box's own loop: the handler that put it up has returned.
        Answers(form_);
        return gone;
    }

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

using FreshStart = MainWindowTest;
using TrayIcon = MainWindowTest;
using RunButton = MainWindowTest;
using IntervalBox = MainWindowTest;
using TitleButtons = MainWindowTest;
using Leaks = MainWindowTest;

// ---------------------------------------------------------------------------------------------

TEST_F(FreshStart, NothingOnScreenNoTaskbarButtonAndAnIconInTheTray) {
    ASSERT_NO_FATAL_FAILURE(Start());

    // Whatever the process shows stays off every monitor, and none of it would get a
    // taskbar button (one needs an unowned window that is not a tool window, or an app window).
    const RECT screen = VirtualScreen();
    for (HWND w : TopLevelWindowsOf(Pid())) {
        if (!::IsWindowVisible(w)) continue;
        const RECT rc = RectOf(w);
        RECT overlap;
        EXPECT_FALSE(::IntersectRect(&overlap, &rc, &screen)) << Describe(w) << " is on screen";
        const LONG_PTR exStyle = ::GetWindowLongPtrW(w, GWL_EXSTYLE);
        const bool taskbarButton =
            (exStyle & WS_EX_APPWINDOW) || (!::GetWindow(w, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW));
        EXPECT_FALSE(taskbarButton) << Describe(w) << " is visible and would have a taskbar button";
    }
    EXPECT_FALSE(::IsWindowVisible(app_)) << "the TApplication window is visible";
    EXPECT_EQ(::GetWindow(form_, GW_OWNER), app_) << "the main window is not owned by the TApplication window";

    // The icon is in the notification area: the shell holds one for the tray window.
    EXPECT_TRUE(WaitUntil(nullptr, [&] { return ShellHolds(tray_); }, kStateTimeout))
        << "the shell holds no icon of the clock's TTrayIconWindow";
    // And it is seen there: Wine's own tray, when that is where icons go, shows one.
    if (HWND wineTray = ::FindWindowW(kWineTrayClass, nullptr)) {
        EXPECT_TRUE(WaitUntil(nullptr, [&] {
            return ::IsWindowVisible(wineTray) && ::FindWindowExW(wineTray, nullptr, kWineTrayIconClass, nullptr);
        })) << "Wine's system tray shows no icon";
    } else {
        std::printf("[ note     ] no \"Wine System Tray\" window here: the icon was only asked about, not seen\n");
    }
}

TEST_F(TrayIcon, ClickShowsTheWindowAtTheCornerOnTopAndLetsTheHotKeyGo) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());

    const POINT at = TopLeftOf(form_);
    EXPECT_EQ(at.x, Corner().x) << "shown at " << Describe(at) << ", expected " << Describe(Corner());
    EXPECT_EQ(at.y, Corner().y) << "shown at " << Describe(at) << ", expected " << Describe(Corner());
    EXPECT_TRUE(Topmost(form_)) << "the shown window is not topmost";
    RECT overlap;
    const RECT rc = RectOf(form_), screen = VirtualScreen();
    EXPECT_TRUE(::IntersectRect(&overlap, &rc, &screen) && ::EqualRect(&overlap, &rc))
        << Describe(form_) << " is not wholly on the screen";

    // While the window is up the hotkey is let go, so that it can be chosen anew.
    EXPECT_EQ(ProbeDefaultHotKey(), 0u) << "Ctrl+Alt+W is still held while the window is shown";
}

TEST_F(TrayIcon, DraggedAwayTheWindowComesBackToTheCornerOnTheNextClick) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    const POINT corner = Corner();
    ASSERT_EQ(TopLeftOf(form_).x, corner.x);
    ASSERT_EQ(TopLeftOf(form_).y, corner.y);

    // Pressed on the title label, moved in steps, let go: the window follows the cursor.
    const RECT panel = RectOf(panel_);
    const POINT grab{panel.left + kTitleLabelPoint.x, panel.top + kTitleLabelPoint.y};
    const POINT shift{-300, -200};
    const LPARAM onLabel = MAKELPARAM(kTitleLabelPoint.x, kTitleLabelPoint.y);
    // Pressed, and a move with the cursor still there leaves the window where it is. The
    // window was just put under the cursor's old place, and Wine may yet hand the clock that
    // place after the new one: then the press is let go and made again.
    bool pressed = false;
    for (int attempt = 1; attempt <= 3 && !pressed; ++attempt) {
        ASSERT_TRUE(::SetCursorPos(grab.x, grab.y));
        POINT cursor{};
        ASSERT_TRUE(::GetCursorPos(&cursor) && cursor.x == grab.x && cursor.y == grab.y)
            << "the cursor cannot be put where the drag starts";
        std::this_thread::sleep_for(attempt * 50ms);
        ASSERT_TRUE(SendToPanel(WM_LBUTTONDOWN, MK_LBUTTON, onLabel));
        ASSERT_TRUE(SendToPanel(WM_MOUSEMOVE, MK_LBUTTON, onLabel));
        const POINT p = TopLeftOf(form_);
        pressed = p.x == corner.x && p.y == corner.y;
        if (!pressed) {
            ASSERT_TRUE(SendToPanel(WM_LBUTTONUP, 0, onLabel));
            ASSERT_TRUE(ClickTray());
            ASSERT_TRUE(WaitUntil(form_, [&] {
                const POINT back = TopLeftOf(form_);
                return back.x == corner.x && back.y == corner.y;
            }));
        }
    }
    ASSERT_TRUE(pressed) << "pressed on the title label with the cursor held still, the window moved to "
                         << Describe(TopLeftOf(form_));
    for (int step = 1; step <= 3; ++step) {
        const POINT to{grab.x + shift.x * step / 3, grab.y + shift.y * step / 3};
        const POINT expected{corner.x + shift.x * step / 3, corner.y + shift.y * step / 3};
        ASSERT_TRUE(::SetCursorPos(to.x, to.y));
        // Moved again until the window is there: the clock may first be told of the cursor
        // where it was a step before (Wine passes on the display's record of each warp).
        EXPECT_TRUE(WaitUntil(form_, [&] {
            SendToPanel(WM_MOUSEMOVE, MK_LBUTTON, onLabel);
            const POINT p = TopLeftOf(form_);
            return p.x == expected.x && p.y == expected.y;
        })) << "step " << step << ": with the cursor at " << Describe(to) << " the window is at "
            << Describe(TopLeftOf(form_)) << ", expected " << Describe(expected);
    }
    ASSERT_TRUE(SendToPanel(WM_LBUTTONUP, 0, onLabel));
    const POINT dropped{corner.x + shift.x, corner.y + shift.y};

    // Let go, the window no longer follows the cursor.
    ASSERT_TRUE(::SetCursorPos(grab.x + shift.x + 50, grab.y + shift.y + 40));
    ASSERT_TRUE(SendToPanel(WM_MOUSEMOVE, 0, onLabel));
    EXPECT_EQ(TopLeftOf(form_).x, dropped.x) << "the window moved after the button was let go";
    EXPECT_EQ(TopLeftOf(form_).y, dropped.y) << "the window moved after the button was let go";

    // The next tray click puts it back at the corner, wherever it was dragged.
    ASSERT_TRUE(ClickTray());
    EXPECT_TRUE(WaitUntil(form_, [&] {
        const POINT p = TopLeftOf(form_);
        return p.x == corner.x && p.y == corner.y;
    })) << "after the second tray click the window is at " << Describe(TopLeftOf(form_)) << ", expected "
        << Describe(corner);
    EXPECT_TRUE(OnScreen());
}

TEST_F(RunButton, EmptiedHotKeyBoxSavesZeroesRegistersNothingAndHides) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    DWORD_PTR result = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(hotKeyBox_, HKM_SETHOTKEY, 0, 0, SMTO_BLOCK, 5000, &result));
    ASSERT_TRUE(::SendMessageTimeoutW(hotKeyBox_, HKM_GETHOTKEY, 0, 0, SMTO_BLOCK, 5000, &result));
    ASSERT_EQ(result, 0u) << "the hotkey box could not be emptied";

    ASSERT_TRUE(ClickRun());
    ASSERT_TRUE(WaitShown(false)) << "Run did not hide the window; it is " << Describe(form_) << BoxNote();

    EXPECT_EQ(SettingOf("KEY"), "0");
    EXPECT_EQ(SettingOf("VKEY"), "0");
    // The rest as the window showed it.
    EXPECT_EQ(SettingOf("Check1"), "1");
    EXPECT_EQ(SettingOf("Check2"), "1");
    EXPECT_EQ(SettingOf("MINUTE"), "30");
    // Hidden means Run is over, registering included.
    EXPECT_EQ(ProbeDefaultHotKey(), 0u) << "Ctrl+Alt+W was registered though the box was empty";
    EXPECT_TRUE(clock_->Running());
}

TEST_F(RunButton, BothSwitchesOffStillHidesSavesThemAndKeepsTheHotKeySpeaking) {
    // Wine's winmm trace of the clock shows the clips it plays.
    ASSERT_NO_FATAL_FAILURE(Start(/*traceSound=*/true));
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    DWORD_PTR result = 0;
    for (HWND box : {intervalSwitch_, memoSwitch_}) {
        ASSERT_TRUE(::SendMessageTimeoutW(box, BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &result));
        ASSERT_TRUE(::SendMessageTimeoutW(box, BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &result));
        EXPECT_EQ(result, DWORD_PTR{BST_UNCHECKED}) << Narrow(CaptionOf(box)) << " is still checked";
    }
    // The interval has no use without its switch.
    EXPECT_FALSE(::IsWindowEnabled(interval_)) << "the interval box is enabled with its switch off";

    ASSERT_TRUE(ClickRun());
    ASSERT_TRUE(WaitShown(false)) << "Run did not hide the window; it is " << Describe(form_) << BoxNote();
    EXPECT_EQ(SettingOf("Check1"), "0");
    EXPECT_EQ(SettingOf("Check2"), "0");
    EXPECT_EQ(SettingOf("KEY"), "87");
    EXPECT_EQ(SettingOf("VKEY"), "3");
    EXPECT_EQ(SettingOf("MINUTE"), "30");
    ASSERT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
        << "Run with both switches off did not register Ctrl+Alt+W again";

    // Pressed on the keyboard, the hotkey reaches the clock and it starts to speak.
    if (g_tracePath.empty()) {
        std::printf("[ note     ] no trace file given (second argument): the hotkey's clips cannot be seen\n");
        return;
    }
    const SoundTrace trace(g_tracePath);
    const ULONGLONG offset = trace.Size();
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'W'})) << "SendInput refused the keys";
    std::vector<std::string> clips;
    WaitUntil(nullptr, [&] { return !(clips = Names(trace.ClipsSince(offset))).empty(); }, kClipTimeout);
    SYSTEMTIME after;
    ::GetLocalTime(&after);
    ASSERT_FALSE(clips.empty()) << "Ctrl+Alt+W pressed, and the clock played nothing";
    // The minute may turn meanwhile: either reading's first clip is right.
    const auto first = siborang::ClipSequence(before.wHour, before.wMinute).front();
    const auto firstAfter = siborang::ClipSequence(after.wHour, after.wMinute).front();
    EXPECT_TRUE(clips.front() == first || clips.front() == firstAfter)
        << "first clip " << clips.front() << ", expected " << first;
}

TEST_F(IntervalBox, LettersTypedInBecomeThirtyOnLeavingTheBox) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    ASSERT_NO_FATAL_FAILURE(FocusIntervalBoxByClick());
    ASSERT_NO_FATAL_FAILURE(TypeIntoIntervalBox(L"abc"));

    ASSERT_TRUE(TapKeys({VK_TAB}));
    EXPECT_TRUE(WaitUntil(form_, [&] { return TextOf(interval_) == L"30"; }, kTypingTimeout))
        << "after Tab the interval box holds \"" << Narrow(TextOf(interval_)) << "\"";
    EXPECT_NE(FocusOf(form_), interval_) << "Tab left the caret in the interval box";
    EXPECT_TRUE(OnScreen()) << "leaving the interval box closed the window";
}

TEST_F(IntervalBox, AltRWithLettersStillInTheBoxShowsTheErrorAndTheWindowStays) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    ASSERT_NO_FATAL_FAILURE(FocusIntervalBoxByClick());
    ASSERT_NO_FATAL_FAILURE(TypeIntoIntervalBox(L"abc"));

    ASSERT_TRUE(PressChord({VK_MENU, 'R'})) << "SendInput refused the keys";
    const auto box = WaitForErrorBox();
    ASSERT_TRUE(box) << "Alt+R with \"abc\" in the interval box put up no error box; the window is "
                     << (::IsWindowVisible(form_) ? "shown" : "hidden") << ", the box holds \""
                     << Narrow(TextOf(interval_)) << "\"";
    EXPECT_EQ(Narrow(box->text), "'abc' is not a valid integer value.");
    EXPECT_EQ(box->caption, std::wstring(kAppTitle)) << "caption \"" << Narrow(box->caption) << "\"";
    EXPECT_EQ(box->owner, app_) << "the box is not owned by the TApplication window";
    EXPECT_TRUE(OnScreen()) << "the window went away behind the error box";

    ASSERT_TRUE(AnswerBox(box->hwnd)) << "the error box did not go on OK";
    EXPECT_TRUE(OnScreen()) << "the window went away after the error box";
    EXPECT_TRUE(clock_->Running());
}

TEST_F(RunButton, UnwritableSettingsFileShowsTheErrorAndTheWindowStays) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    // Held open here with no sharing, the file cannot be written by anyone else.
    FileHandle held(::CreateFileW(SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held) << "Tockly.ini cannot be held open, error " << ::GetLastError();

    ASSERT_TRUE(ClickRun());
    const auto box = WaitForErrorBox();
    ASSERT_TRUE(box) << "Run with Tockly.ini locked put up no error box; the window is "
                     << (::IsWindowVisible(form_) ? "shown" : "hidden");
    EXPECT_EQ(Narrow(box->text), "Unable to write to Tockly.ini.");
    EXPECT_EQ(box->caption, std::wstring(kAppTitle)) << "caption \"" << Narrow(box->caption) << "\"";
    EXPECT_EQ(box->owner, app_) << "the box is not owned by the TApplication window";
    EXPECT_TRUE(OnScreen()) << "the window went away behind the error box";

    ASSERT_TRUE(AnswerBox(box->hwnd)) << "the error box did not go on OK";
    EXPECT_TRUE(OnScreen()) << "the window went away after the error box";
    // The failed save ended Run before the hotkey was registered again.
    EXPECT_EQ(ProbeDefaultHotKey(), 0u) << "Ctrl+Alt+W was registered though saving failed";
}

TEST_F(TitleButtons, QuestionMarkOpensTheAboutDialogAndTheWindowIsTopmostAgainAfter) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    ASSERT_TRUE(Topmost(form_));

    // Closed once with its button and once with the close message.
    for (const bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "closed with its button" : "closed with WM_CLOSE");
        ASSERT_TRUE(ClickPanel(kQuestionButtonPoint));
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil(nullptr, [&] { return (about = VisibleWindowOf(kAboutClass, Pid())) != nullptr; }))
            << "\"?\" opened no about dialog";
        EXPECT_EQ(CaptionOf(about), std::wstring(kAboutCaption)) << "caption \"" << Narrow(CaptionOf(about)) << "\"";
        // Modal, and in front: the main window gives up being topmost meanwhile.
        EXPECT_FALSE(::IsWindowEnabled(form_)) << "the main window takes input while the about dialog is up";
        EXPECT_FALSE(Topmost(form_) && !Topmost(about)) << "the topmost main window can cover the about dialog";

        if (byButton) {
            HWND close = ::FindWindowExW(about, nullptr, L"Button", kAboutCloseText);
            ASSERT_NE(close, nullptr) << "the about dialog has no close button";
            ASSERT_TRUE(::PostMessageW(close, BM_CLICK, 0, 0));
        } else {
            ASSERT_TRUE(::PostMessageW(about, WM_CLOSE, 0, 0));
        }
        ASSERT_TRUE(WaitUntil(form_, [&] { return !::IsWindow(about) || !::IsWindowVisible(about); }))
            << "the about dialog did not close";
        EXPECT_TRUE(WaitUntil(form_, [&] { return Topmost(form_); })) << "the main window is not topmost again";
        EXPECT_TRUE(::IsWindowEnabled(form_)) << "the main window stays disabled after the about dialog";
        EXPECT_TRUE(OnScreen()) << "the main window went away with the about dialog";
    }
    EXPECT_TRUE(clock_->Running());
}

TEST_F(TitleButtons, XEndsTheProgramTakesTheIconAwayAndFreesTheHotKey) {
    // Wine's trace of the clock's shell calls shows whether it takes its icon back.
    std::optional<ScopedEnvironment> shellTrace;
    if (!g_tracePath.empty()) shellTrace.emplace(L"WINEDEBUG", L"+systray");
    ASSERT_NO_FATAL_FAILURE(Start());
    shellTrace.reset();
    ASSERT_NO_FATAL_FAILURE(ShowFromTray());
    ASSERT_TRUE(WaitUntil(nullptr, [&] { return ShellHolds(tray_); })) << "the shell holds no icon of the clock";
    const DWORD iconThread = ::GetWindowThreadProcessId(tray_, nullptr);
    const ULONGLONG offset = g_tracePath.empty() ? 0 : StateOf(g_tracePath).size;

    ASSERT_TRUE(ClickPanel(kCloseButtonPoint));
    const auto code = clock_->WaitForExit(kCloseTimeout);
    ASSERT_TRUE(code.has_value()) << "the clock is still running after \"X\"";
    EXPECT_EQ(*code, 0u);

    EXPECT_EQ(WindowOf(kTrayClass, Pid()), nullptr) << "the TTrayIconWindow outlived the clock";
    EXPECT_FALSE(ShellHolds(tray_)) << "the icon was left in the notification area";
    EXPECT_EQ(ProbeDefaultHotKey(), 0u) << "Ctrl+Alt+W is still held after the clock ended";
    if (g_tracePath.empty()) {
        std::printf("[ note     ] no trace file given (second argument): the icon's removal cannot be seen\n");
        return;
    }
    // NIM_DELETE is 2.
    const auto deletes = TraceLinesSince(g_tracePath, offset, iconThread, "Shell_NotifyIconW dwMessage = 2,");
    EXPECT_EQ(deletes.size(), 1u) << "the clock asked the shell to delete its icon " << deletes.size() << " times";
}

// Many tray clicks and Runs leave the clock holding no more than after the first few.
TEST_F(Leaks, TrayClickAndRunCyclesKeepHandlesWindowsAndMemoryFlat) {
    // 1,000 cycles take some 20 s under Wine here (about 20 ms each).
    constexpr int kWarmUpCycles = 20;
    constexpr int kCycles = 1000;
    constexpr std::size_t kHandleSlack = 5;
    constexpr SIZE_T kMemorySlack = 256 * 1024;
    constexpr DWORD kGuiObjectSlack = 5;

    ASSERT_NO_FATAL_FAILURE(Start());
    auto cycle = [&](int n) {
        ASSERT_TRUE(ClickTray());
        ASSERT_TRUE(WaitShown(true)) << "cycle " << n << ": the tray click did not show the window";
        ASSERT_TRUE(ClickRun());
        ASSERT_TRUE(WaitShown(false)) << "cycle " << n << ": Run did not hide the window" << BoxNote();
    };
    for (int n = 0; n < kWarmUpCycles; ++n) ASSERT_NO_FATAL_FAILURE(cycle(n));
    std::string handleSource;
    const Usage before = UsageOf(clock_->ProcessHandle(), Pid(), handleSource);

    const auto started = Clock::now();
    for (int n = 0; n < kCycles; ++n) ASSERT_NO_FATAL_FAILURE(cycle(kWarmUpCycles + n));
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const Usage after = UsageOf(clock_->ProcessHandle(), Pid(), handleSource);

    std::printf("[ leaks    ] %d cycles in %.1f s; handles %zu -> %zu (from %s); private bytes %zu -> %zu; "
                "windows %zu -> %zu; GDI objects %lu -> %lu; USER objects %lu -> %lu\n",
                kCycles, seconds, before.handles, after.handles, handleSource.c_str(),
                static_cast<std::size_t>(before.privateBytes), static_cast<std::size_t>(after.privateBytes),
                before.windows, after.windows, static_cast<unsigned long>(before.gdiObjects),
                static_cast<unsigned long>(after.gdiObjects), static_cast<unsigned long>(before.userObjects),
                static_cast<unsigned long>(after.userObjects));

    ASSERT_GT(before.handles, 0u) << "the clock's handles cannot be counted from here (" << handleSource << ")";
    EXPECT_LE(after.handles, before.handles + kHandleSlack) << "handles grew over " << kCycles << " cycles";
    ASSERT_GT(before.privateBytes, 0u) << "the clock's private memory cannot be read from here";
    EXPECT_LE(after.privateBytes, before.privateBytes + kMemorySlack)
        << "private memory grew by " << (after.privateBytes - before.privateBytes) / 1024 << " KiB over " << kCycles
        << " cycles";
    EXPECT_EQ(after.windows, before.windows) << "the number of the clock's windows changed";
    if (before.gdiObjects == 0 && after.gdiObjects == 0 && before.userObjects == 0 && after.userObjects == 0) {
        std::printf("[ note     ] GetGuiResources reports 0 GDI and 0 USER objects (Wine does not count them): "
                    "those two checks are skipped\n");
    } else {
        EXPECT_LE(after.gdiObjects, before.gdiObjects + kGuiObjectSlack) << "GDI objects grew";
        EXPECT_LE(after.userObjects, before.userObjects + kGuiObjectSlack) << "USER objects grew";
    }
    EXPECT_TRUE(clock_->Running());
}

}  // namespace
