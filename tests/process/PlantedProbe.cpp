// Started beside the planted libraries, it tells the planted-library test what is not the
// clock's doing. With no argument it imports the KnownDLLs the clock imports and nothing else,
// so whatever it loads there is loaded by the system's own libraries (under Wine, user32
// imports version.dll). Given a library's name, it loads it as programs commonly do, by the
// default search that looks beside the program first, which shows the test would see it.
#include "win/Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR library, int) {
    // Referenced, never called: the imports are what count.
    auto* volatile user = &::GetSystemMetrics;
    auto* volatile gdi = &::GetStockObject;
    auto* volatile shell = &::Shell_NotifyIconW;
    if (!user || !gdi || !shell) return 1;
    if (library && *library) return ::LoadLibraryW(library) ? 0 : 2;
    return 0;
}
