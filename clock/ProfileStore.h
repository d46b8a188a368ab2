#pragma once
// Tockly.ini through the platform's profile functions, which resolve the bare file name
// in the Windows directory.
#include "clock/SettingsLogic.h"

namespace siborang {

class ProfileStore final : public SettingsStore {
public:
    explicit ProfileStore(const char* fileName = kSettingsFile, const char* section = kSettingsSection)
        : fileName_(fileName), section_(section) {}
    std::string ReadString(const char* key) override;
    void WriteString(const char* key, const std::string& value) override;

private:
    const char* fileName_;
    const char* section_;
};

}  // namespace siborang
