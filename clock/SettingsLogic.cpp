#include "clock/SettingsLogic.h"

#include "core/IntParse.h"

namespace siborang {
namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

bool StripPrefix(std::string_view& text, std::string_view prefix) {
    if (text.size() < prefix.size() || !EqualNoCase(text.substr(0, prefix.size()), prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

SplitHotKey SplitShortcut(std::uint16_t shortcut) {
    return {static_cast<std::uint16_t>(shortcut & kShortcutKeyMask), (shortcut & kShortcutShift) != 0,
            (shortcut & kShortcutCtrl) != 0, (shortcut & kShortcutAlt) != 0};
}

std::uint32_t ModifierFlags(const SplitHotKey& split) {
    std::uint32_t flags = 0;
    if (split.ctrl) flags += kModControl;
    if (split.alt) flags += kModAlt;
    if (split.shift) flags += kModShift;
    return flags;
}

std::string KeyName(unsigned key) {
    switch (key) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "PgUp";
    case 0x22: return "PgDn";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    case 0x6A: return "Num *";
    case 0x6B: return "Num +";
    case 0x6D: return "Num -";
    case 0x6E: return "Num Del";
    case 0x6F: return "Num /";
    case 0xBA: return ";";
    case 0xBB: return "=";
    case 0xBC: return ",";
    case 0xBD: return "-";
    case 0xBE: return ".";
    case 0xBF: return "/";
    case 0xC0: return "`";
    case 0xDB: return "[";
    case 0xDC: return "\\";
    case 0xDD: return "]";
    case 0xDE: return "'";
    default: break;
    }
    // Digits and letters are named by their own character.
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    std::string name;
    if (key >= 0x60 && key <= 0x69) {
        name = "Num ";
        name += static_cast<char>('0' + (key - 0x60));
    } else if (key >= 0x70 && key <= 0x87) {
        name = "F";
        name += std::to_string(key - 0x6F);
    }
    return name;
}

std::string ShortcutText(std::int32_t modifiers, std::int32_t key) {
    std::string text;
    if (modifiers & static_cast<std::int32_t>(kModAlt)) text += "Alt+";
    if (modifiers & static_cast<std::int32_t>(kModControl)) text += "Ctrl+";
    text += static_cast<char>(key & 0xFF);
    return text;
}

std::uint16_t TextToShortcut(std::string_view text) {
    std::uint16_t modifiers = 0;
    for (bool stripped = true; stripped;) {
        stripped = true;
        if (StripPrefix(text, "Shift+")) {
            modifiers |= kShortcutShift;
        } else if (StripPrefix(text, "Ctrl+") || StripPrefix(text, "^")) {
            modifiers |= kShortcutCtrl;
        } else if (StripPrefix(text, "Alt+")) {
            modifiers |= kShortcutAlt;
        } else {
            stripped = false;
        }
    }
    if (text.empty()) return 0;
    for (unsigned key = 0x08; key <= 0xFF; ++key) {
        const std::string name = KeyName(key);
        if (!name.empty() && EqualNoCase(name, text)) return static_cast<std::uint16_t>(modifiers | key);
    }
    return 0;
}

std::int32_t ReadInteger(SettingsStore& store, const char* key, std::int32_t fallback) {
    return ParseProfileInteger(store.ReadString(key), fallback);
}

bool ReadBool(SettingsStore& store, const char* key, bool fallback) {
    return ReadInteger(store, key, fallback ? 1 : 0) != 0;
}

void LoadSettings(SettingsStore& store, SettingsView& view) {
    if (ReadInteger(store, "Option1", 0) == 1) view.EnableListenButton();
    const std::int32_t modifiers = ReadInteger(store, "VKEY", 3);
    const std::int32_t key = ReadInteger(store, "KEY", 87);
    view.SetShortcut(TextToShortcut(ShortcutText(modifiers, key)));
    view.SetIntervalChecked(ReadBool(store, "Check1", true));
    view.SetMemoChecked(ReadBool(store, "Check2", true));
    const auto minutes = static_cast<std::uint16_t>(ReadInteger(store, "MINUTE", 30));
    view.SetIntervalText(std::to_string(minutes));
    view.RegisterHotKey(static_cast<std::uint32_t>(modifiers) & 0xFFFFu, static_cast<std::uint32_t>(key));
}

SplitHotKey SaveSettings(SettingsStore& store, SettingsView& view) {
    const SplitHotKey split = SplitShortcut(view.Shortcut());
    store.WriteString("KEY", std::to_string(split.key));
    store.WriteString("VKEY", std::to_string(ModifierFlags(split)));
    store.WriteString("Check1", view.IntervalChecked() ? "1" : "0");
    store.WriteString("Check2", view.MemoChecked() ? "1" : "0");
    store.WriteString("MINUTE", std::to_string(ParseIntegerStrict(view.IntervalText())));
    return split;
}

}  // namespace siborang
