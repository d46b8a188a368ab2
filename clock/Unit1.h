#pragma once
// The main window: settings, the global hotkey and (later) the tray icon and minute tick.
#include <cstdint>
#include <string>

#include "clock/SettingsLogic.h"
#include "win/Form.h"

namespace siborang {

class TForm1 : public win::Form {
public:
    explicit TForm1(win::Application& app);
    ~TForm1() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Mode 'r' loads Tockly.ini into the controls and registers the hotkey; any other
    // mode saves the controls into the file.
    void LoadSaveSettings(char mode);

    void FormCreate(win::Form& sender);
    void FormClose(win::Form& sender, win::CloseAction& action);
    void CheckBox1Click(win::Control& sender);

    std::uint32_t HotKeyAtom() const noexcept { return hotKeyAtom_; }

    win::Control* GroupBox1 = nullptr;
    win::Control* Label2 = nullptr;
    win::Control* Label3 = nullptr;
    win::Control* HotKey1 = nullptr;
    win::Control* CheckBox1 = nullptr;
    win::Control* CheckBox2 = nullptr;
    win::Control* Edit1 = nullptr;
    win::Control* Button4 = nullptr;
    win::Control* Button1 = nullptr;
    win::Control* Button2 = nullptr;

protected:
    void DoClose(win::CloseAction& action) override { FormClose(*this, action); }

private:
    class SettingsAdapter;

    std::uint32_t hotKeyAtom_ = 0;  // the 16-bit global atom, zero-extended
};

// The main window instance.
extern TForm1* Form1;
// The hotkey as Run and the settings save last split it from the box.
extern SplitHotKey SplitHotKeyState;

}  // namespace siborang
