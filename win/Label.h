#pragma once
// Text, one line or wrapped; a self-sizing label takes the size of its text.
#include <optional>
#include <string_view>
#include <vector>

#include "core/WordWrap.h"

#include "win/GraphicControl.h"

namespace siborang::win {

class Label final : public GraphicControl {
public:
    struct Args {
        bool transparent = false;  // drawn over its parent, else on its own background
        bool centered = false;
        bool autoSize = false;     // takes the size of its text on one line
        bool wordWrap = false;
        // Rows broken by the program at spaces only, a word inside only when it alone is too
        // wide (some platforms break Korean words between any two syllables).
        bool wrapAtSpaces = false;
        // With wrapAtSpaces: a box too low for the rows its text needs at the form's scale grows
        // downwards to hold them, so that no letter is cut.
        bool fitRows = false;
    };

    Label(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    RECT Bounds() const noexcept override;
    void SetText(std::wstring_view text) override;
    void Paint(HDC dc) const override;
    // A self-sizing label measures itself again, in its new font.
    void ApplyDpi() override;
    // Static text, passed over by readers while it shows none; a new text is a new name.
    std::optional<AccessibleItem> AccessibleFacts() const override;
    bool AutoSize() const noexcept { return args_.autoSize; }
    bool FitsRows() const noexcept { return args_.fitRows; }

private:
    void FitNow() const noexcept;
    // The rows of a wrapAtSpaces label in its box, measured with `dc`'s font.
    std::vector<LineSpan> Rows(HDC dc, int width) const;

    Args args_;
    // Measured when the size is first needed: a window that starts out of sight need not
    // realise the label's font at start-up.
    mutable bool fitPending_;
};

}  // namespace siborang::win
