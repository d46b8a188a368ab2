#include "clock/Unit3.h"

#include "resources/layouts/Form3.h"

namespace siborang {

TForm3::TForm3(win::Application& app) : win::Form(app, kForm3Spec) {
    BuildLayout<TForm3>(*this, kForm3Layout);
    FormCreate(*this);
}

void TForm3::FormCreate(win::Form&) { win::RemoveCaption(*this); }

LRESULT TForm3::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Asked before the click activates the note.
    if (message == WM_MOUSEACTIVATE) RememberActiveBefore();
    const LRESULT result = win::Form::WindowProc(message, wParam, lParam);
    // Every point of the note's own surface acts as a title bar, so the note is dragged by it.
    if (message == WM_NCHITTEST && result == HTCLIENT) return HTCAPTION;
    return result;
}

void TForm3::Button1Click(win::Control&) { Close(); }

std::optional<std::wstring> TForm3::AccessibleName() const { return Label1->Text(); }

std::optional<std::wstring> TForm3::AccessibleDescription() const { return Label2->Text(); }

void TForm3::Announce() const noexcept { win::NotifyAccessible(EVENT_SYSTEM_ALERT, Handle()); }

void TForm3::FormClose(win::Form&, win::CloseAction& action) {
    GiveActivationBack();
    action = win::CloseAction::Free;
}

void TForm3::RememberActiveBefore() noexcept {
    const HWND front = ::GetForegroundWindow();
    if (front == Handle()) return;
    // Clicked from another note: this one gives back what that one would have.
    const auto* other = dynamic_cast<const TForm3*>(win::Form::FromHandle(front));
    activeBefore_ = other ? other->activeBefore_ : front;
}

void TForm3::GiveActivationBack() const noexcept {
    if (::GetForegroundWindow() != Handle()) return;
    if (activeBefore_ && ::IsWindow(activeBefore_) && ::IsWindowVisible(activeBefore_))
        ::SetForegroundWindow(activeBefore_);
}

}  // namespace siborang
