// The check-digit method selector: a modal list of the eight methods whose choice is handed back through
// the main window's ModType and ModName ("3, Mod 9").
#pragma once

#include "platform/Window.h"

// The shared instance (the framework's accessor `ModSelect.ModSelect()`) is
// platform::SharedInstance<ModSelect>(). Cancel, the close box and OK with no row selected write nothing.
namespace platform {
class Canvas;
class ListBox;
class PushButton;
} // namespace platform

class ModSelect : public platform::Window {
public:
    ModSelect();

    void ListBox1_DoubleClick();
    void Cancel1_Action();
    void OK1_Action();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::Canvas> Canvas1{*this, "Canvas1"};
    platform::ControlRef<platform::ListBox> ListBox1{*this, "ListBox1"};
    platform::ControlRef<platform::PushButton> Cancel1{*this, "Cancel1"};
    platform::ControlRef<platform::PushButton> OK1{*this, "OK1"};

protected:
    void Event_Open() override;
};
