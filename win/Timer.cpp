#include "win/Timer.h"

#include "win/Window.h"

namespace siborang::win {

Timer::Timer(WindowBase& owner, UINT interval, bool enabled, Handler onTimer)
    : OnTimer(std::move(onTimer)), owner_(owner), id_(owner.nextTimerId_++), interval_(interval) {
    owner_.timers_.push_back(this);
    SetEnabled(enabled);
}

Timer::~Timer() {
    if (enabled_ && owner_.Handle()) ::KillTimer(owner_.Handle(), id_);
    std::erase(owner_.timers_, this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    // With no window there is nothing to tick on: the timer stays stopped, as Enabled() says.
    if (enabled && !owner_.Handle()) return;
    enabled_ = enabled;
    if (!owner_.Handle()) return;
    if (enabled) {
        ::SetTimer(owner_.Handle(), id_, interval_, nullptr);
    } else {
        ::KillTimer(owner_.Handle(), id_);
    }
}

bool Timer::HandleTimer(UINT_PTR id) {
    if (id != id_) return false;
    if (enabled_ && OnTimer) OnTimer(*this);
    return true;
}

}  // namespace siborang::win
