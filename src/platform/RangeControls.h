// Controls with a value in a range: the scroll bar and the slider (horizontal when wider than high).
#pragma once

#include "platform/Control.h"

class QAbstractSlider;

namespace platform {

class RangeControl : public Control {
public:
    int Value() const;
    // Kept within the range; raises ValueChanged when the value changes.
    void SetValue(int v);
    int Maximum() const;
    // A maximum below the minimum is held at the minimum.
    void SetMaximum(int v);
    int LineStep() const;
    void SetLineStep(int v);
    int PageStep() const;
    void SetPageStep(int v);

    EventHandler<void()> ValueChanged; // by the user or the program, also when a range change moves it

protected:
    RangeControl(platform::Window& window, const ControlDesc& desc, QAbstractSlider* slider);

private:
    QAbstractSlider* slider_;
};

class ScrollBar : public RangeControl {
public:
    ScrollBar(platform::Window& window, const ControlDesc& desc);
};

class Slider : public RangeControl {
public:
    Slider(platform::Window& window, const ControlDesc& desc);
};

} // namespace platform
