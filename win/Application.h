#pragma once
// The application object: the program's own hidden top-level window, its title, the forms
// it owns, the message loop and the standard error box.
#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "win/Handles.h"
#include "win/Win32.h"
#include "win/Window.h"

namespace siborang::win {

class Form;
struct FontSpec;

class Application {
public:
    static Application& Instance();

    // Loads the common controls and creates the application window; `iconName` names the
    // icon resource of the program, which every form's class carries.
    void Initialize(HINSTANCE instance, const wchar_t* iconName);
    HINSTANCE ModuleInstance() const noexcept { return instance_; }
    HICON IconHandle() const noexcept { return icon_; }

    // Fonts and pictures are made once per process and shared by every window that asks for the
    // same one (each memo note would otherwise make and realise its own); they live as long as
    // the application, after every form.
    HFONT SharedFont(const FontSpec& font);
    HICON SharedIcon(const wchar_t* name);  // 32 x 32, from the program's resources
    HBITMAP SharedBitmap(const wchar_t* name);
    // The window that would carry the taskbar button; owner of every form.
    HWND Handle() const noexcept { return window_.Handle(); }

    const std::wstring& Title() const noexcept { return title_; }
    void SetTitle(std::wstring title);

    // Creates a form owned by the application; the first one becomes the main form.
    template <class F, class... Args>
    F& CreateForm(Args&&... args) {
        return Own(std::make_unique<F>(*this, std::forward<Args>(args)...), true);
    }
    // Creates a form owned by the application that never becomes the main form.
    template <class F, class... Args>
    F& CreateOwned(Args&&... args) {
        return Own(std::make_unique<F>(*this, std::forward<Args>(args)...), false);
    }
    Form* MainForm() const noexcept { return mainForm_; }

    // Shows the main form and dispatches messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const noexcept { return terminated_; }
    // Handles every message already waiting in the thread's queue.
    void ProcessMessages();
    // One message: waits for it, dispatches it; false once WM_QUIT arrives.
    bool HandleMessage();

    // Frees an owned form once the current message is done with it.
    void Release(Form& form);
    // Destroys an owned form now.
    void Destroy(Form& form);
    // Destroys every owned form (the main form last).
    void DestroyForms();

    // The standard error box: the text and a full stop, the title as caption, error icon, OK.
    // The window that was active before it is active again afterwards.
    void ShowError(const std::string& utf8Text);
    // Shows the exception in flight (call from a catch block).
    void ShowCurrentException() noexcept;
    // The message box or modal form of this thread that takes input while the others are
    // disabled; nullptr when none is up.
    HWND ModalWindow() const noexcept;

private:
    template <class F>
    F& Own(std::unique_ptr<F> form, bool mayBeMain) {
        F& ref = *form;
        Adopt(std::move(form), mayBeMain);
        return ref;
    }
    void Adopt(std::unique_ptr<Form> form, bool mayBeMain);
    bool PreTranslate(const MSG& msg);

    // The hidden top-level window; frees released forms.
    class AppWindow final : public WindowBase {
    public:
        void Create(const std::wstring& title);
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    struct CachedFont {
        std::wstring face;
        int height;
        bool bold, underline;
        Font font;
    };
    template <class Owner>
    struct CachedPicture {
        std::wstring name;
        Owner picture;
    };

    HINSTANCE instance_ = nullptr;
    HICON icon_ = nullptr;  // one of the shared pictures
    // Declared before the forms, so that they outlive them.
    std::vector<CachedFont> fonts_;
    std::vector<CachedPicture<Icon>> icons_;
    std::vector<CachedPicture<Bitmap>> bitmaps_;
    AppWindow window_;
    std::wstring title_;
    std::vector<std::unique_ptr<Form>> forms_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
};

// Disables the thread's shown and enabled windows for as long as it lives, as a modal window
// does to the rest of the program, and enables them again after.
class ThreadWindowsDisabled {
public:
    ThreadWindowsDisabled() noexcept;
    ~ThreadWindowsDisabled();
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

private:
    std::vector<HWND> disabled_;
};

// Makes a window of this thread the active one again (after a modal window or a box whose
// owner was another window); nothing when it has gone, is hidden or is disabled.
void Reactivate(HWND window) noexcept;

// Runs a callback from Win32 with the error boundary around it: a C++ exception never
// crosses into Win32; it is shown in the standard error box and the loop goes on.
template <class Fn>
auto Guard(Fn&& fn) noexcept {
    using Result = decltype(fn());
    try {
        return fn();
    } catch (...) {
        Application::Instance().ShowCurrentException();
        if constexpr (!std::is_void_v<Result>) return Result{};
    }
}

}  // namespace siborang::win
