#include "clock/Unit3.h"

#include <vector>

#include "resources/layouts/MemoNote.h"

namespace siborang {
namespace {

// The notes that exist, in the order they were made.
std::vector<TForm3*> g_notes;

}  // namespace

TForm3::TForm3(win::Application& app) : win::Form(app, kForm3Spec) {
    BuildLayout<TForm3>(*this, kForm3Layout);
    FormCreate(*this);
    g_notes.push_back(this);
}

TForm3::~TForm3() { std::erase(g_notes, this); }

TForm3* TForm3::Newest() noexcept {
    // A closed note is hidden until it is freed.
    for (auto it = g_notes.rbegin(); it != g_notes.rend(); ++it) {
        if ((*it)->Visible()) return *it;
    }
    return nullptr;
}

void TForm3::TakeKeyboard() {
    // Closed, it gives the keyboard back to the window that had it.
    RememberActiveBefore();
    ::SetForegroundWindow(Handle());
    Button1->SetFocus();
    win::ShowKeyboardCues(Handle());
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
