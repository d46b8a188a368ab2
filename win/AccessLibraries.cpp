#include "win/AccessLibraries.h"

namespace siborang::win {

const AccessLibraries* LoadAccessLibraries() noexcept {
    static const AccessLibraries libraries;
    return libraries.Complete() ? &libraries : nullptr;
}

// Our objects are handed out through COM marshalling, which needs an apartment on the window's
// thread. A single-threaded one: readers' calls then arrive as messages of that thread, so they
// meet the window objects only where the program's own handlers would.
void EnterApartment(const AccessLibraries& libraries) noexcept {
    thread_local bool entered = false;
    if (entered) return;
    entered = true;
    // Never left: objects handed out may be asked until the thread ends.
    libraries.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

}  // namespace siborang::win
