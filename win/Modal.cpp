#include "win/Modal.h"

#include "win/Application.h"
#include "win/Form.h"

namespace siborang::win {
namespace {

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) noexcept {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        try {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        } catch (...) {
            return FALSE;  // out of memory: nothing may unwind into the enumeration
        }
    }
    return TRUE;
}

}  // namespace

DisabledWindows::DisabledWindows(HWND except) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled_));
    std::erase(disabled_, except);
    for (HWND w : disabled_) ::EnableWindow(w, FALSE);
}

void DisabledWindows::EnableAgain() noexcept {
    for (HWND w : disabled_) {
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
    disabled_.clear();
}

void Reactivate(HWND window) noexcept {
    if (window && ::IsWindow(window) && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
        ::SetForegroundWindow(window);
}

int Form::ShowModal() {
    const HWND previous = ::GetActiveWindow();
    // Only this form takes input while it is up.
    DisabledWindows others(Handle());
    modal_ = true;
    modalResult_ = 0;
    Show();
    bool quit = false;
    while (modalResult_ == 0) {
        if (!app_.HandleMessage()) {
            quit = true;
            break;
        }
        if (modalResult_ != 0) {
            CloseAction action = CloseAction::Hide;
            DoClose(action);
            if (action == CloseAction::None) modalResult_ = 0;
        }
    }
    // The others are enabled before this one hides, so that one of them can take over.
    others.EnableAgain();
    Hide();
    modal_ = false;
    Reactivate(previous);
    // WM_QUIT, with its code, is left for the outer loop.
    if (quit) ::PostQuitMessage(app_.QuitCode());
    return modalResult_;
}

}  // namespace siborang::win
