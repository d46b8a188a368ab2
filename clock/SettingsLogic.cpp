#include "clock/SettingsLogic.h"

#include "core/IntParse.h"

namespace siborang {

std::int32_t ReadInteger(SettingsStore& store, const char* key, std::int32_t fallback) {
    return ParseProfileInteger(store.ReadString(key), fallback);
}

bool ReadBool(SettingsStore& store, const char* key, bool fallback) {
    return ReadInteger(store, key, fallback ? 1 : 0) != 0;
}

void WriteInteger(SettingsStore& store, const char* key, std::int32_t value) {
    store.WriteString(key, std::to_string(value));
}

void WriteBool(SettingsStore& store, const char* key, bool value) { store.WriteString(key, value ? "1" : "0"); }

Settings LoadSettings(SettingsStore& store) {
    Settings s;
    s.listenOffered = ReadInteger(store, "Option1", 0) == 1;
    s.hotKey.modifiers = static_cast<std::uint32_t>(ReadInteger(store, "VKEY", 3));
    s.hotKey.key = static_cast<std::uint32_t>(ReadInteger(store, "KEY", 87));
    s.speakAtIntervals = ReadBool(store, "Check1", true);
    s.showMemos = ReadBool(store, "Check2", true);
    // The low 16 bits, unsigned.
    s.intervalText = std::to_string(static_cast<std::uint16_t>(ReadInteger(store, "MINUTE", 30)));
    return s;
}

void SaveSettings(SettingsStore& store, const Settings& s) {
    WriteInteger(store, "KEY", static_cast<std::int32_t>(s.hotKey.key));
    WriteInteger(store, "VKEY", static_cast<std::int32_t>(s.hotKey.modifiers));
    WriteBool(store, "Check1", s.speakAtIntervals);
    WriteBool(store, "Check2", s.showMemos);
    WriteInteger(store, "MINUTE", ParseIntegerStrict(s.intervalText));
}

HotKeyKeys HotKeyAtStart(const Settings& settings) {
    return {settings.hotKey.modifiers & 0xFFFFu, settings.hotKey.key};
}

std::optional<HotKeyKeys> HotKeyOnRun(const Settings& settings) {
    if (settings.hotKey.modifiers == 0) return std::nullopt;
    return settings.hotKey;
}

}  // namespace siborang
