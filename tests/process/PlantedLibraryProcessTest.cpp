// A copy of the clock in a folder where someone has planted libraries under the names of
// system libraries that are not KnownDLLs (as a browser's Downloads folder may hold them), with
// Wine preferring such a library the way Windows' search order does (process-tests.sh sets
// WINEDLLOVERRIDES), and a Siborang.exe.manifest that names two of them as files of the
// program's own assembly (which the loader would take from the program's folder before any
// search): none of them may be loaded while the clock starts, holds its hotkey and speaks,
// beyond what the system's own libraries load by themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
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
    return loaded;
}

// The libraries a loaded module names in its import and delay-import tables, lower-cased.
std::vector<std::wstring> ImportsOf(HMODULE module) {
    const auto* base = reinterpret_cast<const char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY* directory = nt->OptionalHeader.DataDirectory;
    std::vector<std::wstring> names;
    const auto add = [&](const char* name) { names.push_back(Lower(std::wstring(name, name + std::strlen(name)))); };
    if (const DWORD rva = directory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress) {
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + rva); d->Name; ++d) add(base + d->Name);
    }
    if (const DWORD rva = directory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress) {
        for (auto* d = reinterpret_cast<const IMAGE_DELAYLOAD_DESCRIPTOR*>(base + rva); d->DllNameRVA; ++d) {
            // The oldest form holds addresses instead of offsets.
            add(d->Attributes.RvaBased ? base + d->DllNameRVA : reinterpret_cast<const char*>(std::uintptr_t{d->DllNameRVA}));
        }
    }
    return names;
}

// The planted names that the system's own libraries ask for, from the clock's imports down:
// what any program beside them gets, whatever it does itself. None on Windows, where those
// are KnownDLLs importing KnownDLLs; under Wine 8 version.dll, which its user32 imports.
std::vector<std::wstring> ImportedBySystem() {
    std::vector<std::wstring> seen, next{L"kernel32.dll", L"user32.dll", L"gdi32.dll", L"shell32.dll", L"msvcrt.dll"};
    while (!next.empty()) {
        const std::wstring name = next.back();
        next.pop_back();
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        seen.push_back(name);
        if (const HMODULE module = ::GetModuleHandleW(name.c_str())) {
            for (const std::wstring& imported : ImportsOf(module)) next.push_back(imported);
        }
    }
    std::vector<std::wstring> planted;
    for (const wchar_t* library : kPlanted) {
        if (std::find(seen.begin(), seen.end(), Lower(library)) != seen.end()) planted.push_back(Lower(library));
    }
    return planted;
}

// What the clock loaded from `loaded` beyond what the system's own libraries ask for.
std::vector<std::wstring> BeyondTheSystem(const std::vector<std::wstring>& loaded) {
    const std::vector<std::wstring> system = ImportedBySystem();
    std::vector<std::wstring> beyond;
    for (const std::wstring& name : loaded) {
        if (std::find(system.begin(), system.end(), name) == system.end()) beyond.push_back(name);
    }
    return beyond;
}

// Whether a planted library is loaded at all when asked for by its path: under Wine only
// when told to prefer it (process-tests.sh), or Wine would take its own and the clock's
// freedom from planted libraries would prove nothing. One this process has not loaded yet, so
// that the name does not just find the loaded one.
::testing::AssertionResult PlantedLibrariesAreSeen(const std::wstring& planted, const std::wstring& dir) {
    const wchar_t* probe = nullptr;
    for (const wchar_t* library : kPlanted) {
        if (!::GetModuleHandleW(library)) {
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
    ASSERT_EQ(BeyondTheSystem(LoadedFrom(dir)), std::vector<std::wstring>{})
        << "loaded while starting: " << Joined(LoadedFrom(dir));

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
    EXPECT_EQ(BeyondTheSystem(LoadedFrom(dir)), std::vector<std::wstring>{})
        << "loaded while speaking: " << Joined(LoadedFrom(dir));
}

}  // namespace
