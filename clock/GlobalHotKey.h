#pragma once
// The program's one system-wide hotkey: added as the global atom "zorvek's Hotkey!!", registered
// for the main window under the atom's number, and unregistered again. Start-up, Run, the tray
// click and closing all go through here. Platform results are not examined.
#include <cstdint>
#include <optional>

#include "core/Shortcut.h"
#include "win/Win32.h"

namespace siborang {

inline constexpr const char* kHotKeyAtomName = "zorvek's Hotkey!!";

class GlobalHotKey {
public:
    explicit GlobalHotKey(HWND window) noexcept : window_(window) {}
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    // Adds the atom, keeps its number and registers the keys under it; nullopt registers
    // nothing, and the program then has no hotkey.
    void Register(const std::optional<HotKeyKeys>& keys);
    void Unregister();
    // The 16-bit global atom, zero-extended; 0 before the first registration.
    std::uint32_t Atom() const noexcept { return atom_; }

private:
    HWND window_;
    std::uint32_t atom_ = 0;
};

}  // namespace siborang
