// The tray icon in a real hidden window: what reaches the shell and when, the tool tip cut,
// the mouse notifications, the popup menu, lifetime and the error boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/ShellProbe.h"
#include "controls/TrayIcon.h"
#include "core/Errors.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/Text.h"

namespace siborang {
namespace {

using testing::MessageBoxWatcher;
using testing::PumpMessages;

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW data;
};

std::vector<ShellCall>& Recorded() {
    static std::vector<ShellCall> calls;
    return calls;
}

// The versions asked for with NIM_SETVERSION, apart from the other calls.
std::vector<UINT>& VersionsSet() {
    static std::vector<UINT> versions;
    return versions;
}

BOOL WINAPI RecordShellCall(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_SETVERSION) {
        VersionsSet().push_back(data->cbSize >= NOTIFYICONDATAW_V2_SIZE ? data->uVersion : 0);
        return TRUE;
    }
    ShellCall call{message, {}};
    std::memcpy(&call.data, data, std::min<std::size_t>(data->cbSize, sizeof call.data));
    Recorded().push_back(call);
    return TRUE;
}

std::vector<DWORD> RecordedMessages() {
    std::vector<DWORD> messages;
    for (const ShellCall& call : Recorded()) messages.push_back(call.message);
    return messages;
}

// The tip as the CP949 bytes the component keeps.
std::string TipOf(const NOTIFYICONDATAW& data) {
    return win::ToCp949(std::wstring(data.szTip, ::wcsnlen(data.szTip, std::size(data.szTip))));
}

constexpr UINT kAllFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

const win::FormSpec kOwnerDesign{.className = L"TTrayOwnerForm", .caption = L"Owner", .left = 0, .top = 0,
                               .clientWidth = 100, .clientHeight = 100, .font = {L"굴림", 12}};

// Every shell call is recorded instead of made.
class TrayIcon : public ::testing::Test {
protected:
    TrayIcon() : owner(win::Application::Instance(), kOwnerDesign) {}
    void SetUp() override {
        saved_ = TTrayIcon::ShellNotify;
        TTrayIcon::ShellNotify = &RecordShellCall;
        Recorded().clear();
        VersionsSet().clear();
    }
    void TearDown() override { TTrayIcon::ShellNotify = saved_; }

    win::Form owner;

private:
    TTrayIcon::ShellNotifyFunction saved_ = nullptr;
};

// A picture the test may destroy while the component keeps its copy.
HICON MakePicture() { return ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)); }

LRESULT Notify(const TTrayIcon& tray, UINT mouseMessage, WPARAM id = 0) {
    return ::SendMessageW(tray.Handle(), TTrayIcon::kCallbackMessage, id, mouseMessage);
}

int CountQueued(HWND window, UINT message) {
    MSG msg;
    int count = 0;
    while (::PeekMessageW(&msg, window, message, message, PM_REMOVE)) ++count;
    return count;
}

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

bool IsValidCp949(const std::string& bytes) {
    return bytes.empty() || ::MultiByteToWideChar(win::kKoreanCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                                  static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// Watches for this thread's popup menu from another thread, as the user would see it, and
// presses keys on it once it shows.
class MenuDriver {
public:
    MenuDriver(std::vector<WPARAM> keys, std::function<void(HWND menu)> onShown)
        : keys_(std::move(keys)), onShown_(std::move(onShown)), thread_([this] { Drive(); }) {}
    ~MenuDriver() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    bool SawMenu() const { return sawMenu_; }

private:
    static HWND VisibleMenu() {
        const HWND menu = ::FindWindowW(L"#32768", nullptr);
        return menu && ::IsWindowVisible(menu) ? menu : nullptr;
    }
    void Drive() {
        HWND menu = nullptr;
        for (int i = 0; i < 300 && !menu; ++i) {
            menu = VisibleMenu();
            if (!menu) ::Sleep(10);
        }
        if (!menu) return;
        sawMenu_ = true;
        onShown_(menu);
        for (WPARAM key : keys_) {
            ::PostMessageW(menu, WM_KEYDOWN, key, 0);
            ::Sleep(20);
        }
        // Never leave the test thread stuck in a menu that did not close.
        for (int i = 0; i < 200 && VisibleMenu(); ++i) ::Sleep(10);
        if (HWND stuck = VisibleMenu()) ::PostMessageW(stuck, WM_KEYDOWN, VK_ESCAPE, 0);
    }

    std::vector<WPARAM> keys_;
    std::function<void(HWND)> onShown_;
    std::atomic<bool> sawMenu_{false};
    std::thread thread_;
};

TEST_F(TrayIcon, ConstructionMakesAHiddenWindowAndNoShellCall) {
    TTrayIcon tray(owner);
    ASSERT_TRUE(::IsWindow(tray.Handle()));
    char cls[64] = {};
    ::GetClassNameA(tray.Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TTrayIconWindow");
    EXPECT_FALSE(::IsWindowVisible(tray.Handle()));
    EXPECT_EQ(::GetParent(tray.Handle()), nullptr);
    EXPECT_EQ(::GetWindow(tray.Handle(), GW_OWNER), nullptr);
    EXPECT_EQ(&tray.Owner(), &owner);
    EXPECT_FALSE(tray.Active());
    EXPECT_EQ(tray.Icon(), nullptr);
    EXPECT_EQ(tray.ToolTip(), "");
    EXPECT_TRUE(Recorded().empty());
    // Other messages get the default handling.
    ::SetWindowTextA(tray.Handle(), "probe");
    char text[16] = {};
    ::GetWindowTextA(tray.Handle(), text, sizeof text);
    EXPECT_STREQ(text, "probe");
}

struct FilterCall {
    HWND window;
    UINT message;
    DWORD action;
};
std::vector<FilterCall> filterCalls;
BOOL WINAPI RecordFilterCall(HWND window, UINT message, DWORD action, void*) {
    filterCalls.push_back({window, message, action});
    return TRUE;
}

// Elevated, the program would never hear of a new notification area from the normal shell.
TEST_F(TrayIcon, LetsTheShellsTaskbarCreatedThroughTheElevationFilter) {
    const auto real = reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx"));
    ASSERT_NE(real, nullptr) << "this system has no ChangeWindowMessageFilterEx";
    EXPECT_EQ(reinterpret_cast<void (*)()>(TTrayIcon::MessageFilter), real) << "not looked up at run time";
    const auto saved = TTrayIcon::MessageFilter;
    TTrayIcon::MessageFilter = &RecordFilterCall;
    filterCalls.clear();
    {
        TTrayIcon tray(owner);
        ASSERT_EQ(filterCalls.size(), 1u);
        EXPECT_EQ(filterCalls[0].window, tray.Handle());
        EXPECT_EQ(filterCalls[0].message, ::RegisterWindowMessageW(L"TaskbarCreated"));
        EXPECT_EQ(filterCalls[0].action, 1u);  // MSGFLT_ALLOW
    }
    TTrayIcon::MessageFilter = saved;
}

TEST_F(TrayIcon, ActivatingTwiceAddsOnceAndAsksForTheKeyboardsNotifications) {
    TTrayIcon tray(owner);
    tray.SetToolTip("Siborang");
    tray.SetActive(true);
    tray.SetActive(true);
    EXPECT_TRUE(tray.Active());
    ASSERT_EQ(RecordedMessages(), std::vector<DWORD>{NIM_ADD});
    EXPECT_EQ(VersionsSet(), std::vector<UINT>{NOTIFYICON_VERSION});
    const NOTIFYICONDATAW& data = Recorded()[0].data;
    EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
    EXPECT_EQ(data.hWnd, tray.Handle());
    EXPECT_EQ(data.uID, 0u);
    EXPECT_EQ(data.uFlags, kAllFlags);
    EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(TipOf(data), "Siborang");
}

TEST_F(TrayIcon, DeactivatingDeletesOnlyWhatWasAdded) {
    TTrayIcon tray(owner);
    tray.SetActive(false);
    EXPECT_TRUE(Recorded().empty());
    tray.SetActive(true);
    tray.SetActive(false);
    EXPECT_FALSE(tray.Active());
    ASSERT_EQ(RecordedMessages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_EQ(Recorded()[1].data.hWnd, tray.Handle());
    EXPECT_EQ(Recorded()[1].data.uID, 0u);
}

TEST_F(TrayIcon, ReactivatingRemovesAndAddsTheSameIcon) {
    TTrayIcon tray(owner);
    tray.SetToolTip("x");
    tray.SetActive(true);
    Recorded().clear();
    tray.SetActive(false);
    tray.SetActive(true);
    ASSERT_EQ(RecordedMessages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
    for (const ShellCall& call : Recorded()) {
        EXPECT_EQ(call.data.uID, 0u);
        EXPECT_EQ(call.data.hWnd, tray.Handle());
    }
}

TEST_F(TrayIcon, PictureAndTipWrittenWhileInactiveReachTheShellAtTheNextAdd) {
    TTrayIcon tray(owner);
    const HICON picture = MakePicture();
    tray.SetIcon(picture);
    tray.SetToolTip(win::ToCp949(L"시보랑"));
    EXPECT_TRUE(Recorded().empty());
    // The component keeps a copy of its own.
    ASSERT_NE(tray.Icon(), nullptr);
    EXPECT_NE(tray.Icon(), picture);
    ::DestroyIcon(picture);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(tray.Icon(), &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    tray.SetActive(true);
    ASSERT_EQ(RecordedMessages(), std::vector<DWORD>{NIM_ADD});
    EXPECT_EQ(Recorded()[0].data.hIcon, tray.Icon());
    EXPECT_EQ(TipOf(Recorded()[0].data), win::ToCp949(L"시보랑"));
}

TEST_F(TrayIcon, WritesWhileActiveAreSentAgainWithModify) {
    TTrayIcon tray(owner);
    tray.SetToolTip("before");
    tray.SetActive(true);
    Recorded().clear();

    const HICON picture = MakePicture();
    tray.SetIcon(picture);
    ::DestroyIcon(picture);
    ASSERT_EQ(RecordedMessages(), std::vector<DWORD>{NIM_MODIFY});
    EXPECT_EQ(Recorded()[0].data.hIcon, tray.Icon());
    EXPECT_EQ(TipOf(Recorded()[0].data), "before");
    EXPECT_EQ(Recorded()[0].data.uFlags, kAllFlags);
    EXPECT_EQ(Recorded()[0].data.uCallbackMessage, TTrayIcon::kCallbackMessage);

    tray.SetToolTip("after");
    tray.SetToolTip("after");  // unchanged, still sent
    ASSERT_EQ(RecordedMessages(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY, NIM_MODIFY}));
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(TipOf(Recorded()[i].data), "after");
        EXPECT_EQ(Recorded()[i].data.hIcon, tray.Icon());
    }

    // Its own picture again: nothing to do.
    tray.SetIcon(tray.Icon());
    EXPECT_EQ(Recorded().size(), 3u);

    tray.SetIcon(nullptr);
    EXPECT_EQ(tray.Icon(), nullptr);
    ASSERT_EQ(Recorded().size(), 4u);
    EXPECT_EQ(Recorded()[3].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(Recorded()[3].data.hIcon, nullptr);
}

TEST_F(TrayIcon, LongTipKeepsItsFirst62Bytes) {
    std::string text;
    for (int i = 0; i < 70; ++i) text += static_cast<char>('A' + i % 26);
    TTrayIcon tray(owner);
    tray.SetToolTip(text);
    EXPECT_EQ(tray.ToolTip(), text.substr(0, 62));
    tray.SetActive(true);
    ASSERT_EQ(Recorded().size(), 1u);
    const NOTIFYICONDATAW& data = Recorded()[0].data;
    EXPECT_EQ(TipOf(data), text.substr(0, 62));

    // A shorter tip ends at its zero; what lay beyond stays as it was.
    tray.SetToolTip("xy");
    ASSERT_EQ(Recorded().size(), 2u);
    EXPECT_EQ(TipOf(Recorded()[1].data), "xy");
    EXPECT_EQ(std::wstring(Recorded()[1].data.szTip + 3, 59), win::Widen(text.substr(3, 59)));
}

TEST_F(TrayIcon, KoreanTipIsNeverCutInsideACharacter) {
    const std::string ga = win::ToCp949(L"가");
    ASSERT_EQ(ga.size(), 2u);
    TTrayIcon tray(owner);
    tray.SetActive(true);

    // 63 bytes: byte 62 would be the first half of the last character.
    tray.SetToolTip("A" + Repeat(ga, 31));
    EXPECT_EQ(tray.ToolTip(), "A" + Repeat(ga, 30));
    EXPECT_EQ(tray.ToolTip().size(), 61u);
    EXPECT_TRUE(IsValidCp949(tray.ToolTip()));
    EXPECT_EQ(win::FromCp949(tray.ToolTip()), L"A" + std::wstring(30, L'가'));
    EXPECT_EQ(TipOf(Recorded().back().data), tray.ToolTip());
    EXPECT_TRUE(IsValidCp949(TipOf(Recorded().back().data)));

    // 64 bytes: the cut falls between characters, though byte 62's second half lies in the
    // lead byte range.
    tray.SetToolTip(Repeat(ga, 32));
    EXPECT_EQ(tray.ToolTip(), Repeat(ga, 31));
    EXPECT_EQ(TipOf(Recorded().back().data), Repeat(ga, 31));

    // Mixed, exactly at the limit: kept whole.
    const std::string mixed = "12" + Repeat(ga, 30);
    ASSERT_EQ(mixed.size(), 62u);
    tray.SetToolTip(mixed);
    EXPECT_EQ(tray.ToolTip(), mixed);
    EXPECT_TRUE(IsValidCp949(TipOf(Recorded().back().data)));
}

TEST_F(TrayIcon, AddingWithoutATipAsksForOneRefresh) {
    TTrayIcon tray(owner);
    tray.SetActive(true);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, tray.Handle(), TTrayIcon::kRefreshMessage, TTrayIcon::kRefreshMessage,
                               PM_NOREMOVE));
    EXPECT_EQ(CountQueued(tray.Handle(), TTrayIcon::kRefreshMessage), 1);
    ASSERT_EQ(RecordedMessages(), std::vector<DWORD>{NIM_ADD});
    ::SendMessageW(tray.Handle(), TTrayIcon::kRefreshMessage, 0, 0);
    ASSERT_EQ(RecordedMessages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(Recorded()[1].data.hWnd, tray.Handle());
    EXPECT_EQ(Recorded()[1].data.uFlags, kAllFlags);

    TTrayIcon named(owner);
    named.SetToolTip("tip");
    named.SetActive(true);
    EXPECT_EQ(CountQueued(named.Handle(), TTrayIcon::kRefreshMessage), 0);
}

TEST_F(TrayIcon, TheQueuedRefreshReachesTheShellThroughTheLoop) {
    TTrayIcon tray(owner);
    tray.SetActive(true);
    PumpMessages(50);
    EXPECT_EQ(RecordedMessages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
}

TEST_F(TrayIcon, LeftButtonNotificationsBecomeClickAndDoubleClick) {
    TTrayIcon tray(owner);
    std::vector<std::string> events;
    tray.OnClick = [&](TTrayIcon& sender) {
        EXPECT_EQ(&sender, &tray);
        events.push_back("click");
    };
    tray.OnDblClick = [&](TTrayIcon& sender) {
        EXPECT_EQ(&sender, &tray);
        events.push_back("double");
    };
    tray.OnRightClick = [&](TTrayIcon&, win::MouseButton, unsigned, int, int) { events.push_back("right"); };

    EXPECT_EQ(Notify(tray, WM_LBUTTONUP), 0);
    EXPECT_EQ(Notify(tray, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Notify(tray, WM_LBUTTONUP, 5), 0);  // the identifier is not examined
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double", "click"}));

    for (UINT other : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEMOVE, WM_MBUTTONUP, WM_RBUTTONDBLCLK}) {
        EXPECT_EQ(Notify(tray, other), 0);
    }
    EXPECT_EQ(events.size(), 3u);
    EXPECT_TRUE(Recorded().empty());
}

// Enter or Space on the icon and the menu key, as the shell reports them once the version is
// set: each gesture fires its event once, though the shell follows a button-up with a selection
// or a menu message, and may send NIN_KEYSELECT twice for one Enter.
TEST_F(TrayIcon, KeyboardSelectionAndTheMenuKeyFireTheClickAndTheRightClickOnce) {
    TTrayIcon tray(owner);
    std::vector<std::string> events;
    tray.OnClick = [&](TTrayIcon& sender) { events.push_back(sender.ClickedByKeyboard() ? "key" : "click"); };
    tray.OnRightClick = [&](TTrayIcon&, win::MouseButton, unsigned, int, int) { events.push_back("right"); };
    Notify(tray, NIN_KEYSELECT);
    Notify(tray, NIN_KEYSELECT);
    Notify(tray, WM_LBUTTONUP);
    Notify(tray, WM_MOUSEMOVE);
    Notify(tray, NIN_SELECT);
    Notify(tray, NIN_SELECT);  // selected with the mouse, then Enter
    Notify(tray, WM_CONTEXTMENU);
    Notify(tray, WM_RBUTTONUP);
    Notify(tray, WM_CONTEXTMENU);
    EXPECT_EQ(events, (std::vector<std::string>{"key", "click", "click", "right", "right"}));
}

TEST_F(TrayIcon, RightClickWithoutMenuReportsTheCursorAtOnce) {
    TTrayIcon tray(owner);
    MessageBoxWatcher watcher;
    ASSERT_TRUE(::SetCursorPos(140, 90));
    POINT at{};
    ::GetCursorPos(&at);
    int calls = 0;
    POINT seen{-1, -1};
    tray.OnRightClick = [&](TTrayIcon& sender, win::MouseButton button, unsigned shift, int x, int y) {
        EXPECT_EQ(&sender, &tray);
        EXPECT_EQ(button, win::MouseButton::Right);
        EXPECT_EQ(shift, 0u);
        seen = {x, y};
        ++calls;
    };
    EXPECT_EQ(Notify(tray, WM_RBUTTONUP), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen.x, at.x);
    EXPECT_EQ(seen.y, at.y);

    // Neither a menu nor a handler: the cursor is read and that is all.
    tray.OnRightClick = nullptr;
    EXPECT_EQ(Notify(tray, WM_RBUTTONUP), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(watcher.Texts().empty());
    EXPECT_TRUE(Recorded().empty());
}

TEST_F(TrayIcon, RightClickShowsTheMenuFirstThenReportsTheCursorFromBefore) {
    TTrayIcon tray(owner);
    TPopupMenu menu;
    bool opened = false;
    menu.Add(L"열기", [&] { opened = true; });
    tray.PopupMenu = &menu;

    const POINT first{200, 150};
    const POINT later{600, 400};
    ASSERT_TRUE(::SetCursorPos(first.x, first.y));
    std::mutex mutex;
    std::vector<std::string> log;
    RECT menuRect{};
    POINT reported{-1, -1};
    tray.OnRightClick = [&](TTrayIcon&, win::MouseButton button, unsigned, int x, int y) {
        EXPECT_EQ(button, win::MouseButton::Right);
        reported = {x, y};
        std::lock_guard lock(mutex);
        log.push_back("right click");
    };
    MenuDriver driver({VK_ESCAPE}, [&](HWND shown) {
        ::GetWindowRect(shown, &menuRect);
        ::SetCursorPos(later.x, later.y);
        std::lock_guard lock(mutex);
        log.push_back("menu");
    });
    EXPECT_EQ(Notify(tray, WM_RBUTTONUP), 0);
    driver.Join();

    ASSERT_TRUE(driver.SawMenu());
    EXPECT_EQ(log, (std::vector<std::string>{"menu", "right click"}));
    EXPECT_EQ(menuRect.left, first.x);
    EXPECT_EQ(menuRect.top, first.y);
    // The cursor did move while the menu was open (Wine hands the new place on a moment later).
    POINT now{};
    for (int i = 0; i < 100 && (::GetCursorPos(&now), now.x != later.x); ++i) ::Sleep(10);
    EXPECT_EQ(now.x, later.x);
    EXPECT_EQ(reported.x, first.x);
    EXPECT_EQ(reported.y, first.y);
    EXPECT_FALSE(opened);  // closed without a choice
}

TEST_F(TrayIcon, DestructionRemovesAnActiveIconAndTheWindow) {
    auto tray = std::make_unique<TTrayIcon>(owner);
    const HWND window = tray->Handle();
    tray->SetActive(true);  // no tip: a refresh is queued
    tray.reset();
    ASSERT_EQ(RecordedMessages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_EQ(Recorded()[1].data.hWnd, window);
    EXPECT_EQ(Recorded()[1].data.uID, 0u);
    EXPECT_FALSE(::IsWindow(window));
    // The queued refresh went with the window.
    EXPECT_EQ(CountQueued(nullptr, TTrayIcon::kRefreshMessage), 0);
    PumpMessages(20);
    EXPECT_EQ(Recorded().size(), 2u);
}

TEST_F(TrayIcon, DestructionOfAnInactiveIconCallsNothing) {
    auto tray = std::make_unique<TTrayIcon>(owner);
    const HWND window = tray->Handle();
    tray->SetToolTip("tip");
    tray->SetActive(true);
    tray->SetActive(false);
    Recorded().clear();
    tray.reset();
    EXPECT_TRUE(Recorded().empty());
    EXPECT_FALSE(::IsWindow(window));
}

int refusedAdds = 0;  // how many adds the shell still refuses
BOOL WINAPI RefuseAdds(DWORD message, PNOTIFYICONDATAW data) {
    RecordShellCall(message, data);
    return message != NIM_ADD || refusedAdds-- <= 0;
}

// A shell busy at log-on: the add is tried again until it takes, for a while only.
TEST_F(TrayIcon, ARefusedAddIsTriedAgainOnATimerUntilTheShellTakesIt) {
    TTrayIcon::ShellNotify = &RefuseAdds;
    const UINT interval = TTrayIcon::AddRetryInterval;
    TTrayIcon::AddRetryInterval = 10;
    for (int refused : {2, 100}) {
        refusedAdds = refused;
        Recorded().clear();
        VersionsSet().clear();
        TTrayIcon tray(owner);
        tray.SetToolTip("tip");
        tray.SetActive(true);
        PumpMessages(500);
        const std::size_t adds = std::min(refused + 1, 1 + TTrayIcon::kAddRetries);
        EXPECT_EQ(RecordedMessages(), std::vector<DWORD>(adds, NIM_ADD)) << refused << " refused";
        // The version goes with the add the shell took, and only with it.
        EXPECT_EQ(VersionsSet().size(), refused < TTrayIcon::kAddRetries ? 1u : 0u) << refused << " refused";
    }
    TTrayIcon::AddRetryInterval = interval;
}

TEST_F(TrayIcon, AThrowingHandlerShowsTheErrorBoxAndTheIconGoesOn) {
    TTrayIcon tray(owner);
    MessageBoxWatcher watcher;
    tray.OnClick = [](TTrayIcon&) { throw AppError("Tray handler failed"); };
    EXPECT_EQ(Notify(tray, WM_LBUTTONUP), 0);
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{L"Tray handler failed."});

    int clicks = 0;
    tray.OnClick = [&](TTrayIcon&) { ++clicks; };
    ::PostMessageW(tray.Handle(), TTrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
    PumpMessages(50);
    EXPECT_EQ(clicks, 1);
    tray.SetToolTip("tip");
    tray.SetActive(true);
    EXPECT_EQ(RecordedMessages(), std::vector<DWORD>{NIM_ADD});
    EXPECT_EQ(watcher.Texts().size(), 1u);
}

TEST(TrayPopupMenu, ChoosingAnItemRunsItsHandlerBeforePopupReturns) {
    TPopupMenu menu;
    std::vector<std::string> chosen;
    menu.Add(L"시계 보이기", [&] { chosen.push_back("show"); });
    menu.AddSeparator();
    menu.Add(L"끝내기", [&] { chosen.push_back("exit"); });
    EXPECT_EQ(::GetMenuItemCount(menu.Handle()), 3);

    // Down to the first item, past the separator to the second, Enter.
    MenuDriver driver({VK_DOWN, VK_DOWN, VK_RETURN}, [](HWND) {});
    menu.Popup(50, 60);
    const std::vector<std::string> whenReturned = chosen;
    driver.Join();
    ASSERT_TRUE(driver.SawMenu());
    EXPECT_EQ(whenReturned, std::vector<std::string>{"exit"});
}

using siborang::probes::ShellHolds;

TEST(TrayIconShell, TheRealShellTakesTheIconAndGivesItBack) {
    win::Form owner(win::Application::Instance(), kOwnerDesign);
    TTrayIcon tray(owner);
    int events = 0;
    tray.OnClick = [&](TTrayIcon&) { ++events; };
    tray.OnDblClick = [&](TTrayIcon&) { ++events; };
    tray.OnRightClick = [&](TTrayIcon&, win::MouseButton, unsigned, int, int) { ++events; };
    tray.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION));
    tray.SetToolTip(win::ToCp949(L"시보랑"));
    tray.SetActive(true);
    PumpMessages(100);
    EXPECT_TRUE(ShellHolds(tray.Handle()));
    tray.SetActive(false);
    PumpMessages(100);
    EXPECT_FALSE(ShellHolds(tray.Handle()));
    EXPECT_TRUE(::IsWindow(tray.Handle()));
    EXPECT_EQ(events, 0);
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, tray.Handle(), 0, 0, PM_NOREMOVE));
}

}  // namespace
}  // namespace siborang
