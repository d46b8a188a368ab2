#pragma once
// The memo note: a small always-on-top window with a memo's heading and text, dragged by any
// point of its surface, freed when closed.
#include "win/Form.h"
#include "win/Button.h"
#include "win/Image.h"
#include "win/Label.h"

namespace siborang {

class TForm3 : public win::Form {
public:
    explicit TForm3(win::Application& app);
    ~TForm3() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void FormCreate(win::Form& sender);
    void FormClose(win::Form& sender, win::CloseAction& action);
    void Button1Click(win::Control& sender);

    // A screen reader hears the note as an alert: the heading its name, the text its
    // description; it takes the keyboard only when clicked.
    std::optional<std::wstring> AccessibleName() const override;
    std::optional<long> AccessibleRole() const override { return ROLE_SYSTEM_ALERT; }
    std::optional<std::wstring> AccessibleDescription() const override;
    std::optional<long> AccessibleState(long standard) const override {
        return standard & ~static_cast<long>(STATE_SYSTEM_FOCUSABLE);
    }
    // Tells readers the note is up.
    void Announce() const noexcept;
    // The note shown last of those still up; nullptr when none is.
    static TForm3* Newest() noexcept;
    // The keyboard's way to a note, which never takes it by itself: made active with its X
    // focused, as the user asked (the clock's hotkey).
    void TakeKeyboard();

    win::Image* Image1 = nullptr;
    win::Label* Label1 = nullptr;
    win::Label* Label2 = nullptr;
    win::Button* Button1 = nullptr;

protected:
    void DoClose(win::CloseAction& action) override { FormClose(*this, action); }

private:
    // A note is only activated by a click; closed while active, it gives the activation back to
    // the window that had it before, or the system would hand it to another note, where a key
    // meant for that window closes the note unread.
    void RememberActiveBefore() noexcept;
    void GiveActivationBack() const noexcept;

    HWND activeBefore_ = nullptr;
};

}  // namespace siborang
