// A copy of the clock in a folder where someone has planted libraries under the names of
// system libraries that are not KnownDLLs (as a browser's Downloads folder may hold them), with
// Wine preferring such a library the way Windows' search order does (process-tests.sh sets
// WINEDLLOVERRIDES), and a Siborang.exe.manifest that names two of them as files of the
// program's own assembly (which the loader would take from the program's folder before any
// search): none of them may be loaded while the clock starts, holds its hotkey and speaks,
// beyond what the system's own libraries load by themselves.
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
constexpr char kPlantedManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "  <assemblyIdentity type=\"win32\" name=\"Siborang\" version=\"1.0.0.0\"/>\r\n"
    "  <file name=\"winmm.dll\"/>\r\n"
    "  <file name=\"uxtheme.dll\"/>\r\n"
    "</assembly>\r\n";

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

// What the system's own libraries load whatever the program does: nothing on Windows, where
// they are KnownDLLs importing KnownDLLs; under Wine, whose user32 imports version.dll, that
// one, which also shows that a planted library is seen at all.
std::vector<std::wstring> LoadedBySystem() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll && ::GetProcAddress(ntdll, "wine_get_version")) return {L"version.dll"};
    return {};
}

using PlantedLibraries = ProcessTest;

TEST_F(PlantedLibraries, NoneIsLoadedWhileTheClockStartsHoldsItsHotKeyAndSpeaks) {
    // The build puts the planted libraries in planted\ beside this test program.
    wchar_t self[MAX_PATH];
    const std::wstring tests(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    const std::wstring planted = tests.substr(0, tests.find_last_of(L'\\')) + L"\\planted\\";
    const std::wstring& dir = workDir_.Path();
    for (const wchar_t* library : kPlanted)
        ASSERT_TRUE(::CopyFileW((planted + library).c_str(), (dir + L"\\" + library).c_str(), FALSE))
            << Narrow(library) << " is not in " << Narrow(planted);
    const std::wstring exe = dir + L"\\Siborang.exe";
    ASSERT_TRUE(::CopyFileW(g_exePath.c_str(), exe.c_str(), FALSE)) << "cannot copy the program";
    {
        const FileHandle manifest(::CreateFileW((exe + L".manifest").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(manifest && ::WriteFile(manifest.Get(), kPlantedManifest, sizeof kPlantedManifest - 1, &written,
                                            nullptr));
    }

    const bool traced = !g_tracePath.empty();
    SiborangProcess clock(dir, /*traceSound=*/traced, /*traceText=*/false, exe);
    ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
    HWND form = clock.WaitUntilReady();
    ASSERT_NE(form, nullptr) << "the copy beside the planted libraries did not start; loaded: "
                             << Joined(LoadedFrom(dir));
    EXPECT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
        << "Ctrl+Alt+W is not held";
    // A planted library has nothing behind the calls the clock would make: stop here.
    ASSERT_EQ(LoadedFrom(dir), LoadedBySystem())
        << "loaded while starting: " << Joined(LoadedFrom(dir))
        << " (under Wine, run through scripts/process-tests.sh, which tells Wine to prefer them)";

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
