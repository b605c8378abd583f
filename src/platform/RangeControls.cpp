// Scroll bars and sliders over QScrollBar and QSlider.
#include "platform/RangeControls.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QSlider>
#include <algorithm>

namespace platform {

namespace {
Qt::Orientation OrientationOf(const ControlDesc& d) {
    return d.width >= d.height ? Qt::Horizontal : Qt::Vertical;
}

// Qt 6.4's scroll bar takes the Left and Right keys the wrong way round on a horizontal bar (its
// controls are inverted for the vertical bar's sake): here Right moves the thumb to the right, towards
// the end of a left-to-right bar, and Left back.
class ScrollBarWidget : public QScrollBar {
protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool sideways = e->key() == Qt::Key_Left || e->key() == Qt::Key_Right;
        if (orientation() != Qt::Horizontal || !sideways) {
            QScrollBar::keyPressEvent(e);
            return;
        }
        const bool onward = (e->key() == Qt::Key_Right) != isRightToLeft();
        triggerAction(onward ? SliderSingleStepAdd : SliderSingleStepSub);
        e->accept();
    }
};
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
    : RangeControl(window, d, new ScrollBarWidget) {}

Slider::Slider(platform::Window& window, const ControlDesc& d) : RangeControl(window, d, new QSlider) {}

} // namespace platform
