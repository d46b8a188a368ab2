#include "clock/Unit1.h"

#include "clock/ProfileStore.h"
#include "core/IntParse.h"
#include "resources/layouts/Form1.h"
#include "speech/Speech.h"
#include "win/Text.h"

namespace siborang {

TForm1* Form1 = nullptr;
SplitHotKey SplitHotKeyState;

// The main window's controls as the settings transfer sees them.
class TForm1::SettingsAdapter final : public SettingsView {
public:
    explicit SettingsAdapter(TForm1& form) : form_(form) {}
    void EnableListenButton() override { form_.Button1->SetEnabled(true); }
    std::uint16_t Shortcut() override { return form_.HotKey1->HotKeyValue(); }
    void SetShortcut(std::uint16_t value) override { form_.HotKey1->SetHotKeyValue(value); }
    bool IntervalChecked() override { return form_.CheckBox1->Checked(); }
    void SetIntervalChecked(bool checked) override { form_.CheckBox1->SetChecked(checked); }
    bool MemoChecked() override { return form_.CheckBox2->Checked(); }
    void SetMemoChecked(bool checked) override { form_.CheckBox2->SetChecked(checked); }
    std::string IntervalText() override { return win::Narrow(form_.Edit1->Text()); }
    void SetIntervalText(const std::string& text) override { form_.Edit1->SetText(win::Widen(text)); }
    void RegisterHotKey(std::uint32_t modifiers, std::uint32_t key) override {
        form_.hotKeyAtom_ = ::GlobalAddAtomA(kHotKeyAtomName);
        ::RegisterHotKey(form_.Handle(), static_cast<int>(form_.hotKeyAtom_), modifiers, key);
    }

private:
    TForm1& form_;
};

TForm1::TForm1(win::Application& app) : win::Form(app, kForm1Spec) {
    BuildLayout<TForm1>(*this, kForm1Layout);
    FormCreate(*this);
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate(win::Form&) {
    // OleAut32 is never loaded by this build, so there is no library reference to give back.
    win::RemoveCaption(*this);
    ::ShowWindowAsync(App().Handle(), SW_HIDE);
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetTop(-9999);
    SetLeft(-9999);
    ::ShowWindowAsync(Handle(), SW_HIDE);
    LoadSaveSettings('r');
}

void TForm1::FormClose(win::Form&, win::CloseAction&) {
    ::UnregisterHotKey(Handle(), static_cast<int>(hotKeyAtom_));
}

LRESULT TForm1::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The hotkey speaks first; its identifier is not looked at.
    if (message == WM_HOTKEY) SpeakNow();
    return win::Form::WindowProc(message, wParam, lParam);
}

void TForm1::LoadSaveSettings(char mode) {
    ProfileStore store;
    SettingsAdapter view(*this);
    if (mode == 'r') {
        LoadSettings(store, view);
    } else {
        SplitHotKeyState = SaveSettings(store, view);
    }
}

void TForm1::CheckBox1Click(win::Control&) { Edit1->SetEnabled(CheckBox1->Checked()); }

}  // namespace siborang
