#pragma once
// The main window: settings, the global hotkey, the tray icon and the minute timer.
#include <cstdint>
#include <memory>
#include <optional>

#include "clock/GlobalHotKey.h"
#include "clock/MinuteTick.h"
#include "clock/SettingsLogic.h"
#include "controls/TrayIcon.h"
#include "win/Form.h"
#include "win/Bevel.h"
#include "win/Button.h"
#include "win/CheckBox.h"
#include "win/Edit.h"
#include "win/GroupBox.h"
#include "win/HotKeyBox.h"
#include "win/Image.h"
#include "win/Label.h"
#include "win/Panel.h"
#include "win/SpeedButton.h"
#include "win/Timer.h"
#include "win/TitleChrome.h"

namespace siborang {

// Dragged by its title panel (Panel1MouseDown, Panel1MouseMove, Panel1MouseUp).
class TForm1 : public win::Form, public win::TitleDragged {
public:
    explicit TForm1(win::Application& app);
    ~TForm1() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Mode 'r' loads Tockly.ini into the controls; any other mode saves the controls into
    // the file. Either gives the hotkey to register now (nullopt: none).
    std::optional<HotKeyKeys> LoadSaveSettings(char mode);

    // True: shown at the bottom-right corner of the primary screen; false: hidden.
    void ShowForm(bool flag);
    // Shows the note the minute tick raised (PendingNote) as a new note at the generator's
    // next place, topmost, with the chime.
    void ShowMemoNote(const PendingNoteTexts& note);

    void FormCreate(win::Form& sender);
    void FormClose(win::Form& sender, win::CloseAction& action);
    void SpeedButton1Click(win::Control& sender);
    void SpeedButton2Click(win::Control& sender);
    void Button4Click(win::Control& sender);
    void Button1Click(win::Control& sender);
    void Button2Click(win::Control& sender);
    void Edit1Exit(win::Control& sender);
    void CheckBox1Click(win::Control& sender);
    void Timer1Timer(win::Timer& sender);
    void TrayIcon1Click(TTrayIcon& sender);

    std::uint32_t HotKeyAtom() const noexcept { return hotKey_.Atom(); }

    win::Panel* Panel1 = nullptr;
    win::SpeedButton* SpeedButton1 = nullptr;
    win::SpeedButton* SpeedButton2 = nullptr;
    win::Image* Image1 = nullptr;
    win::Image* Image2 = nullptr;
    win::Label* Label1 = nullptr;
    win::GroupBox* GroupBox1 = nullptr;
    win::HotKeyBox* HotKey1 = nullptr;
    win::CheckBox* CheckBox1 = nullptr;
    win::CheckBox* CheckBox2 = nullptr;
    win::Edit* Edit1 = nullptr;
    win::Label* Label2 = nullptr;
    win::Button* Button4 = nullptr;
    win::Button* Button1 = nullptr;
    win::Button* Button2 = nullptr;
    win::Bevel* Bevel1 = nullptr;
    win::Label* Label3 = nullptr;
    std::unique_ptr<win::Timer> Timer1;
    std::unique_ptr<TTrayIcon> TrayIcon1;

protected:
    void DoClose(win::CloseAction& action) override { FormClose(*this, action); }

private:
    // The settings into and out of their controls; a setting is one line in each.
    void ShowSettings(const Settings& settings);
    Settings ShownSettings() const;

    // Moves the window to the bottom-right corner at the DPI it ends up with there; returns that.
    win::Dpi PlaceAtCorner();
    // Shows the failure of a tick (call from a catch block), unless an earlier tick's box is
    // still up.
    void ShowTickError() noexcept;

    GlobalHotKey hotKey_;
    TickMemory tickMemory_;
    bool tickErrorShown_ = false;  // a tick's error box is up
};

// The clock, the speaker, the memo file and the notes of the minute tick, as the program has
// them.
class Form1Tick : public TickWorld {
public:
    explicit Form1Tick(TForm1& form) : form_(form) {}
    TickTime Now() override;
    bool SpeakNow() override;
    void OpenMemos() override;
    std::int32_t MemoCount() override;
    int ReadMemo(std::int32_t index, MemoRecord& memo) override;
    int WriteMemo(std::int32_t index, const MemoRecord& memo) override;
    void CloseMemos() override;
    void ShowMemoNote(const PendingNoteTexts& note) override;

private:
    TForm1& form_;
};

// The main window instance.
extern TForm1* Form1;
// Ticks counted towards the next interval announcement.
extern std::int32_t IntervalCounter;
// The heading and lines the minute tick hands to ShowMemoNote.
extern PendingNoteTexts PendingNote;
// The note places' generator: state 0 at start, never seeded, so places repeat run to run.
extern NoteRandom NotePlaces;

}  // namespace siborang
