#include "tests/process/ProcessSupport.h"

#include <tlhelp32.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cwchar>
#include <mutex>

#include "win/Text.h"

namespace siborang::process_tests {

std::wstring g_exePath;
std::wstring g_tracePath;

std::wstring ToWindowsPath(std::wstring path) {
    if (path.empty() || path.front() != L'/') return path;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return L"Z:" + path;
}

// ---------------------------------------------------------------------------------------------
// Files and directories

void PrintTo(const FileState& state, std::ostream* os) {
    if (!state.exists) {
        *os << "(no file)";
        return;
    }
    *os << state.size << " bytes, written at " << state.lastWrite;
}

FileState StateOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return {};
    return {true, (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
            (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

std::vector<std::wstring> Entries(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.emplace_back(name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Joined(const std::vector<std::wstring>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ", ") + siborang::win::Narrow(n);
    return out.empty() ? "(none)" : out;
}

// ---------------------------------------------------------------------------------------------
// Windows and the hotkey as another program sees them

std::vector<FoundWindow> TopLevelWindows(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        std::vector<FoundWindow> found;
    } search{className, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            wchar_t name[64];
            if (::GetClassNameW(hwnd, name, 64) > 0 && std::wcscmp(name, s.className) == 0) {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                s.found.push_back({hwnd, pid});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WindowOf(const wchar_t* className, DWORD pid) {
    for (const auto& w : TopLevelWindows(className)) {
        if (w.pid == pid) return w.hwnd;
    }
    return nullptr;
}

DWORD ProbeDefaultHotKey() { return probes::HotKeyRefusal(MOD_CONTROL | MOD_ALT, 'W'); }

DWORD ProbeUntil(DWORD wanted, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    DWORD result = ProbeDefaultHotKey();
    while (result != wanted && Clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        result = ProbeDefaultHotKey();
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// An environment variable changed for the children started within one scope

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t buffer[4096];
    const DWORD n = ::GetEnvironmentVariableW(name, buffer, 4096);
    if (n > 0 && n < 4096) old_ = std::wstring(buffer, n);
    ::SetEnvironmentVariableW(name, value);
}

ScopedEnvironment::~ScopedEnvironment() { ::SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }

// ---------------------------------------------------------------------------------------------
// One started Siborang.exe

SiborangProcess::SiborangProcess(const std::wstring& workDir, bool traceSound, bool traceText,
                                 const std::wstring& exePath) {
    std::optional<ScopedEnvironment> trace;
    if (traceSound || traceText)
        trace.emplace(L"WINEDEBUG", traceSound && traceText ? L"+winmm,+text" : traceSound ? L"+winmm" : L"+text");
    const std::wstring& exe = exePath.empty() ? g_exePath : exePath;
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         workDir.c_str(), &si, &pi)) {
        process_.Reset(pi.hProcess);
        thread_.Reset(pi.hThread);
        id_ = pi.dwProcessId;
    } else {
        startError_ = ::GetLastError();
    }
}

HWND SiborangProcess::WaitForForm(Clock::duration timeout) const {
    const auto deadline = Clock::now() + timeout;
    while (Running()) {
        if (HWND form = Form()) return form;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(50ms);
    }
    return nullptr;
}

HWND SiborangProcess::WaitUntilReady() const {
    HWND form = WaitForForm();
    if (form) ::WaitForInputIdle(process_.Get(), 10000);
    return form;
}

std::optional<DWORD> SiborangProcess::WaitForExit(Clock::duration timeout) const {
    if (!Started()) return std::nullopt;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count();
    if (::WaitForSingleObject(process_.Get(), static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.Get(), &code);
    return code;
}

SiborangProcess::Ending SiborangProcess::WatchUntilExit(Clock::duration timeout) const {
    Ending ending;
    const auto deadline = Clock::now() + timeout;
    while (Started()) {
        ending.hadForm = ending.hadForm || Form() != nullptr;
        ending.hadAppWindow = ending.hadAppWindow || AppWindow() != nullptr;
        if (auto code = WaitForExit(2ms)) {
            ending.exitCode = code;
            break;
        }
        if (Clock::now() >= deadline) break;
    }
    return ending;
}

bool SiborangProcess::PostToForm(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND form = Form();
    return form && ::PostMessageW(form, message, wParam, lParam);
}

void SiborangProcess::Stop() {
    if (!Running()) return;
    PostToForm(WM_CLOSE);
    if (WaitForExit(kCloseTimeout)) return;
    ::TerminateProcess(process_.Get(), 1);
    ::WaitForSingleObject(process_.Get(), 5000);
}

// ---------------------------------------------------------------------------------------------
// The clip names Wine's winmm trace shows in the shared stderr file

namespace {

// "0140:trace:winmm:..." -> 0x140
std::optional<DWORD> ThreadOf(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos || colon > 8) return std::nullopt;
    DWORD value = 0;
    for (char c : line.substr(0, colon)) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * 16 + static_cast<DWORD>(digit);
    }
    return value;
}

}  // namespace

std::vector<std::string> Names(const std::vector<PlayedClip>& clips) {
    std::vector<std::string> names;
    for (const auto& c : clips) names.push_back(c.name);
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
    return out.empty() ? "(none)" : out;
}

std::vector<std::string> TraceLinesSince(const std::wstring& path, ULONGLONG offset, std::string_view marker,
                                         std::optional<DWORD> thread) {
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

    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(text.data() + start, end - start);
        if (line.find(marker) == std::string_view::npos) continue;
        if (thread && ThreadOf(line) != thread) continue;
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<PlayedClip> SoundTrace::ClipsSince(ULONGLONG offset) const {
    std::vector<PlayedClip> clips;
    for (const std::string& line : TraceLinesSince(path_, offset, kMarker)) {
        const std::size_t nameStart = line.find(kMarker) + kMarker.size();
        const std::size_t nameEnd = line.find('"', nameStart);
        if (nameEnd == std::string::npos) continue;
        clips.push_back({line.substr(nameStart, nameEnd - nameStart), ThreadOf(line)});
    }
    return clips;
}

// ---------------------------------------------------------------------------------------------
// The settings file set aside for the run, and the fixture

void SettingsFileAside::SetUp() {
    path_ = SettingsPath();
    FileHandle file(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        saved_.emplace();
        char buffer[4096];
        DWORD n = 0;
        while (::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) saved_->append(buffer, n);
        file.Reset();
        ::DeleteFileW(path_.c_str());
    }
}

void SettingsFileAside::TearDown() {
    ::DeleteFileW(path_.c_str());
    if (!saved_) return;
    FileHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.Get(), saved_->data(), static_cast<DWORD>(saved_->size()), &written, nullptr);
}

void ProcessTest::SetUp() {
    // A clock running elsewhere in the same Wine prefix would answer for the one under
    // test; one started by another program's run goes away by itself, so wait a while.
    const auto deadline = Clock::now() + kForeignInstanceTimeout;
    while (OtherInstancePresent() && Clock::now() < deadline) std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(TopLevelWindows(kFormClass).empty()) << "a Siborang main window already exists";
    ASSERT_FALSE(MarkerHeld()) << "something already holds the \"SharedHandle\" mapping";
    ASSERT_FALSE(StateOf(SettingsPath()).exists) << "Tockly.ini could not be set aside";
    ASSERT_TRUE(workDir_.Valid());
}

void ProcessTest::TearDown() {
    // A test that saw a settings file appear has said so; the next one starts without it.
    ::DeleteFileW(SettingsPath().c_str());
}

bool ProcessTest::MarkerHeld() {
    return static_cast<bool>(KernelHandle(::OpenFileMappingW(FILE_MAP_READ, FALSE, kMarkerName)));
}

// ---------------------------------------------------------------------------------------------
// A test that hangs fails by name

namespace {

// Far beyond the longest test (the leak cycles, some 40 s on a busy machine).
constexpr auto kTestDeadline = 150s;

// Every clock this run started, found by name, as the tests start them under several names and
// folders; the test program itself is spared.
void EndStartedClocks() {
    const KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId() || ::_wcsnicmp(entry.szExeFile, L"Siborang", 8) != 0)
            continue;
        if (const KernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)); process)
            ::TerminateProcess(process.Get(), 1);
    }
}

// A wait that never ends (Wine has been seen to stop answering a program now and then) would
// hold the whole run until ctest's timeout and say nothing of where: past its deadline the
// running test is reported failed in GoogleTest's own words, which the test script reads to
// run it again, and the program ends with the clocks it started.
class Watchdog final : public testing::EmptyTestEventListener {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() override {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

private:
    void OnTestStart(const testing::TestInfo& test) override {
        const std::lock_guard lock(mutex_);
        running_ = std::string(test.test_suite_name()) + "." + test.name();
        started_ = Clock::now();
    }
    void OnTestEnd(const testing::TestInfo&) override {
        const std::lock_guard lock(mutex_);
        running_.clear();
    }

    void Watch() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, 1s, [&] { return stop_; })) {
            const auto spent = Clock::now() - started_;
            if (running_.empty() || spent < kTestDeadline) continue;
            std::printf("[ hung     ] no end after %lld s\n[  FAILED  ] %s (%lld ms)\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(spent).count()),
                        running_.c_str(),
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count()));
            std::fflush(stdout);
            EndStartedClocks();
            ::TerminateProcess(::GetCurrentProcess(), 1);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::string running_;
    Clock::time_point started_;
    std::thread thread_;  // last: it runs on the members above
};

}  // namespace

}  // namespace siborang::process_tests

// Usage: SiborangProcessTests.exe EXE [TRACEFILE]
//   EXE        Siborang.exe, as a Windows path or a unix path (read through drive Z:).
//   TRACEFILE  the file this program's stderr goes to; the clock is started with Wine's
//              winmm trace on, which lands there, to see which clips it asks PlaySound for.
int main(int argc, char** argv) {
    using namespace siborang::process_tests;
    testing::InitGoogleTest(&argc, argv);

    // The wide command line, so that the paths keep every character; GoogleTest's own flags
    // are left out.
    int wargc = 0;
    LPWSTR* wargv = ::CommandLineToArgvW(::GetCommandLineW(), &wargc);
    std::vector<std::wstring> args;
    for (int i = 1; wargv && i < wargc; ++i) {
        if (std::wstring_view(wargv[i]).starts_with(L"--gtest_")) continue;
        args.emplace_back(wargv[i]);
    }
    ::LocalFree(wargv);
    if (args.empty()) {
        std::printf("usage: SiborangProcessTests.exe SIBORANG_EXE [TRACE_FILE]\n");
        return 2;
    }
    g_exePath = ToWindowsPath(args[0]);
    if (args.size() > 1) g_tracePath = ToWindowsPath(args[1]);

    testing::AddGlobalTestEnvironment(new SettingsFileAside);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return RUN_ALL_TESTS();
}
