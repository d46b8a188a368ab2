#include "controls/Calendar.h"

#include <memory>
#include <string>

#include "core/Errors.h"
#include "win/Application.h"
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

std::unique_ptr<win::CustomControl> MakeCalendar(win::Control& host, const win::CustomPlacement& where) {
    GridPlacement placement;
    placement.parent = where.parent;
    placement.id = where.id;
    placement.left = where.props.left;
    placement.top = where.props.top;
    // A calendar without a designed size keeps the grid's own.
    if (where.props.width > 0) placement.width = where.props.width;
    if (where.props.height > 0) placement.height = where.props.height;
    placement.font = where.font;
    placement.fontColor = where.fontColor;
    // ParentColor is off for a calendar: without a colour of its own it is clWindow.
    placement.color = win::ResolveColor(where.props.color == win::kParentColor ? win::SystemColor(COLOR_WINDOW)
                                                                                : where.props.color);
    placement.tabStop = where.tabStop;
    placement.enabled = where.enabled;
    auto calendar = std::make_unique<TCalendar>(win::Application::Instance().ModuleInstance(), placement);
    calendar->SetStartOfWeek(where.props.designValue);
    // The row's events get the host control as their sender.
    calendar->OnClick = [&host](TCustomGrid&) {
        if (host.OnClick) host.OnClick(host);
    };
    calendar->OnChange = [&host](CalendarModel&) {
        if (host.OnChange) host.OnChange(host);
    };
    return calendar;
}

}  // namespace

TCalendar::TCalendar(HINSTANCE instance, const GridPlacement& placement, TodayFn today)
    : CalendarModel(std::move(today)),
      fallbackFont_(MakeFallbackFont(placement.font)),
      window_(*this, instance, kCalendarClass, placement,
              [this](HDC dc, int column, int row, const RECT& rect) { PaintCell(dc, column, row, rect); }) {}

TCalendar::~TCalendar() = default;

TCalendar& TCalendar::Of(const win::Control& control) {
    auto* calendar = dynamic_cast<TCalendar*>(control.Custom());
    if (!calendar) throw AppError("Not a calendar: " + control.Name());
    return *calendar;
}

void RegisterCalendarKind() { win::RegisterControlKind(kCalendarClass, &MakeCalendar); }

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
    HGDIOBJ previous = nullptr;
    if (row < FixedRows() && fallbackFont_ && !HasAllGlyphs(dc, text)) {
        previous = ::SelectObject(dc, fallbackFont_.Get());
    }
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int x = rect.left + (rect.right - rect.left - extent.cx) / 2;
    const int y = rect.top + (rect.bottom - rect.top - extent.cy) / 2;
    // Over the background the grid has just filled (the DC's background colour).
    ::ExtTextOutW(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    if (previous) ::SelectObject(dc, previous);
}

}  // namespace siborang
