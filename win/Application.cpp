#include "win/Application.h"

#include <algorithm>

#include "core/Errors.h"
#include "win/Form.h"
#include "win/SystemLibrary.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

constexpr wchar_t kAppClass[] = L"TApplication";
// Posted to the application window: free the form whose address is in lParam.
constexpr UINT kReleaseMessage = WM_APP + 1;

}  // namespace

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::Initialize(HINSTANCE instance) {
    if (window_) return;
    instance_ = instance;
    InitCommonControlsFromSystem(ICC_HOTKEY_CLASS);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Application::AppWindowProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, L"MAINICON");
    wc.lpszClassName = kAppClass;
    ::RegisterClassExW(&wc);
    // Never shown, so the program has no taskbar button; it owns every form.
    window_.Reset(::CreateWindowExW(0, kAppClass, title_.c_str(),
                                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                    0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
}

void Application::SetTitle(std::wstring title) {
    title_ = std::move(title);
    if (window_) ::SetWindowTextW(window_.Get(), title_.c_str());
}

void Application::Adopt(std::unique_ptr<Form> form, bool mayBeMain) {
    if (mayBeMain && !mainForm_) mainForm_ = form.get();
    forms_.push_back(std::move(form));
}

void Application::Run() {
    // Visible but not activated: a main form that starts out of sight must not take the
    // keyboard from the program the user is working in.
    if (mainForm_) ::ShowWindow(mainForm_->Handle(), SW_SHOWNOACTIVATE);
    while (HandleMessage()) {
    }
    DestroyForms();
}

void Application::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

bool Application::PreTranslate(MSG& msg) {
    // Tab, arrow and mnemonic keys move between the controls of the form in front.
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    Form* form = root ? Form::FromHandle(root) : nullptr;
    if (!form) return false;
    if (msg.message == WM_SYSCHAR && (HIWORD(msg.lParam) & KF_ALTDOWN)) {
        const wchar_t letter = static_cast<wchar_t>(msg.wParam);
        if (Guard([&] { return form->HandleMnemonic(letter); })) return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0 &&
        ::GetKeyState(VK_MENU) >= 0) {
        const auto wants = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (!(wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) &&
            Guard([&] { return form->TabFrom(msg.hwnd, ::GetKeyState(VK_SHIFT) < 0); }))
            return true;
    }
    return ::IsDialogMessageW(root, &msg) != FALSE;
}

bool Application::HandleMessage() {
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) return false;
    if (!PreTranslate(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

void Application::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!PreTranslate(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void Application::Release(Form& form) {
    ::ShowWindow(form.Handle(), SW_HIDE);
    ::PostMessageW(window_.Get(), kReleaseMessage, 0, reinterpret_cast<LPARAM>(&form));
}

void Application::Destroy(Form& form) {
    auto it = std::find_if(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == &form; });
    if (it == forms_.end()) return;
    std::unique_ptr<Form> doomed = std::move(*it);
    forms_.erase(it);
    if (mainForm_ == doomed.get()) mainForm_ = nullptr;
}

void Application::DestroyForms() {
    // Owned windows first, the main form last, as their owner.
    while (!forms_.empty()) {
        auto it = std::find_if(forms_.rbegin(), forms_.rend(), [&](const auto& f) { return f.get() != mainForm_; });
        Destroy(it != forms_.rend() ? **it : *forms_.front());
    }
}

void Application::ShowError(const std::string& utf8Text) {
    const std::wstring text = Widen(utf8Text) + L".";
    ::MessageBoxW(window_.Get(), text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void Application::ShowCurrentException() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        try {
            ShowError(e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            ShowError("Unknown error");
        } catch (...) {
        }
    }
}

LRESULT CALLBACK Application::AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReleaseMessage) {
        Guard([&] { Instance().Destroy(*reinterpret_cast<Form*>(lParam)); });
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace siborang::win
