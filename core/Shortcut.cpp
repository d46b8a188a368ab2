#include "core/Shortcut.h"

namespace siborang {
namespace {

// The hotkey box's modifier flags, above the key code's byte.
constexpr std::uint32_t kBoxModifierShift = 8;
constexpr std::uint32_t kBoxExtended = 0x08;

// Virtual-key codes of keys that exist only on the extended part of the keyboard: Page Up to
// Down arrow, Insert, Delete, the keypad's divide, Num Lock, the Windows and menu keys.
bool IsExtendedKey(std::uint16_t key) {
    return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F || key == 0x90 ||
           (key >= 0x5B && key <= 0x5D);
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

std::uint16_t JoinShortcut(const HotKeyKeys& keys) {
    std::uint16_t value = static_cast<std::uint16_t>(keys.key) & kShortcutKeyMask;
    if (keys.modifiers & kModShift) value |= kShortcutShift;
    if (keys.modifiers & kModControl) value |= kShortcutCtrl;
    if (keys.modifiers & kModAlt) value |= kShortcutAlt;
    return value;
}

HotKeyKeys KeysOfShortcut(std::uint16_t shortcut) {
    const SplitHotKey split = SplitShortcut(shortcut);
    return {ModifierFlags(split), split.key};
}

// The box's Shift, Ctrl and Alt flags (1, 2, 4) are the shortcut's three modifier bits in the
// same order.
std::uint16_t ShortcutFromBoxValue(std::uint32_t boxValue) {
    const std::uint32_t flags = (boxValue >> kBoxModifierShift) & 0x7u;
    return static_cast<std::uint16_t>((boxValue & 0xFFu) | flags * kShortcutShift);
}

std::uint16_t BoxValueFromShortcut(std::uint16_t shortcut) {
    const std::uint16_t key = shortcut & 0xFFu;
    std::uint32_t flags = (shortcut >> 13) & 0x7u;
    if (IsExtendedKey(key)) flags |= kBoxExtended;
    return static_cast<std::uint16_t>(key | (flags << kBoxModifierShift));
}

}  // namespace siborang
