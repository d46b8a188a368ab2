#include "controls/TrayIcon.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

#include "core/Errors.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/StartupTrace.h"
#include "win/SystemLibrary.h"
#include "win/Text.h"
#include "win/WaitAnsweringSent.h"

namespace siborang {
namespace {

constexpr wchar_t kWindowClass[] = L"TTrayIconWindow";

bool IsCp949LeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

// How many bytes of `text` fit the tool tip without splitting a two-byte character. Only a
// walk from the start tells lead bytes from trail bytes, as their ranges overlap.
std::size_t ToolTipLength(std::string_view text) {
    if (text.size() <= TTrayIcon::kToolTipLimit) return text.size();
    std::size_t length = 0;
    while (length < TTrayIcon::kToolTipLimit) {
        const std::size_t width = IsCp949LeadByte(text[length]) ? 2 : 1;
        if (length + width > TTrayIcon::kToolTipLimit) break;
        length += width;
    }
    return length;
}

TTrayIcon::MessageFilterFunction LookUpMessageFilter() noexcept {
    return win::FindExport<std::remove_pointer_t<TTrayIcon::MessageFilterFunction>>(
        ::GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx");
}

}  // namespace

TPopupMenu::TPopupMenu() : menu_(::CreatePopupMenu()) {
    if (!menu_) throw AppError("Error creating popup menu");
}

void TPopupMenu::Add(std::wstring_view caption, std::function<void()> onClick) {
    handlers_.push_back(std::move(onClick));
    const std::wstring text(caption);
    ::AppendMenuW(menu_.Get(), MF_STRING, handlers_.size(), text.c_str());
}

void TPopupMenu::AddSeparator() { ::AppendMenuW(menu_.Get(), MF_SEPARATOR, 0, nullptr); }

void TPopupMenu::Popup(int x, int y) {
    const HWND owner = win::Application::Instance().Handle();
    const auto chosen = static_cast<std::size_t>(
        ::TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x,
                         y, 0, owner, nullptr));
    // The menu of a window in the background does not open properly next time without a
    // message to that window after it closed.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= handlers_.size() && handlers_[chosen - 1]) handlers_[chosen - 1]();
}

TTrayIcon::ShellNotifyFunction TTrayIcon::ShellNotify = &::Shell_NotifyIconW;
TTrayIcon::MessageFilterFunction TTrayIcon::MessageFilter = LookUpMessageFilter();
UINT TTrayIcon::AddRetryInterval = 10000;

TTrayIcon::TTrayIcon(win::Form& owner)
    : owner_(owner), taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {
    win::RegisterWindowClass(owner_.App().ModuleInstance(), {.name = kWindowClass, .style = 0});
    CreateHandle(owner_.App().ModuleInstance(), 0, kWindowClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr);
    // Started "as administrator", the program gets no message from the normal shell unless it
    // lets that one in: the icon would never come back after Explorer restarts.
    if (MessageFilter && taskbarCreated_) MessageFilter(Handle(), taskbarCreated_, kAllowMessage, nullptr);
}

TTrayIcon::~TTrayIcon() {
    if (active_ && !designing_) DeleteIcon();
    icon_.Reset();
}

void TTrayIcon::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (designing_) return;
    if (active) {
        AddIconOrRetry();
    } else {
        StopAddRetries();
        DeleteIcon();
    }
}

void TTrayIcon::SetShowDesigning(bool show) {
    if (!designing_) return;
    showDesigning_ = show;
}

void TTrayIcon::SetIcon(HICON picture) {
    if (picture == icon_.Get()) return;
    icon_.Reset(picture ? ::CopyIcon(picture) : nullptr);
    ModifyIcon();
}

void TTrayIcon::LoadPicture(HICON picture) { icon_.Reset(picture ? ::CopyIcon(picture) : nullptr); }

void TTrayIcon::SetToolTip(std::string_view cp949) {
    // A fresh string: the text may be this object's own tool tip.
    std::string kept(cp949.substr(0, ToolTipLength(cp949)));
    toolTip_ = std::move(kept);
    ModifyIcon();
}

void TTrayIcon::FillNotifyData() {
    data_.cbSize = kRecordSize;
    data_.hWnd = Handle();
    data_.uID = kIconId;
    data_.uFlags = kNotifyFlags;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon_.Get();
    // 62 CP949 bytes are at most 62 characters, well inside the wide tip.
    const std::wstring tip = win::FromCp949(toolTip_);
    const std::size_t length = std::min(tip.size(), std::size(data_.szTip) - 1);
    std::copy_n(tip.data(), length, data_.szTip);
    data_.szTip[length] = L'\0';
}

bool TTrayIcon::AddIcon() {
    FillNotifyData();
    const win::startup::Section timing("tray: the shell's add");
    const bool added = ShellNotify(NIM_ADD, &data_) != FALSE;
    // Asked after every add, as the shell forgets it with the icon: without it, Enter or Space
    // on the icon reaches the program as a right click.
    if (added) {
        data_.uVersion = kShellVersion;
        ShellNotify(NIM_SETVERSION, &data_);
    }
    // An icon added before its tool tip was given goes to the shell once more when the
    // queue comes round, by which time the owner has usually set the tip.
    if (toolTip_.empty()) ::PostMessageA(Handle(), kRefreshMessage, 0, 0);
    return added;
}

void TTrayIcon::AddIconOrRetry() {
    StopAddRetries();
    // Started with the session, the program may find the shell not yet ready to take icons;
    // without a retry it would run the whole session with no icon and no way in.
    if (AddIcon()) return;
    addRetriesLeft_ = kAddRetries;
    addRetry_.SetEnabled(true);
}

void TTrayIcon::StopAddRetries() {
    addRetry_.SetEnabled(false);
    addRetriesLeft_ = 0;
}

void TTrayIcon::RetryAdd() {
    // One queued before the icon was put out of the tray adds nothing.
    if (!active_ || designing_ || AddIcon() || --addRetriesLeft_ <= 0) StopAddRetries();
}

bool TTrayIcon::ModifyIcon() {
    FillNotifyData();
    if (!active_) return true;
    return ShellNotify(NIM_MODIFY, &data_) != FALSE;
}

bool TTrayIcon::DeleteIcon() {
    return ShellNotify(NIM_DELETE, &data_) != FALSE;
}

LRESULT TTrayIcon::TrayWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kRefreshMessage:
        SetToolTip(toolTip_);
        return 0;
    case kCallbackMessage:
        // The shell sends its notifications: while an announcement holds the thread they wait
        // their turn, as a click on a window of the program does.
        if (win::AnsweringSentOnly()) {
            ::PostMessageW(Handle(), message, wParam, lParam);
            return 0;
        }
        if (SameGesture(static_cast<UINT>(lParam))) return 0;
        switch (lParam) {
        case WM_LBUTTONUP:
        case NIN_SELECT:
        case NIN_KEYSELECT:
            clickedByKeyboard_ = lParam == NIN_KEYSELECT;
            if (OnClick) Fire([this] { OnClick(*this); });
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDblClick) Fire([this] { OnDblClick(*this); });
            break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            Fire([this] { DoRightClick(); });
            break;
        default:
            break;
        }
        return 0;
    case WM_ACTIVATEAPP:
        // The shell may take the activation for its own window after it has told the program of
        // the click (Wine does): the window the click brought to the front goes there again.
        if (!wParam && keepFront_ && ::GetTickCount() - keepFrontFrom_ < kKeepFrontTime)
            ::PostMessageW(Handle(), kFrontAgainMessage, 0, 0);
        return DefaultProc(message, wParam, lParam);
    case kFrontAgainMessage:
        if (keepFront_ && ::IsWindowVisible(keepFront_) && ::IsWindowEnabled(keepFront_))
            ::SetForegroundWindow(keepFront_);
        return 0;
    case WM_CLOSE:
        // The icon's own plumbing: closed from outside (a script, taskkill), it would leave the
        // clock running with no icon and no way in.
        return 0;
    default:
        // A new notification area knows no icon: an active one is put in again, the same
        // record as before.
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            if (active_ && !designing_) AddIconOrRetry();
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }
}

bool TTrayIcon::SameGesture(UINT reported) noexcept {
    const DWORD now = ::GetTickCount();
    const bool same = now - lastReportedAt_ < ::GetDoubleClickTime() &&
                      ((reported == NIN_SELECT && lastReported_ == WM_LBUTTONUP) ||
                       (reported == NIN_KEYSELECT && lastReported_ == NIN_KEYSELECT) ||
                       (reported == WM_CONTEXTMENU && lastReported_ == WM_RBUTTONUP));
    // Moves count for nothing: they come between a button-up and the shell's report of it.
    if (reported != WM_MOUSEMOVE) {
        lastReported_ = same ? 0 : reported;
        lastReportedAt_ = now;
    }
    return same;
}

template <class Handler>
void TTrayIcon::Fire(Handler&& handler) {
    handler();
    const HWND front = ::GetForegroundWindow();
    const bool ours = front && ::GetWindowThreadProcessId(front, nullptr) == ::GetCurrentThreadId();
    keepFront_ = ours ? front : nullptr;
    keepFrontFrom_ = ::GetTickCount();
}

void TTrayIcon::DoRightClick() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (PopupMenu) {
        // A menu only closes on a click elsewhere when its owner is in front.
        ::SetForegroundWindow(owner_.App().Handle());
        owner_.App().ProcessMessages();
        PopupMenu->Popup(cursor.x, cursor.y);
    }
    if (OnRightClick) OnRightClick(*this, win::MouseButton::Right, 0, cursor.x, cursor.y);
}

}  // namespace siborang
