#pragma once
// The hotkey common control: records the key combination pressed in it.
#include <cstdint>
#include <optional>
#include <string>

#include "win/WindowedControl.h"

namespace siborang::win {

class HotKeyBox final : public WindowedControl {
public:
    struct Args {
        std::uint16_t shortcut = 0;      // the designed value, as HotKeyValue gives it
        WORD invalidCombinations = 0;    // HKCOMB_* refused
        WORD fallbackModifiers = 0;      // HOTKEYF_* put in their place
    };

    HotKeyBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    // Bits 0-12 key code, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    std::uint16_t HotKeyValue() const noexcept;
    void SetHotKeyValue(std::uint16_t value);
    // F1 is a key to record like any other.
    bool RecordsKeys() const noexcept override { return true; }
    // A hot key field whose value is the keys as the box names them ("Ctrl+Alt+W").
    std::optional<long> AccessibleRole() const override { return ROLE_SYSTEM_HOTKEYFIELD; }
    std::optional<std::wstring> AccessibleValue() const override;

protected:
    // A change of the keys is a change of the value.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace siborang::win
