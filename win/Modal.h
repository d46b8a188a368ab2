#pragma once
// Modal showing: while a modal window is up, every other window of the thread is disabled, and
// afterwards the window that was active before is active again.
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

class Application;
class Form;

// Shows one form modally (Form::ShowModal): the thread's other windows disabled, the
// application's messages dispatched until the form ends the loop (Close), its close handler
// asked whether it may, then the others enabled again, the form hidden and the window active
// before activated again.
class ModalLoop {
public:
    ModalLoop(Application& app, Form& form) noexcept : app_(app), form_(form) {}
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // The result End gave.
    int Run();
    void End(int result) noexcept { result_ = result; }

private:
    Application& app_;
    Form& form_;
    int result_ = 0;
};

// Makes a window of this thread the active one again (after a modal window or a box whose
// owner was another window); nothing when it has gone, is hidden or is disabled.
void Reactivate(HWND window) noexcept;

}  // namespace siborang::win
