#pragma once
// Where the program's libraries come from. Windows looks for a library that is not one of its
// KnownDLLs in the program's own folder first, so a winmm.dll dropped beside the exe (in
// Downloads, say) would run inside the program. The program therefore imports KnownDLLs only,
// restricts the search to the system directory before anything else runs, and loads the
// other libraries it needs (comctl32, winmm) here, from the system directory only.
#include "win/Win32.h"

namespace siborang::win {

// The very first step of start-up: from here on every library load, the program's own and the
// ones system libraries make on its behalf, searches the system directory only. Looked up at
// run time, so that a Windows without the call still starts; there the current directory at
// least is taken out of the search.
void RestrictDllSearch() noexcept;

// An export typed as the declaration it stands for, FindExport<decltype(::PlaySoundA)>(winmm,
// "PlaySoundA"); nullptr when the module (one already loaded, say) or the export is missing.
template <class Function>
Function* FindExport(HMODULE module, const char* name) noexcept {
    if (!module) return nullptr;
    // Through the generic function type, which converts to any other without a warning.
    const auto generic = reinterpret_cast<void (*)()>(::GetProcAddress(module, name));
    return reinterpret_cast<Function*>(generic);
}

// A library of Windows' own, loaded from the system directory only; freed with the object.
class SystemLibrary {
public:
    // pinned: the library stays for the rest of the process whatever happens to this object,
    // for one whose windows or threads may outlive the program's static objects.
    explicit SystemLibrary(const wchar_t* name, bool pinned = false) noexcept;
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    explicit operator bool() const noexcept { return module_ != nullptr; }

    // One of its exports (FindExport); nullptr when the library or the export is missing.
    template <class Function>
    Function* Find(const char* name) const noexcept {
        return FindExport<Function>(module_, name);
    }

private:
    HMODULE module_;
};

// comctl32's InitCommonControlsEx; comctl32 is loaded on the first call and kept. False when
// the library or the call is missing.
bool InitCommonControlsFromSystem(DWORD classes) noexcept;

// winmm's PlaySoundA; winmm is loaded on the first clip played and kept, so that start-up does
// without it. False (silence) when the library or the call is missing.
bool PlaySoundFromSystem(const char* sound, HMODULE module, DWORD flags) noexcept;

}  // namespace siborang::win
