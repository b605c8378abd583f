// The backdrop window's menu bar: one menu "Backdrop" with "Add Image" and "Delete". The shared bar is
// platform::SharedMenuBar<MenuBar2>(), the layer's spelling of the framework's accessor MenuBar2.MenuBar2().
#pragma once

#include "platform/Menu.h"

class MenuBar2 : public platform::MenuBar {
public:
    MenuBar2();

private:
    // Builds the Backdrop menu and its two items.
    void Untitled1();
};
