#pragma once
// The hotkey's bit formats, in one place: the single shortcut value the settings store and the
// hotkey box show (key code and three modifier bits), the modifier flags and key code that
// registration takes, and the hotkey common control's own value. Portable.
#include <cstdint>

namespace siborang {

// Shortcut values: bits 0-12 the key code, and three modifier bits.
inline constexpr std::uint16_t kShortcutKeyMask = 0x1FFF;
inline constexpr std::uint16_t kShortcutShift = 0x2000;
inline constexpr std::uint16_t kShortcutCtrl = 0x4000;
inline constexpr std::uint16_t kShortcutAlt = 0x8000;
// Modifier flags as registration takes them.
inline constexpr std::uint32_t kModAlt = 1;
inline constexpr std::uint32_t kModControl = 2;
inline constexpr std::uint32_t kModShift = 4;

struct SplitHotKey {
    std::uint16_t key = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

SplitHotKey SplitShortcut(std::uint16_t shortcut);
std::uint32_t ModifierFlags(const SplitHotKey& split);

// A hotkey as registration takes it: modifier flags and key code.
struct HotKeyKeys {
    std::uint32_t modifiers = 0;
    std::uint32_t key = 0;
    friend bool operator==(const HotKeyKeys&, const HotKeyKeys&) = default;
};

// The shortcut value of stored modifier flags and key code: the exact inverse of
// KeysOfShortcut, so that what is stored comes back unchanged (F1, arrows, Shift).
std::uint16_t JoinShortcut(const HotKeyKeys& keys);
// A shortcut value's modifier flags and key code (SplitShortcut, ModifierFlags).
HotKeyKeys KeysOfShortcut(std::uint16_t shortcut);

// The hotkey box's value (key code in the low byte, its own modifier flags above it) as a
// shortcut value: the extended-key flag falls off.
std::uint16_t ShortcutFromBoxValue(std::uint32_t boxValue);
// A shortcut value as the box takes it: a key found only on the extended part of the keyboard
// carries the extended flag, so that the box names it as such ("Left", not "Num 4").
std::uint16_t BoxValueFromShortcut(std::uint16_t shortcut);

}  // namespace siborang
