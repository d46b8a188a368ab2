// A copy of the clock in a folder where someone has planted libraries under the names of
// system libraries that are not KnownDLLs (as a browser's Downloads folder may hold them), with
// Wine preferring such a library the way Windows' search order does (process-tests.sh sets
// WINEDLLOVERRIDES): none of them may be loaded while the clock starts, holds its hotkey and
// speaks, beyond what the system's own libraries load by themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "tests/process/ProcessSupport.h"
#include "win/Text.h"

namespace {

using namespace siborang::process_tests;
using siborang::win::Narrow;

constexpr const wchar_t* kPlanted[] = {L"winmm.dll", L"comctl32.dll", L"version.dll", L"uxtheme.dll"};
constexpr wchar_t kMarkerSuffix[] = L".loaded";

std::wstring Lower(std::wstring name) {
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return ::towlower(c); });
    return name;
}

// The planted libraries that left their marker in `dir`, lower-cased.
std::vector<std::wstring> LoadedFrom(const std::wstring& dir) {
    std::vector<std::wstring> loaded;
    for (auto name : Entries(dir)) {
        if (!name.ends_with(kMarkerSuffix)) continue;
        name.resize(name.size() - std::size(kMarkerSuffix) + 1);
        loaded.push_back(Lower(name));
    }
    std::sort(loaded.begin(), loaded.end());
    return loaded;
}

// What the system's own libraries load whatever a program does: the planted names already
// loaded in this process, which asks for none of them. Nothing on Windows, where they are
// KnownDLLs importing KnownDLLs; under Wine 8 version.dll, which its user32 imports; nothing
// under Wine 10.
std::vector<std::wstring> LoadedBySystem() {
    std::vector<std::wstring> loaded;
    for (const wchar_t* library : kPlanted) {
        if (::GetModuleHandleW(library)) loaded.push_back(Lower(library));
    }
    std::sort(loaded.begin(), loaded.end());
    return loaded;
}

// Whether a planted library is loaded at all when asked for by its path: under Wine only
// when told to prefer it (process-tests.sh), or Wine would take its own and the clock's
// freedom from planted libraries would prove nothing. One this process has not loaded yet, so
// that the name does not just find the loaded one.
::testing::AssertionResult PlantedLibrariesAreSeen(const std::wstring& planted, const std::wstring& dir) {
    const std::vector<std::wstring> loaded = LoadedBySystem();
    const wchar_t* probe = nullptr;
    for (const wchar_t* library : kPlanted) {
        if (std::find(loaded.begin(), loaded.end(), Lower(library)) == loaded.end()) {
            probe = library;
            break;
        }
    }
    if (!probe) return ::testing::AssertionFailure() << "every planted name is loaded here already";
    const std::wstring copy = dir + L"\\" + probe;
    if (!::CreateDirectoryW(dir.c_str(), nullptr) || !::CopyFileW((planted + probe).c_str(), copy.c_str(), FALSE))
        return ::testing::AssertionFailure() << "cannot copy " << Narrow(probe) << " into " << Narrow(dir);
    const HMODULE module = ::LoadLibraryW(copy.c_str());
    const bool marked = ::GetFileAttributesW((copy + kMarkerSuffix).c_str()) != INVALID_FILE_ATTRIBUTES;
    if (module) ::FreeLibrary(module);
    if (marked) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the planted " << Narrow(probe) << " was not loaded even by its path"
                                         << " (under Wine, run through scripts/process-tests.sh, which tells Wine to prefer it)";
}

using PlantedLibraries = ProcessTest;

TEST_F(PlantedLibraries, NoneIsLoadedWhileTheClockStartsHoldsItsHotKeyAndSpeaks) {
    // The build puts the planted libraries in planted\ beside this test program.
    wchar_t self[MAX_PATH];
    const std::wstring tests(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    const std::wstring planted = tests.substr(0, tests.find_last_of(L'\\')) + L"\\planted\\";
    const std::wstring& dir = workDir_.Path();
    ASSERT_TRUE(PlantedLibrariesAreSeen(planted, dir + L"\\probe"));
    for (const wchar_t* library : kPlanted)
        ASSERT_TRUE(::CopyFileW((planted + library).c_str(), (dir + L"\\" + library).c_str(), FALSE))
            << Narrow(library) << " is not in " << Narrow(planted);
    const std::wstring exe = dir + L"\\Siborang.exe";
    ASSERT_TRUE(::CopyFileW(g_exePath.c_str(), exe.c_str(), FALSE)) << "cannot copy the program";

    const bool traced = !g_tracePath.empty();
    SiborangProcess clock(dir, /*traceSound=*/traced, /*traceText=*/false, exe);
    ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
    HWND form = clock.WaitUntilReady();
    ASSERT_NE(form, nullptr) << "the copy beside the planted libraries did not start; loaded: "
                             << Joined(LoadedFrom(dir));
    EXPECT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
        << "Ctrl+Alt+W is not held";
    // A planted library has nothing behind the calls the clock would make: stop here.
    ASSERT_EQ(LoadedFrom(dir), LoadedBySystem()) << "loaded while starting: " << Joined(LoadedFrom(dir));

    // Speaking loads the sound library: the hotkey's clips are played to the last.
    if (!traced) {
        std::printf("[ note     ] no trace file given (second argument): speaking is not checked\n");
        return;
    }
    const SoundTrace trace(g_tracePath);
    const ULONGLONG offset = trace.Size();
    ASSERT_TRUE(::PostMessageW(form, WM_HOTKEY, 0, 0));
    std::vector<std::string> clips;
    const auto spoken = [&] {
        clips = Names(trace.ClipsSince(offset));
        return !clips.empty() && (clips.back() == "___Minute" || clips.back() == "___Hours");
    };
    for (const auto deadline = Clock::now() + kClipTimeout; !spoken() && Clock::now() < deadline;)
        std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(spoken()) << "played: " << Joined(clips);
    EXPECT_TRUE(clock.Running());
    EXPECT_EQ(LoadedFrom(dir), LoadedBySystem()) << "loaded while speaking: " << Joined(LoadedFrom(dir));
}

}  // namespace
