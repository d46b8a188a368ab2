#include "win/Edit.h"

#include <algorithm>

#include "win/Text.h"

namespace siborang::win {

Edit::Edit(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : WindowedControl(site, parent, row), textLimit_(args.textLimit), cp949Limit_(args.cp949Limit),
      acceptedText_(row.caption) {
    CreateSystemWindow(WC_EDITW, RowStyle(row) | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // Never fewer characters than bytes, so the box's own limit can stand beside ours.
    if (textLimit_ > 0) ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(textLimit_), 0);
}

void Edit::SetText(std::wstring_view text) {
    acceptedText_.assign(text);
    settingText_ = true;
    ::SetWindowTextW(Handle(), acceptedText_.c_str());
    settingText_ = false;
}

void Edit::FocusByTab() {
    SetFocus();
    // As the dialog manager does: a box entered by Tab has its whole text selected.
    ::SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

std::optional<LRESULT> Edit::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return WindowedControl::HandleReflected(message, wParam, lParam);
    const WORD code = HIWORD(wParam);
    if (restoring_) return 0;
    if (code == EN_CHANGE && (settingText_ || !cp949Limit_ || KeepWithinCp949Limit()) && OnChange)
        OnChange(*this);
    if (code == EN_KILLFOCUS && OnExit) {
        // Leaving for another control of the same form; deactivating the form is no exit.
        if (FocusWithin(Owner().SiteWindow())) OnExit(*this);
    }
    return 0;
}

bool Edit::KeepWithinCp949Limit() {
    const std::wstring now = Text();
    bool lossless = true;
    const std::size_t bytes = ToCp949(now, &lossless).size();
    // Only growth past the limit is refused: an over-long line stored elsewhere can still be
    // shortened a character at a time.
    const bool fits = textLimit_ <= 0 || bytes <= static_cast<std::size_t>(textLimit_) ||
                      bytes <= ToCp949(acceptedText_).size();
    if (lossless && fits) {
        acceptedText_ = now;
        return true;
    }
    // Refused: the text before this change comes back, the caret where the input began.
    DWORD caret = 0;
    ::SendMessageW(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const std::size_t grown = now.size() > acceptedText_.size() ? now.size() - acceptedText_.size() : 0;
    const auto at = static_cast<WPARAM>(std::min<std::size_t>(caret > grown ? caret - grown : 0, acceptedText_.size()));
    restoring_ = true;
    ::SetWindowTextW(Handle(), acceptedText_.c_str());
    restoring_ = false;
    ::SendMessageW(Handle(), EM_SETSEL, at, static_cast<LPARAM>(at));
    RefusalBeep();
    return false;
}

}  // namespace siborang::win
