#include "win/HotKeyBox.h"

#include <iterator>

#include "core/Shortcut.h"

namespace siborang::win {

HotKeyBox::HotKeyBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : WindowedControl(site, parent, row) {
    CreateSystemWindow(HOTKEY_CLASSW, RowStyle(row), WS_EX_CLIENTEDGE, ICC_HOTKEY_CLASS);
    ::SendMessageW(Handle(), HKM_SETRULES, args.invalidCombinations, MAKELPARAM(args.fallbackModifiers, 0));
    SetHotKeyValue(args.shortcut);
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
