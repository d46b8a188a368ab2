#include "win/Application.h"

#include <algorithm>
#include <string_view>

#include "core/Errors.h"
#include "win/Controls.h"
#include "win/Form.h"
#include "win/StartupTrace.h"
#include "win/SystemLibrary.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

constexpr wchar_t kAppClass[] = L"TApplication";
// Posted to the application window: free the form whose address is in lParam.
constexpr UINT kReleaseMessage = WM_APP + 1;

// Each shown window that takes input, into the vector at `list`.
BOOL CALLBACK CollectInputWindow(HWND window, LPARAM list) noexcept {
    if (!::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
    try {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    } catch (...) {
        return FALSE;  // out of memory: nothing may unwind into the enumeration
    }
    return TRUE;
}

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
    InitCommonControlsFromSystem(ICC_HOTKEY_CLASS);
    startup::Mark("comctl32");
    icon_ = SharedIcon(iconName);
    window_.Create(title_);
}

void Application::AppWindow::Create(const std::wstring& title) {
    const HINSTANCE instance = Application::Instance().ModuleInstance();
    RegisterWindowClass(instance, {.name = kAppClass, .style = 0, .icon = Application::Instance().IconHandle()});
    // Never shown, so the program has no taskbar button; it owns every form.
    CreateHandle(0, kAppClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                 0, 0, 0, 0, nullptr, nullptr);
}

LRESULT Application::AppWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReleaseMessage) {
        Instance().Destroy(*reinterpret_cast<Form*>(lParam));
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

HFONT Application::SharedFont(const FontSpec& font) {
    for (const auto& f : fonts_) {
        if (f.face == font.face && f.height == font.height && f.bold == font.bold && f.underline == font.underline)
            return f.font.Get();
    }
    LOGFONTW lf{};
    lf.lfHeight = -font.height;  // a negative height asks for the character height
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
    const startup::Section timing("fonts");
    fonts_.push_back({font.face, font.height, font.bold, font.underline, Font(::CreateFontIndirectW(&lf))});
    return fonts_.back().font.Get();
}

HICON Application::SharedIcon(const wchar_t* name) {
    for (const auto& i : icons_) {
        if (i.name == name) return i.picture.Get();
    }
    const startup::Section timing("pictures");
    icons_.push_back({name, Icon(static_cast<HICON>(::LoadImageW(instance_, name, IMAGE_ICON, 32, 32, 0)))});
    return icons_.back().picture.Get();
}

HBITMAP Application::SharedBitmap(const wchar_t* name) {
    for (const auto& b : bitmaps_) {
        if (b.name == name) return b.picture.Get();
    }
    const startup::Section timing("pictures");
    bitmaps_.push_back(
        {name, Bitmap(static_cast<HBITMAP>(::LoadImageW(instance_, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)))});
    return bitmaps_.back().picture.Get();
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
    terminated_ = true;
    ::PostQuitMessage(0);
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
    Guard([&] { handled = form->PreTranslateKey(msg); });
    return handled;
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
    ::PostMessageW(window_.Handle(), kReleaseMessage, 0, reinterpret_cast<LPARAM>(&form));
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
    // The box is owned by the hidden application window, which the system would activate
    // when it closes: the keyboard would then go nowhere.
    const HWND active = ::GetActiveWindow();
    {
        // The box disables only its owner, which is hidden: every other window would still
        // take clicks (Run could run behind it).
        const ThreadWindowsDisabled others;
        ::MessageBoxW(window_.Handle(), text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
    }
    Reactivate(active);
}

ThreadWindowsDisabled::ThreadWindowsDisabled() noexcept {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectInputWindow, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND w : disabled_) ::EnableWindow(w, FALSE);
}

ThreadWindowsDisabled::~ThreadWindowsDisabled() {
    for (HWND w : disabled_) {
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
}

HWND Application::ModalWindow() const noexcept {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindModalWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Reactivate(HWND window) noexcept {
    if (window && ::IsWindow(window) && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
        ::SetForegroundWindow(window);
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
