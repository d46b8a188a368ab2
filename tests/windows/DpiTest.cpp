// Every form at the screen's DPI (96, 120, 144 and 192 dpi in runs of their own:
// scripts/dpi-tests.sh): each control stands where its 96-dpi row puts it, scaled, in a font of
// its row's height scaled; sent WM_DPICHANGED, a form lays itself out as one made at the new DPI.
#include <gtest/gtest.h>

#include <string>

#include "clock/Unit1.h"
#include "clock/Unit3.h"
#include "clock/Unit4.h"
#include "memo/EditorLogic.h"
#include "memo/MemoFile.h"
#include "memo/Unit2.h"
#include "resources/layouts/MainWindow.h"
#include "resources/layouts/MemoEditor.h"
#include "resources/layouts/MemoNote.h"
#include "resources/layouts/AboutDialog.h"
#include "tests/common/Folders.h"
#include "tests/common/MemoSamples.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "core/WordWrap.h"
#include "win/Dpi.h"
#include "win/Handles.h"
#include "win/Text.h"

namespace siborang {
namespace {

using win::Control;
using win::Dpi;

constexpr int kMovedDpi = 192;

// Where a control stands in its parent's client area, as the screen shows it.
RECT PlacedRect(const Control& c) {
    if (!c.Handle()) return c.Bounds();
    RECT rc{};
    ::GetWindowRect(c.Handle(), &rc);
    ::MapWindowPoints(nullptr, c.ParentHandle(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// A label whose box grows to hold its rows: where its row puts it, as wide, at least as high,
// and high enough for its text's rows, which break at spaces or before a parenthesis only (no
// word is cut in two).
void ExpectRowsFit(const win::Label& label, const RECT& expected) {
    const RECT placed = label.Bounds();
    EXPECT_NEAR(placed.left, expected.left, 1) << Describe(placed);
    EXPECT_NEAR(placed.top, expected.top, 1) << Describe(placed);
    EXPECT_NEAR(placed.right, expected.right, 1) << Describe(placed);
    win::WindowDc screen(nullptr);
    win::SelectGuard select(screen.Get(), label.FontHandle());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(screen.Get(), &tm);
    const std::wstring text = label.Text();
    const auto rows = WrapAtSpaces(text, placed.right - placed.left, [&](std::wstring_view piece) {
        RECT extent{0, 0, 0, 0};
        ::DrawTextW(screen.Get(), piece.data(), static_cast<int>(piece.size()), &extent, DT_SINGLELINE | DT_CALCRECT);
        return static_cast<int>(extent.right);
    });
    EXPECT_GE(placed.bottom - placed.top, static_cast<LONG>(rows.size()) * tm.tmHeight) << Describe(placed);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const wchar_t next = text[rows[i].start + rows[i].length];
        EXPECT_TRUE(next == L' ' || next == L'(') << "\"" << win::Narrow(text) << "\" broken inside a word";
    }
}

// Each row's control at the form's DPI: its scaled edges within a pixel (a self-sizing label
// by its corner, a combo box by its width, its height the system's), its font scaled.
template <class F, std::size_t N>
void ExpectLaidOut(const F& form, const win::Row<F> (&table)[N]) {
    const Dpi dpi = form.CurrentDpi();
    for (const auto& row : table) {
        const win::ControlRow& p = row.control;
        SCOPED_TRACE(std::string(p.name) + " at " + std::to_string(dpi.Value()) + " dpi");
        const Control* c = form.FindControl(p.name);
        ASSERT_NE(c, nullptr);
        const RECT placed = PlacedRect(*c);
        const RECT expected = dpi.Edges(p.left, p.top, p.width, p.height);
        const auto* label = dynamic_cast<const win::Label*>(c);
        const bool selfSized = label && label->AutoSize();
        if (label && label->FitsRows()) {
            ExpectRowsFit(*label, expected);
            continue;
        }
        const bool systemHeight = dynamic_cast<const win::ComboBox*>(c) != nullptr;
        EXPECT_NEAR(placed.left, expected.left, 1) << Describe(placed);
        EXPECT_NEAR(placed.top, expected.top, 1) << Describe(placed);
        if (!selfSized) {
            EXPECT_NEAR(placed.right, expected.right, 1) << Describe(placed);
        }
        if (!selfSized && !systemHeight) {
            EXPECT_NEAR(placed.bottom, expected.bottom, 1) << Describe(placed);
        }

        LOGFONTW lf{};
        ::GetObjectW(c->FontHandle(), sizeof lf, &lf);
        if (p.font.face) {
            EXPECT_EQ(-lf.lfHeight, dpi.Scale(p.font.height));
        }
    }
}

// The DPI change Windows sends when a window moves to a monitor of another scale: the window's
// outer rectangle scaled about its top-left corner as the suggestion, whose corner it takes.
void MoveToDpi(win::Form& form, int dpi) {
    const RECT now = form.BoundsRect();
    const int from = form.CurrentDpi().Value();
    RECT suggested{now.left, now.top, now.left + ::MulDiv(now.right - now.left, dpi, from),
                   now.top + ::MulDiv(now.bottom - now.top, dpi, from)};
    ::SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT after = form.BoundsRect();
    EXPECT_EQ(after.left, suggested.left);
    EXPECT_EQ(after.top, suggested.top);
}

SIZE ClientSize(const win::Form& form) {
    RECT rc{};
    ::GetClientRect(form.Handle(), &rc);
    return {rc.right, rc.bottom};
}

// The form's client at its DPI is its client at 96 dpi scaled, within a pixel, here and on a
// monitor at 200%; back on the first monitor it has its first size again, to the pixel.
void ExpectClientScaledAndRoundTrip(win::Form& form) {
    const int first = form.CurrentDpi().Value();
    const RECT before = form.BoundsRect();
    const SIZE client = ClientSize(form);
    MoveToDpi(form, kDesignDpi);
    const SIZE client96 = ClientSize(form);
    for (const int dpi : {first, kMovedDpi}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi against 96");
        MoveToDpi(form, dpi);
        const SIZE now = ClientSize(form);
        EXPECT_NEAR(now.cx, Dpi(dpi).Scale(client96.cx), 1);
        EXPECT_NEAR(now.cy, Dpi(dpi).Scale(client96.cy), 1);
    }
    MoveToDpi(form, first);
    const RECT after = form.BoundsRect();
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(ClientSize(form).cy, client.cy);
}

class Scaling : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.Ready()); }
    void TearDown() override {
        if (MemoFileIsOpen()) CloseMemoFile();
    }
    // The forms are made at the screen's DPI, as the program makes them.
    static void ExpectScreenDpi(const win::Form& form) {
        EXPECT_EQ(form.CurrentDpi(), Dpi::OfWindow(form.Handle()));
    }

    probes::WorkingFolder folder_{L"siborang-dpi-"};
};

TEST_F(Scaling, MainWindowAndItsNote) {
    TForm1 main(win::Application::Instance());
    ExpectScreenDpi(main);
    main.ShowForm(true);
    ExpectLaidOut(main, kForm1Layout);

    PendingNote = {};
    PendingNote.Heading.Assign(win::ToCp949(L"2026년 12월 8일 10시 7분"));
    PendingNote.Lines[0].Assign(win::ToCp949(L"회의"));
    main.ShowMemoNote(PendingNote);
    auto* note = static_cast<TForm3*>(win::Form::FromHandle(::FindWindowW(L"TForm3", nullptr)));
    ASSERT_NE(note, nullptr);
    ExpectLaidOut(*note, kForm3Layout);
    const RECT at = note->BoundsRect();
    EXPECT_LE(at.right, ::GetSystemMetrics(SM_CXSCREEN)) << "the note stands wholly on the screen";
    EXPECT_LE(at.bottom, ::GetSystemMetrics(SM_CYSCREEN)) << "the note stands wholly on the screen";

    ExpectClientScaledAndRoundTrip(main);
    ExpectClientScaledAndRoundTrip(*note);
    MoveToDpi(main, kMovedDpi);
    ExpectLaidOut(main, kForm1Layout);
    MoveToDpi(*note, kMovedDpi);
    ExpectLaidOut(*note, kForm3Layout);
    note->Close();
    main.Close();
}

TEST_F(Scaling, MemoEditor) {
    win::FileHandle file(
        ::CreateFileW(L"PostIt.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string bytes = samples::Bytes({samples::Memo(2015, 8, 11, 9, 30, L"회의")});
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    file.Reset();

    TForm2& editor = win::Application::Instance().CreateOwned<TForm2>();
    editor.Show();
    ExpectScreenDpi(editor);
    // The longest text the old-memo mark shows.
    editor.Label8->SetText(L"옛날 메모(확인함)");
    ExpectLaidOut(editor, kForm2Layout);
    ExpectClientScaledAndRoundTrip(editor);
    MoveToDpi(editor, kMovedDpi);
    ExpectLaidOut(editor, kForm2Layout);
    editor.SpeedButton1Click(*editor.Button5);
    win::Application::Instance().Destroy(editor);
}

TEST_F(Scaling, AboutDialog) {
    TForm4& about = win::Application::Instance().CreateOwned<TForm4>();
    about.Show();
    ExpectScreenDpi(about);
    ExpectLaidOut(about, kForm4Layout);
    ExpectClientScaledAndRoundTrip(about);
    MoveToDpi(about, kMovedDpi);
    ExpectLaidOut(about, kForm4Layout);
    win::Application::Instance().Destroy(about);
}

}  // namespace
}  // namespace siborang
