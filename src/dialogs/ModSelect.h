// The check-digit method selector: a modal list of the eight methods whose choice is handed back through
// the main window's ModType and ModName ("3, Mod 9").
#pragma once

#include "platform/Window.h"

// The shared instance (the framework's accessor `ModSelect.ModSelect()`) is
// platform::SharedInstance<ModSelect>(). Cancel, the close box and OK with no row selected write nothing.
class ModSelect : public platform::Window {
public:
    ModSelect();

    void ListBox1_DoubleClick();
    void Cancel1_Action();
    void OK1_Action();

protected:
    void Event_Open() override;
};
