// Linked into SiborangCounted.exe only: the program itself, with every call of its own that
// makes or frees a GDI or USER object (fonts, brushes, bitmaps, DCs, icons, menus) counted.
// The linker sends each such call here instead of to its import (--wrap on the import's
// symbol, tests/process/CMakeLists.txt), and the number the program holds is kept where the
// leak test reads it from its own process: Wine does not count them (GetGuiResources gives 0).
#include <mutex>
#include <set>

#include "tests/process/GdiCount.h"
#include "win/Win32.h"

namespace {

std::mutex lock;
std::set<const void*> alive;  // what the program made and has not freed
LONG* published = nullptr;

void Publish() {
    if (!published) {
        const HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                                    siborang::process_tests::kGdiCountMapping);
        if (!mapping) return;
        published = static_cast<LONG*>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
        if (!published) return;
    }
    ::InterlockedExchange(published, static_cast<LONG>(alive.size()));
}

template <class Handle>
Handle Made(Handle object) {
    if (!object) return object;
    std::lock_guard hold(lock);
    alive.insert(object);
    Publish();
    return object;
}

template <class Result>
Result Freed(const void* object, Result freed) {
    if (!freed) return freed;
    std::lock_guard hold(lock);
    alive.erase(object);
    Publish();
    return freed;
}

}  // namespace

// The symbols --wrap makes of an import's: __wrap___imp_Name and __real___imp_Name on x86_64;
// on x86, where C names carry an underscore and imports the stdcall decoration, the wrapped
// name is _imp__Name@bytes, so ___wrap__imp__Name@bytes and ___real__imp__Name@bytes.
#ifdef _WIN64
#define SIBORANG_WRAPPED(prefix, name, bytes) "__" prefix "___imp_" #name
#else
#define SIBORANG_WRAPPED(prefix, name, bytes) "___" prefix "__imp__" #name "@" #bytes
#endif

// The real import, and the pointer the program's calls to it go through instead: Counted_Name.
#define SIBORANG_REAL(name, bytes) \
    extern "C" decltype(&::name) real_##name asm(SIBORANG_WRAPPED("real", name, bytes));
#define SIBORANG_WRAP(name, bytes)                                                          \
    extern "C" decltype(&::name) wrap_##name asm(SIBORANG_WRAPPED("wrap", name, bytes)); \
    decltype(&::name) wrap_##name = &Counted_##name;

SIBORANG_REAL(CreateSolidBrush, 4)
SIBORANG_REAL(CreateFontIndirectW, 4)
SIBORANG_REAL(CreateCompatibleBitmap, 12)
SIBORANG_REAL(CreateCompatibleDC, 4)
SIBORANG_REAL(GetDC, 4)
SIBORANG_REAL(LoadImageW, 24)
SIBORANG_REAL(CopyIcon, 4)
SIBORANG_REAL(CreatePopupMenu, 0)
SIBORANG_REAL(DeleteObject, 4)
SIBORANG_REAL(DeleteDC, 4)
SIBORANG_REAL(ReleaseDC, 8)
SIBORANG_REAL(DestroyIcon, 4)
SIBORANG_REAL(DestroyMenu, 4)

namespace {

HBRUSH WINAPI Counted_CreateSolidBrush(COLORREF color) { return Made(real_CreateSolidBrush(color)); }
HFONT WINAPI Counted_CreateFontIndirectW(const LOGFONTW* font) { return Made(real_CreateFontIndirectW(font)); }
HBITMAP WINAPI Counted_CreateCompatibleBitmap(HDC dc, int width, int height) {
    return Made(real_CreateCompatibleBitmap(dc, width, height));
}
HDC WINAPI Counted_CreateCompatibleDC(HDC dc) { return Made(real_CreateCompatibleDC(dc)); }
HDC WINAPI Counted_GetDC(HWND window) { return Made(real_GetDC(window)); }
HANDLE WINAPI Counted_LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    HANDLE image = real_LoadImageW(module, name, type, cx, cy, flags);
    // A shared image belongs to the system, which frees it.
    return (flags & LR_SHARED) ? image : Made(image);
}
HICON WINAPI Counted_CopyIcon(HICON icon) { return Made(real_CopyIcon(icon)); }
HMENU WINAPI Counted_CreatePopupMenu() { return Made(real_CreatePopupMenu()); }
BOOL WINAPI Counted_DeleteObject(HGDIOBJ object) { return Freed(object, real_DeleteObject(object)); }
BOOL WINAPI Counted_DeleteDC(HDC dc) { return Freed(dc, real_DeleteDC(dc)); }
int WINAPI Counted_ReleaseDC(HWND window, HDC dc) { return Freed(dc, real_ReleaseDC(window, dc)); }
BOOL WINAPI Counted_DestroyIcon(HICON icon) { return Freed(icon, real_DestroyIcon(icon)); }
BOOL WINAPI Counted_DestroyMenu(HMENU menu) { return Freed(menu, real_DestroyMenu(menu)); }

}  // namespace

SIBORANG_WRAP(CreateSolidBrush, 4)
SIBORANG_WRAP(CreateFontIndirectW, 4)
SIBORANG_WRAP(CreateCompatibleBitmap, 12)
SIBORANG_WRAP(CreateCompatibleDC, 4)
SIBORANG_WRAP(GetDC, 4)
SIBORANG_WRAP(LoadImageW, 24)
SIBORANG_WRAP(CopyIcon, 4)
SIBORANG_WRAP(CreatePopupMenu, 0)
SIBORANG_WRAP(DeleteObject, 4)
SIBORANG_WRAP(DeleteDC, 4)
SIBORANG_WRAP(ReleaseDC, 8)
SIBORANG_WRAP(DestroyIcon, 4)
SIBORANG_WRAP(DestroyMenu, 4)
