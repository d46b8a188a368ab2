#include "clock/Unit1.h"

#include <algorithm>

#include "clock/ProfileStore.h"
#include "clock/Unit3.h"
#include "clock/Unit4.h"
#include "core/IntParse.h"
#include "memo/MemoFile.h"
#include "memo/Unit2.h"
#include "resources/ResourceNames.h"
#include "resources/layouts/MainWindow.h"
#include "speech/Speech.h"
#include "win/Application.h"
#include "win/StartupTrace.h"
#include "win/Text.h"
#include "win/TitleChrome.h"

namespace siborang {

TForm1* Form1 = nullptr;
std::int32_t IntervalCounter = 0;
PendingNoteTexts PendingNote{};
NoteRandom NotePlaces;

namespace {

constexpr UINT kNoMoveNoSize = SWP_NOMOVE | SWP_NOSIZE;

}  // namespace

TickTime Form1Tick::Now() {
    TickTime now{};
    std::uint16_t second;
    GetToday(now.year, now.month, now.day);
    GetNowTime(now.hour, now.minute, second);
    return now;
}

bool Form1Tick::SpeakNow() { return siborang::SpeakNow(); }
void Form1Tick::OpenMemos() { OpenMemoFile(); }
std::int32_t Form1Tick::MemoCount() { return siborang::MemoCount(); }
int Form1Tick::ReadMemo(std::int32_t index, MemoRecord& memo) { return siborang::ReadMemo(index, memo); }
int Form1Tick::WriteMemo(std::int32_t index, const MemoRecord& memo) { return siborang::WriteMemo(index, memo); }
void Form1Tick::CloseMemos() { CloseMemoFile(); }

void Form1Tick::ShowMemoNote(const PendingNoteTexts& note) {
    PendingNote = note;
    form_.ShowMemoNote(PendingNote);
}

TForm1::TForm1(win::Application& app)
    : win::Form(app, kForm1Spec), win::TitleDragged(static_cast<win::Form&>(*this)), hotKey_(Handle()) {
    win::startup::Mark("main window: class and window");
    BuildLayout<TForm1>(*this, kForm1Layout);
    win::startup::Mark("main window: controls");
    Timer1 = std::make_unique<win::Timer>(*this, 60000, true, [this](win::Timer& t) { Timer1Timer(t); });
    // As the stored layout builds it: activated first (added without a picture, which queues
    // a refresh), then the picture put in, which the refresh sends once the loop runs.
    TrayIcon1 = std::make_unique<TTrayIcon>(*this);
    TrayIcon1->SetActive(true);
    // The shell shows the icon at its small-icon size, at the system's DPI.
    TrayIcon1->LoadPicture(app.Gdi().SharedIcon(kMainIcon, ::GetSystemMetrics(SM_CXSMICON)));
    // The icon's name, which a screen reader reads on it.
    TrayIcon1->SetToolTip(win::ToCp949(App().Title()));
    TrayIcon1->OnClick = [this](TTrayIcon& sender) { TrayIcon1Click(sender); };
    win::startup::Mark("tray: hidden window, timer");
    FormCreate(*this);
    win::startup::Mark("main window: caption, place, topmost");
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate(win::Form&) {
    // No OleAut32 reference to give back: the program takes one only when a screen reader first
    // asks (win/AccessLibraries), pinned for the rest of the process because a reader may hold
    // our objects until the end. Any other reference is its loader's to release.
    win::RemoveCaption(*this);
    ::ShowWindowAsync(App().Handle(), SW_HIDE);
    // Always on top and out of sight at (-9999, -9999), in one move; not activated: out of
    // sight, it must not take the keyboard from the program in front.
    ::SetWindowPos(Handle(), HWND_TOPMOST, -9999, -9999, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindowAsync(Handle(), SW_HIDE);
    hotKey_.Register(LoadSaveSettings('r'));
}

void TForm1::FormClose(win::Form&, win::CloseAction&) { hotKey_.Unregister(); }

LRESULT TForm1::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The hotkey speaks first; its identifier is not looked at.
    if (message == WM_HOTKEY) SpeakNow();
    const LRESULT result = win::Form::WindowProc(message, wParam, lParam);
    // Then the newest note standing takes the keyboard, the keyboard's way to it: after the
    // time, so that a reader does not read the note over the clock's voice. While an error box
    // is up every other window takes no input: the box keeps the keyboard, as on the icon's click.
    if (message == WM_HOTKEY && !App().Ending()) {
        if (const HWND modal = App().ModalWindow()) {
            ::SetForegroundWindow(modal);
            win::ShowKeyboardCues(modal);
        } else if (TForm3* note = TForm3::Newest()) {
            note->TakeKeyboard();
        }
    }
    return result;
}

std::optional<HotKeyKeys> TForm1::LoadSaveSettings(char mode) {
    ProfileStore store;
    if (mode == 'r') {
        const Settings loaded = LoadSettings(store);
        ShowSettings(loaded);
        return HotKeyAtStart(loaded);
    }
    const Settings shown = ShownSettings();
    SaveSettings(store, shown);
    return HotKeyOnRun(shown);
}

void TForm1::ShowSettings(const Settings& s) {
    Button1->SetEnabled(s.listenOffered);
    HotKey1->SetHotKeyValue(JoinShortcut(s.hotKey));
    CheckBox1->SetChecked(s.speakAtIntervals);
    CheckBox2->SetChecked(s.showMemos);
    Edit1->SetText(win::Widen(s.intervalText));
}

Settings TForm1::ShownSettings() const {
    return {.hotKey = KeysOfShortcut(HotKey1->HotKeyValue()),
            .speakAtIntervals = CheckBox1->Checked(),
            .showMemos = CheckBox2->Checked(),
            .intervalText = win::Narrow(Edit1->Text()),
            .listenOffered = Button1->Enabled()};
}

void TForm1::CheckBox1Click(win::Control&) { Edit1->SetEnabled(CheckBox1->Checked()); }

void TForm1::ShowForm(bool flag) {
    if (flag) {
        // Placed at the corner every time, wherever it was dragged before. Moved there from
        // (-9999, -9999), it may come onto a monitor of another scale, which lays it out anew at
        // that one's DPI: the corner is then worked out again for the size it has there.
        const win::Dpi placedFor = PlaceAtCorner();
        ::ShowWindow(Handle(), SW_RESTORE);
        if (CurrentDpi() != placedFor) PlaceAtCorner();
        // In front and active, so that typing reaches it: the shell lets the owner of a
        // clicked icon take the foreground.
        ::SetForegroundWindow(Handle());
    } else {
        ::ShowWindow(Handle(), SW_HIDE);
    }
}

win::Dpi TForm1::PlaceAtCorner() {
    // The window is as tall as the title bar it was made with makes it (its caption's height
    // counts twice once the caption is gone): where that is more than 248 (at 96 dpi), as with
    // larger title bars, it goes up just enough to keep its bottom edge on the screen.
    win::Dpi dpi = CurrentDpi();
    for (int pass = 0; pass < 2; ++pass) {
        const RECT rc = BoundsRect();
        const int height = static_cast<int>(rc.bottom - rc.top);
        const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
        MoveTo(::GetSystemMetrics(SM_CXSCREEN) - dpi.Scale(330),
               std::min(screenHeight - dpi.Scale(248), screenHeight - height));
        if (CurrentDpi() == dpi) break;
        dpi = CurrentDpi();
    }
    return dpi;
}

void TForm1::SpeedButton1Click(win::Control&) { Close(); }

void TForm1::SpeedButton2Click(win::Control&) {
    // Not topmost while the about dialog is up, so that it can come in front.
    ::SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kNoMoveNoSize);
    TForm4& Form4 = App().CreateOwned<TForm4>();
    Form4.ShowModal();
    App().Destroy(Form4);
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kNoMoveNoSize);
}

void TForm1::Button1Click(win::Control&) { SpeakNow(); }

void TForm1::Button4Click(win::Control&) {
    // The editor has the memo file to itself: the window is hidden (the minute timer already
    // stopped when it was shown) and the icon leaves the tray until the editor closes.
    ShowForm(false);
    TForm2& editor = App().CreateOwned<TForm2>();
    TrayIcon1->SetActive(false);
    editor.ShowModal();
    App().Destroy(editor);
    ShowForm(true);
    TrayIcon1->SetActive(true);
}

void TForm1::Button2Click(win::Control&) {
    hotKey_.Register(LoadSaveSettings('w'));
    IntervalCounter = 0;
    ShowForm(false);
    if (CheckBox1->Checked() || CheckBox2->Checked()) Timer1->SetEnabled(true);
}

void TForm1::Edit1Exit(win::Control&) {
    Edit1->SetText(std::to_wstring(ParseIntegerOr(win::Narrow(Edit1->Text()), 30)));
}

void TForm1::Timer1Timer(win::Timer&) {
    Form1Tick world(*this);
    try {
        RunMinuteTick(world, ShownSettings(), IntervalCounter, tickMemory_);
    } catch (...) {
        ShowTickError();
    }
}

void TForm1::ShowTickError() noexcept {
    // The box runs a message loop of its own, in which the next ticks come: each would put up
    // a box inside the last until the stack ran out (one a minute, a dead clock within a day).
    // Those ticks still run and speak; only their failure is not shown again.
    if (tickErrorShown_) return;
    tickErrorShown_ = true;
    App().ShowCurrentException();
    tickErrorShown_ = false;
}

void TForm1::ShowMemoNote(const PendingNoteTexts& pending) {
    TForm3& note = App().CreateOwned<TForm3>();
    note.Label1->SetText(win::FromCp949(pending.Heading.View()));
    // Its title in Alt+Tab and Task View too.
    note.SetCaption(note.Label1->Text());
    // The three lines are joined into one paragraph; empty lines keep their separators.
    std::string text(pending.Lines[0].View());
    for (std::size_t i = 1; i < kMemoLineCount; ++i) {
        text += "   ";
        text += pending.Lines[i].View();
    }
    note.Label2->SetText(win::FromCp949(text));
    const NotePlace place = NextNotePlace(NotePlaces, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                          note.CurrentDpi().Value());
    note.SetTop(place.top);
    note.SetLeft(place.left);
    // Not activated: a keystroke meant for the program the user is typing in must not close
    // the note unread. A click on it activates it.
    note.ShowNoActivate();
    ::SetWindowPos(note.Handle(), HWND_TOPMOST, 0, 0, 0, 0, kNoMoveNoSize | SWP_NOACTIVATE);
    note.Announce();
    PlayChime();
}

void TForm1::TrayIcon1Click(TTrayIcon& sender) {
    // While a modal form or an error box is up, the main window takes no input: shown and
    // activated, it would leave the keyboard nowhere, so the click brings that window to the
    // front instead.
    if (const HWND modal = App().ModalWindow()) {
        ::SetForegroundWindow(modal);
        if (sender.ClickedByKeyboard()) win::ShowKeyboardCues(modal);
        return;
    }
    Timer1->SetEnabled(false);
    hotKey_.Unregister();
    ShowForm(true);
    // Opened from the keyboard (Enter on the icon), it shows where the focus is at once.
    if (sender.ClickedByKeyboard()) win::ShowKeyboardCues(Handle());
}

}  // namespace siborang
