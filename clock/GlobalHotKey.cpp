#include "clock/GlobalHotKey.h"

#include "clock/SettingsLogic.h"
#include "win/StartupTrace.h"

namespace siborang {

void GlobalHotKey::Register(std::uint32_t modifiers, std::uint32_t key) {
    const win::startup::Section timing("hotkey");
    atom_ = ::GlobalAddAtomA(kHotKeyAtomName);
    ::RegisterHotKey(window_, static_cast<int>(atom_), modifiers, key);
}

void GlobalHotKey::RegisterShortcut(std::uint16_t shortcut) {
    const SplitHotKey split = SplitShortcut(shortcut);
    const std::uint32_t modifiers = ModifierFlags(split);
    if (modifiers != 0) Register(modifiers, split.key);
}

void GlobalHotKey::Unregister() { ::UnregisterHotKey(window_, static_cast<int>(atom_)); }

}  // namespace siborang
