// The started Siborang.exe's life as the shell sees it: a second start, or any holder of the
// single-instance marker, keeps it from starting; a close message ends it and frees all it held.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/process/ProcessSupport.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace {

using namespace siborang::process_tests;

constexpr auto kBackOffTimeout = 10s;

using StartUp = ProcessTest;
using Closing = ProcessTest;

TEST_F(StartUp, SecondStartBacksOffSilently) {
    SiborangProcess first(workDir_.Path());
    ASSERT_TRUE(first.Started()) << "CreateProcess failed, error " << first.StartError();
    HWND form = first.WaitUntilReady();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED});

    const auto firstDirBefore = Entries(workDir_.Path());
    const FileState settingsBefore = StateOf(SettingsPath());
    TempDir secondDir;
    ASSERT_TRUE(secondDir.Valid());

    SiborangProcess second(secondDir.Path());
    ASSERT_TRUE(second.Started()) << "CreateProcess failed, error " << second.StartError();
    const auto ending = second.WatchUntilExit(kBackOffTimeout);
    ASSERT_TRUE(ending.exitCode.has_value()) << "the second instance is still running";
    EXPECT_EQ(*ending.exitCode, 0u);
    EXPECT_FALSE(ending.hadForm) << "the second instance made a main window";
    EXPECT_FALSE(ending.hadAppWindow) << "the second instance made an application window";

    const auto forms = TopLevelWindows(kFormClass);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].hwnd, form);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(ProbeDefaultHotKey(), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED})
        << "the first instance lost the hotkey";

    EXPECT_TRUE(Entries(secondDir.Path()).empty()) << "second start left: " << Joined(Entries(secondDir.Path()));
    EXPECT_EQ(Entries(workDir_.Path()), firstDirBefore);
    EXPECT_EQ(StateOf(SettingsPath()), settingsBefore) << "Tockly.ini was created or changed";
}

TEST_F(StartUp, AnyHolderOfTheMarkerKeepsTheClockFromStarting) {
    KernelHandle marker(
        ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, kMarkerName));
    ASSERT_TRUE(marker);
    ASSERT_NE(::GetLastError(), DWORD{ERROR_ALREADY_EXISTS});

    SiborangProcess clock(workDir_.Path());
    ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
    const auto ending = clock.WatchUntilExit(kBackOffTimeout);
    ASSERT_TRUE(ending.exitCode.has_value()) << "the clock started despite the marker";
    EXPECT_EQ(*ending.exitCode, 0u);
    EXPECT_FALSE(ending.hadForm);
    EXPECT_FALSE(ending.hadAppWindow);
    EXPECT_TRUE(TopLevelWindows(kFormClass).empty());
    EXPECT_TRUE(Entries(workDir_.Path()).empty()) << "left: " << Joined(Entries(workDir_.Path()));
    EXPECT_EQ(ProbeDefaultHotKey(), 0u) << "the hotkey was taken";
}

// Through the main window, and through the application window: both carry the program's title,
// by which a script's close finds them, and taskkill without /F closes every one.
TEST_F(Closing, CloseMessageEndsTheClockAndFreesTheHotKey) {
    for (const bool titled : {false, true}) {
        SCOPED_TRACE(titled ? "closed through the application window" : "closed through TForm1");
        {
            SiborangProcess clock(workDir_.Path());
            ASSERT_TRUE(clock.Started()) << "CreateProcess failed, error " << clock.StartError();
            ASSERT_NE(clock.WaitUntilReady(), nullptr);
            ASSERT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout),
                      DWORD{ERROR_HOTKEY_ALREADY_REGISTERED});

            // As a script finds it: the first window with that title, the main window's or the
            // application window's.
            const HWND named = ::FindWindowW(nullptr, kAppTitle);
            ASSERT_TRUE(named == clock.AppWindow() || named == clock.Form());
            ASSERT_TRUE(titled ? ::PostMessageW(clock.AppWindow(), WM_CLOSE, 0, 0) != FALSE
                               : clock.PostToForm(WM_CLOSE));
            const auto code = clock.WaitForExit(kCloseTimeout);
            ASSERT_TRUE(code.has_value()) << "still running after WM_CLOSE";
            EXPECT_EQ(*code, 0u);
        }
        EXPECT_TRUE(TopLevelWindows(kFormClass).empty());
        EXPECT_EQ(ProbeDefaultHotKey(), 0u) << "Ctrl+Alt+W is still held after the clock ended";
        EXPECT_FALSE(MarkerHeld()) << "the \"SharedHandle\" mapping outlived the clock";
    }

    // Nothing left behind blocks the next start.
    SiborangProcess again(workDir_.Path());
    ASSERT_TRUE(again.Started()) << "CreateProcess failed, error " << again.StartError();
    ASSERT_NE(again.WaitUntilReady(), nullptr) << "the clock did not start again";
    EXPECT_EQ(ProbeUntil(ERROR_HOTKEY_ALREADY_REGISTERED, kHotKeyTimeout), DWORD{ERROR_HOTKEY_ALREADY_REGISTERED});
    ASSERT_TRUE(again.PostToForm(WM_CLOSE));
    const auto code = again.WaitForExit(kCloseTimeout);
    ASSERT_TRUE(code.has_value()) << "still running after the second WM_CLOSE";
    EXPECT_EQ(*code, 0u);
}

}  // namespace
