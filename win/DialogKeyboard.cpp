#include "win/DialogKeyboard.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/Mnemonic.h"
#include "win/Window.h"

namespace siborang::win {
namespace {

// A windowed control that is shown and enabled. Its own style is asked: while a form is being
// shown (and activated) the form itself may not count as visible yet.
bool CanTakeFocus(const Control* c) noexcept { return c && c->Handle() && c->Visible() && c->Enabled(); }

constexpr WORD kCueFlags = UISF_HIDEFOCUS | UISF_HIDEACCEL;

}  // namespace

void ShowKeyboardCues(HWND window) noexcept {
    ::SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, kCueFlags), 0);
}

void DialogKeyboard::RevealCuesFor(const MSG& msg) noexcept {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
    switch (msg.wParam) {
    case VK_TAB:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_MENU:
        break;
    default:
        return;
    }
    // Asked first: once shown, the cues stay, and the form need not tell its controls again.
    if (::SendMessageW(form_.SiteWindow(), WM_QUERYUISTATE, 0, 0) & kCueFlags) ShowKeyboardCues(form_.SiteWindow());
}

void DialogKeyboard::CollectTabStops(const Control* container, std::vector<Control*>& stops,
                                     const Control* keep) const {
    std::vector<Control*> children;
    for (const auto& c : form_.Controls())
        if (c->Parent() == container && c->Handle()) children.push_back(c.get());
    std::stable_sort(children.begin(), children.end(),
                     [](const Control* a, const Control* b) { return a->TabOrder() < b->TabOrder(); });
    for (Control* c : children) {
        if (!CanTakeFocus(c) && c != keep) continue;
        if (c->Host()) {
            CollectTabStops(c, stops, keep);
        } else if (c->TabOrder() >= 0) {
            stops.push_back(c);
        }
    }
}

Control* DialogKeyboard::FirstTabStop() const {
    std::vector<Control*> stops;
    CollectTabStops(nullptr, stops);
    return stops.empty() ? nullptr : stops.front();
}

Control* DialogKeyboard::ActiveControl() const noexcept {
    if (FocusWithin(form_.SiteWindow())) return form_.ControlOf(::GetFocus());
    return savedFocus_;
}

void DialogKeyboard::SaveFocus() noexcept {
    if (Control* c = form_.ControlOf(::GetFocus())) savedFocus_ = c;
}

bool DialogKeyboard::RestoreFocus() {
    Control* target = CanTakeFocus(savedFocus_) ? savedFocus_ : FirstTabStop();
    if (!target) return false;
    target->SetFocus();
    return true;
}

void DialogKeyboard::KeepFocusOnForm() {
    focusOnForm_ = true;
    ::SetFocus(form_.SiteWindow());
}

void DialogKeyboard::HandFocusOnFrom(Control& control) {
    if (!handFrom_) ::PostMessageW(form_.SiteWindow(), kHandFocusOnMessage, 0, 0);
    handFrom_ = &control;
}

void DialogKeyboard::HandFocusOn() {
    Control* from = std::exchange(handFrom_, nullptr);
    // Given to a control meanwhile (by a click, by the handler): it stays there.
    if (!from || FocusWithin(form_.SiteWindow())) return;
    Control* next = from;
    if (!CanTakeFocus(from)) {
        std::vector<Control*> stops;
        CollectTabStops(nullptr, stops, from);
        const auto at = std::find(stops.begin(), stops.end(), from);
        const auto i = static_cast<std::size_t>(at - stops.begin());
        next = at != stops.end() && stops.size() > 1 ? stops[(i + 1) % stops.size()] : nullptr;
    }
    if (::GetActiveWindow() != form_.SiteWindow()) {
        // A window the handler put up is in front: the focus comes back with the activation.
        if (next) savedFocus_ = next;
    } else if (next) {
        next->SetFocus();
    } else {
        KeepFocusOnForm();
    }
}

void DialogKeyboard::FormLostFocus(HWND to) noexcept {
    // Another program taking the focus leaves the form to hold it again on its return.
    if (form_.ControlOf(to)) focusOnForm_ = false;
}

bool DialogKeyboard::PreTranslateKey(const MSG& msg) {
    RevealCuesFor(msg);
    switch (msg.message) {
    case WM_SYSCHAR:
        return (HIWORD(msg.lParam) & KF_ALTDOWN) && HandleMnemonic(static_cast<wchar_t>(msg.wParam));
    case WM_KEYDOWN:
        break;
    default:
        return false;
    }
    const auto key = static_cast<UINT>(msg.wParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_F1) return false;
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
    // F1 presses the form's help button; in the hotkey box it is a key to record like any other.
    if (key == VK_F1) {
        const Control* focused = form_.ControlOf(msg.hwnd);
        return ::GetKeyState(VK_SHIFT) >= 0 && !(focused && focused->RecordsKeys()) && PressFor(PressKey::Help);
    }
    // A control that asks for the key keeps it: a dropped-down list closes on Enter or Escape.
    const auto wants = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (key == VK_TAB) return !(wants & DLGC_WANTTAB) && TabFrom(msg.hwnd, ::GetKeyState(VK_SHIFT) < 0);
    // Enter presses the focused push button, as Space does, once a press: a held key's repeats
    // would press the button the focus was handed on to when the first press disabled its own.
    // Escape presses the form's cancel button. No form has a default button, so Enter anywhere
    // else is used up doing nothing, as is Escape in a form without a cancel button.
    if (key == VK_RETURN && !(HIWORD(msg.lParam) & KF_REPEAT)) {
        Control* focused = form_.ControlOf(msg.hwnd);
        if (focused && focused->PressedByEnter()) focused->Press();
    }
    if (key == VK_ESCAPE) PressFor(PressKey::Cancel);
    return true;
}

bool DialogKeyboard::PressFor(PressKey key) {
    for (const auto& c : form_.Controls()) {
        if (c->PressedBy(key) && c->Enabled() && c->Visible()) {
            c->Press();
            return true;
        }
    }
    return false;
}

bool DialogKeyboard::TabFrom(HWND focus, bool backward) {
    std::vector<Control*> stops;
    CollectTabStops(nullptr, stops);
    if (stops.empty()) return false;
    Control* current = form_.ControlOf(focus);
    const auto at = std::find(stops.begin(), stops.end(), current);
    std::size_t next = 0;
    if (at != stops.end()) {
        const auto i = static_cast<std::size_t>(at - stops.begin());
        next = backward ? (i + stops.size() - 1) % stops.size() : (i + 1) % stops.size();
    } else if (backward) {
        next = stops.size() - 1;
    }
    stops[next]->FocusByTab();
    return true;
}

bool DialogKeyboard::HandleMnemonic(wchar_t letter) {
    wchar_t wanted = letter;
    ::CharUpperBuffW(&wanted, 1);
    for (const auto& c : form_.Controls()) {
        if (!c->PressedByMnemonic() || !c->Enabled() || !c->Handle() || !::IsWindowVisible(c->Handle())) continue;
        std::optional<wchar_t> marked = MnemonicOf(c->Text());
        if (!marked) continue;
        ::CharUpperBuffW(&*marked, 1);
        if (*marked == wanted) {
            c->Press();
            return true;
        }
    }
    return false;
}

}  // namespace siborang::win
