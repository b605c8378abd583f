// The About window: the logo, the maker's contact lines, the version line, a description of the
// program, and a button that opens the maker's web page.
#pragma once

#include "platform/Window.h"
#include <QString>

// The shared instance (the framework's accessor `AboutWindow.AboutWindow()`) is
// platform::SharedInstance<AboutWindow>(); closing the window ends it.
namespace platform {
class BevelButton;
class ImageWell;
class Label;
class PushButton;
} // namespace platform

class AboutWindow : public platform::Window {
public:
    AboutWindow();

    // The maker's web page, opened by WebGOTO.
    static QString WebAddress();
    // "Version 1.1.0 - Final - Build: 5" from the application's version settings.
    static QString VersionLine();

    void Close1_Action();
    void WebGOTO_Action();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::ImageWell> ImageWell1{*this, "ImageWell1"};
    platform::ControlRef<platform::PushButton> Close1{*this, "Close1"};
    platform::ControlRef<platform::BevelButton> WebGOTO{*this, "WebGOTO"};
    platform::ControlRef<platform::Label> StaticText6{*this, "StaticText6"};

protected:
    // Writes the version line.
    void Event_Open() override;
};
