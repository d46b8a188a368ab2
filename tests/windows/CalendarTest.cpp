// The month calendar in a real window: placed from a layout table, clicked, dragged and
// driven by keys through its own window procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/Calendar.h"
#include "core/Errors.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/Edit.h"

namespace siborang {
namespace {

using testing::PumpMessages;
using win::Control;

class TCalendarForm : public win::Form {
public:
    explicit TCalendarForm(win::Application& app = win::Application::Instance());

    void Calendar1Click(Control& sender) { log.push_back(sender.Name() + " click"); }
    void Calendar1Change(Control& sender) {
        log.push_back(sender.Name() + " change " + std::to_string(cal->Day()));
        if (throwOnChange) throw AppError("Change failed");
    }

    CalendarControl* Calendar1 = nullptr;
    win::Edit* Edit1 = nullptr;
    CalendarControl* Calendar2 = nullptr;
    TCalendar* cal = nullptr;
    std::vector<std::string> log;
    bool throwOnChange = false;
};

const win::Row<TCalendarForm> kCalendarLayout[] = {
    {{.name = "Calendar1", .left = 20, .top = 33, .width = 353, .height = 206,
         .font = {L"MS Serif", 16, false, false, RGB(0, 0, 0)}, .tabOrder = 0},
     win::Into<&TCalendarForm::Calendar1>(), {.click = &TCalendarForm::Calendar1Click,
         .change = &TCalendarForm::Calendar1Change}},
    {{.name = "Edit1", .left = 20, .top = 250, .width = 60, .height = 21, .tabOrder = 1},
     win::Into<&TCalendarForm::Edit1>()},
    {{.name = "Calendar2", .left = 100, .top = 250, .color = RGB(192, 192, 192)},
     win::Into<&TCalendarForm::Calendar2>({.startOfWeek = 1})},
};

TCalendarForm::TCalendarForm(win::Application& app)
    : win::Form(app, {.className = L"TCalendarForm", .caption = L"달력", .left = 40, .top = 40, .clientWidth = 393,
                      .clientHeight = 290, .font = {L"굴림", 12, false, false, RGB(0, 0, 0)}}) {
    BuildLayout<TCalendarForm>(*this, kCalendarLayout);
    cal = &TCalendar::Of(*Calendar1);
}

// Cell centres on a 349 x 202 client area: cells 49 x 28 and one-pixel lines.
LPARAM CellPoint(int column, int row) { return MAKELPARAM(column * 50 + 25, row * 29 + 14); }

class Calendar : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        PumpMessages(50);
        hwnd = form.cal->Handle();
        ::SetFocus(hwnd);
    }
    void TearDown() override {
        form.throwOnChange = false;
        form.Close();
    }
    // August 2015 by default: the 1st in column 6 of row 1, the 31st in column 1 of row 6.
    void Go(int y, int m, int d) {
        form.cal->SetDay(1);
        form.cal->SetYear(y);
        form.cal->SetMonth(m);
        form.cal->SetDay(d);
        form.log.clear();
    }
    void Click(int column, int row) {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(column, row));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, CellPoint(column, row));
    }
    void Key(UINT key) { ::SendMessageW(hwnd, WM_KEYDOWN, key, 0); }
    COLORREF Pixel(int x, int y) {
        ::UpdateWindow(hwnd);
        HDC dc = ::GetDC(hwnd);
        const COLORREF c = ::GetPixel(dc, x, y);
        ::ReleaseDC(hwnd, dc);
        return c;
    }
    // Whether any pixel of a cell has the colour.
    bool CellHas(int column, int row, COLORREF color) {
        ::UpdateWindow(hwnd);
        HDC dc = ::GetDC(hwnd);
        bool found = false;
        for (int y = row * 29; y < row * 29 + 28 && !found; ++y) {
            for (int x = column * 50; x < column * 50 + 49 && !found; ++x) found = ::GetPixel(dc, x, y) == color;
        }
        ::ReleaseDC(hwnd, dc);
        return found;
    }

    TCalendarForm form;
    HWND hwnd = nullptr;
};

TEST_F(Calendar, IsAWindowOfItsOwnPlacedFromTheTable) {
    wchar_t cls[32];
    ::GetClassNameW(hwnd, cls, 32);
    EXPECT_STREQ(cls, L"TCalendar");
    EXPECT_EQ(form.Calendar1->Handle(), hwnd);
    EXPECT_EQ(form.ControlOf(hwnd), form.Calendar1);
    EXPECT_EQ(::GetParent(hwnd), form.Handle());
    EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP);
    EXPECT_THROW(TCalendar::Of(*form.Edit1), AppError);
    RECT outer, client;
    ::GetWindowRect(hwnd, &outer);
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(outer.right - outer.left, 353);
    EXPECT_EQ(outer.bottom - outer.top, 206);
    EXPECT_EQ(client.right, 349);
    EXPECT_EQ(client.bottom, 202);
    EXPECT_EQ(form.cal->DefaultColWidth(), 49);
    EXPECT_EQ(form.cal->DefaultRowHeight(), 28);
    EXPECT_EQ(form.cal->Color(), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(::SendMessageW(hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    // A new calendar stands on today, today's cell current, and said nothing.
    const DateParts today = TCalendar::LocalToday();
    EXPECT_EQ(form.cal->Year(), today.year);
    EXPECT_EQ(form.cal->Month(), today.month);
    EXPECT_EQ(form.cal->Day(), today.day);
    EXPECT_TRUE(form.cal->UseCurrentDate());
    EXPECT_EQ(form.cal->CellLabel(form.cal->Col(), form.cal->Row()), std::to_string(today.day));
    EXPECT_TRUE(form.log.empty());
}

TEST_F(Calendar, TheRowGivesColourWeekStartAndTabStop) {
    TCalendar* second = &TCalendar::Of(*form.Calendar2);
    EXPECT_EQ(second->StartOfWeek(), 1);
    EXPECT_EQ(second->Color(), RGB(192, 192, 192));
    EXPECT_FALSE(::GetWindowLongW(second->Handle(), GWL_STYLE) & WS_TABSTOP);
    RECT outer;
    ::GetWindowRect(second->Handle(), &outer);  // no designed size: the grid's own
    EXPECT_EQ(outer.right - outer.left, 320);
    EXPECT_EQ(outer.bottom - outer.top, 120);
    // Grid lines on a silver calendar are grey, so that they still show.
    second->SetDay(1);
    second->SetYear(2015);
    second->SetMonth(8);
    second->SetDay(15);
    HWND h = second->Handle();
    ::UpdateWindow(h);
    HDC dc = ::GetDC(h);
    const int x = second->CellRect(0, 2).right, y = second->CellRect(0, 2).top + 2;
    EXPECT_EQ(::GetPixel(dc, x, y), RGB(128, 128, 128));
    ::ReleaseDC(h, dc);
    EXPECT_TRUE(form.log.empty());  // its OnChange is unbound
}

TEST_F(Calendar, ResizingSetsTheCellsFromTheClientArea) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 4 + 6 + 7 * 30, 4 + 6 + 7 * 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(form.cal->DefaultColWidth(), 30);
    EXPECT_EQ(form.cal->DefaultRowHeight(), 20);
}

TEST_F(Calendar, PressMovesTheHighlightAtOnceAndReleaseClicksThenChanges) {
    Go(2015, 8, 15);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(Pixel(6 * 50 + 2, 3 * 29 + 2), highlight);  // the 15th
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(4, 4));  // the 20th
    EXPECT_EQ(form.cal->Current(), (GridCell{4, 4}));
    EXPECT_EQ(Pixel(4 * 50 + 2, 4 * 29 + 2), highlight);
    EXPECT_EQ(Pixel(6 * 50 + 2, 3 * 29 + 2), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(::GetCapture(), hwnd);
    EXPECT_TRUE(form.log.empty());
    EXPECT_EQ(form.cal->Day(), 15);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, CellPoint(4, 4));
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click", "Calendar1 change 20"}));
    EXPECT_EQ(form.cal->Day(), 20);
    EXPECT_FALSE(form.cal->UseCurrentDate());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Calendar, PressOnABlankCellOnlyClicks) {
    Go(2015, 8, 15);
    Click(0, 1);
    EXPECT_EQ(form.cal->Current(), (GridCell{6, 3}));
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click"}));
    form.log.clear();
    Click(3, 0);  // the header: nothing at all
    EXPECT_TRUE(form.log.empty());
}

TEST_F(Calendar, DoubleClickFiresOnDblClickOnTheSecondPressOnly) {
    Go(2015, 8, 15);
    form.cal->OnDblClick = [&](TCustomGrid&) { form.log.push_back("dblclick"); };
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(2, 2));  // the 4th
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, CellPoint(2, 2));
    ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, CellPoint(2, 2));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, CellPoint(2, 2));
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click", "Calendar1 change 4", "dblclick"}));
}

TEST_F(Calendar, ArrowsStopAtTheMonthsEdgesAndRowEnds) {
    Go(2015, 8, 31);
    Key(VK_RIGHT);  // onto a blank cell
    EXPECT_EQ(form.cal->Day(), 31);
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click"}));
    Go(2015, 8, 22);  // column 6
    Key(VK_RIGHT);    // no wrap into the next row
    EXPECT_EQ(form.cal->Day(), 22);
    EXPECT_TRUE(form.log.empty());
    Go(2015, 8, 1);
    Key(VK_LEFT);
    EXPECT_EQ(form.cal->Day(), 1);
    Go(2015, 8, 30);  // column 0 of row 6
    Key(VK_DOWN);
    EXPECT_EQ(form.cal->Day(), 30);
    form.log.clear();
    Key(VK_LEFT);  // column 0: nowhere to go
    Key(VK_UP);
    EXPECT_EQ(form.cal->Day(), 23);
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click", "Calendar1 change 23"}));
}

TEST_F(Calendar, PagesMoveOnlyOntoDays) {
    Go(2015, 8, 29);  // column 6 of row 5
    Key(VK_PRIOR);    // up to row 1: the 1st
    EXPECT_EQ(form.cal->Day(), 1);
    EXPECT_EQ(form.cal->Current(), (GridCell{6, 1}));
    Key(VK_NEXT);  // down to row 6 of column 6: blank
    EXPECT_EQ(form.cal->Day(), 1);
    Go(2015, 8, 30);  // column 0 of row 6
    Key(VK_PRIOR);    // row 1 of column 0: blank
    EXPECT_EQ(form.cal->Day(), 30);
    Go(2015, 8, 2);  // column 0 of row 2
    Key(VK_NEXT);
    EXPECT_EQ(form.cal->Day(), 30);
    EXPECT_EQ(form.cal->Current(), (GridCell{0, 6}));
}

TEST_F(Calendar, ReadOnlyKeepsTheUserOutButNotTheOwner) {
    Go(2015, 8, 15);
    form.cal->SetReadOnly(true);
    Click(3, 3);
    Key(VK_LEFT);
    Key(VK_HOME);
    EXPECT_EQ(form.cal->Current(), (GridCell{6, 3}));
    EXPECT_EQ(form.cal->Day(), 15);
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click", "Calendar1 click", "Calendar1 click"}));
    form.log.clear();
    form.cal->SetDay(3);
    EXPECT_EQ(form.cal->Current(), (GridCell{1, 2}));
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 change 3"}));
}

TEST_F(Calendar, TabLeavesAndArrowsStayThroughTheMessageLoop) {
    Go(2015, 8, 15);
    ASSERT_EQ(::GetFocus(), hwnd);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_LEFT, 0);
    PumpMessages(50);
    EXPECT_EQ(form.cal->Day(), 14);
    EXPECT_EQ(::GetFocus(), hwnd);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
    PumpMessages(50);
    EXPECT_EQ(::GetFocus(), form.Edit1->Handle());
    EXPECT_EQ(form.cal->Day(), 14);
}

TEST_F(Calendar, DraggingPastTheRightEdgeStepsOneCellPerTick) {
    Go(2015, 8, 2);  // column 0 of row 2
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    ::SetCursorPos(rc.left + 40, rc.top + 60);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(0, 2));
    ASSERT_TRUE(form.cal->Selecting());
    ::SetCursorPos(rc.right + 30, rc.top + 60);  // right of the window, in row 2
    POINT at{};
    ::GetCursorPos(&at);
    if (at.x != rc.right + 30) GTEST_SKIP() << "the pointer cannot be moved here";
    ::SendMessageW(hwnd, WM_TIMER, 1, 0);
    EXPECT_EQ(form.cal->Current(), (GridCell{1, 2}));
    ::SendMessageW(hwnd, WM_TIMER, 1, 0);
    EXPECT_EQ(form.cal->Current(), (GridCell{2, 2}));
    // The real timer goes on at 60 ms a tick, a cell a tick: the four steps to column 6 take
    // three periods at least (a busy machine only makes them slower), and it stops there.
    const DWORD start = ::GetTickCount();
    while (form.cal->Col() < 6 && ::GetTickCount() - start < 3000) PumpMessages(5);
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_EQ(form.cal->Current(), (GridCell{6, 2}));
    EXPECT_GE(elapsed, 3 * 45u) << "four steps in " << elapsed << " ms";
    PumpMessages(150);
    EXPECT_EQ(form.cal->Current(), (GridCell{6, 2}));
    EXPECT_TRUE(form.log.empty());
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(380, 60));
    EXPECT_FALSE(form.cal->Selecting());
    EXPECT_EQ(form.log, (std::vector<std::string>{"Calendar1 click", "Calendar1 change 8"}));
    ::SetCursorPos(rc.left - 30, rc.top + 60);  // the timer has stopped: nothing moves now
    PumpMessages(150);
    EXPECT_EQ(form.cal->Current(), (GridCell{6, 2}));
}

TEST_F(Calendar, PaintsHeaderLinesAndTheRedAndBlueColumns) {
    Go(2015, 8, 12);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Pixel(25, 3), face);                        // header cell, inside its raised edge
    EXPECT_EQ(Pixel(49, 10), RGB(0, 0, 0));               // line between header cells
    EXPECT_EQ(Pixel(49, 70), RGB(192, 192, 192));         // line between week-row cells
    EXPECT_EQ(Pixel(100, 28), RGB(0, 0, 0));              // line below the header
    EXPECT_TRUE(CellHas(0, 3, RGB(255, 0, 0)));           // the 9th, a Sunday
    EXPECT_TRUE(CellHas(0, 0, RGB(255, 0, 0)));           // 日
    EXPECT_TRUE(CellHas(6, 3, RGB(0, 0, 255)));           // the 15th, a Saturday
    EXPECT_TRUE(CellHas(6, 0, RGB(0, 0, 255)));           // 土
    EXPECT_FALSE(CellHas(3, 3, RGB(255, 0, 0)));          // the 12th: black on the highlight
    EXPECT_TRUE(CellHas(3, 3, ::GetSysColor(COLOR_HIGHLIGHTTEXT)));
    form.cal->SetDay(15);  // the current cell in column 6 keeps blue text on the highlight
    EXPECT_TRUE(CellHas(6, 3, RGB(0, 0, 255)));
    EXPECT_TRUE(CellHas(6, 3, ::GetSysColor(COLOR_HIGHLIGHT)));
    form.cal->SetStartOfWeek(1);  // the colours stay with the columns
    EXPECT_TRUE(CellHas(0, 2, RGB(255, 0, 0)));  // Monday the 3rd
    EXPECT_TRUE(form.log.size() == 1u);           // only the SetDay
}

TEST_F(Calendar, AFailingChangeHandlerShowsTheErrorBox) {
    Go(2015, 8, 15);
    form.throwOnChange = true;
    testing::MessageBoxWatcher watcher;
    Click(3, 3);  // the 12th
    EXPECT_EQ(watcher.Texts(), (std::vector<std::wstring>{L"Change failed."}));
    EXPECT_EQ(form.cal->Day(), 12);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(form.cal->Selecting());
}

TEST_F(Calendar, Picture) {
    Go(2015, 8, 15);
    Click(2, 3);  // the 11th, by the mouse
    ::SetFocus(form.Edit1->Handle());  // the highlight without the focus rectangle
    ASSERT_EQ(form.cal->Day(), 11);
    ASSERT_TRUE(testing::SaveScreenshot(hwnd, L"calendar"));
}

}  // namespace
}  // namespace siborang
