// A copy of the clock in a folder where someone has planted libraries under the names of
// system libraries that are not KnownDLLs (as a browser's Downloads folder may hold them), with
// Wine preferring such a library the way Windows' search order does (process-tests.sh sets
// WINEDLLOVERRIDES): none of them may be loaded while the clock starts, holds its hotkey and
// speaks, beyond what the system's own libraries load by themselves (under Wine, user32
// imports version.dll; a probe program that imports what the clock imports shows it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "speech/ClipSequence.h"
#include "tests/process/ProcessSupport.h"
#include "win/Text.h"

namespace {

using namespace siborang::process_tests;
using siborang::win::Narrow;

constexpr const wchar_t* kPlanted[] = {L"winmm.dll", L"comctl32.dll", L"version.dll", L"uxtheme.dll"};
constexpr wchar_t kMarkerSuffix[] = L".loaded";

// Where the build put the planted libraries and the probe: planted\ beside this test program.
std::wstring PlantedDirectory() {
    wchar_t self[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path(self, n);
    return path.substr(0, path.find_last_of(L'\\')) + L"\\planted";
}

// Copies the planted libraries, and the program given, into `dir`; the program's path there.
std::wstring Plant(const std::wstring& dir, const std::wstring& program, const wchar_t* name) {
    const std::wstring planted = PlantedDirectory();
    for (const wchar_t* library : kPlanted) {
        if (!::CopyFileW((planted + L"\\" + library).c_str(), (dir + L"\\" + library).c_str(), FALSE)) {
            ADD_FAILURE() << Narrow(library) << " is not in " << Narrow(planted) << ", error " << ::GetLastError();
        }
    }
    const std::wstring copy = dir + L"\\" + name;
    if (!::CopyFileW(program.c_str(), copy.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << Narrow(program) << ", error " << ::GetLastError();
    return copy;
}

// The planted libraries that left their marker in `dir`, lower-cased.
std::vector<std::wstring> LoadedFrom(const std::wstring& dir) {
    std::vector<std::wstring> loaded;
    for (auto name : Entries(dir)) {
        if (!name.ends_with(kMarkerSuffix)) continue;
        name.resize(name.size() - std::size(kMarkerSuffix) + 1);
        std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return ::towlower(c); });
        loaded.push_back(name);
    }
    return loaded;
}

// Runs the probe beside the planted libraries in a directory of its own, with an argument
// (a library to load) or none; the planted libraries it loaded.
std::vector<std::wstring> ProbeLoads(const wchar_t* argument) {
    TempDir dir;
    if (!dir.Valid()) {
        ADD_FAILURE() << "no directory for the probe";
        return {};
    }
    const std::wstring probe = Plant(dir.Path(), PlantedDirectory() + L"\\PlantedProbe.exe", L"Probe.exe");
    std::wstring commandLine = L"\"" + probe + L"\" " + argument;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(),
                          &si, &pi)) {
        ADD_FAILURE() << "the probe did not start, error " << ::GetLastError();
        return {};
    }
    const KernelHandle process(pi.hProcess), thread(pi.hThread);
    if (::WaitForSingleObject(process.Get(), 20000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), 5000);
        ADD_FAILURE() << "the probe did not end";
    }
    return LoadedFrom(dir.Path());
}

// Planted libraries in `loaded` that the system's own libraries do not load anyway.
std::vector<std::wstring> Beyond(std::vector<std::wstring> loaded, const std::vector<std::wstring>& floor) {
    std::erase_if(loaded, [&](const std::wstring& name) { return std::find(floor.begin(), floor.end(), name) != floor.end(); });
    return loaded;
}

using PlantedLibraries = ProcessTest;

TEST_F(PlantedLibraries, NoneIsLoadedWhileTheClockStartsHoldsItsHotKeyAndSpeaks) {
    // The set-up sees a planted library: one loaded by the default search is the planted one.
    const auto control = ProbeLoads(L"winmm.dll");
    ASSERT_NE(std::find(control.begin(), control.end(), L"winmm.dll"), control.end())
        << "winmm.dll loaded beside the planted one was not the planted one (loaded: " << Joined(control)
        << "): Wine does not prefer libraries beside the program; run through scripts/process-tests.sh";
    // What the system's own libraries load whatever the program does: nothing on Windows, where
    // they are KnownDLLs with KnownDLLs for imports; under Wine, user32 imports version.dll.
    const auto floor = ProbeLoads(L"");
    ASSERT_FALSE(HasFailure());
    if (!floor.empty()) {
        std::printf("[ note     ] the system's own libraries load these planted ones by themselves: %s\n",
                    Joined(floor).c_str());
    }

    const std::wstring& dir = workDir_.Path();
    const std::wstring exe = Plant(dir, g_exePath, L"Siborang.exe");
    ASSERT_FALSE(HasFailure());
    const bool traced = !g_tracePath.empty();
    SiborangProcess clock(dir, /*traceSound=*/traced, /*traceText=*/false, exe);
    ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
    HWND form = clock.WaitUntilReady();
    ASSERT_NE(form, nullptr) << "the copy beside the planted libraries did not start; loaded: "
                             << Joined(LoadedFrom(dir));
    EXPECT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
        << "Ctrl+Alt+W is not held";
    // A planted library has nothing behind the calls the clock would make: stop here.
    ASSERT_EQ(Beyond(LoadedFrom(dir), floor), std::vector<std::wstring>{})
        << "loaded while starting: " << Joined(LoadedFrom(dir));

    // Speaking loads the sound library.
    if (!traced) {
        std::printf("[ note     ] no trace file given (second argument): speaking is not checked\n");
        return;
    }
    const SoundTrace trace(g_tracePath);
    const ULONGLONG offset = trace.Size();
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    ASSERT_TRUE(::PostMessageW(form, WM_HOTKEY, 0, 0));
    // The minute may turn while the message is on its way: either reading is right.
    const auto expected = siborang::ClipSequence(before.wHour, before.wMinute);
    std::vector<std::string> expectedAfter, clips;
    for (const auto deadline = Clock::now() + kClipTimeout; Clock::now() < deadline;
         std::this_thread::sleep_for(100ms)) {
        clips = Names(trace.ClipsSince(offset));
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        expectedAfter = siborang::ClipSequence(now.wHour, now.wMinute);
        if (clips.size() >= std::max(expected.size(), expectedAfter.size())) break;
    }
    EXPECT_TRUE(clips == expected || clips == expectedAfter)
        << "played:   " << Joined(clips) << "\nexpected: " << Joined(expected);
    EXPECT_TRUE(clock.Running());
    EXPECT_EQ(Beyond(LoadedFrom(dir), floor), std::vector<std::wstring>{})
        << "loaded while speaking: " << Joined(LoadedFrom(dir));
}

}  // namespace
