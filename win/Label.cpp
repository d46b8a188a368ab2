#include "win/Label.h"

#include <algorithm>

#include "core/Mnemonic.h"
#include "win/Handles.h"
#include "win/Text.h"

namespace siborang::win {

Label::Label(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : GraphicControl(site, parent, row), args_(args), fitPending_(args.autoSize || args.fitRows) {}

RECT Label::Bounds() const noexcept {
    if (fitPending_) FitNow();
    return bounds_;
}

void Label::SetText(std::wstring_view text) {
    const bool changed = text != caption_;
    Control::SetText(text);
    if (args_.autoSize || args_.fitRows) {
        Invalidate();  // where the old size reached,
        fitPending_ = true;
        Invalidate();  // and where the new one reaches
    }
    if (changed) NotifyFactsChanged(EVENT_OBJECT_NAMECHANGE);
}

void Label::ApplyDpi() {
    GraphicControl::ApplyDpi();
    fitPending_ = args_.autoSize || args_.fitRows;
}

namespace {

constexpr UINT kRowFormat = DT_EXPANDTABS | DT_SINGLELINE;

}  // namespace

std::vector<LineSpan> Label::Rows(HDC dc, int width) const {
    const auto measure = [dc](std::wstring_view piece) {
        RECT extent{0, 0, 0, 0};
        ::DrawTextW(dc, piece.data(), static_cast<int>(piece.size()), &extent, kRowFormat | DT_CALCRECT);
        return static_cast<int>(extent.right);
    };
    return WrapAtSpaces(caption_, width, measure);
}

void Label::FitNow() const noexcept {
    fitPending_ = false;
    WindowDc screen(nullptr);
    SelectGuard select(screen.Get(), FontHandle());
    if (args_.fitRows) {
        // Letters and line heights do not scale in step with the box: the rows are counted at
        // the scale the box is at.
        bounds_ = DesignedBounds();
        TEXTMETRICW tm{};
        ::GetTextMetricsW(screen.Get(), &tm);
        try {
            const auto rows = static_cast<LONG>(Rows(screen.Get(), bounds_.right - bounds_.left).size());
            bounds_.bottom = std::max(bounds_.bottom, bounds_.top + rows * tm.tmHeight);
        } catch (...) {
            // Out of memory measuring: the box as designed.
        }
        return;
    }
    // The size of the text on one line.
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(screen.Get(), caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
    bounds_.right = bounds_.left + rc.right;
    bounds_.bottom = bounds_.top + rc.bottom;
}

std::optional<AccessibleItem> Label::AccessibleFacts() const {
    // An item even without text, so that the ids of the items after it stay as they are when
    // the program empties it (the editor's old-memo mark).
    AccessibleItem item;
    item.name = WithoutMnemonic(caption_);
    if (item.name.empty()) item.state |= STATE_SYSTEM_INVISIBLE;
    item.bounds = Bounds();
    return item;
}

void Label::Paint(HDC dc) const {
    RECT rc = Bounds();
    SelectGuard select(dc, FontHandle());
    ::SetTextColor(dc, DrawnTextColor());
    if (args_.transparent) {
        ::SetBkMode(dc, TRANSPARENT);
    } else {
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, BackColor());
        ::FillRect(dc, &rc, BackBrush());
    }
    const UINT align = args_.centered ? DT_CENTER : DT_LEFT;
    // A fixed-size label cuts off rows that do not fit. A self-sizing one already fits its
    // text, and some fonts draw their underline just below the cell they measure.
    const int saved = ::SaveDC(dc);
    if (!args_.autoSize) ::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    if (args_.wrapAtSpaces) {
        const UINT format = kRowFormat | align;
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        const std::wstring_view text = caption_;
        RECT row{rc.left, rc.top, rc.right, rc.top + tm.tmHeight};
        for (const LineSpan& line : Rows(dc, rc.right - rc.left)) {
            if (row.top >= rc.bottom) break;
            ::DrawTextW(dc, text.data() + line.start, static_cast<int>(line.length), &row, format);
            ::OffsetRect(&row, 0, tm.tmHeight);
        }
    } else {
        const UINT lines = args_.wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
        ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_EXPANDTABS | lines | align);
    }
    ::RestoreDC(dc, saved);
}

}  // namespace siborang::win
