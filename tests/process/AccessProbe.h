#pragma once
// A screen reader's view of the started clock, from this process through MSAA: a window's
// client object (what it says of itself, its children, its default action) and the WinEvents
// the clock raises, heard out of context as a reader hears them. Child windows are read
// through their own client objects: Wine's window objects (OBJID_WINDOW) answer nothing.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "win/Win32.h"

#include <oleacc.h>

namespace siborang::process_tests {

// COM for the calling thread while it lives; a reader's calls need an apartment.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool entered_;
};

struct AccessibleFacts {
    bool answered = false;  // the role could be read: the object is there and alive
    std::wstring name, value, description;
    long role = 0;
    long state = 0;
};

struct AccessibleChild {
    long id = CHILDID_SELF;  // a simple element of the parent's object (1..), or
    HWND window = nullptr;   // a child window, whose facts are those of its own client object
    AccessibleFacts facts;
};

// The client object of a window (AccessibleObjectFromWindow with OBJID_CLIENT).
class AccessibleWindow {
public:
    explicit AccessibleWindow(HWND window);
    ~AccessibleWindow();
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;

    explicit operator bool() const noexcept { return object_ != nullptr; }
    HWND Window() const noexcept { return window_; }

    AccessibleFacts Facts(long child = CHILDID_SELF) const;
    // As AccessibleChildren gives them, each read.
    std::vector<AccessibleChild> Children() const;
    // The child the object says has the focus: an element's id, CHILDID_SELF, or nullopt for none.
    std::optional<long> FocusedChild() const;
    HRESULT DoDefaultAction(long child = CHILDID_SELF) const;

private:
    HWND window_;
    IAccessible* object_ = nullptr;
};

// The window and every window below it, depth first, each with its client object's facts and
// simple elements: what a reader walking the window finds.
struct AccessibleNode {
    HWND window = nullptr;
    AccessibleFacts facts;
    std::vector<AccessibleChild> elements;  // the simple elements only
};
std::vector<AccessibleNode> WalkWindows(HWND top);

// WinEvents from one process, heard on the creating thread while it pumps messages.
struct HeardEvent {
    DWORD event = 0;
    HWND window = nullptr;
    LONG object = 0;
    LONG child = 0;
};

class WinEventListener {
public:
    WinEventListener(DWORD processId, DWORD firstEvent, DWORD lastEvent);
    ~WinEventListener();
    WinEventListener(const WinEventListener&) = delete;
    WinEventListener& operator=(const WinEventListener&) = delete;

    explicit operator bool() const noexcept { return hook_ != nullptr; }

    // Pumps this thread's messages until an event not yet taken arrives that is `event` (and
    // from `window`, when given), and takes it and all heard before it; nullopt when time runs out.
    std::optional<HeardEvent> WaitFor(DWORD event, std::chrono::milliseconds timeout, HWND window = nullptr);

private:
    static void CALLBACK Callback(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                  DWORD time);

    HWINEVENTHOOK hook_;
    std::vector<HeardEvent> heard_;
    std::size_t taken_ = 0;
};

}  // namespace siborang::process_tests
