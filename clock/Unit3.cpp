#include "clock/Unit3.h"

#include "resources/layouts/Form3.h"

namespace siborang {

TForm3::TForm3(win::Application& app) : win::Form(app, kForm3Spec) {
    BuildLayout<TForm3>(*this, kForm3Layout);
    FormCreate(*this);
}

void TForm3::FormCreate(win::Form&) { win::RemoveCaption(*this); }

LRESULT TForm3::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = win::Form::WindowProc(message, wParam, lParam);
    // Every point of the note's own surface acts as a title bar, so the note is dragged by it.
    if (message == WM_NCHITTEST && result == HTCLIENT) return HTCAPTION;
    return result;
}

void TForm3::Button1Click(win::Control&) { Close(); }

void TForm3::FormClose(win::Form&, win::CloseAction& action) { action = win::CloseAction::Free; }

}  // namespace siborang
