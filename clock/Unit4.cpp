#include "clock/Unit4.h"

#include "resources/layouts/AboutDialog.h"

namespace siborang {

TForm4::TForm4(win::Application& app) : win::Form(app, kForm4Spec) { BuildLayout<TForm4>(*this, kForm4Layout); }

// Shown modally, so closing ends the modal loop with the cancel result.
void TForm4::Button1Click(win::Control&) { Close(); }

std::optional<std::wstring> TForm4::AccessibleDescription() const {
    std::wstring lines;
    for (const win::Label* line : {Label1, Label2, Label3, Label4, Label5, Label6}) {
        if (!lines.empty()) lines += L'\n';
        lines += line->Text();
    }
    return lines;
}

}  // namespace siborang
