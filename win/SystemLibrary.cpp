#include "win/SystemLibrary.h"

#include <string>

namespace siborang::win {

void RestrictDllSearch() noexcept {
    // kernel32 is always loaded, and always from the system.
    const auto setDefault = FindExport<decltype(::SetDefaultDllDirectories)>(::GetModuleHandleW(L"kernel32.dll"),
                                                                          "SetDefaultDllDirectories");
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    ::SetDllDirectoryW(L"");
}

SystemLibrary::SystemLibrary(const wchar_t* name, bool pinned) noexcept
    : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (!module_) {
        // A Windows that does not know the flag: the full path, and its own dependencies looked
        // for beside it in the system directory.
        wchar_t directory[MAX_PATH];
        const UINT n = ::GetSystemDirectoryW(directory, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            const std::wstring path = std::wstring(directory, n) + L"\\" + name;
            module_ = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
    }
    if (module_ && pinned) {
        HMODULE same = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                             reinterpret_cast<LPCWSTR>(module_), &same);
    }
}

SystemLibrary::~SystemLibrary() {
    if (module_) ::FreeLibrary(module_);
}

bool InitCommonControlsFromSystem(DWORD classes) noexcept {
    // Its hotkey boxes must outlive every form, whenever the forms go.
    static const SystemLibrary comctl32(L"comctl32.dll", true);
    static const auto init = comctl32.Find<decltype(::InitCommonControlsEx)>("InitCommonControlsEx");
    if (!init) return false;
    INITCOMMONCONTROLSEX icc{sizeof icc, classes};
    return init(&icc) != FALSE;
}

bool PlaySoundFromSystem(const char* sound, HMODULE module, DWORD flags) noexcept {
    // The chime plays on winmm's own thread and may still do so while the program ends.
    static const SystemLibrary winmm(L"winmm.dll", true);
    static const auto play = winmm.Find<decltype(::PlaySoundA)>("PlaySoundA");
    return play && play(sound, module, flags) != FALSE;
}

}  // namespace siborang::win
