#include "win/ControlFactory.h"

#include <string>
#include <vector>

#include "win/GraphicControls.h"
#include "win/Text.h"
#include "win/WindowedControls.h"

namespace siborang::win {
namespace {

struct RegisteredKind {
    std::wstring name;
    ControlFactory factory;
};

template <class T>
std::unique_ptr<Control> Make(Form& form, Control* parent, const ControlProps& props) {
    return std::make_unique<T>(form, parent, props);
}

std::vector<RegisteredKind>& Kinds() {
    static std::vector<RegisteredKind> kinds{
        {ControlKind::Button.name, &Make<Button>},       {ControlKind::CheckBox.name, &Make<CheckBox>},
        {ControlKind::Edit.name, &Make<Edit>},           {ControlKind::GroupBox.name, &Make<GroupBox>},
        {ControlKind::HotKey.name, &Make<HotKeyBox>},    {ControlKind::Panel.name, &Make<Panel>},
        {ControlKind::ComboBox.name, &Make<ComboBox>},   {ControlKind::Label.name, &Make<Label>},
        {ControlKind::Image.name, &Make<Image>},         {ControlKind::Bevel.name, &Make<Bevel>},
        {ControlKind::SpeedButton.name, &Make<SpeedButton>},
    };
    return kinds;
}

}  // namespace

void RegisterControlKind(ControlKind kind, ControlFactory factory) {
    for (auto& registered : Kinds()) {
        if (registered.name == kind.name) {
            registered.factory = factory;
            return;
        }
    }
    Kinds().push_back({kind.name, factory});
}

std::unique_ptr<Control> MakeControl(Form& form, Control* parent, const ControlProps& props) {
    for (const auto& registered : Kinds()) {
        if (props.kind.name && registered.name == props.kind.name) return registered.factory(form, parent, props);
    }
    throw AppError("Control kind not registered: " + std::string(props.name));
}

}  // namespace siborang::win
