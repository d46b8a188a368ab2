#include "win/Timer.h"

#include "win/Form.h"

namespace siborang::win {

Timer::Timer(Form& owner, UINT interval, bool enabled, Handler onTimer)
    : OnTimer(std::move(onTimer)), owner_(owner), id_(owner.NextTimerId()), interval_(interval) {
    owner_.AddTimer(*this);
    SetEnabled(enabled);
}

Timer::~Timer() {
    if (enabled_ && owner_.Handle()) ::KillTimer(owner_.Handle(), id_);
    owner_.RemoveTimer(*this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
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
