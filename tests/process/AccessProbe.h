#pragma once
// A screen reader's view of the started clock, from this process through MSAA: a window's
// client or window object and the WinEvents the clock raises, heard out of context as a reader
// hears them. Child windows are read through their own client objects: Wine's window objects
// (OBJID_WINDOW) answer nothing where the clock does not answer itself.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "win/Win32.h"

#include <oleacc.h>

namespace siborang::process_tests {

struct AccessibleFacts {
    std::wstring name, value, description;
    long role = 0;
    long state = 0;
};

// The client (or window) object of a window, as AccessibleObjectFromWindow gives it.
class AccessibleWindow {
public:
    explicit AccessibleWindow(HWND window, LONG objectId = OBJID_CLIENT);
    ~AccessibleWindow();
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;

    AccessibleFacts Facts(long child = CHILDID_SELF) const;
    // The simple elements (not the child windows) as AccessibleChildren gives them: id and facts.
    std::vector<std::pair<long, AccessibleFacts>> Elements() const;
    // The child the object says has the focus; nullopt for none.
    std::optional<long> FocusedChild() const;
    HRESULT DoDefaultAction(long child) const;

private:
    IAccessible* object_ = nullptr;
};

// WinEvents from one process, heard on this thread while it waits; one listener at a time.
struct HeardEvent {
    DWORD event = 0;
    HWND window = nullptr;
    LONG child = 0;
};

class WinEventListener {
public:
    WinEventListener(DWORD processId, DWORD firstEvent, DWORD lastEvent);
    ~WinEventListener();
    WinEventListener(const WinEventListener&) = delete;
    WinEventListener& operator=(const WinEventListener&) = delete;

    explicit operator bool() const noexcept { return hook_ != nullptr; }
    // Pumps this thread's messages until an event not yet taken arrives that is `event` from
    // `window` (any, when nullptr), and takes it and all heard before it; nullopt when time runs out.
    std::optional<HeardEvent> WaitFor(DWORD event, std::chrono::milliseconds timeout, HWND window = nullptr);

private:
    HWINEVENTHOOK hook_;
    std::size_t taken_ = 0;
};

}  // namespace siborang::process_tests
