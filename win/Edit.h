#pragma once
// A single-line edit. With a CP949 limit its limit counts the bytes the text takes in code page
// 949, and characters that code page cannot hold are refused, so what the box shows is what
// can be stored.
#include <string>
#include <string_view>

#include "win/WindowedControl.h"

namespace siborang::win {

class Edit final : public WindowedControl {
public:
    struct Args {
        int textLimit = 0;        // characters (CP949 bytes with cp949Limit), 0 for none
        bool cp949Limit = false;
    };

    Edit(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    // Text put in by the program stands as it is, unchecked (a memo line stored elsewhere may
    // be longer than a box lets the user type).
    void SetText(std::wstring_view text) override;
    void FocusByTab() override;
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Puts back the last text that fitted when a typed change does not; false when it did.
    bool KeepWithinCp949Limit();

    int textLimit_;
    bool cp949Limit_;
    std::wstring acceptedText_;  // the last text that fitted
    bool restoring_ = false;    // the refused text is being put back
    bool settingText_ = false;  // the program puts text in: no limit applies
};

}  // namespace siborang::win
