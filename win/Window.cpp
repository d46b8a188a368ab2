#include "win/Window.h"

#include "core/Errors.h"
#include "win/Application.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

constexpr wchar_t kBindingProperty[] = L"Siborang.Window";

}  // namespace

void RegisterWindowClass(HINSTANCE instance, const WindowClassSpec& spec) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(instance, spec.name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = spec.style;
    wc.lpfnWndProc = &WindowBase::StaticProc;
    wc.hInstance = instance;
    wc.hIcon = spec.icon;
    wc.hCursor = spec.cursor ? spec.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = spec.name;
    ::RegisterClassExW(&wc);
}

WindowBase* WindowBase::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<WindowBase*>(::GetPropW(hwnd, kBindingProperty)) : nullptr;
}

WindowBase::~WindowBase() { DestroyHandle(); }

void WindowBase::Bind(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    ::SetPropW(hwnd, kBindingProperty, this);
}

void WindowBase::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                              int y, int width, int height, HWND parent, HMENU menu) {
    ::CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu,
                      Application::Instance().ModuleInstance(), static_cast<WindowBase*>(this));
    if (!hwnd_) throw AppError("Error creating window " + Narrow(className));
}

void WindowBase::Attach(HWND hwnd) noexcept {
    Bind(hwnd);
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBase::StaticProc)));
}

void WindowBase::Detach() noexcept {
    if (!hwnd_) return;
    if (original_) ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::RemovePropW(hwnd_, kBindingProperty);
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
    WindowBase* self = FromHandle(hwnd);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->Bind(hwnd);
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC original = self->original_;
        ::RemovePropW(hwnd, kBindingProperty);
        self->hwnd_ = nullptr;
        self->original_ = nullptr;
        self->HandleDestroyed();
        return original ? ::CallWindowProcW(original, hwnd, message, wParam, lParam)
                        : ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // The error boundary: nothing thrown by a handler unwinds into Win32.
    return Guard([&] { return self->WindowProc(message, wParam, lParam); });
}

}  // namespace siborang::win
