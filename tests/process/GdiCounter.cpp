// Linked into SiborangCounted.exe only: the program itself, with every call of its own that
// makes or frees a GDI or USER object (fonts, brushes, bitmaps, DCs, icons, menus) counted.
// The linker sends each such call here instead of to its import (--wrap on the import's
// symbol, tests/process/CMakeLists.txt), and the number the program holds is kept where the
// leak test reads it from its own process: Wine does not count them (GetGuiResources gives 0).
#include <mutex>
#include <set>

#include "tests/process/GdiCount.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace {

std::mutex lock;
std::set<const void*> alive;  // what the program made and has not freed
LONG* published = nullptr;

void Publish() {
    if (!published) {
        // Kept for the process's life: the count is read until the program has gone.
        static const siborang::win::KernelHandle mapping(::CreateFileMappingW(
            INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), siborang::process_tests::kGdiCountMapping));
        if (!mapping) return;
        published = static_cast<LONG*>(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
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

// Counted_Name in the place of Name's import: it calls the real one (real_Name) and counts what
// it made (MADE) or freed (FREED, the object the argument `freed` names).
#define SIBORANG_COUNTED(name, bytes, Result, parameters, arguments, count)                          \
    extern "C" decltype(&::name) real_##name asm(SIBORANG_WRAPPED("real", name, bytes));            \
    static Result WINAPI Counted_##name parameters { return count(real_##name arguments); }          \
    extern "C" decltype(&::name) wrap_##name asm(SIBORANG_WRAPPED("wrap", name, bytes));            \
    decltype(&::name) wrap_##name = &Counted_##name;
#define MADE(result) Made(result)
#define FREED(freed) [&](auto result) { return Freed(freed, result); }

SIBORANG_COUNTED(CreateSolidBrush, 4, HBRUSH, (COLORREF color), (color), MADE)
SIBORANG_COUNTED(CreateFontIndirectW, 4, HFONT, (const LOGFONTW* font), (font), MADE)
SIBORANG_COUNTED(CreateCompatibleBitmap, 12, HBITMAP, (HDC dc, int width, int height), (dc, width, height), MADE)
SIBORANG_COUNTED(CreateCompatibleDC, 4, HDC, (HDC dc), (dc), MADE)
SIBORANG_COUNTED(GetDC, 4, HDC, (HWND window), (window), MADE)
SIBORANG_COUNTED(CopyIcon, 4, HICON, (HICON icon), (icon), MADE)
SIBORANG_COUNTED(CreatePopupMenu, 0, HMENU, (), (), MADE)
// A shared image belongs to the system, which frees it.
SIBORANG_COUNTED(LoadImageW, 24, HANDLE, (HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags),
                 (module, name, type, cx, cy, flags), [&](HANDLE image) { return flags & LR_SHARED ? image : Made(image); })
SIBORANG_COUNTED(DeleteObject, 4, BOOL, (HGDIOBJ object), (object), FREED(object))
SIBORANG_COUNTED(DeleteDC, 4, BOOL, (HDC dc), (dc), FREED(dc))
SIBORANG_COUNTED(ReleaseDC, 8, int, (HWND window, HDC dc), (window, dc), FREED(dc))
SIBORANG_COUNTED(DestroyIcon, 4, BOOL, (HICON icon), (icon), FREED(icon))
SIBORANG_COUNTED(DestroyMenu, 4, BOOL, (HMENU menu), (menu), FREED(menu))
