#pragma once
// The settings transfer between Tockly.ini and the main window. Portable: the file and the
// window are behind the two interfaces below.
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

// The main window's side of the transfer.
class SettingsView {
public:
    virtual ~SettingsView() = default;
    virtual void EnableListenButton() = 0;
    virtual std::uint16_t Shortcut() = 0;
    virtual void SetShortcut(std::uint16_t value) = 0;
    virtual bool IntervalChecked() = 0;
    virtual void SetIntervalChecked(bool checked) = 0;
    virtual bool MemoChecked() = 0;
    virtual void SetMemoChecked(bool checked) = 0;
    virtual std::string IntervalText() = 0;
    virtual void SetIntervalText(const std::string& text) = 0;
};

// Both modes give the hotkey the settings now hold, as it is to be registered (the window
// registers it, in one place); nullopt: none.
//
// Mode 'r': the file into the window. The stored modifiers (their low 16 bits) and key are
// registered as they are, even without a modifier.
std::optional<HotKeyKeys> LoadSettings(SettingsStore& store, SettingsView& view);
// Mode 'w': the window into the file; the first failure raises and stops the save. The box's
// keys are registered (by Run) only with a modifier: a bare key or an empty box gives none.
std::optional<HotKeyKeys> SaveSettings(SettingsStore& store, SettingsView& view);

}  // namespace siborang
