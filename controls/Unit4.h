#pragma once
// The about dialog: the makers' credits beside two icons, and a close button. Shown modally.
#include "win/Form.h"

namespace siborang {

class TForm4 : public win::Form {
public:
    explicit TForm4(win::Application& app);

    void Button1Click(win::Control& sender);

    win::Control* Bevel1 = nullptr;
    win::Control* Panel1 = nullptr;
    win::Control* Label1 = nullptr;
    win::Control* Label2 = nullptr;
    win::Control* Label3 = nullptr;
    win::Control* Label4 = nullptr;
    win::Control* Label5 = nullptr;
    win::Control* Label6 = nullptr;
    win::Control* Image1 = nullptr;
    win::Control* Image2 = nullptr;
    win::Control* Button1 = nullptr;
};

}  // namespace siborang
