#include "win/Application.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "core/Errors.h"
#include "win/Accessible.h"
#include "win/Form.h"
#include "win/Modal.h"
#include "win/StartupTrace.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

constexpr wchar_t kAppClass[] = L"TApplication";
// Posted to the application window: free the forms released since.
constexpr UINT kReleaseMessage = WM_APP + 1;

// Front to back, the first window that takes input while the others wait: a message box or a
// form shown modally (the windows behind it are disabled, so it is the frontmost one).
BOOL CALLBACK FindModalWindow(HWND window, LPARAM result) noexcept {
    if (!::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
    wchar_t cls[8] = {};
    ::GetClassNameW(window, cls, 8);
    const Form* form = Form::FromHandle(window);
    if (!(form && form->Modal()) && std::wstring_view(cls) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

}  // namespace

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::Initialize(HINSTANCE instance, const wchar_t* iconName) {
    if (window_.Handle()) return;
    instance_ = instance;
    // What a handler raises is shown in the standard error box.
    SetErrorReporter([]() noexcept { Instance().ShowCurrentException(); });
    // Before any window exists: each one answers screen readers through the accessibility layer.
    WindowBase::SetObjectHook(&AnswerGetObject);
    gdi_.SetModule(instance);
    icon_ = gdi_.SharedIcon(iconName, ::GetSystemMetrics(SM_CXICON));
    window_.Create(instance, title_, icon_);
}

void Application::AppWindow::Create(HINSTANCE instance, const std::wstring& title, HICON icon) {
    RegisterWindowClass(instance, {.name = kAppClass, .style = 0, .icon = icon});
    // Never shown, so the program has no taskbar button; it owns every form.
    CreateHandle(instance, 0, kAppClass, title.c_str(),
                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr);
}

LRESULT Application::AppWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReleaseMessage) {
        Instance().DestroyReleased();
        return 0;
    }
    if (message == WM_CLOSE) {
        // The one window with the program's title, so a script's or taskkill's close comes
        // here: the default would destroy it with every form it owns and leave the process
        // running without them. The program ends as its main form's close ends it.
        if (Form* main = Instance().MainForm()) {
            main->Close();
        } else {
            Instance().Terminate();
        }
        return 0;
    }
    if (message == WM_ENDSESSION) {
        Instance().sessionEnding_ = wParam != FALSE;
        return 0;
    }
    // The system activates this hidden window as a box it owns closes, and would give it the
    // focus, where a reader would hear a window nobody can see: the window the box came from
    // is activated first.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && Instance().HandBackFromBox()) return 0;
    return DefaultProc(message, wParam, lParam);
}

void Application::SetTitle(std::wstring title) {
    title_ = std::move(title);
    if (window_.Handle()) ::SetWindowTextW(window_.Handle(), title_.c_str());
}

void Application::Adopt(std::unique_ptr<Form> form, bool mayBeMain) {
    if (mayBeMain && !mainForm_) mainForm_ = form.get();
    forms_.push_back(std::move(form));
}

void Application::Run() {
    // Visible but not activated: a main form that starts out of sight must not take the
    // keyboard from the program the user is working in.
    if (mainForm_) ::ShowWindow(mainForm_->Handle(), SW_SHOWNOACTIVATE);
    startup::Mark("main window shown");
    // What start-up left in the queue (the tray icon's picture) is done before the first wait.
    ProcessMessages();
    startup::Mark("first messages");
    startup::Finish();
    while (HandleMessage()) {
    }
    DestroyForms();
}

void Application::Terminate() {
    quitting_ = true;
    ::PostQuitMessage(0);
}

bool Application::Ending() const noexcept {
    return quitting_ || sessionEnding_ || (mainForm_ && !::IsWindow(mainForm_->Handle()));
}

bool Application::PreTranslate(const MSG& msg) {
    // Keys go through the form they were typed in first: mnemonics, Enter, Tab.
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    Form* form = root ? Form::FromHandle(root) : nullptr;
    if (!form) return false;
    // A key whose handler raised was the form's all the same: dispatched again, it would
    // reach the default procedure (a mnemonic beeps) after the error box.
    bool handled = true;
    Guard([&] { handled = form->Keyboard().PreTranslateKey(msg); });
    return handled;
}

bool Application::HandleMessage() {
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
        quitCode_ = static_cast<int>(msg.wParam);
        quitting_ = false;
    }
    if (got <= 0) return false;
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
    if (std::find(released_.begin(), released_.end(), &form) != released_.end()) return;
    released_.push_back(&form);
    ::PostMessageW(window_.Handle(), kReleaseMessage, 0, 0);
}

void Application::DestroyReleased() {
    // Only forms still owned: one destroyed meanwhile (with the application) is not touched.
    for (Form* form : std::exchange(released_, {})) Destroy(*form);
}

void Application::Destroy(Form& form) {
    std::erase(released_, &form);
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
    // The box is owned by the hidden application window, which the system activates as it
    // closes: the window active before is active again (from that activation, or after it).
    // The box disables only its owner, which is hidden: every other window would still take
    // clicks (Run could run behind it).
    DisabledWindows others(nullptr);
    BoxOwner box{others, ::GetActiveWindow()};
    BoxOwner* const outer = std::exchange(closingBox_, &box);
    ::MessageBoxW(window_.Handle(), text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
    HandBackFromBox();
    closingBox_ = outer;
}

bool Application::HandBackFromBox() noexcept {
    if (!closingBox_ || closingBox_->handedBack) return false;
    closingBox_->handedBack = true;
    closingBox_->others.EnableAgain();
    Reactivate(closingBox_->active);
    return true;
}

HWND Application::ModalWindow() const noexcept {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindModalWindow, reinterpret_cast<LPARAM>(&found));
    return found;
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

}  // namespace siborang::win
