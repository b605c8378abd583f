// The help window: a non-modal document window that explains the codes of a number's picture and the
// barcode and MICR fonts, with the logo and a Close button.
#pragma once

#include "platform/Window.h"
#include <QString>

namespace platform {
class Canvas;
class EditField;
class PushButton;
} // namespace platform

// The shared instance (the framework's accessor `Help1.Help1()`) is platform::SharedInstance<Help1>();
// closing the window ends it, so the next request builds it anew with the stored text.
class Help1 : public platform::Window {
public:
    Help1();

    // The stored help text: twelve lines, each ended by a carriage return.
    static QString StoredText();
    // Shows the shared instance without blocking (the Help Pictures command); while the window is
    // open this brings the same window forward again.
    static Help1& ShowShared();

    void PushButton1_Action();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::Canvas> Canvas1{*this, "Canvas1"};
    platform::ControlRef<platform::EditField> EditField1{*this, "EditField1"};
    platform::ControlRef<platform::PushButton> PushButton1{*this, "PushButton1"};
};
