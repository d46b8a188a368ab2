#pragma once
// The application object: the program's own hidden top-level window, its title, the forms
// it owns, the message loop and the standard error box.
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "win/ErrorBoundary.h"
#include "win/GdiCache.h"
#include "win/Handles.h"
#include "win/Modal.h"
#include "win/Win32.h"
#include "win/Window.h"

namespace siborang::win {

class Form;

class Application {
public:
    // The process's one application. Forms and what they own reach it through Form::App();
    // only code with no form at hand (start-up, a popup menu) asks for it here.
    static Application& Instance();

    // Creates the application window; `iconName` names the icon resource of the program,
    // which every form's class carries.
    void Initialize(HINSTANCE instance, const wchar_t* iconName);
    HINSTANCE ModuleInstance() const noexcept { return instance_; }
    HICON IconHandle() const noexcept { return icon_; }

    // The fonts and pictures every window shares.
    GdiCache& Gdi() noexcept { return gdi_; }
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
    // Handles every message already waiting in the thread's queue.
    void ProcessMessages();
    // One message: waits for it, dispatches it; false once WM_QUIT arrives.
    bool HandleMessage();
    // The program or the session is ending: a quit asked for and not yet taken from the queue,
    // the session's end announced (WM_ENDSESSION), or the main form's window gone. Work that
    // holds the thread (an announcement) stops early then.
    bool Ending() const noexcept;
    // The code the last WM_QUIT carried.
    int QuitCode() const noexcept { return quitCode_; }

    // Frees an owned form once the current message is done with it.
    void Release(Form& form);
    // Destroys an owned form now.
    void Destroy(Form& form);
    // Destroys every owned form (the main form last).
    void DestroyForms();

    // The standard error box: the text and a full stop, the title as caption, error icon, OK.
    // The window that was active before it is active again afterwards.
    void ShowError(const std::string& utf8Text);
    // The message box or modal form of this thread that takes input while the others are
    // disabled; nullptr when none is up.
    HWND ModalWindow() const noexcept;
    // Shows the exception in flight (call from a catch block).
    void ShowCurrentException() noexcept;

private:
    template <class F>
    F& Own(std::unique_ptr<F> form, bool mayBeMain) {
        F& ref = *form;
        Adopt(std::move(form), mayBeMain);
        return ref;
    }
    void Adopt(std::unique_ptr<Form> form, bool mayBeMain);
    bool PreTranslate(const MSG& msg);

    // What the standard error box took from the program while it is up.
    struct BoxOwner {
        DisabledWindows& others;
        HWND active;  // before the box
        bool handedBack = false;
    };
    // The closing box gives the windows back and the activation to the one that had it; false
    // when there is no box, or it has done so already.
    bool HandBackFromBox() noexcept;

    // The hidden top-level window; frees released forms.
    class AppWindow final : public WindowBase {
    public:
        void Create(HINSTANCE instance, const std::wstring& title, HICON icon);
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };
    void DestroyReleased();

    HINSTANCE instance_ = nullptr;
    HICON icon_ = nullptr;  // one of the shared pictures
    GdiCache gdi_;  // declared before the forms, so that it outlives them
    AppWindow window_;
    std::wstring title_;
    std::vector<std::unique_ptr<Form>> forms_;
    std::vector<Form*> released_;  // freed once the message that closed them is done
    Form* mainForm_ = nullptr;
    BoxOwner* closingBox_ = nullptr;  // the innermost error box up
    int quitCode_ = 0;
    bool quitting_ = false;       // Terminate ran; cleared once its WM_QUIT is taken
    bool sessionEnding_ = false;  // the last WM_ENDSESSION said the session ends
};

}  // namespace siborang::win
