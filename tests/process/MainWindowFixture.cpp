// The main window fixture's helpers: what another process sees of the clock's windows, the
// input it sends them, and what the clock holds.
#include "tests/process/MainWindowFixture.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <iterator>
#include <sstream>

#include "tests/process/GdiCount.h"

#include <psapi.h>
#include <winternl.h>

namespace siborang::process_tests {

namespace {

// The process's entries in the system's handle table, as NtQuerySystemInformation lays them out.
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
std::optional<std::size_t> HandleTableCount(DWORD pid);

// nullopt when the table cannot be read.
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

}  // namespace

bool Answers(HWND window, UINT timeoutMs) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

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

POINT Corner(HWND window) {
    const RECT rc = RectOf(window);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    return {::GetSystemMetrics(SM_CXSCREEN) - kCornerFromRight,
            std::min(screenHeight - kCornerFromBottom, screenHeight - static_cast<int>(rc.bottom - rc.top))};
}

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
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

std::size_t WindowCountOf(DWORD pid) {
    std::size_t count = 0;
    for (HWND top : TopLevelWindowsOf(pid)) {
        ++count;
        ::EnumChildWindows(
            top, [](HWND, LPARAM param) CALLBACK -> BOOL { return ++*reinterpret_cast<std::size_t*>(param), TRUE; },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

HWND VisibleWindowOf(const wchar_t* className, DWORD pid) {
    for (const auto& w : TopLevelWindows(className)) {
        if (w.pid == pid && ::IsWindowVisible(w.hwnd)) return w.hwnd;
    }
    return nullptr;
}

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

bool PressChord(std::initializer_list<WORD> keys) {
    bool sent = true;
    for (WORD vk : keys) sent = SendKey(vk, false) && sent;
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) sent = SendKey(*it, true) && sent;
    return sent;
}

bool RealClick(POINT screen) {
    if (!::SetCursorPos(screen.x, screen.y)) return false;
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// Wine starts a Unix program without a handle to wait on, so a shell around it leaves a file
// behind when it ends: the output, then the status.
bool Xdo(const std::wstring& args, std::string* output) {
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

bool XdoAvailable() { return ::GetFileAttributesW(L"Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES; }

GUITHREADINFO GuiInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) info = GUITHREADINFO{};
    return info;
}

HWND FocusOf(HWND window) { return GuiInfoOf(window).hwndFocus; }

HWND ActiveOf(HWND window) { return GuiInfoOf(window).hwndActive; }

std::string SettingOf(const char* key) {
    const std::string path = Narrow(SettingsPath());
    // This process's profile cache may still hold what an earlier test saw there.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    char buffer[256] = {};
    const DWORD n = ::GetPrivateProfileStringA("TOCKLY", key, "(missing)", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, n);
}


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
    usage.windows = WindowCountOf(pid);
    return usage;
}

std::optional<LONG> CountedGdiObjects() {
    const KernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, kGdiCountMapping));
    if (!mapping) return std::nullopt;
    const auto* count = static_cast<const LONG*>(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(LONG)));
    if (!count) return std::nullopt;
    const LONG value = *count;
    ::UnmapViewOfFile(count);
    return value;
}

void MainWindowTest::Start(bool traceSound, bool traceText) {
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

void MainWindowTest::FocusIntervalBoxByClick() {
    ::SetForegroundWindow(form_);
    const RECT rc = RectOf(interval_);
    ASSERT_TRUE(RealClick({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2})) << "SendInput refused the click";
    ASSERT_TRUE(WaitUntil(form_, [&] { return FocusOf(form_) == interval_; }, kTypingTimeout))
        << "the click did not put the caret into the interval box; the focus is on "
        << (FocusOf(form_) ? Describe(FocusOf(form_)) : std::string("nothing"));
}

void MainWindowTest::TypeIntoIntervalBox(std::wstring_view letters) {
    ASSERT_TRUE(TapKeys({VK_HOME}));
    ASSERT_TRUE(PressChord({VK_SHIFT, VK_END}));
    for (wchar_t c : letters) ASSERT_TRUE(TapKeys({static_cast<WORD>(::towupper(c))}));
    ASSERT_TRUE(WaitUntil(form_, [&] { return TextOf(interval_) == letters; }, kTypingTimeout))
        << "typed \"" << Narrow(letters) << "\", the box holds \"" << Narrow(TextOf(interval_)) << "\"";
}

std::optional<MainWindowTest::SeenBox> MainWindowTest::WaitForErrorBox() const {
    HWND box = nullptr;
    if (!WaitUntil(nullptr, [&] { return (box = VisibleWindowOf(L"#32770", Pid())) != nullptr; }))
        return std::nullopt;
    Answers(box);
    HWND text = ::GetDlgItem(box, kMessageBoxTextId);
    return SeenBox{box, CaptionOf(box), text ? TextOf(text) : std::wstring(), ::GetWindow(box, GW_OWNER)};
}

std::string MainWindowTest::BoxNote() const {
    HWND box = VisibleWindowOf(L"#32770", Pid());
    if (!box) return "; no box of the clock is up";
    HWND text = ::GetDlgItem(box, kMessageBoxTextId);
    return "; a box of the clock says \"" + Narrow(text ? TextOf(text) : std::wstring()) + "\"";
}

bool MainWindowTest::AnswerBox(HWND box) const {
    const bool gone = ::PostMessageW(box, WM_COMMAND, IDOK, 0) &&
                      WaitUntil(form_, [&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
    // Answered outside the box's own loop: the handler that put it up has returned.
    Answers(form_);
    return gone;
}

}  // namespace siborang::process_tests
