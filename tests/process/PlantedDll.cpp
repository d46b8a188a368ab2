// A library as someone might plant it beside the program under a system library's name:
// all it does when loaded is leave "<its own path>.loaded" behind, so a test can tell.
#include "win/Win32.h"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 8];
    const DWORD n = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return TRUE;
    ::lstrcpyW(path + n, L".loaded");
    const HANDLE marker = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
    return TRUE;
}

#ifdef PLANTED_VERSION
// Wine 8's own user32 imports version.dll, so under that Wine this one is loaded into every
// program started beside it, and Wine's sound driver asks it for the program's version: it
// answers as for a file without one, instead of leaving the caller to crash on a missing export.
extern "C" {
__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR, LPDWORD handle) {
    if (handle) *handle = 0;
    ::SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return 0;
}
__declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR, DWORD, DWORD, LPVOID) {
    ::SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
}
__declspec(dllexport) BOOL WINAPI VerQueryValueW(LPCVOID, LPCWSTR, LPVOID* value, PUINT length) {
    if (value) *value = nullptr;
    if (length) *length = 0;
    return FALSE;
}
}
#endif
