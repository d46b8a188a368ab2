#include "win/WaitAnsweringSent.h"

#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang::win {
namespace {

thread_local int g_waiting = 0;

// Windows counts a thread that has not looked at its queue for 5 s as hung; looking at least
// this often keeps the program's windows from turning into "(Not Responding)" ghosts.
constexpr DWORD kLookInterval = 1000;

struct Shared {
    const AnsweringSentWork& job;
    std::atomic<bool> stop{false};
};

DWORD WINAPI RunWork(void* parameter) {
    auto& shared = *static_cast<Shared*>(parameter);
    try {
        shared.job.work(shared.stop);
    } catch (...) {
        // Nothing may leave a thread; the work has said it does not raise.
    }
    return 0;
}

void AnswerSent() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool AnsweringSentOnly() noexcept { return g_waiting > 0; }

bool WaitAnsweringSent(const AnsweringSentWork& job) {
    Shared shared{job};
    const KernelHandle thread(::CreateThread(nullptr, 0, &RunWork, &shared, 0, nullptr));
    if (!thread) {
        RunWork(&shared);
        return true;
    }
    struct Waiting {
        Waiting() noexcept { ++g_waiting; }
        ~Waiting() { --g_waiting; }
    } waiting;
    const HANDLE handle = thread.Get();
    bool whole = true;
    for (;;) {
        // What was sent before the wait began is answered first: the wait wakes only for new.
        AnswerSent();
        if (whole && job.ended && job.ended()) {
            whole = false;
            shared.stop = true;
            if (job.interrupt) job.interrupt();
        }
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, kLookInterval, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
    }
    // WAIT_FAILED would leave the thread running with `shared` on this stack.
    ::WaitForSingleObject(handle, INFINITE);
    return whole;
}

}  // namespace siborang::win
