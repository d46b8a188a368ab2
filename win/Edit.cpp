#include <algorithm>
#include <iterator>

#include "core/Shortcut.h"
#include "win/Form.h"
#include "win/Text.h"
#include "win/WindowedControls.h"

namespace siborang::win {

Edit::Edit(Form& form, Control* parent, const ControlProps& props)
    : WindowedControl(form, parent, props), textLimit_(props.textLimit), acceptedText_(props.caption) {
    CreateSystemWindow(WC_EDITW, RowStyle(props) | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // Never fewer characters than bytes, so the box's own limit can stand beside ours.
    if (textLimit_ > 0) ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(textLimit_), 0);
}

void Edit::SetText(std::wstring_view text) {
    acceptedText_.assign(text);
    settingText_ = true;
    ::SetWindowTextW(Handle(), acceptedText_.c_str());
    settingText_ = false;
}

void Edit::FocusByTab() {
    SetFocus();
    // As the dialog manager does: a box entered by Tab has its whole text selected.
    ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void Edit::HandleCommand(WORD code) {
    if (restoring_) return;
    if (code == EN_CHANGE && (settingText_ || !(Options() & kCp949Limit) || KeepWithinCp949Limit()) && OnChange)
        OnChange(*this);
    if (code == EN_KILLFOCUS && OnExit) {
        // Leaving for another control of the same form; deactivating the form is no exit.
        const HWND form = Owner().Handle();
        const HWND focus = ::GetFocus();
        if (focus && (focus == form || ::IsChild(form, focus))) OnExit(*this);
    }
}

bool Edit::KeepWithinCp949Limit() {
    const std::wstring now = Text();
    bool lossless = true;
    const std::size_t bytes = ToCp949(now, &lossless).size();
    // Only growth past the limit is refused: an over-long line stored elsewhere can still be
    // shortened a character at a time.
    const bool fits = textLimit_ <= 0 || bytes <= static_cast<std::size_t>(textLimit_) ||
                      bytes <= ToCp949(acceptedText_).size();
    if (lossless && fits) {
        acceptedText_ = now;
        return true;
    }
    // Refused: the text before this change comes back, the caret where the input began.
    DWORD caret = 0;
    ::SendMessageW(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const std::size_t grown = now.size() > acceptedText_.size() ? now.size() - acceptedText_.size() : 0;
    const auto at = static_cast<WPARAM>(std::min<std::size_t>(caret > grown ? caret - grown : 0, acceptedText_.size()));
    restoring_ = true;
    ::SetWindowTextW(Handle(), acceptedText_.c_str());
    restoring_ = false;
    ::SendMessageW(Handle(), EM_SETSEL, at, static_cast<LPARAM>(at));
    RefusalBeep();
    return false;
}

HotKeyBox::HotKeyBox(Form& form, Control* parent, const ControlProps& props) : WindowedControl(form, parent, props) {
    CreateSystemWindow(HOTKEY_CLASSW, RowStyle(props), WS_EX_CLIENTEDGE);
    ::SendMessageW(Handle(), HKM_SETRULES, props.invalidCombinations, MAKELPARAM(props.fallbackModifiers, 0));
    SetHotKeyValue(props.hotKey);
}

std::uint16_t HotKeyBox::HotKeyValue() const noexcept {
    return ShortcutFromBoxValue(static_cast<std::uint32_t>(::SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0)));
}

void HotKeyBox::SetHotKeyValue(std::uint16_t value) {
    ::SendMessageW(Handle(), HKM_SETHOTKEY, BoxValueFromShortcut(value), 0);
}

LRESULT HotKeyBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The box tells nobody when its keys change: a key typed into it, or a value put in.
    const bool mayChange = (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == HKM_SETHOTKEY;
    if (!mayChange) return WindowedControl::WindowProc(message, wParam, lParam);
    const LRESULT before = DefaultProc(HKM_GETHOTKEY, 0, 0);
    const LRESULT result = WindowedControl::WindowProc(message, wParam, lParam);
    if (DefaultProc(HKM_GETHOTKEY, 0, 0) != before) NotifyAccessible(EVENT_OBJECT_VALUECHANGE, Handle());
    return result;
}

namespace {

// The key's name in the keyboard layout's own words, as the hotkey box shows it.
std::wstring KeyName(UINT virtualKey, bool extended) {
    const UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    wchar_t name[64] = {};
    const LONG code = static_cast<LONG>((scan << 16) | (extended ? 1u << 24 : 0u));
    const int n = ::GetKeyNameTextW(code, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(n > 0 ? n : 0));
}

}  // namespace

std::optional<std::wstring> HotKeyBox::AccessibleValue() const {
    const auto value = static_cast<std::uint32_t>(::SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0));
    const UINT key = LOBYTE(LOWORD(value));
    const UINT modifiers = HIBYTE(LOWORD(value));
    if (!key) return std::wstring(L"없음");
    // The modifiers by the names on the keys, as Windows's layouts give them; some platforms'
    // layouts spell out "Control".
    std::wstring text;
    if (modifiers & HOTKEYF_CONTROL) text += L"Ctrl+";
    if (modifiers & HOTKEYF_SHIFT) text += L"Shift+";
    if (modifiers & HOTKEYF_ALT) text += L"Alt+";
    return text + KeyName(key, (modifiers & HOTKEYF_EXT) != 0);
}

}  // namespace siborang::win
