#pragma once
// The form's icon in the notification area: its picture and tool tip kept up to date, the
// shell's mouse notifications turned into events and an optional popup menu.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win/ControlRow.h"
#include "win/Handles.h"
#include "win/Timer.h"
#include "win/Win32.h"
#include "win/Window.h"

namespace siborang {

namespace win {
class Form;
}

// A popup menu of plain items.
class TPopupMenu {
public:
    TPopupMenu();

    HMENU Handle() const noexcept { return menu_.Get(); }
    void Add(std::wstring_view caption, std::function<void()> onClick);
    void AddSeparator();
    // Shows the menu with its top left corner at a screen point and returns once it has
    // closed; the chosen item's handler has run by then.
    void Popup(int x, int y);

private:
    win::Menu menu_;
    std::vector<std::function<void()>> handlers_;  // item identifier - 1
};

class TTrayIcon : public win::WindowBase {
public:
    using NotifyEvent = std::function<void(TTrayIcon& sender)>;
    // Sender, button, shift state (MK_* bits), cursor position on the screen.
    using MouseEvent = std::function<void(TTrayIcon& sender, win::MouseButton button, unsigned shift, int x, int y)>;
    using ShellNotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    static constexpr UINT kCallbackMessage = WM_USER + 1;
    static constexpr UINT kRefreshMessage = WM_USER + 2;
    // Posted to itself: the window an event brought to the front is brought there again.
    static constexpr UINT kFrontAgainMessage = WM_USER + 3;
    // How long after an event the shell's own taking of the activation is undone.
    static constexpr DWORD kKeepFrontTime = 500;
    static constexpr UINT kIconId = 0;
    static constexpr UINT kNotifyFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    static constexpr std::size_t kToolTipLimit = 62;
    // The record's second layout, the first the shell lets set the icon's version; the tip is
    // passed wide, so that it reads right whatever the system's code page.
    static constexpr DWORD kRecordSize = NOTIFYICONDATAW_V2_SIZE;
    // Keyboard selections (NIN_KEYSELECT) and the menu key (WM_CONTEXTMENU) are reported, the
    // mouse message still in lParam.
    static constexpr UINT kShellVersion = NOTIFYICON_VERSION;

    // Every call to the shell goes through here, so that tests can watch them.
    static ShellNotifyFunction ShellNotify;
    // ChangeWindowMessageFilterEx, looked up at run time (Windows 7 and later have it);
    // nullptr where the system lacks it. Tests replace it to watch the call.
    using MessageFilterFunction = BOOL(WINAPI*)(HWND window, UINT message, DWORD action, void* status);
    static MessageFilterFunction MessageFilter;
    static constexpr DWORD kAllowMessage = 1;  // MSGFLT_ALLOW

    // A refused add is tried again this many times, this many milliseconds apart: for about a
    // minute (tests shorten it).
    static constexpr int kAddRetries = 6;
    static UINT AddRetryInterval;

    explicit TTrayIcon(win::Form& owner);
    ~TTrayIcon() override;

    win::Form& Owner() const noexcept { return owner_; }
    // Handle(): the hidden window the shell reports to.

    bool Active() const noexcept { return active_; }
    void SetActive(bool active);
    bool ShowDesigning() const noexcept { return showDesigning_; }
    void SetShowDesigning(bool show);
    // The component's own copy of the picture; null when empty.
    HICON Icon() const noexcept { return icon_.Get(); }
    void SetIcon(HICON picture);
    // Puts a picture into the icon object without telling the shell, as a form's stored
    // layout does; a queued refresh (or the next add or change) sends it.
    void LoadPicture(HICON picture);
    // CP949 bytes.
    const std::string& ToolTip() const noexcept { return toolTip_; }
    void SetToolTip(std::string_view cp949);
    // Whether the last OnClick came from the keyboard (Enter or Space on the icon).
    bool ClickedByKeyboard() const noexcept { return clickedByKeyboard_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override { return TrayWndProc(message, wParam, lParam); }

private:
    LRESULT TrayWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    void FillNotifyData();
    bool AddIcon();
    // Adds the icon, and tries again a few times while the shell refuses it.
    void AddIconOrRetry();
    void StopAddRetries();
    // The retry timer's tick: one more add, until the shell takes it or the tries run out.
    void RetryAdd();
    bool ModifyIcon();
    bool DeleteIcon();
    void DoRightClick();
    // One gesture fires its event once: the shell follows a click's button-up with NIN_SELECT
    // and a right button-up with WM_CONTEXTMENU, and may send NIN_KEYSELECT twice for one Enter.
    bool SameGesture(UINT reported) noexcept;
    // Runs an event's handler; the window it brings to the front stays there (KeepFront).
    template <class Handler>
    void Fire(Handler&& handler);

    win::Form& owner_;
    NOTIFYICONDATAW data_{};
    win::Icon icon_;
    std::string toolTip_;
    // The shell broadcasts this when it makes the notification area anew (Explorer restarted).
    const UINT taskbarCreated_;
    int addRetriesLeft_ = 0;
    win::Timer addRetry_{*this, AddRetryInterval, false, [this](win::Timer&) { RetryAdd(); }};
    UINT lastReported_ = 0;  // the last mouse or keyboard notification and its tick count
    DWORD lastReportedAt_ = 0;
    HWND keepFront_ = nullptr;  // brought to the front by the last event's handler
    DWORD keepFrontFrom_ = 0;
    bool clickedByKeyboard_ = false;
    bool active_ = false;
    bool showDesigning_ = false;
    // There is no form designer in this program.
    const bool designing_ = false;

public:
    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    // The button is always the right one and the shift state empty.
    MouseEvent OnRightClick;
    // Shown on a right click; not owned.
    TPopupMenu* PopupMenu = nullptr;
};

}  // namespace siborang
