// Panels, graphic controls and their mouse routing, and form timers, in real windows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/Bevel.h"
#include "win/Label.h"
#include "win/Panel.h"
#include "win/SpeedButton.h"
#include "win/Timer.h"

namespace siborang {
namespace {

using testing::PumpMessages;
using win::Control;
using win::MouseButton;

class TChromeForm : public win::Form {
public:
    explicit TChromeForm(win::Application& app = win::Application::Instance());

    void Down(Control& c, MouseButton, unsigned, int x, int y) { log.push_back("down " + c.Name() + At(x, y)); }
    void Move(Control& c, MouseButton, unsigned, int x, int y) { log.push_back("move " + c.Name() + At(x, y)); }
    void Up(Control& c, MouseButton, unsigned, int x, int y) { log.push_back("up " + c.Name() + At(x, y)); }
    void Click(Control& c) { log.push_back("click " + c.Name()); }

    static std::string At(int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); }

    win::Panel* Panel = nullptr;
    win::SpeedButton* Flat = nullptr;
    win::Label* Caption = nullptr;
    win::Bevel* Line = nullptr;
    std::vector<std::string> log;
};

const win::FontSpec kSerifWhite{L"MS Serif", 13, false, false, RGB(255, 255, 255)};

const win::Row<TChromeForm> kChrome[] = {
    {{.name = "Line", .left = 8, .top = 100, .width = 200, .height = 9},
     win::Into<&TChromeForm::Line>({.topLine = true})},
    {{.name = "Panel", .left = 45, .top = 0, .width = 276, .height = 22, .font = kSerifWhite, .color = RGB(0, 0, 0),
         .tabOrder = 0},
     win::Into<&TChromeForm::Panel>(), {.mouseDown = &TChromeForm::Down, .mouseMove = &TChromeForm::Move,
         .mouseUp = &TChromeForm::Up}},
    {{.name = "Flat", .parent = "Panel", .left = 256, .top = 4, .width = 16, .height = 14, .caption = L"X"},
     win::Into<&TChromeForm::Flat>(), {.click = &TChromeForm::Click}},
    {{.name = "Caption", .parent = "Panel", .left = 5, .top = 4, .width = 70, .height = 13, .caption = L"시보랑"},
     win::Into<&TChromeForm::Caption>({.transparent = true}), {.mouseDown = &TChromeForm::Down,
         .mouseMove = &TChromeForm::Move, .mouseUp = &TChromeForm::Up}},
};

TChromeForm::TChromeForm(win::Application& app)
    : win::Form(app, {.className = L"TChromeForm", .caption = L"Chrome", .left = 50, .top = 50, .clientWidth = 320,
                      .clientHeight = 239, .font = {L"굴림", 12, false, false, RGB(0, 0, 0)}}) {
    BuildLayout<TChromeForm>(*this, kChrome);
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

TEST(Panel, IsAContainerWindowWithItsOwnColour) {
    TChromeForm form;
    wchar_t cls[32];
    ::GetClassNameW(form.Panel->Handle(), cls, 32);
    EXPECT_STREQ(cls, L"TPanel");
    EXPECT_EQ(form.Panel->BackColor(), RGB(0, 0, 0));
    EXPECT_EQ(form.Caption->BackColor(), RGB(0, 0, 0));  // graphic children stand on it
    EXPECT_EQ(form.Caption->TextColor(), RGB(255, 255, 255));
    EXPECT_EQ(form.Line->BackColor(), form.BackColor());
    EXPECT_EQ(form.Flat->Handle(), nullptr);
    form.Show();
    ::UpdateWindow(form.Handle());
    HDC dc = ::GetDC(form.Panel->Handle());
    EXPECT_EQ(::GetPixel(dc, 100, 18), RGB(0, 0, 0));  // inside the bevels, off the label
    ::ReleaseDC(form.Panel->Handle(), dc);
    form.Close();
}

TEST(MouseRouting, GraphicControlsGetTheirOwnCoordinatesAndTheContainerTheRest) {
    TChromeForm form;
    const HWND panel = form.Panel->Handle();
    ::SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 8));  // on the label
    ::SendMessageW(panel, WM_MOUSEMOVE, MK_LBUTTON, Point(200, 10));  // held: still the label
    ::SendMessageW(panel, WM_LBUTTONUP, 0, Point(200, 10));
    ::SendMessageW(panel, WM_RBUTTONDOWN, MK_RBUTTON, Point(150, 10));  // bare panel
    ::SendMessageW(panel, WM_RBUTTONUP, 0, Point(151, 11));
    EXPECT_EQ(form.log, (std::vector<std::string>{"down Caption 5,4", "move Caption 195,6", "up Caption 195,6",
                                                  "down Panel 150,10", "up Panel 151,11"}));
}

TEST(MouseRouting, SpeedButtonClicksOnlyWhenReleasedOverIt) {
    TChromeForm form;
    const HWND panel = form.Panel->Handle();
    ::SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, Point(260, 8));
    ::SendMessageW(panel, WM_LBUTTONUP, 0, Point(261, 9));
    ::SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, Point(260, 8));
    ::SendMessageW(panel, WM_LBUTTONUP, 0, Point(100, 9));  // dragged off before release
    ::SendMessageW(panel, WM_RBUTTONDOWN, MK_RBUTTON, Point(260, 8));
    ::SendMessageW(panel, WM_RBUTTONUP, 0, Point(260, 8));  // the right button does not click
    EXPECT_EQ(form.log, (std::vector<std::string>{"click Flat"}));
    form.Flat->SetEnabled(false);
    ::SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, Point(260, 8));
    ::SendMessageW(panel, WM_LBUTTONUP, 0, Point(260, 8));
    EXPECT_EQ(form.log.size(), 1u);
}

TEST(Timer, TicksOnlyWhileEnabled) {
    TChromeForm form;
    int ticks = 0;
    win::Timer timer(form, 20, false, [&](win::Timer&) { ++ticks; });
    PumpMessages(120);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    PumpMessages(200);
    EXPECT_GE(ticks, 2);
    timer.SetEnabled(false);
    const int stopped = ticks;
    PumpMessages(120);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, AThrowingHandlerShowsTheErrorAndKeepsTicking) {
    TChromeForm form;
    int ticks = 0;
    win::Timer timer(form, 30, true, [&](win::Timer&) {
        if (++ticks == 1) throw std::runtime_error("Tick failed");
    });
    testing::MessageBoxWatcher watcher;
    PumpMessages(300);
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(watcher.Texts().at(0), L"Tick failed.");
}

}  // namespace
}  // namespace siborang
