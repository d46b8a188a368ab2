#pragma once
// What the process-level tests share: the clock started as the shell would start it, the
// windows and the hotkey as another program sees them, the settings file kept out of the
// way, the winmm trace of the clips played, and the fixture every test starts from.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/common/Folders.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang::process_tests {

namespace probes = siborang::probes;

using win::FileHandle;
using win::KernelHandle;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// From the command line (see main() in ProcessSupport.cpp).
extern std::wstring g_exePath;
extern std::wstring g_tracePath;  // empty: no trace; what only the trace shows goes unchecked

inline constexpr wchar_t kFormClass[] = L"TForm1";
inline constexpr wchar_t kAppClass[] = L"TApplication";
inline constexpr wchar_t kAppTitle[] = L"\uC2DC\uBCF4\uB791";
inline constexpr wchar_t kMarkerName[] = L"SharedHandle";

// Wine start-up is a second or two; these leave room for a loaded machine.
inline constexpr auto kWindowTimeout = 20s;
inline constexpr auto kCloseTimeout = 15s;  // Wine's tray clean-up alone can take two seconds
inline constexpr auto kHotKeyTimeout = 5s;
inline constexpr auto kClipTimeout = 15s;
inline constexpr auto kForeignInstanceTimeout = 30s;

std::wstring ToWindowsPath(std::wstring path);
using probes::SettingsPath;

// ---------------------------------------------------------------------------------------------
// Files and directories

struct FileState {
    bool exists = false;
    ULONGLONG size = 0;
    ULONGLONG lastWrite = 0;
    bool operator==(const FileState&) const = default;
};

void PrintTo(const FileState& state, std::ostream* os);
FileState StateOf(const std::wstring& path);
std::vector<std::wstring> Entries(const std::wstring& dir);
std::string Joined(const std::vector<std::wstring>& names);

// A fresh, empty directory under the temporary folder; removed with whatever ended up in it.
using TempDir = probes::TempFolder;

// ---------------------------------------------------------------------------------------------
// Windows and the hotkey as another program sees them

struct FoundWindow {
    HWND hwnd;
    DWORD pid;
};

std::vector<FoundWindow> TopLevelWindows(const wchar_t* className);
HWND WindowOf(const wchar_t* className, DWORD pid);

// What the system answers when this process asks for Ctrl+Alt+W: 0 when it was free.
DWORD ProbeDefaultHotKey();
// The hotkey is registered at the end of the window's creation, so give it a moment.
DWORD ProbeUntil(DWORD wanted, Clock::duration timeout);

// ---------------------------------------------------------------------------------------------
// An environment variable changed for the children started within one scope

class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

// ---------------------------------------------------------------------------------------------
// One started Siborang.exe. Whatever a test does, the instance is gone when this is: a stray
// clock would hold the marker and the hotkey and spoil every later test.

class SiborangProcess {
public:
    // With traceSound Wine's winmm trace shows the clips it plays; with traceText its text
    // trace shows every DrawText call, so the texts of windowless labels can be read.
    // exePath: another copy of the program than the one under test.
    explicit SiborangProcess(const std::wstring& workDir, bool traceSound = false, bool traceText = false,
                             const std::wstring& exePath = {});
    ~SiborangProcess() { Stop(); }
    SiborangProcess(const SiborangProcess&) = delete;
    SiborangProcess& operator=(const SiborangProcess&) = delete;

    bool Started() const noexcept { return static_cast<bool>(process_); }
    DWORD StartError() const noexcept { return startError_; }
    DWORD Id() const noexcept { return id_; }
    // For measuring the running process; still owned by this object.
    HANDLE ProcessHandle() const noexcept { return process_.Get(); }

    bool Running() const { return Started() && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

    HWND Form() const { return WindowOf(kFormClass, id_); }
    HWND AppWindow() const { return WindowOf(kAppClass, id_); }

    // The main window, once it exists; nullptr when the process ended or time ran out first.
    HWND WaitForForm(Clock::duration timeout = kWindowTimeout) const;
    // Main window found and the message loop entered: start-up is over.
    HWND WaitUntilReady() const;
    std::optional<DWORD> WaitForExit(Clock::duration timeout) const;

    // Follows a process that is expected to end on its own, noting every window of its
    // that shows up on the way.
    struct Ending {
        std::optional<DWORD> exitCode;
        bool hadForm = false;
        bool hadAppWindow = false;
    };
    Ending WatchUntilExit(Clock::duration timeout) const;

    bool PostToForm(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Asks the clock to close as its own close box would; ends it by force if that fails.
    void Stop();

private:
    KernelHandle process_;
    KernelHandle thread_;
    DWORD id_ = 0;
    DWORD startError_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Wine's trace in the shared stderr file

// The complete lines written after `offset` that hold `marker`; with `thread`, only those that
// Windows thread wrote (Wine puts its id in hex in front of every line).
std::vector<std::string> TraceLinesSince(const std::wstring& path, ULONGLONG offset, std::string_view marker,
                                         std::optional<DWORD> thread = std::nullopt);

// The clip names of the winmm trace

struct PlayedClip {
    std::string name;
    std::optional<DWORD> thread;  // the Windows thread id Wine puts in front of each line
};

std::vector<std::string> Names(const std::vector<PlayedClip>& clips);
std::string Joined(const std::vector<std::string>& names);

class SoundTrace {
public:
    static constexpr std::string_view kMarker = "proc_PlaySound SoundName=L\"";

    explicit SoundTrace(std::wstring path) : path_(std::move(path)) {}

    ULONGLONG Size() const { return StateOf(path_).size; }

    // The clips asked for in the complete lines written after `offset`, in order.
    std::vector<PlayedClip> ClipsSince(ULONGLONG offset) const;

private:
    std::wstring path_;
};

// ---------------------------------------------------------------------------------------------
// Every test runs without a settings file, so the defaults (Ctrl+Alt+W) apply. Whatever
// Tockly.ini there was is put back at the end of the run.

class SettingsFileAside : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    std::wstring path_;
    std::optional<std::string> saved_;
};

class ProcessTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static bool MarkerHeld();
    static bool OtherInstancePresent() { return MarkerHeld() || !TopLevelWindows(kFormClass).empty(); }

    TempDir workDir_;
};

}  // namespace siborang::process_tests
