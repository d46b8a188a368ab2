#pragma once
// The settings Tockly.ini keeps and the main window shows, as one value, and its transfer to
// and from the file. Portable: the file is behind the interface below. A new setting is a
// field of Settings, its key in LoadSettings and SaveSettings, and a line each way in the
// main window's transfer.
#include <cstdint>
#include <optional>
#include <string>

#include "core/Shortcut.h"

namespace siborang {

inline constexpr const char* kSettingsFile = "Tockly.ini";
inline constexpr const char* kSettingsSection = "TOCKLY";

// The settings file, one key at a time.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The key's text, "" when the file, section or key is missing.
    virtual std::string ReadString(const char* key) = 0;
    // Raises "Unable to write to <file>" when the write fails.
    virtual void WriteString(const char* key, const std::string& value) = 0;
};

std::int32_t ReadInteger(SettingsStore& store, const char* key, std::int32_t fallback);
bool ReadBool(SettingsStore& store, const char* key, bool fallback);
void WriteInteger(SettingsStore& store, const char* key, std::int32_t value);
void WriteBool(SettingsStore& store, const char* key, bool value);

struct Settings {
    // As stored: modifier flags ("VKEY") and key code ("KEY"), whatever their size.
    HotKeyKeys hotKey{};
    bool speakAtIntervals = false;  // "Check1"
    bool showMemos = false;         // "Check2"
    // The interval box's text: parsed strictly where it is used, so that a text the box did
    // not normalise fails there ("MINUTE").
    std::string intervalText{};
    // "들어 보기" offered ("Option1" 1); only ever read.
    bool listenOffered = false;
    friend bool operator==(const Settings&, const Settings&) = default;
};

// The file's settings; the defaults where it has none.
Settings LoadSettings(SettingsStore& store);
// Key by key; the first failure raises and stops the save.
void SaveSettings(SettingsStore& store, const Settings& settings);

// The hotkey that settings just loaded register: the stored modifiers (their low 16 bits) and
// key as they are, even without a modifier.
HotKeyKeys HotKeyAtStart(const Settings& settings);
// The hotkey that Run registers with settings just saved: only with a modifier, so a bare key
// or an empty box gives none.
std::optional<HotKeyKeys> HotKeyOnRun(const Settings& settings);

}  // namespace siborang
