#pragma once
// A drop-down list with an edit part, unsorted; OnClick when the user picks an entry. Selecting
// from code does not run OnClick.
#include <string>
#include <string_view>

#include "win/WindowedControl.h"

namespace siborang::win {

class ComboBox final : public WindowedControl {
public:
    struct Args {
        int itemHeight = 0;  // the height of a list entry at 96 dpi, 0 for the font's
    };

    ComboBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    int ItemCount() const noexcept;
    std::wstring Item(int index) const;
    void AddItem(std::wstring_view text);
    // Replacing keeps the selection where it was; one past the last entry adds an entry.
    void SetItem(int index, std::wstring_view text);
    // An index outside the list deletes nothing.
    void DeleteItem(int index);
    void ClearItems();
    int ItemIndex() const noexcept;  // -1: none
    void SetItemIndex(int index);
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ApplyDpi() override;

protected:
    int ExtraHeight() const noexcept override;

private:
    int itemHeight96_;
};

}  // namespace siborang::win
