#pragma once
// The main window of a started clock as the shell and a user see it from outside: its
// windows and controls found by class and caption, input sent as the mouse and keyboard
// would, the error boxes, and what the process holds. Shared by the tests of the main window
// and of the memo notes it raises.
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
#include "tests/process/GdiCount.h"
#include "tests/process/ProcessSupport.h"
#include "win/Handles.h"
#include "win/Text.h"
#include "win/Win32.h"

#include <psapi.h>
#include <winternl.h>

// Not declared by the MinGW headers, though user32 exports it.
extern "C" __declspec(dllimport) DWORD WINAPI GetGuiResources(HANDLE process, DWORD flags);

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
inline bool Answers(HWND window, UINT timeoutMs = 5000) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

// The text as the control itself holds it (an edit's text lives in the edit).
inline std::wstring TextOf(HWND window) {
    wchar_t buffer[512] = {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, &length))
        return {};
    return std::wstring(buffer, std::min<std::size_t>(length, 511));
}

inline std::wstring CaptionOf(HWND window) {
    wchar_t buffer[512] = {};
    const int n = ::GetWindowTextW(window, buffer, 512);
    return std::wstring(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

inline std::string ClassOf(HWND window) {
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    return Narrow(name);
}

inline RECT RectOf(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc;
}

inline POINT TopLeftOf(HWND window) {
    const RECT rc = RectOf(window);
    return {rc.left, rc.top};
}

inline std::string Describe(POINT p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

inline std::string Describe(HWND window) {
    const RECT rc = RectOf(window);
    std::ostringstream out;
    out << ClassOf(window) << " \"" << Narrow(CaptionOf(window)) << "\" at " << rc.left << "," << rc.top << " - "
        << rc.right << "," << rc.bottom;
    return out.str();
}

inline bool Topmost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

inline RECT VirtualScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Where a tray click puts `window` on this screen: higher only where this system's title bars
// made it taller than the corner leaves room for.
inline POINT Corner(HWND window) {
    const RECT rc = RectOf(window);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    return {::GetSystemMetrics(SM_CXSCREEN) - kCornerFromRight,
            std::min(screenHeight - kCornerFromBottom, screenHeight - static_cast<int>(rc.bottom - rc.top))};
}

inline std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
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
inline std::size_t WindowCountOf(DWORD pid) {
    std::size_t count = 0;
    for (HWND top : TopLevelWindowsOf(pid)) {
        ++count;
        ::EnumChildWindows(
            top, [](HWND, LPARAM param) CALLBACK -> BOOL { return ++*reinterpret_cast<std::size_t*>(param), TRUE; },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// A visible top-level window of the process of this class.
inline HWND VisibleWindowOf(const wchar_t* className, DWORD pid) {
    for (const auto& w : TopLevelWindows(className)) {
        if (w.pid == pid && ::IsWindowVisible(w.hwnd)) return w.hwnd;
    }
    return nullptr;
}

using siborang::probes::ShellHolds;

// Until `done` holds or time runs out; the window answering a sent message in between lets
// whatever was posted to it before be handled.
template <class Predicate>
inline bool WaitUntil(HWND window, Predicate done, Clock::duration timeout = kStateTimeout) {
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

inline bool SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return ::SendInput(1, &input, sizeof input) == 1;
}

inline bool TapKeys(std::initializer_list<WORD> keys) {
    bool sent = true;
    for (WORD vk : keys) sent = SendKey(vk, false) && SendKey(vk, true) && sent;
    return sent;
}

// The keys pressed in order and let go in reverse, as a chord.
inline bool PressChord(std::initializer_list<WORD> keys) {
    bool sent = true;
    for (WORD vk : keys) sent = SendKey(vk, false) && sent;
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) sent = SendKey(*it, true) && sent;
    return sent;
}

// A left click where the cursor is put first.
inline bool RealClick(POINT screen) {
    if (!::SetCursorPos(screen.x, screen.y)) return false;
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// The focus and the active window of the thread that owns `window`, as another program sees them.
inline GUITHREADINFO GuiInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) info = GUITHREADINFO{};
    return info;
}
inline HWND FocusOf(HWND window) { return GuiInfoOf(window).hwndFocus; }
inline HWND ActiveOf(HWND window) { return GuiInfoOf(window).hwndActive; }

// ---------------------------------------------------------------------------------------------
// Tockly.ini as the clock left it

inline std::string SettingOf(const char* key) {
    const std::string path = Narrow(SettingsPath());
    // This process's profile cache may still hold what an earlier test saw there.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    char buffer[256] = {};
    const DWORD n = ::GetPrivateProfileStringA("TOCKLY", key, "(missing)", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, n);
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
inline constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
inline constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

// The process's entries in the system's handle table; nullopt when it cannot be read.
inline std::optional<std::size_t> HandleTableCount(DWORD pid) {
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
    std::size_t windows = 0;
};

// GetProcessHandleCount where it counts (Wine answers 0 and success); the handle table else.
inline Usage UsageOf(HANDLE process, DWORD pid, std::string& handleSource) {
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
    usage.windows = WindowCountOf(pid);
    return usage;
}

// The GDI and USER objects a started SiborangCounted.exe holds, as it counts them; nullopt when
// no counted build runs.
inline std::optional<LONG> CountedGdiObjects() {
    const KernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, kGdiCountMapping));
    if (!mapping) return std::nullopt;
    const auto* count = static_cast<const LONG*>(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(LONG)));
    if (!count) return std::nullopt;
    const LONG value = *count;
    ::UnmapViewOfFile(count);
    return value;
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
    void Start(bool traceSound = false, bool traceText = false) {
        clock_.emplace(startDir_.empty() ? workDir_.Path() : startDir_, traceSound, traceText, exe_);
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
