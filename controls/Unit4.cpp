#include "controls/Unit4.h"

#include "resources/layouts/Form4.h"

namespace siborang {

TForm4::TForm4(win::Application& app) : win::Form(app, kForm4Spec) { BuildLayout<TForm4>(*this, kForm4Layout); }

// Shown modally, so closing ends the modal loop with the cancel result.
void TForm4::Button1Click(win::Control&) { Close(); }

}  // namespace siborang
