#pragma once
// The error boundary: every window procedure of the program (timers come as WM_TIMER) runs
// inside Guard, so that a C++ exception never crosses into Win32; the other callbacks are
// noexcept and catch for themselves. What Guard catches goes to the reporter the application
// sets (its standard error box); the loop goes on.
#include <type_traits>

namespace siborang::win {

// Called inside the catch block, so it may rethrow to look at the exception; it must not
// let anything out.
using ErrorReporter = void (*)() noexcept;
// nullptr: what is caught is dropped.
void SetErrorReporter(ErrorReporter reporter) noexcept;
void ReportCurrentException() noexcept;

template <class Fn>
auto Guard(Fn&& fn) noexcept {
    using Result = decltype(fn());
    try {
        return fn();
    } catch (...) {
        ReportCurrentException();
        if constexpr (!std::is_void_v<Result>) return Result{};
    }
}

}  // namespace siborang::win
