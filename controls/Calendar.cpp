#include "controls/Calendar.h"

#include <memory>
#include <optional>
#include <string>

#include "core/Errors.h"
#include "win/Text.h"

namespace siborang {
namespace {

win::Font MakeFallbackFont(HFONT base) {
    LOGFONTW lf{};
    if (!base || !::GetObjectW(base, sizeof lf, &lf)) lf.lfHeight = -16;
    lf.lfCharSet = HANGUL_CHARSET;
    lstrcpynW(lf.lfFaceName, L"굴림", LF_FACESIZE);
    return win::Font(::CreateFontIndirectW(&lf));
}

bool HasAllGlyphs(HDC dc, const std::wstring& text) {
    std::wstring indices(text.size(), L'\0');
    if (::GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), reinterpret_cast<WORD*>(indices.data()),
                           GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return true;
    }
    return indices.find(static_cast<wchar_t>(0xFFFF)) == std::wstring::npos;
}

}  // namespace

TCalendar::TCalendar(HINSTANCE instance, const GridPlacement& placement, TodayFn today)
    : CalendarModel(std::move(today)),
      fallbackFont_(MakeFallbackFont(placement.font)),
      access_(*this, [this] { return Handle(); }),
      window_(*this, instance, kCalendarClass, placement,
              [this](HDC dc, int column, int row, const RECT& rect) { PaintCell(dc, column, row, rect); }) {
    window_.SetAccessible(&access_);
}

TCalendar::~TCalendar() = default;

void TCalendar::SetLook(HFONT font, int lineWidth) {
    if (font != window_.Font()) {
        window_.SetFont(font);
        fallbackFont_ = MakeFallbackFont(font);
    }
    if (lineWidth != GridLineWidth()) {
        SetGridLineWidth(lineWidth);
        RECT client{};
        ::GetClientRect(Handle(), &client);
        SetClientSize(client.right, client.bottom);
    }
}

TCalendar& TCalendar::Of(const win::Control& control) {
    auto* host = dynamic_cast<const CalendarControl*>(&control);
    if (!host) throw AppError("Not a calendar: " + control.Name());
    return host->Calendar();
}

namespace {

// A calendar without a designed size keeps the grid's own.
win::ControlRow WithGridSize(win::ControlRow row) {
    const GridPlacement grid;
    if (row.width <= 0) row.width = grid.width;
    if (row.height <= 0) row.height = grid.height;
    return row;
}

}  // namespace

CalendarControl::CalendarControl(win::ControlSite& site, win::Control* parent, const win::ControlRow& row,
                                 const Args& args)
    : win::Control(site, parent, WithGridSize(row)) {
    const RECT bounds = Bounds();
    GridPlacement placement;
    placement.parent = ParentHandle();
    placement.id = site.NextControlId();
    placement.left = bounds.left;
    placement.top = bounds.top;
    placement.width = bounds.right - bounds.left;
    placement.height = bounds.bottom - bounds.top;
    placement.font = FontHandle();
    placement.fontColor = TextColor();
    // ParentColor is off for a calendar: without a colour of its own it is clWindow.
    placement.color = win::ResolveColor(row.color == win::kParentColor ? win::SystemColor(COLOR_WINDOW) : row.color);
    placement.tabStop = row.tabOrder >= 0;
    placement.enabled = !row.disabled;
    calendar_ = std::make_unique<TCalendar>(site.SiteModule(), placement);
    if (!calendar_->Handle()) throw AppError("Error creating control " + Name());
    calendar_->SetStartOfWeek(args.startOfWeek);
    calendar_->OnClick = [this](TCustomGrid&) {
        if (OnClick) OnClick(*this);
    };
    calendar_->OnChange = [this](CalendarModel&) {
        calendar_->Access().Moved();
        if (OnChange) OnChange(*this);
    };
    if (const auto name = LayoutAccessibleName()) calendar_->Access().SetName(*name);
    calendar_->SetLook(FontHandle(), site.CurrentDpi().Line(1));
}

void CalendarControl::ApplyDpi() {
    win::Control::ApplyDpi();
    const RECT rc = Bounds();
    calendar_->SetLook(FontHandle(), Owner().CurrentDpi().Line(1));
    ::SetWindowPos(Handle(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

DateParts TCalendar::LocalToday() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

void TCalendar::PaintCell(HDC dc, int column, int row, const RECT& rect) {
    // Header bytes are CP949 whatever the system's code page.
    const std::wstring text = win::FromCp949(CellLabel(column, row));
    // The colours go by position, over the highlight text colour too.
    if (column == 0) {
        ::SetTextColor(dc, RGB(255, 0, 0));
    } else if (column == ColCount() - 1) {
        ::SetTextColor(dc, RGB(0, 0, 255));
    }
    std::optional<win::SelectGuard> fallback;
    if (row < FixedRows() && fallbackFont_ && !HasAllGlyphs(dc, text)) fallback.emplace(dc, fallbackFont_.Get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int x = rect.left + (rect.right - rect.left - extent.cx) / 2;
    const int y = rect.top + (rect.bottom - rect.top - extent.cy) / 2;
    // Over the background the grid has just filled (the DC's background colour).
    ::ExtTextOutW(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

}  // namespace siborang
