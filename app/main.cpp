// Siborang's entry: single instance first, then the title, the main window and the loop.
#include "app/SingleInstance.h"
#include "clock/Unit1.h"
#include "controls/Calendar.h"
#include "win/Application.h"
#include "win/Win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (siborang::AnotherInstanceRunning()) return 0;  // silently: no window, no file touched

    auto& app = siborang::win::Application::Instance();
    app.Initialize(instance, L"MAINICON");
    siborang::RegisterCalendarKind();
    app.SetTitle(L"시보랑");
    try {
        siborang::Form1 = &app.CreateForm<siborang::TForm1>();
    } catch (...) {
        app.ShowCurrentException();
        return 0;
    }
    app.Run();
    return 0;
}
