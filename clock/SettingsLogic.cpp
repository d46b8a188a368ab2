#include "clock/SettingsLogic.h"

#include "core/IntParse.h"

namespace siborang {

std::int32_t ReadInteger(SettingsStore& store, const char* key, std::int32_t fallback) {
    return ParseProfileInteger(store.ReadString(key), fallback);
}

bool ReadBool(SettingsStore& store, const char* key, bool fallback) {
    return ReadInteger(store, key, fallback ? 1 : 0) != 0;
}

std::optional<HotKeyKeys> LoadSettings(SettingsStore& store, SettingsView& view) {
    if (ReadInteger(store, "Option1", 0) == 1) view.EnableListenButton();
    const std::int32_t modifiers = ReadInteger(store, "VKEY", 3);
    const std::int32_t key = ReadInteger(store, "KEY", 87);
    view.SetShortcut(JoinShortcut(modifiers, key));
    view.SetIntervalChecked(ReadBool(store, "Check1", true));
    view.SetMemoChecked(ReadBool(store, "Check2", true));
    const auto minutes = static_cast<std::uint16_t>(ReadInteger(store, "MINUTE", 30));
    view.SetIntervalText(std::to_string(minutes));
    return HotKeyKeys{static_cast<std::uint32_t>(modifiers) & 0xFFFFu, static_cast<std::uint32_t>(key)};
}

std::optional<HotKeyKeys> SaveSettings(SettingsStore& store, SettingsView& view) {
    const SplitHotKey split = SplitShortcut(view.Shortcut());
    const HotKeyKeys keys{ModifierFlags(split), split.key};
    store.WriteString("KEY", std::to_string(keys.key));
    store.WriteString("VKEY", std::to_string(keys.modifiers));
    store.WriteString("Check1", view.IntervalChecked() ? "1" : "0");
    store.WriteString("Check2", view.MemoChecked() ? "1" : "0");
    store.WriteString("MINUTE", std::to_string(ParseIntegerStrict(view.IntervalText())));
    if (keys.modifiers == 0) return std::nullopt;
    return keys;
}

}  // namespace siborang
