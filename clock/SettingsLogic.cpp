#include "clock/SettingsLogic.h"

#include "core/IntParse.h"

namespace siborang {

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

std::uint16_t JoinShortcut(std::int32_t modifiers, std::int32_t key) {
    std::uint16_t value = static_cast<std::uint16_t>(key) & kShortcutKeyMask;
    if (modifiers & static_cast<std::int32_t>(kModShift)) value |= kShortcutShift;
    if (modifiers & static_cast<std::int32_t>(kModControl)) value |= kShortcutCtrl;
    if (modifiers & static_cast<std::int32_t>(kModAlt)) value |= kShortcutAlt;
    return value;
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
    view.SetShortcut(JoinShortcut(modifiers, key));
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
