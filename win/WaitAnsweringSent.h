#pragma once
// Work that holds the thread for seconds (an announcement) without the thread going deaf: the
// work runs on a thread of its own while this one answers the messages other threads and
// programs send to its windows (a screen reader's WM_GETOBJECT, the system's queries, the
// hung-window check) and leaves every posted message (a hotkey, a click) waiting until the
// work is done.
#include <atomic>
#include <functional>

namespace siborang::win {

struct AnsweringSentWork {
    // Runs on the other thread; ends soon after `stop` turns true. Must not raise.
    std::function<void(const std::atomic<bool>& stop)> work;
    // Asked after each sent message answered: true once the program or the session is ending,
    // which ends the work early.
    std::function<bool()> ended;
    // Cuts the work's present step short once it is to stop (stops a sound playing).
    std::function<void()> interrupt;
};

// Runs the work and returns once it has ended: true when it ran to its end, false when `ended`
// stopped it first. Where no thread can be made, the work runs here, as before.
bool WaitAnsweringSent(const AnsweringSentWork& job);

// True on a thread inside WaitAnsweringSent: a handler that would start something of its own
// from a sent message (the shell's tray notifications) posts it again for later instead.
bool AnsweringSentOnly() noexcept;

}  // namespace siborang::win
