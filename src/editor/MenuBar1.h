// The application's menu bar: File, Edit, Back Drop, View, Print and Help. Its commands are bound by
// item name in the windows and the application. The shared bar is platform::SharedMenuBar<MenuBar1>(),
// the layer's spelling of the framework's accessor MenuBar1.MenuBar1().
#pragma once

#include "platform/Menu.h"

class MenuBar1 : public platform::MenuBar {
public:
    MenuBar1();

private:
    // Each builds one menu, in the bar's order.
    void Untitled1();
    void Untitled2();
    void Untitled3();
    void Untitled4();
    void Untitled5();
    void Untitled6();

    // Names the item, sets it to enable itself, gives it its text and shortcut and appends it to the
    // named menu, or to the bar when menu is empty.
    void Add(const QString& menu, std::unique_ptr<platform::MenuItem> item, const QString& name,
             const QString& text, const QString& shortcut = {});
};
