// Siborang's entry: libraries from the system directory only, then the single instance, the
// title, the main window and the loop.
#include "app/SingleInstance.h"
#include "clock/Unit1.h"
#include "resources/ResourceNames.h"
#include "win/Application.h"
#include "win/StartupTrace.h"
#include "win/SystemLibrary.h"
#include "win/Win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    namespace startup = siborang::win::startup;
    startup::Mark("loader and runtime");
    // Before anything can load a library: none ever comes from the program's folder.
    siborang::win::RestrictDllSearch();
    if (siborang::AnotherInstanceRunning()) return 0;  // silently: no window, no file touched
    startup::Mark("library search, single-instance guard");

    auto& app = siborang::win::Application::Instance();
    app.SetTitle(L"시보랑");
    try {
        app.Initialize(instance, siborang::kMainIcon);
        startup::Mark("application window");
        siborang::Form1 = &app.CreateForm<siborang::TForm1>();
    } catch (...) {
        app.ShowCurrentException();
        return 0;
    }
    app.Run();
    return 0;
}
