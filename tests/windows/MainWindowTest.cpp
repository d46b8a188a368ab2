// The main window in-process, one case per wiring point: its settings through the real Tockly.ini,
// controls and hotkey registration, Run, the tray icon, the title's chrome, the notes it raises and
// its minute tick. The rules behind them are tested natively.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "clock/Unit1.h"
#include "clock/Unit3.h"
#include "core/Errors.h"
#include "memo/MemoRecord.h"
#include "tests/common/Folders.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Handles.h"
#include "win/Text.h"
#include "win/Timer.h"

namespace siborang {
namespace {

using probes::HotKeyHeld;
std::filesystem::path SettingsPath() { return probes::SettingsPath(); }
std::string ReadKey(const char* key) { return probes::ReadSetting(key); }

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(SettingsPath(), std::ios::binary);
        if (in) {
            std::stringstream ss;
            ss << in.rdbuf();
            saved_ = ss.str();
            hadFile_ = true;
        }
        ::DeleteFileW(SettingsPath().c_str());
    }
    void TearDown() override {
        if (form_) form_->Close();  // unregisters the hotkey
        form_.reset();
        ::DeleteFileW(SettingsPath().c_str());
        if (hadFile_) std::ofstream(SettingsPath(), std::ios::binary) << saved_;
    }
    void Write(const char* key, const char* value) {
        ASSERT_TRUE(::WritePrivateProfileStringA("TOCKLY", key, value, "Tockly.ini"));
    }
    TForm1& Start() {
        form_ = std::make_unique<TForm1>(win::Application::Instance());
        Form1 = form_.get();
        return *form_;
    }

    std::unique_ptr<TForm1> form_;

private:
    std::string saved_;
    bool hadFile_ = false;
};

using MainWindowSettings = MainWindowFixture;

// Loading is wired to every control and to the registration: each stored setting away from its
// default shows (the values' own rules, the defaults among them: LoadSettings in the native
// tests), the interval box follows its switch as a click would make it, the hotkey is held
// under the program's atom, and closing gives it back.
TEST_F(MainWindowSettings, StoredSettingsReachTheControlsAndTheHotKey) {
    Write("Option1", "1");
    Write("VKEY", "4");
    Write("KEY", "112");
    Write("Check1", "0");
    Write("Check2", "0");
    Write("MINUTE", "45");
    TForm1& f = Start();
    EXPECT_TRUE(f.Button1->Enabled());
    EXPECT_EQ(f.HotKey1->HotKeyValue(), 0x2000 | VK_F1);
    EXPECT_FALSE(f.CheckBox1->Checked());
    EXPECT_FALSE(f.Edit1->Enabled());  // the real check box ran its click handler
    EXPECT_FALSE(f.CheckBox2->Checked());
    EXPECT_EQ(f.Edit1->Text(), L"45");
    EXPECT_TRUE(HotKeyHeld(MOD_SHIFT, VK_F1));
    EXPECT_EQ(f.HotKeyAtom(), ::GlobalFindAtomA("zorvek's Hotkey!!"));
    form_->Close();
    EXPECT_FALSE(HotKeyHeld(MOD_SHIFT, VK_F1));
}

TEST_F(MainWindowSettings, ReadingWithNoFileCreatesNone) {
    Start();
    EXPECT_EQ(::GetFileAttributesW(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

// The real box, not a stand-in: an arrow key typed into it is a key of the keyboard's extended
// part, which the box marks as such. Run stores it as the file names it, and the next start
// shows it again as that key ("Left", not "Num 4").
TEST_F(MainWindowSettings, AnExtendedKeyTypedIntoTheBoxSurvivesRunAndTheNextStart) {
    TForm1& f = Start();
    f.ShowForm(true);
    f.HotKey1->SetFocus();
    const HWND box = f.HotKey1->Handle();
    const auto extendedLeft = MAKEWORD(VK_LEFT, HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT);
    // A bare key gets Ctrl+Alt, as the box's rules say; bit 24 marks the extended key.
    ::SendMessageW(box, WM_KEYDOWN, VK_LEFT, 0x014B0001);
    ::SendMessageW(box, WM_KEYUP, VK_LEFT, 0xC14B0001);
    ASSERT_EQ(::SendMessageW(box, HKM_GETHOTKEY, 0, 0) | (HOTKEYF_EXT << 8), extendedLeft)
        << "the box did not take the typed key";
    EXPECT_EQ(f.HotKey1->HotKeyValue(), 0xC000 | VK_LEFT);
    // Windows' box marks the typed key extended, Wine's does not: the flag as Windows sets it.
    ::SendMessageW(box, HKM_SETHOTKEY, extendedLeft, 0);
    EXPECT_EQ(f.HotKey1->HotKeyValue(), 0xC000 | VK_LEFT);
    f.Button2Click(*f.Button2);
    EXPECT_EQ(ReadKey("KEY"), "37");
    EXPECT_EQ(ReadKey("VKEY"), "3");
    form_->Close();

    TForm1& again = Start();
    EXPECT_EQ(again.HotKey1->HotKeyValue(), 0xC000 | VK_LEFT);
    EXPECT_EQ(::SendMessageW(again.HotKey1->Handle(), HKM_GETHOTKEY, 0, 0), extendedLeft)
        << "the stored key is shown as another key";
}

// The main window once it is running: shown from the tray, Run, the interval box, the chrome.
using MainWindow = MainWindowFixture;
using MainWindowRun = MainWindowFixture;

TEST_F(MainWindow, ShowFormPutsItAtTheBottomRightCornerTopmostAndWhollyOnTheScreen) {
    TForm1& f = Start();
    f.ShowForm(true);
    const RECT rc = f.BoundsRect();
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rc.left, ::GetSystemMetrics(SM_CXSCREEN) - 330);
    // 248 above the bottom, unless this system's title bars made the window taller than that.
    EXPECT_EQ(rc.top, std::min(screenHeight - 248, screenHeight - static_cast<int>(rc.bottom - rc.top)));
    EXPECT_LE(rc.bottom, screenHeight) << "the window's bottom edge is off the screen";
    EXPECT_TRUE(f.Visible());
    EXPECT_NE(::GetWindowLongW(f.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    f.ShowForm(false);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.BoundsRect().left, rc.left);  // hiding does not move it
}

// The screen's corner on a monitor at 200% while the window waits out of sight on one at 100%:
// Windows lays the window out anew at 192 dpi as it arrives there (WM_DPICHANGED), as this
// stand-in for the move does, and the corner is worked out again for the new size.
WNDPROC g_formProc = nullptr;
bool g_movedOnto200Percent = false;
LRESULT CALLBACK MoveOntoA200PercentMonitor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallWindowProcW(g_formProc, hwnd, message, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGED && !g_movedOnto200Percent) {
        const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos.x >= 0 && !(pos.flags & SWP_NOMOVE)) {
            g_movedOnto200Percent = true;
            const RECT suggested{pos.x, pos.y, pos.x + 2 * pos.cx, pos.y + 2 * pos.cy};
            ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        }
    }
    return result;
}

TEST_F(MainWindow, ShownOnAMonitorOfAnotherScaleItStandsWhollyInItsCorner) {
    TForm1& f = Start();
    g_formProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        f.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MoveOntoA200PercentMonitor)));
    f.ShowForm(true);
    ::SetWindowLongPtrW(f.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_formProc));
    ASSERT_EQ(f.CurrentDpi().Value(), 192);
    const RECT rc = f.BoundsRect();
    EXPECT_EQ(rc.left, ::GetSystemMetrics(SM_CXSCREEN) - 660);
    EXPECT_LE(rc.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(rc.bottom, ::GetSystemMetrics(SM_CYSCREEN));
}

// Leaving the box normalises it (the rule: ParseInteger in the native tests; the real Tab out
// of the box: IntervalBox in the process tests); here, its switch enables it.
TEST_F(MainWindow, TheIntervalSwitchEnablesTheIntervalBox) {
    TForm1& f = Start();
    ::SendMessageW(f.CheckBox1->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(f.CheckBox1->Checked());
    EXPECT_FALSE(f.Edit1->Enabled());
    ::SendMessageW(f.CheckBox1->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(f.Edit1->Enabled());
}

TEST_F(MainWindowRun, SavesTheControlsRegistersResetsAndHides) {
    TForm1& f = Start();
    f.ShowForm(true);
    f.Timer1->SetEnabled(false);
    ::UnregisterHotKey(f.Handle(), static_cast<int>(f.HotKeyAtom()));
    IntervalCounter = 17;
    f.HotKey1->SetHotKeyValue(0x4000 | 0x2000 | 'Q');
    f.CheckBox2->SetChecked(false);
    f.Edit1->SetText(L"15");
    f.Button2Click(*f.Button2);
    // What the controls hold reaches the file (the values' forms: SaveSettings natively).
    EXPECT_EQ(ReadKey("KEY"), "81");
    EXPECT_EQ(ReadKey("VKEY"), "6");
    EXPECT_EQ(ReadKey("Check1"), "1");
    EXPECT_EQ(ReadKey("Check2"), "0");
    EXPECT_EQ(ReadKey("MINUTE"), "15");
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'Q'));
    EXPECT_EQ(IntervalCounter, 0);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_EQ(f.Timer1->Interval(), 60000u);
}

TEST_F(MainWindowRun, WithAnEmptyHotKeyBoxRegistersNothing) {
    TForm1& f = Start();
    ::UnregisterHotKey(f.Handle(), static_cast<int>(f.HotKeyAtom()));
    f.HotKey1->SetHotKeyValue(0);
    f.Button2Click(*f.Button2);
    EXPECT_FALSE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));
    EXPECT_FALSE(HotKeyHeld(0, 0));
}

TEST_F(MainWindowRun, WithBothSwitchesOffLeavesTheTimerStopped) {
    TForm1& f = Start();
    f.Timer1->SetEnabled(false);
    f.CheckBox1->SetChecked(false);
    f.CheckBox2->SetChecked(false);
    f.Button2Click(*f.Button2);
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_EQ(ReadKey("Check1"), "0");
    EXPECT_EQ(ReadKey("Check2"), "0");
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));  // the hotkey still speaks
}

// The real profile functions refusing the write: the error box, the window kept, and the rest of
// Run not done (which write stops a save: SaveSettings natively; an unparsable interval through
// real keys: IntervalBox in the process tests).
TEST_F(MainWindowRun, AFileThatCannotBeWrittenShowsTheErrorAndKeepsTheWindow) {
    Write("MINUTE", "20");
    TForm1& f = Start();
    f.ShowForm(true);
    f.Timer1->SetEnabled(false);
    ::UnregisterHotKey(f.Handle(), static_cast<int>(f.HotKeyAtom()));
    // Another program holds the file with no sharing: every write is refused.
    win::FileHandle lock(::CreateFileW(SettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    testing::MessageBoxWatcher watcher;
    win::Guard([&] { f.Button2Click(*f.Button2); });
    lock.Reset();
    const auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Unable to write to Tockly.ini.");
    EXPECT_EQ(boxes[0].caption, L"시보랑");
    EXPECT_TRUE(f.Visible());
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_FALSE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));
    EXPECT_EQ(ReadKey("KEY"), "<none>");
    EXPECT_EQ(ReadKey("MINUTE"), "20");
}

TEST_F(MainWindow, DraggingTheTitleFollowsTheCursorsScreenPosition) {
    TForm1& f = Start();
    f.ShowForm(true);
    const RECT start = f.BoundsRect();
    ASSERT_TRUE(::SetCursorPos(start.left + 100, start.top + 10));
    f.Panel1MouseDown(*f.Label1, win::MouseButton::Left, 0, 0, 0);
    ASSERT_TRUE(::SetCursorPos(start.left + 40, start.top - 300));
    f.Panel1MouseMove(*f.Label1, win::MouseButton::Left, 0, 999, 999);  // the event's point is ignored
    EXPECT_EQ(f.BoundsRect().left, start.left - 60);
    EXPECT_EQ(f.BoundsRect().top, start.top - 310);
    f.Panel1MouseUp(*f.Label1, win::MouseButton::Left, 0, 0, 0);
    ::SetCursorPos(0, 0);
    f.Panel1MouseMove(*f.Image1, win::MouseButton::Left, 0, 0, 0);  // released: no more moving
    EXPECT_EQ(f.BoundsRect().left, start.left - 60);
    f.ShowForm(true);  // back at the corner
    EXPECT_EQ(f.BoundsRect().left, start.left);
    EXPECT_EQ(f.BoundsRect().top, start.top);
}

TEST_F(MainWindow, TitleLabelAndBitmapRouteTheirMouseToTheDrag) {
    TForm1& f = Start();
    f.ShowForm(true);
    const RECT start = f.BoundsRect();
    const HWND panel = f.Panel1->Handle();
    ::SetCursorPos(start.left + 60, start.top + 8);
    ::SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));  // on the label
    ::SetCursorPos(start.left + 20, start.top - 100);
    ::SendMessageW(panel, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 8));
    ::SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(100, 8));
    EXPECT_EQ(f.BoundsRect().left, start.left - 40);
    EXPECT_EQ(f.BoundsRect().top, start.top - 108);
}

TEST_F(MainWindow, AboutDialogIsModalAndTheWindowTopmostAgainAfterIt) {
    TForm1& f = Start();
    f.ShowForm(true);
    // Windows drops the topmost state meanwhile; Wine keeps it for owned windows, so only
    // the state afterwards is checked.
    bool sawDialog = false;
    bool formTookInput = true;
    std::thread closer([&] {
        HWND about = nullptr;
        for (int i = 0; i < 200 && !sawDialog; ++i) {
            ::Sleep(10);
            about = ::FindWindowW(L"TForm4", nullptr);
            sawDialog = about && ::IsWindowVisible(about);
        }
        formTookInput = ::IsWindowEnabled(f.Handle()) != FALSE;
        ::PostMessageW(about, WM_CLOSE, 0, 0);
    });
    f.SpeedButton2Click(*f.SpeedButton2);
    closer.join();
    EXPECT_TRUE(sawDialog);
    EXPECT_FALSE(formTookInput) << "the main window took input while the about dialog was up";
    EXPECT_NE(::GetWindowLongW(f.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::FindWindowW(L"TForm4", nullptr), nullptr);  // freed
}

TEST_F(MainWindow, TrayIconOpensItAndTakesTheHotKeyAway) {
    TForm1& f = Start();
    ASSERT_TRUE(f.TrayIcon1);
    EXPECT_TRUE(f.TrayIcon1->Active());
    EXPECT_NE(f.TrayIcon1->Icon(), nullptr);
    EXPECT_EQ(f.TrayIcon1->ToolTip(), win::ToCp949(L"시보랑")) << "a screen reader would read a nameless icon";
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));
    // The shell reports a left-button release on the icon.
    ::SendMessageW(f.TrayIcon1->Handle(), TTrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_FALSE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));
    EXPECT_TRUE(f.Visible());
    // A double-click comes as up, double-click, up: the same as one click.
    ::SendMessageW(f.TrayIcon1->Handle(), TTrayIcon::kCallbackMessage, 0, WM_LBUTTONDBLCLK);
    ::SendMessageW(f.TrayIcon1->Handle(), TTrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_TRUE(f.Visible());
    EXPECT_FALSE(f.Timer1->Enabled());
    // Run gives it back.
    f.Button2Click(*f.Button2);
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'W'));
    EXPECT_TRUE(f.Timer1->Enabled());
}

HWND FindNote(HWND after = nullptr) { return ::FindWindowExW(nullptr, after, L"TForm3", nullptr); }

TEST_F(MainWindow, MemoNoteStandsAtTheGeneratorsPlaceTopmostAndClosesAlone) {
    TForm1& f = Start();
    PendingNote = {};
    PendingNote.Heading.Assign("\xC1\xF6\xB3\xAA\xC4\xA3 \xB8\xDE\xB8\xF0: 2026\xB3\xE2");
    PendingNote.Lines[0].Assign("one");
    PendingNote.Lines[2].Assign("\xBD\xC3\xBA\xB8\xB6\xFB");  // 시보랑
    NoteRandom copy = NotePlaces;
    const NotePlace expected = NextNotePlace(copy, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                          win::Dpi::System().Value());
    f.ShowMemoNote(PendingNote);
    f.ShowMemoNote(PendingNote);  // a second note: its own place, the first stays
    const HWND first = FindNote();
    ASSERT_NE(first, nullptr);
    const HWND second = FindNote(first);
    ASSERT_NE(second, nullptr);
    auto* note = static_cast<TForm3*>(win::Form::FromHandle(second));  // the older one lies below
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Label1->Text(), L"지나친 메모: 2026년");
    EXPECT_EQ(note->Label2->Text(), L"one      시보랑");
    const RECT rc = note->BoundsRect();
    EXPECT_EQ(rc.left, expected.left);
    EXPECT_EQ(rc.top, expected.top);
    EXPECT_NE(::GetWindowLongW(second, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindowLongW(second, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(::GetWindow(second, GW_OWNER), win::Application::Instance().Handle());
    // Any point of its surface drags it; "X" closes only this note.
    POINT inside{rc.left + 100, rc.top + 100};
    EXPECT_EQ(::SendMessageW(second, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCAPTION);
    ::SendMessageW(note->Button1->Handle(), BM_CLICK, 0, 0);
    testing::PumpMessages(100);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_TRUE(::IsWindow(first));
    ::PostMessageW(first, WM_CLOSE, 0, 0);
    testing::PumpMessages(100);
    EXPECT_EQ(FindNote(), nullptr);
}

// The clock's hotkey, pressed while notes stand, gives the newest one the keyboard, from the
// window in front; Escape closes it.
TEST_F(MainWindow, TheHotKeyTakesTheKeyboardToTheNewestNoteWhichEscapeCloses) {
    TForm1& f = Start();
    PendingNote = {};
    f.ShowMemoNote(PendingNote);
    f.ShowMemoNote(PendingNote);
    const HWND newest = FindNote();  // on top of the older one
    ASSERT_NE(FindNote(newest), nullptr);
    const win::Window front(::CreateWindowExW(0, L"Static", L"front", WS_POPUP | WS_VISIBLE, 10, 10, 100, 40, nullptr,
                                              nullptr, nullptr, nullptr));
    ::SetForegroundWindow(front.Get());
    ASSERT_EQ(::GetActiveWindow(), front.Get()) << "no window can be brought to the front here";
    ::SendMessageW(f.Handle(), WM_HOTKEY, 0, 0);
    EXPECT_EQ(::GetActiveWindow(), newest);
    const auto* note = static_cast<TForm3*>(win::Form::FromHandle(newest));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(::GetFocus(), note->Button1->Handle());
    ::PostMessageW(note->Button1->Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    testing::PumpMessages(100);
    EXPECT_FALSE(::IsWindow(newest));
    ::PostMessageW(FindNote(), WM_CLOSE, 0, 0);
    testing::PumpMessages(100);
}

// An error box up (a tick's, say) disables the notes too: the hotkey leaves the keyboard with it.
TEST_F(MainWindow, TheHotKeyLeavesTheKeyboardWithAnErrorBoxInFrontOfTheNotes) {
    TForm1& f = Start();
    PendingNote = {};
    f.ShowMemoNote(PendingNote);
    const HWND note = FindNote();
    ASSERT_NE(note, nullptr);
    HWND activeInBox = nullptr, focusInBox = nullptr;
    // Inside the box's own loop, after the hotkey posted before it: what is active, then OK.
    win::Timer probe(f, 10, true, [&](win::Timer& t) {
        t.SetEnabled(false);
        activeInBox = ::GetActiveWindow();
        focusInBox = ::GetFocus();
        ::PostMessageW(win::Application::Instance().ModalWindow(), WM_COMMAND, IDOK, 0);
    });
    ::PostMessageW(f.Handle(), WM_HOTKEY, 0, 0);
    win::Application::Instance().ShowError("Tick failed");
    EXPECT_NE(activeInBox, note) << "the note behind the box took the keyboard";
    EXPECT_FALSE(focusInBox && ::IsChild(note, focusInBox)) << "the note's X has the focus";
    ::PostMessageW(note, WM_CLOSE, 0, 0);
    testing::PumpMessages(100);
}

TEST_F(MainWindow, TickShowsAMissedMemoOnceAndStoresOnlyItsConfirmation) {
    TForm1& f = Start();
    f.CheckBox1->SetChecked(false);
    const probes::WorkingFolder folder(L"siborang-tick-");
    ASSERT_TRUE(folder.Ready());
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    MemoRecord records[3]{};
    for (auto& r : records) {
        r.Year = static_cast<std::int16_t>(now.wYear);
        r.Month = 1;
        r.Day = 1;
        std::memset(r.Lines[1].Text, 0x5A, sizeof r.Lines[1].Text);  // meaningless bytes must survive
    }
    records[0].Year = static_cast<std::int16_t>(now.wYear - 1);  // missed
    records[0].Lines[0].Assign("missed");
    records[1].Year = static_cast<std::int16_t>(now.wYear + 1);  // future
    records[2].Year = static_cast<std::int16_t>(now.wYear - 1);
    records[2].Confirmed = 1;  // already shown
    {
        std::ofstream out("PostIt.dat", std::ios::binary);
        out.write(reinterpret_cast<const char*>(records), sizeof records);
    }
    f.Timer1Timer(*f.Timer1);
    const HWND note = FindNote();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(FindNote(note), nullptr);  // exactly one
    auto* form = static_cast<TForm3*>(win::Form::FromHandle(note));
    EXPECT_EQ(form->Label1->Text().rfind(L"지나친 메모: ", 0), 0u);
    EXPECT_EQ(form->Label2->Text().substr(0, 6), L"missed");

    std::ifstream in("PostIt.dat", std::ios::binary);
    std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::string before(reinterpret_cast<const char*>(records), sizeof records);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], 1);  // the missed memo is confirmed
    after[0] = before[0];
    EXPECT_EQ(after, before);  // and nothing else changed

    f.Timer1Timer(*f.Timer1);  // a second tick shows nothing new
    EXPECT_EQ(FindNote(note), nullptr);
    ::PostMessageW(note, WM_CLOSE, 0, 0);
    testing::PumpMessages(100);
}

// A PostIt.dat that cannot be opened, and ticks that keep coming while the first one's box
// waits for an answer: one box, and every tick still counts towards its announcement.
TEST_F(MainWindow, WhileATicksErrorBoxIsUpTheNextFailingTicksShowNone) {
    TForm1& f = Start();
    f.CheckBox1->SetChecked(true);
    f.CheckBox2->SetChecked(true);
    f.Edit1->SetText(L"1000");
    IntervalCounter = 0;
    const probes::WorkingFolder folder(L"siborang-tick-boxes-");
    ASSERT_TRUE(folder.Ready());
    ::CreateDirectoryW(L"PostIt.dat", nullptr);  // a folder of that name

    const DWORD thread = ::GetCurrentThreadId();
    const auto boxes = [thread] {
        std::vector<HWND> found;
        ::EnumThreadWindows(
            thread,
            [](HWND w, LPARAM p) CALLBACK -> BOOL {
                wchar_t cls[16] = {};
                ::GetClassNameW(w, cls, 16);
                if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(w))
                    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    };
    std::size_t mostBoxes = 0;
    std::thread user([&] {
        for (int i = 0; i < 500 && boxes().empty(); ++i) ::Sleep(10);
        // Three more minutes come while the box waits.
        for (int tick = 0; tick < 3; ++tick) ::PostMessageW(f.Handle(), WM_TIMER, 1, 0);
        ::Sleep(500);
        mostBoxes = boxes().size();
        // Answered until none is left, however many came up.
        for (int i = 0; i < 500; ++i) {
            const auto up = boxes();
            if (up.empty()) break;
            for (HWND box : up) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            ::Sleep(20);
        }
    });
    ::SendMessageW(f.Handle(), WM_TIMER, 1, 0);  // the first failing minute, as the system sends it
    user.join();
    testing::PumpMessages(50);
    EXPECT_EQ(mostBoxes, 1u) << "each failing tick put up a box inside the last one's";
    EXPECT_EQ(IntervalCounter, 4) << "the ticks behind the box did not count their minute";
}

TEST_F(MainWindow, Pictures) {
    TForm1& f = Start();
    f.ShowForm(true);
    ASSERT_TRUE(testing::SaveScreenshot(f.Handle(), L"main-window"));
    // The about dialog is photographed from another thread while its modal loop runs.
    bool saved = false;
    std::thread photographer([&] {
        HWND about = nullptr;
        for (int i = 0; i < 300 && !(about && ::IsWindowVisible(about)); ++i) {
            ::Sleep(10);
            about = ::FindWindowW(L"TForm4", nullptr);
        }
        ::Sleep(200);
        saved = testing::SaveScreenshot(about, L"about-dialog");
        ::PostMessageW(about, WM_CLOSE, 0, 0);
    });
    f.SpeedButton2Click(*f.SpeedButton2);
    photographer.join();
    EXPECT_TRUE(saved);

    // A note whose first line is a full 64 bytes of Korean, wrapping in the note.
    PendingNote = {};
    PendingNote.Heading.Assign(win::ToCp949(L"2026년 12월 8일 10시 7분"));
    PendingNote.Lines[0].Assign(win::ToCp949(L"오늘 오후 세시에 회의실에서 분기 보고서 검토 회의가 있습니다 꼭."));
    PendingNote.Lines[1].Assign(win::ToCp949(L"자료 세 부 준비"));
    PendingNote.Lines[2].Assign(win::ToCp949(L"시보랑"));
    ASSERT_EQ(PendingNote.Lines[0].Length, 64);
    f.ShowMemoNote(PendingNote);
    const HWND note = FindNote();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(testing::SaveScreenshot(note, L"memo-note"));
    ::PostMessageW(note, WM_CLOSE, 0, 0);
    testing::PumpMessages(100);
}

}  // namespace
}  // namespace siborang
