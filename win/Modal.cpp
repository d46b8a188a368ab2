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

int ModalLoop::Run() {
    const HWND previous = ::GetActiveWindow();
    // Only this form takes input while it is up.
    DisabledWindows others(form_.Handle());
    result_ = 0;
    form_.Show();
    bool quit = false;
    while (result_ == 0) {
        if (!app_.HandleMessage()) {
            quit = true;
            break;
        }
        if (result_ != 0) {
            CloseAction action = CloseAction::Hide;
            form_.DoClose(action);
            if (action == CloseAction::None) result_ = 0;
        }
    }
    // The others are enabled before this one hides, so that one of them can take over.
    others.EnableAgain();
    form_.Hide();
    Reactivate(previous);
    // WM_QUIT, with its code, is left for the outer loop.
    if (quit) ::PostQuitMessage(app_.QuitCode());
    return result_;
}

}  // namespace siborang::win
