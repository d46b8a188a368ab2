#pragma once
// The one registry of control kinds: a layout row's kind names the factory that makes its
// control. The window layer's own kinds are there from the start; kinds from above (the
// calendar) register themselves once at start-up, before any form.
#include <memory>

#include "win/Control.h"

namespace siborang::win {

using ControlFactory = std::unique_ptr<Control> (*)(Form& form, Control* parent, const ControlProps& props);

void RegisterControlKind(ControlKind kind, ControlFactory factory);
// Raises for a kind nobody registered.
std::unique_ptr<Control> MakeControl(Form& form, Control* parent, const ControlProps& props);

}  // namespace siborang::win
