#include "clock/GlobalHotKey.h"

#include "win/StartupTrace.h"

namespace siborang {

void GlobalHotKey::Register(const std::optional<HotKeyKeys>& keys) {
    if (!keys) return;
    const win::startup::Section timing("hotkey");
    atom_ = ::GlobalAddAtomA(kHotKeyAtomName);
    // One announcement per press: a held key's repeats would queue one each.
    ::RegisterHotKey(window_, static_cast<int>(atom_), keys->modifiers | MOD_NOREPEAT, keys->key);
}

void GlobalHotKey::Unregister() { ::UnregisterHotKey(window_, static_cast<int>(atom_)); }

}  // namespace siborang
