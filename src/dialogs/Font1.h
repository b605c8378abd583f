// The font selector: a modal dialog that picks one installed font family and one of four styles for a
// number object, handed back through the main window's CurrentFont and CurrentStyle.
#pragma once

#include "platform/Window.h"

// The shared instance (the framework's accessor `Font1.Font1()`) is platform::SharedInstance<Font1>().
// OK or a double-click on the list hands the choice back; Cancel and the close box leave both values.
namespace platform {
class ListBox;
class PushButton;
class RadioButton;
} // namespace platform

class Font1 : public platform::Window {
public:
    Font1();

    void ListBox1_DoubleClick();
    void Cancel1_Action();
    void OK1_Action();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::ListBox> ListBox1{*this, "ListBox1"};
    platform::ControlRef<platform::PushButton> Cancel1{*this, "Cancel1"};
    platform::ControlRef<platform::PushButton> OK1{*this, "OK1"};
    platform::ControlRef<platform::RadioButton> RadioButton1{*this, "RadioButton1"};
    platform::ControlRef<platform::RadioButton> RadioButton2{*this, "RadioButton2"};
    platform::ControlRef<platform::RadioButton> RadioButton3{*this, "RadioButton3"};
    platform::ControlRef<platform::RadioButton> RadioButton4{*this, "RadioButton4"};

protected:
    void Event_Open() override;

private:
    // Writes the selected family (when a row is selected) and the style that is on, then closes.
    void HandBack();
};
