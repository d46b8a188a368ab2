#include "win/GroupBox.h"

#include <string>

#include "win/Handles.h"

namespace siborang::win {

GroupBox::GroupBox(ControlSite& site, Control* parent, const ControlRow& row, const Args&)
    : Container(site, parent, row, L"TGroupBox") {}

std::optional<std::wstring> GroupBox::AccessibleName() const {
    // The blanks that keep the caption off the frame's line are not read.
    const std::wstring caption = Text();
    const auto first = caption.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::nullopt;
    return caption.substr(first, caption.find_last_not_of(L' ') - first + 1);
}

void GroupBox::PaintFrame(HDC dc, RECT client) const {
    SelectGuard select(dc, FontHandle());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    RECT frame = client;
    frame.top = tm.tmHeight / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = Text();
    if (caption.empty()) return;
    const int inset = Owner().CurrentDpi().Scale(kCaptionInset);
    RECT text{inset, 0, 0, 0};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_SINGLELINE);
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, BackColor());
    ::SetTextColor(dc, TextColor());
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
}

}  // namespace siborang::win
