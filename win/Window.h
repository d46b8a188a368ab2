#pragma once
// The one window base: every window of the program (forms, controls, the grid, the tray's
// hidden window, the application window) is bound to its object by one static procedure,
// which runs each message inside the error boundary and drops the binding at WM_NCDESTROY.
#include <vector>

#include "win/Win32.h"

namespace siborang::win {

class AccessibleSource;
class Timer;

// A window class of this module whose procedure is the common one. Registered once; later
// calls with the same name do nothing.
struct WindowClassDesign {
    const wchar_t* name;
    UINT style = CS_DBLCLKS;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;  // nullptr: the arrow
};
void RegisterWindowClass(HINSTANCE instance, const WindowClassDesign& design);

// The keyboard focus on `window` or on a window inside it.
inline bool FocusWithin(HWND window) noexcept {
    const HWND focus = ::GetFocus();
    return focus && (focus == window || ::IsChild(window, focus));
}

class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // nullptr before creation and once the window is gone.
    HWND Handle() const noexcept { return hwnd_; }
    // The object bound to a window of this program; nullptr for any other window.
    static WindowBase* FromHandle(HWND hwnd) noexcept;
    // What the window tells a screen reader about itself (win/Accessible.h); nullptr leaves the
    // reader with the system's own answer.
    virtual AccessibleSource* Accessible() noexcept { return nullptr; }
    // What a top-level window's own object (OBJID_WINDOW) tells a reader; nullptr: the system's.
    virtual AccessibleSource* AccessibleFrame() noexcept { return nullptr; }

    // A screen reader's question (WM_GETOBJECT) to any window of the program goes to this hook
    // first, which the application sets to the accessibility layer's answer (AnswerGetObject,
    // win/Accessible.h); it is given the lookups of the bound object's sources, to ask again on
    // every later question. Unset, or false: the window's own handling.
    using SourceLookup = AccessibleSource* (*)(HWND window) noexcept;
    using ObjectHook = bool (*)(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result, SourceLookup client,
                                SourceLookup frame) noexcept;
    static void SetObjectHook(ObjectHook hook) noexcept;

protected:
    WindowBase() noexcept = default;
    // Its timers numbered from `firstTimerId` on: a window of a system class has timers of its
    // own, numbered from 1 too.
    explicit WindowBase(UINT_PTR firstTimerId) noexcept : nextTimerId_(firstTimerId) {}
    // A window still alive is unbound first, so that nothing it receives while it goes reaches
    // an object that is half destroyed, and then destroyed.
    virtual ~WindowBase();

    // Creates a window of a class registered with RegisterWindowClass; the binding is made at
    // its WM_NCCREATE, so the object sees every message. Raises when creation fails.
    void CreateHandle(HINSTANCE instance, DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU menu);
    // Binds a window of a system class (a button, an edit) that was just created, by
    // subclassing it; its own procedure does the default handling.
    void Attach(HWND hwnd) noexcept;
    // Unbinds the window (giving a subclassed one its own procedure back) without destroying it.
    void Detach() noexcept;
    // Unbinds and destroys the window, if there is one.
    void DestroyHandle() noexcept;

    // Every message of the bound window but its timers' ticks, which go to their timers
    // (win/Timer.h) first; the default handling is DefaultProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window has gone (destroyed from outside or by its parent); Handle() is nullptr now.
    virtual void HandleDestroyed() noexcept {}

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    friend void RegisterWindowClass(HINSTANCE, const WindowClassDesign&);
    friend class Timer;
    void Bind(HWND hwnd) noexcept;

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;  // a subclassed window's own procedure
    std::vector<Timer*> timers_;
    // Timer identifiers count from 1 in creation order, so the shell or a test that posts a
    // window's WM_TIMER can name its first timer.
    UINT_PTR nextTimerId_ = 1;
};

}  // namespace siborang::win
