#include "controls/CalendarAccess.h"

#include "controls/CalendarAccessModel.h"
#include "win/Text.h"

namespace siborang {

std::optional<std::wstring> CalendarAccess::AccessibleName() const {
    if (name_.empty()) return std::nullopt;
    return name_;
}

std::optional<long> CalendarAccess::AccessibleRole() const { return ROLE_SYSTEM_TABLE; }

std::optional<std::wstring> CalendarAccess::AccessibleValue() const {
    return win::FromCp949(KoreanDateText(DecodeDate(calendar_.DateValue())));
}

std::wstring CalendarAccess::SpokenDate() const {
    const DateParts date = DecodeDate(calendar_.DateValue());
    return win::FromCp949(KoreanDateText(date) + " " + KoreanWeekdayText(date));
}

std::vector<win::AccessibleItem> CalendarAccess::AccessibleItems() const {
    const HWND window = window_();
    const bool focused = window && ::GetFocus() == window;
    std::vector<win::AccessibleItem> items;
    for (const CalendarCellFacts& cell : CalendarCells(calendar_)) {
        win::AccessibleItem item;
        item.name = win::FromCp949(cell.name);
        item.description = win::FromCp949(cell.date);
        switch (cell.kind) {
        case CalendarCellKind::Weekday:
            item.role = ROLE_SYSTEM_COLUMNHEADER;
            item.state = STATE_SYSTEM_READONLY;
            break;
        case CalendarCellKind::Day:
            item.role = ROLE_SYSTEM_CELL;
            item.state = calendar_.ReadOnly() ? STATE_SYSTEM_READONLY : STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (cell.selected) item.state |= STATE_SYSTEM_SELECTED;
            if (cell.current && focused) item.state |= STATE_SYSTEM_FOCUSED;
            break;
        case CalendarCellKind::Blank:
            item.role = ROLE_SYSTEM_CELL;
            item.state = STATE_SYSTEM_UNAVAILABLE;
            break;
        }
        const GridRect r = calendar_.CellRect(cell.column, cell.row);
        item.bounds = {r.left, r.top, r.right, r.bottom};
        if (window) ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&item.bounds), 2);
        items.push_back(std::move(item));
    }
    return items;
}

void CalendarAccess::Moved() const noexcept {
    const HWND window = window_();
    if (!window) return;
    win::NotifyAccessible(EVENT_OBJECT_VALUECHANGE, window);
    // A date set by the program while the reader is elsewhere is no focus of the user's.
    if (::GetFocus() == window) win::NotifyAccessible(EVENT_OBJECT_FOCUS, window, CalendarFocusChild(calendar_));
}

}  // namespace siborang
