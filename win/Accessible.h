#pragma once
// What a screen reader learns about the program's windows. A reader asks each window for its
// client object (WM_GETOBJECT, OBJID_CLIENT), and a top-level one for its window object too
// (OBJID_WINDOW, read for the window in front and its title), and then asks that object for
// name, role, value and children. A window of ours answers with an object that wraps the
// system's standard one and overrides only what the window's object knows about itself;
// everything else (a system control's own role and states, the child windows) stays the
// system's answer.
//
// The object holds the window's handle only: it looks the describing object up again on each
// question, so it never outlives or dangles past the window, and once the window is gone every
// question fails with RPC_E_DISCONNECTED. oleacc, oleaut32 and ole32 are loaded from the
// system directory on the first question, so a program that is never asked never loads them.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "win/Win32.h"
#include "win/Window.h"

#include <oleacc.h>  // the ROLE_SYSTEM_* and STATE_SYSTEM_* values sources answer with

namespace siborang::win {

// The default action of whatever a reader can press.
inline constexpr wchar_t kPressAction[] = L"누르기";

// A windowless part of a window (a label, a flat button, a calendar cell), as the reader sees it.
struct AccessibleItem {
    std::wstring name{};
    long role = ROLE_SYSTEM_STATICTEXT;
    long state = STATE_SYSTEM_READONLY;
    std::wstring value{};
    std::wstring description{};
    std::wstring defaultAction{};  // empty: the item cannot be pressed
    RECT bounds{};               // screen coordinates
};

// Implemented by the objects behind windows that describe themselves (forms, windowed controls,
// the calendar). Every question is asked on the window's own thread, as it comes.
//
// Children: the items are the object's children 1..N, in the order AccessibleItems gives them;
// the window's child windows, as the system counts them, follow from N + 1. So an item's child
// id is its index + 1 whatever child windows there are, and a source can name it in a WinEvent
// (NotifyAccessible) without asking the system.
class AccessibleSource {
public:
    virtual ~AccessibleSource() = default;

    // Each nullopt keeps the system's own answer.
    virtual std::optional<std::wstring> AccessibleName() const { return std::nullopt; }
    virtual std::optional<long> AccessibleRole() const { return std::nullopt; }
    virtual std::optional<std::wstring> AccessibleValue() const { return std::nullopt; }
    virtual std::optional<std::wstring> AccessibleDescription() const { return std::nullopt; }
    // Given the system's state of the window, the state to report.
    virtual std::optional<long> AccessibleState(long standard) const {
        (void)standard;
        return std::nullopt;
    }
    virtual std::optional<std::wstring> AccessibleDefaultAction() const { return std::nullopt; }
    // False leaves the press to the system's object. Post what may open a window: the reader
    // waits for the answer.
    virtual bool DoAccessibleDefaultAction() { return false; }

    virtual std::vector<AccessibleItem> AccessibleItems() const { return {}; }
    // The reader pressed item `index` (0-based); false when it cannot be pressed. Post, as above.
    virtual bool DoItemDefaultAction(std::size_t index) {
        (void)index;
        return false;
    }
};

// A top-level window's own object (OBJID_WINDOW): named and described as the window's client
// says, a dialog unless the client says what it is (a note is an alert). Its children and the
// rest stay the system's.
class WindowFrame final : public AccessibleSource {
public:
    explicit WindowFrame(const AccessibleSource& client) noexcept : client_(client) {}
    std::optional<std::wstring> AccessibleName() const override { return client_.AccessibleName(); }
    std::optional<long> AccessibleRole() const override {
        return client_.AccessibleRole().value_or(ROLE_SYSTEM_DIALOG);
    }
    std::optional<std::wstring> AccessibleDescription() const override { return client_.AccessibleDescription(); }

private:
    const AccessibleSource& client_;
};

// Finds the source that describes a window, again on every question; nullptr when there is
// none (any more).
using AccessibleLookup = WindowBase::SourceLookup;

// For a window's WM_GETOBJECT: answers OBJID_CLIENT and OBJID_WINDOW with the window's own
// object, when its source can be found (`client`, `frame`) and the libraries are there; result
// is then the message's result. False for any other question, which the window leaves to its
// default handling. The window base calls it for every window of the program, through the hook
// the application sets (WindowBase::SetObjectHook), with the sources of the bound object.
bool AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result, AccessibleLookup client,
                     AccessibleLookup frame) noexcept;

// Tells listening readers that something of a window's client changed (EVENT_OBJECT_FOCUS for
// an item that took the focus, EVENT_SYSTEM_ALERT for a note, EVENT_OBJECT_NAMECHANGE or
// EVENT_OBJECT_VALUECHANGE); child is CHILDID_SELF or an item's id (index + 1). Nothing for a
// window out of sight: a reader cannot look at it, and a form fills its controls before it
// is shown.
void NotifyAccessible(DWORD event, HWND window, LONG child = CHILDID_SELF) noexcept;

// Posted to a window for a reader's press (a button, a flat button), so that the reader has its
// answer before the press opens a modal window.
UINT AccessiblePressMessage() noexcept;

}  // namespace siborang::win
