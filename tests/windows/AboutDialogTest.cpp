// The about dialog: its frame, its credits and how it closes.
#include <gtest/gtest.h>

#include <thread>

#include "clock/Unit4.h"
#include "win/Application.h"
#include "win/Handles.h"

namespace siborang {
namespace {

int TextWidth(const win::Control& label) {
    HDC dc = ::GetDC(nullptr);
    SIZE size{};
    {
        win::SelectGuard select(dc, label.FontHandle());
        const std::wstring text = label.Text();
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

TEST(AboutDialog, FrameCaptionAndCentre) {
    TForm4 about(win::Application::Instance());
    wchar_t caption[64];
    ::GetWindowTextW(about.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"시보랑(v1.8) 제작자에 관하여...");
    RECT client;
    ::GetClientRect(about.Handle(), &client);
    EXPECT_EQ(client.right, 344);
    EXPECT_EQ(client.bottom, 229);
    const LONG style = ::GetWindowLongW(about.Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    about.Show();  // placed at the centre when shown
    const RECT rc = about.BoundsRect();
    about.Hide();
    EXPECT_LE(std::abs((rc.left + rc.right) / 2 - ::GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((rc.top + rc.bottom) / 2 - ::GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

TEST(AboutDialog, CreditsFitAndOnlyTheButtonTakesTheFocus) {
    TForm4 about(win::Application::Instance());
    EXPECT_LE(TextWidth(*about.Label6), 260);
    EXPECT_NE(about.Label5->Text().find(L"@example.org"), std::wstring::npos);
    EXPECT_EQ(about.Label5->TextColor(), RGB(0, 0, 255));
    EXPECT_EQ(about.Label6->TextColor(), RGB(255, 0, 0));
    for (const win::Control* label : {about.Label1, about.Label2, about.Label3, about.Label4, about.Label5}) {
        EXPECT_FALSE(label->Text().empty());
        EXPECT_LE(label->Bounds().right, 329);  // inside the panel
    }
    EXPECT_EQ(about.Button1->Text(), L"닫  기");
    EXPECT_EQ(::GetWindowLongW(about.Panel1->Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_NE(::GetWindowLongW(about.Button1->Handle(), GWL_STYLE) & WS_TABSTOP, 0);
}

// Closing with the button and with the close box end the modal loop alike.
class AboutDialogClose : public ::testing::TestWithParam<bool> {};

TEST_P(AboutDialogClose, EndsTheModalLoopWithCancel) {
    TForm4 about(win::Application::Instance());
    const bool byButton = GetParam();
    std::thread closer([&] {
        ::Sleep(100);
        if (byButton) {
            ::PostMessageW(about.Button1->Handle(), BM_CLICK, 0, 0);
        } else {
            ::PostMessageW(about.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    });
    EXPECT_EQ(about.ShowModal(), win::kModalCancel);
    closer.join();
    EXPECT_FALSE(about.Visible());
}

INSTANTIATE_TEST_SUITE_P(ButtonOrCloseBox, AboutDialogClose, ::testing::Bool());

}  // namespace
}  // namespace siborang
