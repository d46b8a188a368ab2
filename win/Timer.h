#pragma once
// A window timer owned by any window of the program (a form, a control, a hidden window): it
// ticks as WM_TIMER on that window, so its handler runs inside the window's error boundary.
#include <functional>

#include "win/Win32.h"

namespace siborang::win {

class WindowBase;

class Timer {
public:
    using Handler = std::function<void(Timer& sender)>;

    Timer(WindowBase& owner, UINT interval, bool enabled, Handler onTimer);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const noexcept { return enabled_; }
    // Starting begins a fresh period; setting the state it already has changes nothing. An
    // owner without a window cannot start it.
    void SetEnabled(bool enabled);
    UINT Interval() const noexcept { return interval_; }

    // Called by the owner's window for its WM_TIMER; true when the message was this timer's.
    bool HandleTimer(UINT_PTR id);

    Handler OnTimer;

private:
    WindowBase& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
};

}  // namespace siborang::win
