#include "win/Window.h"

#include "core/Errors.h"
#include "win/ErrorBoundary.h"
#include "win/Text.h"
#include "win/Timer.h"

namespace siborang::win {
namespace {

WindowBase::ObjectHook objectHook = nullptr;

AccessibleSource* BoundClient(HWND window) noexcept {
    WindowBase* bound = WindowBase::FromHandle(window);
    return bound ? bound->Accessible() : nullptr;
}

AccessibleSource* BoundFrame(HWND window) noexcept {
    WindowBase* bound = WindowBase::FromHandle(window);
    return bound ? bound->AccessibleFrame() : nullptr;
}

}  // namespace

void RegisterWindowClass(HINSTANCE instance, const WindowClassDesign& design) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(instance, design.name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = design.style;
    wc.lpfnWndProc = &WindowBase::StaticProc;
    wc.hInstance = instance;
    wc.hIcon = design.icon;
    wc.hCursor = design.cursor ? design.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = design.name;
    ::RegisterClassExW(&wc);
}

// The binding lives in the window's user data, which a window of this process reads without
// asking the window server (a property would cost a round trip on every message under Wine).
// Only a window whose procedure is the common one carries a binding there.
WindowBase* WindowBase::FromHandle(HWND hwnd) noexcept {
    if (!hwnd || ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WindowBase::StaticProc))
        return nullptr;
    return reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void WindowBase::SetObjectHook(ObjectHook hook) noexcept { objectHook = hook; }

WindowBase::~WindowBase() { DestroyHandle(); }

void WindowBase::Bind(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void WindowBase::CreateHandle(HINSTANCE instance, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                              DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu) {
    ::CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu,
                      instance, static_cast<WindowBase*>(this));
    if (!hwnd_) throw AppError("Error creating window " + Narrow(className));
}

void WindowBase::Attach(HWND hwnd) noexcept {
    Bind(hwnd);
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBase::StaticProc)));
}

void WindowBase::Detach() noexcept {
    if (!hwnd_) return;
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    if (original_) ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    hwnd_ = nullptr;
    original_ = nullptr;
}

void WindowBase::DestroyHandle() noexcept {
    HWND hwnd = hwnd_;
    if (!hwnd) return;
    Detach();
    ::DestroyWindow(hwnd);
}

LRESULT WindowBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT WindowBase::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return original_ ? ::CallWindowProcW(original_, hwnd_, message, wParam, lParam)
                     : ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self && message == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->Bind(hwnd);
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC original = self->original_;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->original_ = nullptr;
        self->HandleDestroyed();
        return original ? ::CallWindowProcW(original, hwnd, message, wParam, lParam)
                        : ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // A screen reader's question, for every window of the program in one place.
    if (message == WM_GETOBJECT && objectHook) {
        LRESULT answer = 0;
        if (objectHook(hwnd, wParam, lParam, answer, &BoundClient, &BoundFrame)) return answer;
    }
    // The error boundary: nothing thrown by a handler unwinds into Win32.
    return Guard([&] {
        if (message == WM_TIMER) {
            for (Timer* timer : self->timers_) {
                if (timer->HandleTimer(wParam)) return LRESULT{0};
            }
        }
        return self->WindowProc(message, wParam, lParam);
    });
}

}  // namespace siborang::win
