// The colour selector: a modal dialog that sets the current number object's CMYK colour as four
// percentages, each with a slider, a number field and a swatch, beside previews of the old and new colour.
#pragma once

#include "platform/Window.h"
#include <QString>

namespace platform {
class Slider;
}

// The shared instance (the framework's accessor `ColourSet.ColourSet()`) is
// platform::SharedInstance<ColourSet>(). It opens on Module1's pncCyan..pncBlack and, however it is
// closed, writes the four parts and the colour string Rcolour back.
namespace platform {
class Canvas;
class EditField;
class PushButton;
class Rectangle;
class Slider;
} // namespace platform

class ColourSet : public platform::Window {
public:
    ColourSet();

    // True while a number field pushes its value into its slider, so the slider leaves the field as typed.
    bool inuse = false;

    void SliderC_ValueChanged();
    void SliderM_ValueChanged();
    void SliderY_ValueChanged();
    void SliderK_ValueChanged();
    void EFCyan_TextChange();
    void EFMagenta_TextChange();
    void EFYellow_TextChange();
    void EFBlack_TextChange();
    bool EFCyan_KeyDown(const QString& key);
    bool EFMagenta_KeyDown(const QString& key);
    bool EFYellow_KeyDown(const QString& key);
    bool EFBlack_KeyDown(const QString& key);
    void PushButton1_Action();
    // Paints the "New" preview from the four sliders.
    void SetNew();

    // The controls that code outside the window reaches, by their names.
    platform::ControlRef<platform::Canvas> Canvas1{*this, "Canvas1"};
    platform::ControlRef<platform::Slider> SliderC{*this, "SliderC"};
    platform::ControlRef<platform::EditField> EFCyan{*this, "EFCyan"};
    platform::ControlRef<platform::Slider> SliderM{*this, "SliderM"};
    platform::ControlRef<platform::EditField> EFMagenta{*this, "EFMagenta"};
    platform::ControlRef<platform::Slider> SliderY{*this, "SliderY"};
    platform::ControlRef<platform::EditField> EFYellow{*this, "EFYellow"};
    platform::ControlRef<platform::Slider> SliderK{*this, "SliderK"};
    platform::ControlRef<platform::EditField> EFBlack{*this, "EFBlack"};
    platform::ControlRef<platform::PushButton> PushButton1{*this, "PushButton1"};
    platform::ControlRef<platform::Rectangle> VisOrig{*this, "VisOrig"};
    platform::ControlRef<platform::Rectangle> VisNEW{*this, "VisNEW"};

protected:
    void Event_Open() override;
    void Event_Close() override;

private:
    enum Ink { InkCyan, InkMagenta, InkYellow, InkBlack };
    platform::Slider& InkSlider(Ink ink) const;
    int Part(Ink ink) const;
    void InkChanged(Ink ink);
    void InkTyped(Ink ink);
    bool InkKeyDown();
};
