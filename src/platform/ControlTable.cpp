// Builds a control of the kind a table row names.
#include "platform/Controls.h"

namespace platform {

namespace {
std::unique_ptr<Control> MakeControl(Window& w, const ControlDesc& d) {
    switch (d.kind) {
    case ControlKind::ListBox:
        return std::make_unique<ListBox>(w, d);
    case ControlKind::EditField:
        return std::make_unique<EditField>(w, d);
    case ControlKind::Canvas:
        return std::make_unique<Canvas>(w, d);
    case ControlKind::ScrollBar:
        return std::make_unique<ScrollBar>(w, d);
    case ControlKind::Slider:
        return std::make_unique<Slider>(w, d);
    case ControlKind::PushButton:
        return std::make_unique<PushButton>(w, d);
    case ControlKind::BevelButton:
        return std::make_unique<BevelButton>(w, d);
    case ControlKind::CheckBox:
        return std::make_unique<CheckBox>(w, d);
    case ControlKind::RadioButton:
        return std::make_unique<RadioButton>(w, d);
    case ControlKind::LittleArrows:
        return std::make_unique<LittleArrows>(w, d);
    case ControlKind::ImageWell:
        return std::make_unique<ImageWell>(w, d);
    case ControlKind::Label:
        return std::make_unique<Label>(w, d);
    case ControlKind::GroupBox:
        return std::make_unique<GroupBox>(w, d);
    case ControlKind::Placard:
        return std::make_unique<Placard>(w, d);
    case ControlKind::Rectangle:
        return std::make_unique<Rectangle>(w, d);
    case ControlKind::RoundRectangle:
        return std::make_unique<RoundRectangle>(w, d);
    case ControlKind::Line:
        return std::make_unique<Line>(w, d);
    case ControlKind::Separator:
        return std::make_unique<Separator>(w, d);
    }
    throw RuntimeException("Unknown control kind for " + d.name);
}
} // namespace

Control& Window::CreateControl(const ControlDesc& d) {
    if (d.name.isEmpty() || FindControl(d.name))
        throw RuntimeException("A control needs a name of its own: \"" + d.name + "\"");
    controls_.push_back(MakeControl(*this, d));
    return *controls_.back();
}

} // namespace platform
