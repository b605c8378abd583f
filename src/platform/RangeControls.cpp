// Scroll bars and sliders over QScrollBar and QSlider.
#include "platform/RangeControls.h"

#include <QScrollBar>
#include <QSlider>
#include <algorithm>

namespace platform {

namespace {
Qt::Orientation OrientationOf(const ControlDesc& d) {
    return d.width >= d.height ? Qt::Horizontal : Qt::Vertical;
}
} // namespace

RangeControl::RangeControl(platform::Window& window, const ControlDesc& d, QAbstractSlider* slider)
    : Control(window, d), slider_(slider) {
    slider_->setParent(HostWidget());
    slider_->setOrientation(OrientationOf(d));
    slider_->setRange(d.minimum, d.maximum);
    slider_->setValue(d.value);
    slider_->setSingleStep(d.lineStep);
    slider_->setPageStep(d.pageStep);
    slider_->setTracking(d.liveScroll);
    // Qt's scroll bars take no focus by default; a control that takes the focus does, by click and tab.
    slider_->setFocusPolicy(d.acceptFocus ? Qt::StrongFocus : Qt::NoFocus);
    QObject::connect(slider_, &QAbstractSlider::valueChanged, slider_, [this] {
        if (ValueChanged && CanFire())
            ValueChanged();
    });
    Attach(slider_);
}

int RangeControl::Value() const {
    return slider_->value();
}
void RangeControl::SetValue(int v) {
    slider_->setValue(v);
}
int RangeControl::Maximum() const {
    return slider_->maximum();
}
void RangeControl::SetMaximum(int v) {
    // Qt would lower the minimum to a maximum below it and drag the value along; the minimum stays.
    slider_->setMaximum(std::max(v, slider_->minimum()));
}
int RangeControl::LineStep() const {
    return slider_->singleStep();
}
void RangeControl::SetLineStep(int v) {
    slider_->setSingleStep(v);
}
int RangeControl::PageStep() const {
    return slider_->pageStep();
}
void RangeControl::SetPageStep(int v) {
    slider_->setPageStep(v);
}

ScrollBar::ScrollBar(platform::Window& window, const ControlDesc& d)
    : RangeControl(window, d, new QScrollBar) {}

Slider::Slider(platform::Window& window, const ControlDesc& d) : RangeControl(window, d, new QSlider) {}

} // namespace platform
