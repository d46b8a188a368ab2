// The window layer in real windows: the error boundary and box, forms and their classes,
// controls from a layout table, events, closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/Errors.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/Button.h"
#include "win/CheckBox.h"
#include "win/Edit.h"
#include "win/GroupBox.h"
#include "win/HotKeyBox.h"
#include "win/Label.h"
#include "win/Text.h"
#include "win/WindowedControl.h"

namespace siborang {
namespace {

using testing::MessageBoxWatcher;
using testing::PumpMessages;
using win::Control;

constexpr UINT kThrowMessage = WM_APP + 10;
constexpr UINT kCountMessage = WM_APP + 11;

class TTestForm : public win::Form {
public:
    explicit TTestForm(win::Application& app = win::Application::Instance(),
                       win::CloseAction closeAction = win::CloseAction::Hide);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrowMessage) throw AppError("Handler failed");
        if (message == kCountMessage) return ++handled;
        if (message == WM_SYSCHAR) ++sysChars;
        // Windows' state of a form opened by the mouse, which Wine never keeps.
        if (message == WM_QUERYUISTATE && cuesHidden) return UISF_HIDEFOCUS | UISF_HIDEACCEL;
        if (message == WM_CHANGEUISTATE && LOWORD(wParam) == UIS_CLEAR) {
            cuesCleared.push_back(HIWORD(wParam));
            cuesHidden = false;
        }
        return win::Form::WindowProc(message, wParam, lParam);
    }
    void CheckClick(Control&) { ++checkClicks; }
    void EditChange(Control&) { ++editChanges; }
    void EditExit(Control&) { ++editExits; }
    void ButtonClick(Control&) {
        ++buttonClicks;
        if (disableOnClick) {
            Push->SetEnabled(false);
            Next->SetEnabled(true);
        }
        if (failClick) throw AppError("Run failed");
    }
    void NextClick(Control&) { ++nextClicks; }

    win::GroupBox* Group = nullptr;
    win::Label* Mark = nullptr;
    win::Label* Caption = nullptr;
    win::CheckBox* Check = nullptr;
    win::Edit* Box = nullptr;
    win::HotKeyBox* Keys = nullptr;
    win::Button* Push = nullptr;
    win::Button* Next = nullptr;
    int handled = 0, checkClicks = 0, editChanges = 0, editExits = 0, buttonClicks = 0, nextClicks = 0, closes = 0,
        sysChars = 0;
    bool failClick = false, disableOnClick = false, cuesHidden = false;
    std::vector<WORD> cuesCleared;  // the flags of each UIS_CLEAR the form was sent
    win::CloseAction action;

protected:
    void DoClose(win::CloseAction& a) override {
        ++closes;
        a = action;
    }
};

const win::FontSpec kGulim{L"굴림", 12, false, false, RGB(0, 0, 0)};
const win::FontSpec kBoldCourier{L"Courier New", 13, true, false, RGB(255, 0, 0)};

const win::Row<TTestForm> kLayout[] = {
    {{.name = "Group", .left = 8, .top = 40, .width = 200, .height = 120, .caption = L" 묶음 ", .tabOrder = 0},
     win::Into<&TTestForm::Group>()},
    {{.name = "Mark", .parent = "Group", .left = 100, .top = 20, .width = 80, .height = 14},
     win::Into<&TTestForm::Mark>()},
    {{.name = "Caption", .parent = "Group", .left = 10, .top = 20, .width = 5, .height = 5, .caption = L"핫키 등록"},
     win::Into<&TTestForm::Caption>({.autoSize = true})},
    {{.name = "Check", .parent = "Group", .left = 10, .top = 40, .width = 150, .height = 17, .caption = L"확인",
         .tabOrder = 0},
     win::Into<&TTestForm::Check>({.checked = true}), {.click = &TTestForm::CheckClick}},
    {{.name = "Box", .parent = "Group", .left = 10, .top = 64, .width = 60, .height = 20, .caption = L"30",
         .tabOrder = 1},
     win::Into<&TTestForm::Box>({.textLimit = 4}), {.change = &TTestForm::EditChange, .exit = &TTestForm::EditExit}},
    {{.name = "Keys", .parent = "Group", .left = 10, .top = 88, .width = 150, .height = 19, .tabOrder = 2},
     win::Into<&TTestForm::Keys>({.shortcut = 0xC057, .invalidCombinations = HKCOMB_NONE | HKCOMB_S,
         .fallbackModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT})},
    {{.name = "Push", .left = 220, .top = 40, .width = 80, .height = 25, .caption = L"실행[&R]", .font = kBoldCourier,
         .tabOrder = 1, .disabled = true},
     win::Into<&TTestForm::Push>(), {.click = &TTestForm::ButtonClick}},
    {{.name = "Next", .left = 220, .top = 70, .width = 80, .height = 25, .caption = L"다음", .tabOrder = 2,
         .disabled = true},
     win::Into<&TTestForm::Next>(), {.click = &TTestForm::NextClick}},
};

const win::FormSpec kTestFormSpec{.className = L"TTestForm", .caption = L"Test", .left = 100, .top = 100,
                                  .clientWidth = 320, .clientHeight = 239, .font = kGulim};

TTestForm::TTestForm(win::Application& app, win::CloseAction closeAction)
    : win::Form(app, kTestFormSpec), action(closeAction) {
    BuildLayout<TTestForm>(*this, kLayout);
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

LOGFONTW FontOf(HWND hwnd) {
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

TEST(ErrorBox, ShowsTextWithFullStopTitleErrorIconAndOk) {
    MessageBoxWatcher watcher;
    win::Application::Instance().ShowError("File access denied");
    const auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"File access denied.");
    EXPECT_EQ(boxes[0].caption, L"시보랑");
    EXPECT_TRUE(boxes[0].errorIcon);
    EXPECT_EQ(boxes[0].buttons, 1);
    EXPECT_EQ(boxes[0].owner, win::Application::Instance().Handle());
}

struct Heard {
    HWND window;
    LONG child;
    friend bool operator==(const Heard&, const Heard&) = default;
};
std::vector<Heard> g_heard;  // the tests run on one thread

void CALLBACK Hear(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) g_heard.push_back({window, child});
}

// This process's WinEvents `event` in g_heard while it lives, as the thread pumps its messages.
struct Listening {
    explicit Listening(DWORD event)
        : hook(::SetWinEventHook(event, event, nullptr, &Hear, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT)) {
        g_heard.clear();
    }
    ~Listening() { ::UnhookWinEvent(hook); }
    const HWINEVENTHOOK hook;
};

// A reader hears the focus go back to the box it was in, and never to the hidden window that
// owns the error box.
TEST(ErrorBox, GivesTheFocusBackWithoutAFocusEventOnTheHiddenApplicationWindow) {
    TTestForm form;
    form.Show();
    form.Box->SetFocus();
    ASSERT_EQ(::GetFocus(), form.Box->Handle()) << "the form cannot take the focus here";
    const Listening focus(EVENT_OBJECT_FOCUS);
    {
        MessageBoxWatcher watcher;
        win::Application::Instance().ShowError("Handler failed");
    }
    PumpMessages(100);
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(std::count_if(g_heard.begin(), g_heard.end(),
                            [](const Heard& h) { return h.window == win::Application::Instance().Handle(); }),
              0);
    EXPECT_EQ(g_heard.back().window, form.Box->Handle());
    form.Close();
}

TEST(ErrorBox, TakesInputFromEveryWindowOfTheProgramUntilItCloses) {
    TTestForm form, other;
    form.Show();
    other.ShowNoActivate();
    ASSERT_EQ(::GetActiveWindow(), form.Handle());
    {
        MessageBoxWatcher watcher;
        win::Application::Instance().ShowError("Handler failed");
        const auto boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].enabledBeside.empty())
            << boxes[0].enabledBeside.size() << " windows took clicks while the box was up";
    }
    EXPECT_TRUE(::IsWindowEnabled(form.Handle()));
    EXPECT_TRUE(::IsWindowEnabled(other.Handle()));
    EXPECT_EQ(::GetActiveWindow(), form.Handle());
    other.Close();
    form.Close();
}

TEST(ErrorBoundary, AThrowingHandlerShowsTheBoxAndTheWindowGoesOn) {
    TTestForm form;
    MessageBoxWatcher watcher;
    ::SendMessageW(form.Handle(), kThrowMessage, 0, 0);
    EXPECT_EQ(::SendMessageW(form.Handle(), kCountMessage, 0, 0), 1);
    ::PostMessageW(form.Handle(), kThrowMessage, 0, 0);
    PumpMessages(100);
    EXPECT_EQ(::SendMessageW(form.Handle(), kCountMessage, 0, 0), 2);
    EXPECT_EQ(watcher.Texts(), (std::vector<std::wstring>{L"Handler failed.", L"Handler failed."}));
}

TEST(ErrorBoundary, IoErrorsShowTheirText) {
    MessageBoxWatcher watcher;
    win::Guard([] { throw IoError(103); });
    win::Guard([] { throw std::runtime_error("other"); });
    EXPECT_EQ(watcher.Texts(), (std::vector<std::wstring>{L"I/O error 103.", L"other."}));
}

TEST(Form, RegistersItsClassAndIsOwnedByTheApplication) {
    TTestForm form;
    EXPECT_EQ(ClassOf(form.Handle()), L"TTestForm");
    EXPECT_EQ(::GetWindow(form.Handle(), GW_OWNER), win::Application::Instance().Handle());
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    RECT client;
    ::GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 239);
    // A second form of the same class reuses the registration.
    TTestForm second;
    EXPECT_EQ(ClassOf(second.Handle()), L"TTestForm");
}

TEST(Form, ControlsComeFromTheTable) {
    TTestForm form;
    EXPECT_EQ(form.FindControl("Check"), form.Check);
    EXPECT_EQ(ClassOf(form.Group->Handle()), L"TGroupBox");
    EXPECT_EQ(ClassOf(form.Check->Handle()), L"Button");
    EXPECT_EQ(ClassOf(form.Box->Handle()), L"Edit");
    EXPECT_EQ(ClassOf(form.Keys->Handle()), L"msctls_hotkey32");
    EXPECT_EQ(::GetParent(form.Check->Handle()), form.Group->Handle());
    EXPECT_EQ(::GetParent(form.Push->Handle()), form.Handle());
    EXPECT_EQ(form.Caption->Handle(), nullptr);  // labels are drawn by their parent

    RECT rc;
    ::GetWindowRect(form.Box->Handle(), &rc);
    POINT topLeft{rc.left, rc.top};
    ::ScreenToClient(form.Group->Handle(), &topLeft);
    EXPECT_EQ(topLeft.x, 10);
    EXPECT_EQ(topLeft.y, 64);
    EXPECT_EQ(rc.right - rc.left, 60);

    EXPECT_EQ(form.Check->Text(), L"확인");
    EXPECT_TRUE(form.Check->Checked());
    EXPECT_FALSE(form.Push->Enabled());
    EXPECT_EQ(form.Keys->HotKeyValue(), 0xC057);
    EXPECT_EQ(::SendMessageW(form.Box->Handle(), EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_TRUE(::GetWindowLongW(form.Check->Handle(), GWL_STYLE) & WS_TABSTOP);
    // A self-sizing label took the size of its text.
    EXPECT_GT(form.Caption->Bounds().right - form.Caption->Bounds().left, 5);
    EXPECT_GT(form.Caption->Bounds().bottom - form.Caption->Bounds().top, 5);
}

TEST(Form, APictureTheProgramLacksRaisesEveryTimeAsAControlThatCannotBeMadeDoes) {
    win::GdiCache& pictures = win::Application::Instance().Gdi();
    for (int attempt = 0; attempt < 2; ++attempt) {  // the failure is not kept as an empty picture
        EXPECT_THROW(pictures.SharedIcon(L"NOSUCHICON", 32), AppError) << attempt;
        EXPECT_THROW(pictures.SharedBitmap(L"NOSUCHBITMAP"), AppError) << attempt;
    }
}

TEST(Form, FontsByFaceAndPixelHeightSharedWhereEqual) {
    TTestForm form;
    const LOGFONTW check = FontOf(form.Check->Handle());
    EXPECT_STREQ(check.lfFaceName, L"굴림");
    EXPECT_EQ(check.lfHeight, -12);
    const LOGFONTW push = FontOf(form.Push->Handle());
    EXPECT_STREQ(push.lfFaceName, L"Courier New");
    EXPECT_EQ(push.lfHeight, -13);
    EXPECT_EQ(push.lfWeight, FW_BOLD);
    EXPECT_EQ(form.Push->TextColor(), RGB(255, 0, 0));
    EXPECT_EQ(form.Check->TextColor(), RGB(0, 0, 0));
    // One font object for every control that inherits the same font.
    EXPECT_EQ(::SendMessageW(form.Check->Handle(), WM_GETFONT, 0, 0),
              ::SendMessageW(form.Box->Handle(), WM_GETFONT, 0, 0));
}

TEST(Controls, DesignedValuesRunNoHandlerButChangesDo) {
    TTestForm form;
    EXPECT_EQ(form.checkClicks, 0);
    EXPECT_EQ(form.editChanges, 0);
    form.Check->SetChecked(true);  // unchanged: no click
    EXPECT_EQ(form.checkClicks, 0);
    form.Check->SetChecked(false);
    EXPECT_EQ(form.checkClicks, 1);
    ::SendMessageW(form.Check->Handle(), BM_CLICK, 0, 0);  // as the user clicks
    EXPECT_EQ(form.checkClicks, 2);
    EXPECT_TRUE(form.Check->Checked());

    form.Box->SetText(L"45");
    EXPECT_EQ(form.editChanges, 1);
    EXPECT_EQ(form.Box->Text(), L"45");

    form.Push->SetEnabled(true);
    ::SendMessageW(form.Push->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.buttonClicks, 1);
}

TEST(Controls, EditExitsWhenTheFocusMovesWithinTheForm) {
    TTestForm form;
    form.Show();
    form.Box->SetFocus();
    EXPECT_EQ(form.editExits, 0);
    form.Check->SetFocus();
    EXPECT_EQ(form.editExits, 1);
    form.Close();
}

TEST(Controls, AltLetterClicksItsButtonWithoutTakingTheFocus) {
    TTestForm form;
    form.Push->SetEnabled(true);
    form.Show();
    form.Box->SetFocus();
    EXPECT_TRUE(form.Keyboard().HandleMnemonic(L'r'));  // "실행[&R]"
    EXPECT_EQ(form.buttonClicks, 1);
    EXPECT_EQ(::GetFocus(), form.Box->Handle());
    EXPECT_EQ(form.editExits, 0);
    EXPECT_FALSE(form.Keyboard().HandleMnemonic(L'q'));
    form.Push->SetEnabled(false);
    EXPECT_FALSE(form.Keyboard().HandleMnemonic(L'R'));
    EXPECT_EQ(form.buttonClicks, 1);
    form.Close();
}

TEST(Keys, AMnemonicWhoseHandlerRaisedIsNotDispatchedAgain) {
    TTestForm form;
    form.Push->SetEnabled(true);
    form.failClick = true;
    form.Show();
    MessageBoxWatcher watcher;
    // Alt+R as the loop gets it from the keyboard.
    ::PostMessageW(form.Handle(), WM_SYSCHAR, L'r', static_cast<LPARAM>(KF_ALTDOWN) << 16);
    PumpMessages(100);
    EXPECT_EQ(form.buttonClicks, 1);
    EXPECT_EQ(watcher.Texts(), std::vector<std::wstring>{L"Run failed."});
    EXPECT_EQ(form.sysChars, 0) << "after the error box the key went on to the window (and its default beep)";
    form.Close();
}

// As "앞 내용" at the first memo: the focused button disables itself when pressed, and the
// handler enables the next one only afterwards.
TEST(Keys, AFocusedButtonThatDisablesItselfHandsTheFocusOnInTabOrderAndAHeldEnterPressesOnce) {
    TTestForm form;
    form.Push->SetEnabled(true);
    form.disableOnClick = true;
    form.Show();
    ASSERT_EQ(::GetActiveWindow(), form.Handle()) << "the form cannot become active here";
    form.Push->SetFocus();
    ::PostMessageW(form.Push->Handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PumpMessages(100);
    ASSERT_EQ(form.buttonClicks, 1);
    ASSERT_FALSE(form.Push->Enabled());
    ASSERT_EQ(::GetFocus(), form.Next->Handle()) << "the focus is on " << (::GetFocus() ? ClassOf(::GetFocus()) : L"nothing");
    // The key held down: its repeats reach the button the focus went to, and press nothing.
    ::PostMessageW(form.Next->Handle(), WM_KEYDOWN, VK_RETURN, 0x401C0001);
    PumpMessages(50);
    EXPECT_EQ(form.nextClicks, 0);
    ::PostMessageW(form.Next->Handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PumpMessages(50);
    EXPECT_EQ(form.nextClicks, 1);
    form.Close();
}

// As the dialog manager does: the first Tab, arrow or Alt in a form whose focus rectangle and
// access keys are hidden shows both; a key that does not move the focus shows nothing.
TEST(Keys, TheFirstTabArrowOrAltShowsTheFocusAndTheAccessKeys) {
    const WORD both = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    for (const auto& [message, key] : {std::pair{WM_KEYDOWN, VK_TAB}, std::pair{WM_KEYDOWN, VK_DOWN},
                                       std::pair{WM_SYSKEYDOWN, VK_MENU}}) {
        TTestForm form;
        form.Show();
        form.Check->SetFocus();
        form.cuesHidden = true;
        ::PostMessageW(form.Check->Handle(), WM_KEYDOWN, 'A', 0x001E0001);
        PumpMessages(30);
        EXPECT_TRUE(form.cuesCleared.empty()) << key;
        ::PostMessageW(form.Check->Handle(), message, key, 0x00010001);
        ::PostMessageW(form.Check->Handle(), message, key, 0x00010001);
        PumpMessages(50);
        EXPECT_EQ(form.cuesCleared, std::vector<WORD>{both}) << key;
        form.Close();
    }
}

// As the editor's old-memo mark, count and date caption: the item of a label the program changes
// is heard to have a new name (an empty label keeps its id), and a form out of sight is not heard.
TEST(Controls, AChangedLabelOrCaptionRaisesANameChangeOfItsItem) {
    TTestForm form;
    form.Show();
    const Listening names(EVENT_OBJECT_NAMECHANGE);
    form.Mark->SetText(L"옛날 메모(확인함)");
    form.Caption->SetText(L"메모 겟수 2개");
    form.Caption->SetText(L"메모 겟수 2개");
    form.Group->SetText(L" 2024 年 3 月 5 日 ");
    form.Hide();
    form.Caption->SetText(L"메모 겟수 3개");
    PumpMessages(100);
    const HWND group = form.Group->Handle();
    EXPECT_EQ(g_heard, (std::vector<Heard>{{group, 1}, {group, 2}, {group, CHILDID_SELF}}));
    form.Close();
}

TEST(Controls, HotKeyBoxRules) {
    TTestForm form;
    form.Keys->SetHotKeyValue(0x2000 | 'Q');  // Shift+Q
    EXPECT_EQ(form.Keys->HotKeyValue(), 0x2000 | 'Q');
    form.Keys->SetHotKeyValue(0xE000 | 0x70);  // Ctrl+Alt+Shift+F1
    EXPECT_EQ(form.Keys->HotKeyValue(), 0xE000 | 0x70);
    form.Keys->SetHotKeyValue(0);
    EXPECT_EQ(form.Keys->HotKeyValue(), 0);
    // A bare key typed into the box gets Ctrl+Alt, as its rules say.
    form.Show();
    form.Keys->SetFocus();
    ::SendMessageW(form.Keys->Handle(), WM_KEYDOWN, 'W', 0x00110001);
    ::SendMessageW(form.Keys->Handle(), WM_KEYUP, 'W', 0xC0110001);
    EXPECT_EQ(form.Keys->HotKeyValue(), 0xC000 | 'W');
    form.Close();
}

// A kind of its own, made in this file alone: a trackbar, which reports through WM_HSCROLL and
// WM_NOTIFY to the window it stands on.
class TTestBar final : public win::WindowedControl {
public:
    struct Args {};
    TTestBar(win::ControlSite& site, Control* parent, const win::ControlRow& row, const Args&)
        : WindowedControl(site, parent, row) {
        CreateSystemWindow(TRACKBAR_CLASSW, RowStyle(row), 0, ICC_BAR_CLASSES);
    }
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_HSCROLL && message != WM_NOTIFY)
            return WindowedControl::HandleReflected(message, wParam, lParam);
        heard.push_back(message == WM_HSCROLL ? LOWORD(wParam) : reinterpret_cast<const NMHDR*>(lParam)->code);
        return 7;
    }
    std::vector<UINT> heard;
};

class TBarForm : public win::Form {
public:
    TBarForm();
    win::GroupBox* Group = nullptr;
    TTestBar* Bar = nullptr;
};

const win::Row<TBarForm> kBarLayout[] = {
    {{.name = "Group", .left = 8, .top = 8, .width = 200, .height = 60}, win::Into<&TBarForm::Group>()},
    {{.name = "Bar", .parent = "Group", .left = 10, .top = 20, .width = 150, .height = 30, .tabOrder = 0},
     win::Into<&TBarForm::Bar>()},
};

TBarForm::TBarForm() : win::Form(win::Application::Instance(), kTestFormSpec) {
    BuildLayout<TBarForm>(*this, kBarLayout);
}

TEST(Controls, WhatAChildReportsThroughScrollOrNotifyReachesItsOwnKind) {
    TBarForm form;
    const HWND bar = form.Bar->Handle();
    ::SendMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);  // the bar tells its parent it moved a line
    NMHDR released{bar, static_cast<UINT_PTR>(::GetDlgCtrlID(bar)), NM_RELEASEDCAPTURE};
    EXPECT_EQ(::SendMessageW(form.Group->Handle(), WM_NOTIFY, released.idFrom, reinterpret_cast<LPARAM>(&released)), 7);
    EXPECT_EQ(form.Bar->heard, (std::vector<UINT>{TB_LINEDOWN, static_cast<UINT>(NM_RELEASEDCAPTURE)}));
}

TEST(Form, CloseHidesOrFreesAsTheHandlerSays) {
    auto& app = win::Application::Instance();
    auto& hidden = app.CreateOwned<TTestForm>(win::CloseAction::Hide);
    ASSERT_NE(app.MainForm(), &hidden);
    hidden.Show();
    hidden.Close();
    EXPECT_EQ(hidden.closes, 1);
    EXPECT_FALSE(hidden.Visible());
    app.Destroy(hidden);

    auto& freed = app.CreateOwned<TTestForm>(win::CloseAction::Free);
    const HWND hwnd = freed.Handle();
    freed.Show();
    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);  // the system close command
    PumpMessages(100);
    EXPECT_FALSE(::IsWindow(hwnd));

    auto& kept = app.CreateOwned<TTestForm>(win::CloseAction::None);
    kept.Show();
    kept.Close();
    EXPECT_TRUE(kept.Visible());
    app.Destroy(kept);
}

TEST(Form, ShowModalRunsUntilClosedAndDisablesTheRest) {
    TTestForm owner;
    owner.Show();
    TTestForm dialog;
    bool ownerDisabledMeanwhile = false;
    std::thread closer([&] {
        ::Sleep(200);
        ::PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    });
    std::thread watcher([&] {
        ::Sleep(100);
        ownerDisabledMeanwhile = !::IsWindowEnabled(owner.Handle());
    });
    const int result = dialog.ShowModal();
    closer.join();
    watcher.join();
    EXPECT_EQ(result, win::kModalCancel);
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(dialog.Visible());
    owner.Close();
}

// The focus as a dialog keeps it: on the first tab stop when shown, kept through another
// window in front (without running the box's exit handler), a modal form and the error box.
TEST(Form, TheFocusComesBackWhereItWasAfterAnotherWindowAModalFormAndTheErrorBox) {
    TTestForm form;
    form.Show();
    ASSERT_EQ(::GetActiveWindow(), form.Handle()) << "the form did not become active when shown";
    EXPECT_EQ(::GetFocus(), form.Check->Handle()) << "not on the first tab stop";
    form.Box->SetFocus();

    const HWND other = ::CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                         nullptr, nullptr);
    ::SetForegroundWindow(other);
    EXPECT_EQ(form.ActiveControl(), form.Box) << "the form forgot its control while another was in front";
    ::SetForegroundWindow(form.Handle());
    EXPECT_EQ(::GetFocus(), form.Box->Handle());
    EXPECT_EQ(form.editExits, 0);
    ::DestroyWindow(other);

    TTestForm dialog;
    ::PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    dialog.ShowModal();
    EXPECT_EQ(::GetActiveWindow(), form.Handle()) << "after a modal form";
    EXPECT_EQ(::GetFocus(), form.Box->Handle()) << "after a modal form";

    {
        MessageBoxWatcher watcher;
        win::Application::Instance().ShowError("Handler failed");
    }
    EXPECT_EQ(::GetActiveWindow(), form.Handle()) << "after the error box";
    EXPECT_EQ(::GetFocus(), form.Box->Handle()) << "after the error box";
    EXPECT_EQ(form.editExits, 0);
    form.Close();
}

TEST(RemoveCaption, ClearsTheTitleBarAndKeepsTheDialogFrame) {
    TTestForm form;
    const RECT before = form.BoundsRect();
    RECT client;
    ::GetClientRect(form.Handle(), &client);
    win::RemoveCaption(form);
    const LONG style = ::GetWindowLongW(form.Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(::GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    // Client height = outer height minus 46, with the frame the window had at that moment.
    const int outerBefore = before.bottom - before.top;
    const RECT after = form.BoundsRect();
    EXPECT_EQ(after.bottom - after.top, outerBefore - client.bottom + (outerBefore - 46));
}

TEST(Text, Cp949IsNamedExplicitly) {
    const std::string bytes = win::ToCp949(L"시보랑");
    EXPECT_EQ(bytes, "\xBD\xC3\xBA\xB8\xB6\xFB");
    EXPECT_EQ(win::FromCp949(bytes), L"시보랑");
    bool lossless = true;
    win::ToCp949(L"a\u0E01b", &lossless);  // Thai is not in CP949
    EXPECT_FALSE(lossless);
    win::ToCp949(L"메모 겟수", &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(win::Narrow(win::Widen("시보랑")), "시보랑");
}

}  // namespace
}  // namespace siborang
