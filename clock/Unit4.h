#pragma once
// The about dialog: the makers' credits beside two icons, and a close button. Shown modally.
#include "win/Form.h"
#include "win/Bevel.h"
#include "win/Button.h"
#include "win/Image.h"
#include "win/Label.h"
#include "win/Panel.h"

namespace siborang {

class TForm4 : public win::Form {
public:
    explicit TForm4(win::Application& app);

    void Button1Click(win::Control& sender);

    // The credits, read when the dialog opens.
    std::optional<std::wstring> AccessibleDescription() const override;

    win::Bevel* Bevel1 = nullptr;
    win::Panel* Panel1 = nullptr;
    win::Label* Label1 = nullptr;
    win::Label* Label2 = nullptr;
    win::Label* Label3 = nullptr;
    win::Label* Label4 = nullptr;
    win::Label* Label5 = nullptr;
    win::Label* Label6 = nullptr;
    win::Image* Image1 = nullptr;
    win::Image* Image2 = nullptr;
    win::Button* Button1 = nullptr;
};

}  // namespace siborang
