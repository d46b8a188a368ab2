#pragma once
// Modal showing: while a modal window is up, every other window of the thread is disabled, and
// afterwards the window that was active before is active again. Form::ShowModal's loop lives in
// Modal.cpp beside these.
#include <vector>

#include "win/Win32.h"

namespace siborang::win {

// Disables the thread's enabled, visible windows but one, until EnableAgain or the end of
// its scope.
class DisabledWindows {
public:
    explicit DisabledWindows(HWND except);
    ~DisabledWindows() { EnableAgain(); }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;

    void EnableAgain() noexcept;

private:
    std::vector<HWND> disabled_;
};

// Makes a window of this thread the active one again (after a modal window or a box whose
// owner was another window); nothing when it has gone, is hidden or is disabled.
void Reactivate(HWND window) noexcept;

}  // namespace siborang::win
