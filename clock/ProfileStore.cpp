#include "clock/ProfileStore.h"

#include "core/Errors.h"
#include "win/StartupTrace.h"
#include "win/Win32.h"

namespace siborang {

std::string ProfileStore::ReadString(const char* key) {
    const win::startup::Section timing("settings reads");
    char buffer[1025];
    const DWORD n = ::GetPrivateProfileStringA(section_, key, "", buffer, sizeof buffer, fileName_);
    return std::string(buffer, n);
}

void ProfileStore::WriteString(const char* key, const std::string& value) {
    if (!::WritePrivateProfileStringA(section_, key, value.c_str(), fileName_)) {
        throw AppError(std::string("Unable to write to ") + fileName_);
    }
}

}  // namespace siborang
