#pragma once
// The month calendar as a screen reader sees it: a table whose value is the selected date in
// words, with its cells as children (the weekday headers, then the days row by row), the
// current day focused while the calendar has the focus. Its facts come from
// CalendarAccessModel; this adds the cells' places on the screen and the events a reader hears.
#include <functional>
#include <string>

#include "controls/CalendarModel.h"
#include "win/Accessible.h"

namespace siborang {

class CalendarAccess final : public win::AccessibleSource {
public:
    // The calendar must outlive this object; `window` tells its window (nullptr while it has none).
    CalendarAccess(const CalendarModel& calendar, std::function<HWND()> window)
        : calendar_(calendar), window_(std::move(window)) {}

    // The name the layout gives the calendar (it has no label); empty keeps the system's.
    void SetName(std::wstring name) { name_ = std::move(name); }

    std::optional<std::wstring> AccessibleName() const override;
    std::optional<long> AccessibleRole() const override;
    std::optional<std::wstring> AccessibleValue() const override;
    std::vector<win::AccessibleItem> AccessibleItems() const override;

    // After every move of the day or the month: the table's value changed, and while the
    // calendar has the focus, the focus went to the current cell.
    void Moved() const noexcept;
    // The date with its weekday, as a reader would say it ("2024년 3월 5일 화요일").
    std::wstring SpokenDate() const;

private:
    const CalendarModel& calendar_;
    std::function<HWND()> window_;
    std::wstring name_;
};

}  // namespace siborang
