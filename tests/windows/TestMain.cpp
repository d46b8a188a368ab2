// The Windows tests run in one process with the application object set up as the program
// sets it up.
#include <gtest/gtest.h>

#include "controls/Calendar.h"
#include "resources/ResourceNames.h"
#include "tests/windows/TestSupport.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/Handles.h"

namespace siborang::testing {

MessageBoxWatcher::MessageBoxWatcher() : threadId_(::GetCurrentThreadId()), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::Boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::vector<std::wstring> texts;
    for (const SeenBox& box : Boxes()) texts.push_back(box.text);
    return texts;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        HWND found = nullptr;
        ::EnumThreadWindows(
            threadId_,
            [](HWND w, LPARAM p) CALLBACK -> BOOL {
                wchar_t cls[16] = {};
                ::GetClassNameW(w, cls, 16);
                if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(w)) {
                    *reinterpret_cast<HWND*>(p) = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (!found) {
            ::Sleep(20);
            continue;
        }
        SeenBox box;
        wchar_t buffer[512] = {};
        ::GetWindowTextW(found, buffer, 512);
        box.caption = buffer;
        box.owner = ::GetWindow(found, GW_OWNER);
        const HICON errorIcon = ::LoadIconW(nullptr, IDI_ERROR);
        for (HWND child = ::GetWindow(found, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            ::GetClassNameW(child, buffer, 512);
            const std::wstring cls = buffer;
            if (cls == L"Button" && ::IsWindowVisible(child)) ++box.buttons;
            if (cls == L"Static") {
                if (::GetWindowLongW(child, GWL_STYLE) & SS_ICON) {
                    box.errorIcon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0)) == errorIcon;
                } else {
                    ::GetWindowTextW(child, buffer, 512);
                    if (buffer[0]) box.text = buffer;
                }
            }
        }
        struct Beside {
            HWND box;
            std::vector<HWND>* enabled;
        } beside{found, &box.enabledBeside};
        ::EnumThreadWindows(
            threadId_,
            [](HWND w, LPARAM p) CALLBACK -> BOOL {
                auto& b = *reinterpret_cast<Beside*>(p);
                if (w != b.box && ::IsWindowVisible(w) && ::IsWindowEnabled(w)) b.enabled->push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&beside));
        {
            std::lock_guard lock(mutex_);
            boxes_.push_back(box);
        }
        ::PostMessageW(found, WM_COMMAND, IDOK, 0);
        // Wait for that box to go before looking for the next one.
        for (int i = 0; i < 200 && ::IsWindow(found) && ::IsWindowVisible(found); ++i) ::Sleep(10);
    }
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        siborang::win::Application::Instance().ProcessMessages();
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

bool SaveScreenshot(HWND window, const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    if (!::GetEnvironmentVariableW(L"SIBORANG_SCREENSHOTS", folder, MAX_PATH)) return false;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpMessages(200);
    RECT rc;
    ::GetWindowRect(window, &rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as a BMP file keeps it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    win::Bitmap picture(::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                           nullptr, 0));
    {
        win::SelectGuard select(memory, picture.Get());
        ::BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    // Pictures at another scale than 100% are named for their DPI: main-window-144dpi.
    const int dpi = win::Dpi::OfWindow(window).Value();
    const std::wstring scale = dpi == kDesignDpi ? L"" : L"-" + std::to_wstring(dpi) + L"dpi";
    const std::wstring path = std::wstring(folder) + L"\\" + name + scale + L".bmp";
    win::FileHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) return false;
    DWORD written = 0;
    return ::WriteFile(out.Get(), &file, sizeof file, &written, nullptr) &&
           ::WriteFile(out.Get(), &header, sizeof header, &written, nullptr) &&
           ::WriteFile(out.Get(), bits, header.biSizeImage, &written, nullptr);
}

}  // namespace siborang::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The pictures of the windows (the Picture tests) are taken only when a folder is named for
    // them, as a step of their own (scripts/screenshots.sh), and then nothing else runs: all of
    // them, or those the filter names.
    const bool pictures = ::GetEnvironmentVariableW(L"SIBORANG_SCREENSHOTS", nullptr, 0) > 0;
    std::string& filter = ::testing::GTEST_FLAG(filter);
    if (pictures) {
        if (filter.find("Picture") == std::string::npos) filter = "*.Picture*";
    } else {
        filter += filter.find('-') == std::string::npos ? "-*.Picture*" : ":*.Picture*";
    }
    auto& app = siborang::win::Application::Instance();
    app.Initialize(::GetModuleHandleW(nullptr), siborang::kMainIcon);
    app.SetTitle(L"시보랑");
    return RUN_ALL_TESTS();
}
