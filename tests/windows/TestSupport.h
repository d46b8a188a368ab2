#pragma once
// What the in-process Windows tests share: a watcher that answers the standard error box
// from another thread, as a user would, and records what it showed.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "win/Win32.h"

namespace siborang::testing {

struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    bool errorIcon = false;
    int buttons = 0;
    // The thread's other shown windows that still took input while the box was up.
    std::vector<HWND> enabledBeside;
};

class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenBox> Boxes() const;
    // The texts of the boxes seen so far, in order.
    std::vector<std::wstring> Texts() const;

private:
    void Watch();

    DWORD threadId_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};

// Runs the thread's message queue for a while, so posted work gets done.
void PumpMessages(DWORD milliseconds = 50);

// Saves what the screen shows of a window as <name>.bmp in the folder named by the
// environment variable SIBORANG_SCREENSHOTS (nothing when it is not set); true when saved.
bool SaveScreenshot(HWND window, const wchar_t* name);

}  // namespace siborang::testing
