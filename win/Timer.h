#pragma once
// A window timer owned by a form: it ticks as WM_TIMER on the form's window, so its handler
// runs inside the form's error boundary.
#include <functional>

#include "win/Win32.h"

namespace siborang::win {

class Form;

class Timer {
public:
    using Handler = std::function<void(Timer& sender)>;

    Timer(Form& owner, UINT interval, bool enabled, Handler onTimer);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const noexcept { return enabled_; }
    // Starting begins a fresh period; setting the state it already has changes nothing.
    void SetEnabled(bool enabled);
    UINT Interval() const noexcept { return interval_; }

    // Called by the owner for its WM_TIMER; true when the message was this timer's.
    bool HandleTimer(UINT_PTR id);

    Handler OnTimer;

private:
    Form& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
};

}  // namespace siborang::win
