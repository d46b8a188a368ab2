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
#include "win/Dpi.h"
#include "win/Text.h"

namespace siborang {
namespace {

using win::Control;
using win::Dpi;

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
// outer rectangle scaled about its top-left corner as the suggestion.
void MoveToDpi(win::Form& form, int dpi) {
    const RECT now = form.BoundsRect();
    const int from = form.CurrentDpi().Value();
    RECT suggested{now.left, now.top, now.left + ::MulDiv(now.right - now.left, dpi, from),
                   now.top + ::MulDiv(now.bottom - now.top, dpi, from)};
    ::SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT after = form.BoundsRect();
    EXPECT_TRUE(::EqualRect(&after, &suggested)) << Describe(after);
}

constexpr int kMovedDpi = 192;

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
    ExpectLaidOut(editor, kForm2Layout);
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
    MoveToDpi(about, kMovedDpi);
    ExpectLaidOut(about, kForm4Layout);
    win::Application::Instance().Destroy(about);
}

}  // namespace
}  // namespace siborang
