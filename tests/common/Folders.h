#pragma once
// Shared by the Windows and the process-level tests: fresh folders of their own, the settings
// file where the profile functions put it, and the hotkey as another program sees it.
#include <string>
#include <string_view>

#include "win/Win32.h"

namespace siborang::probes {

// A new, empty folder under the temp folder, removed with all it holds (read-only files too)
// when the object goes. Path() is empty when none could be made.
class TempFolder {
public:
    explicit TempFolder(std::wstring_view prefix = L"siborang-") {
        wchar_t base[MAX_PATH + 1];
        if (!::GetTempPathW(MAX_PATH + 1, base)) return;
        static unsigned serial = 0;
        for (;;) {
            path_ = std::wstring(base) + std::wstring(prefix) + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++serial);
            if (::CreateDirectoryW(path_.c_str(), nullptr)) return;
            if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        path_.clear();
    }
    ~TempFolder() {
        if (!path_.empty()) RemoveTree(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    bool Valid() const noexcept { return !path_.empty(); }

    static void RemoveTree(const std::wstring& path) {
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = path + L"\\" + name;
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    ::DeleteFileW(full.c_str());
                }
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring path_;
};

// A fresh folder that is the current directory (where PostIt.dat lives) while the object
// stands; the previous one is current again afterwards.
class WorkingFolder {
public:
    explicit WorkingFolder(std::wstring_view prefix = L"siborang-") : folder_(prefix) {
        wchar_t previous[MAX_PATH + 1];
        if (::GetCurrentDirectoryW(MAX_PATH + 1, previous)) previous_ = previous;
        current_ = folder_.Valid() && !previous_.empty() && ::SetCurrentDirectoryW(folder_.Path().c_str());
    }
    ~WorkingFolder() {
        if (current_) ::SetCurrentDirectoryW(previous_.c_str());
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    const std::wstring& Path() const noexcept { return folder_.Path(); }
    // Made and current.
    bool Ready() const noexcept { return current_; }

private:
    TempFolder folder_;  // removed after the previous folder is current again
    std::wstring previous_;
    bool current_ = false;
};

// Where the profile functions keep Tockly.ini: the Windows directory.
inline std::wstring SettingsPath() {
    wchar_t dir[MAX_PATH];
    const UINT n = ::GetWindowsDirectoryW(dir, MAX_PATH);
    return std::wstring(dir, n) + L"\\Tockly.ini";
}

// A key of the settings file's section as the profile functions read it; "<none>" when missing.
inline std::string ReadSetting(const char* key) {
    char buffer[256];
    ::GetPrivateProfileStringA("TOCKLY", key, "<none>", buffer, sizeof buffer, "Tockly.ini");
    return buffer;
}

// Whether another window holds this hotkey: a registration of the same keys is refused.
inline DWORD HotKeyRefusal(UINT modifiers, UINT key) {
    constexpr int kProbeId = 0x7000;
    if (::RegisterHotKey(nullptr, kProbeId, modifiers, key)) {
        ::UnregisterHotKey(nullptr, kProbeId);
        return 0;
    }
    return ::GetLastError();
}
inline bool HotKeyHeld(UINT modifiers, UINT key) {
    return HotKeyRefusal(modifiers, key) == ERROR_HOTKEY_ALREADY_REGISTERED;
}

}  // namespace siborang::probes
