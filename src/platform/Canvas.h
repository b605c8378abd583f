// The canvas: a control with its own backing picture. Drawing into the backing shows at the next
// repaint, as the framework's canvas graphics draw on the screen; the Paint event draws into the same
// backing before it is shown. MouseDown decides whether MouseDrag and MouseUp follow for that press.
#pragma once

#include "platform/Control.h"
#include <QImage>
#include <QPainter>
#include <QRegion>

namespace platform {

class Canvas : public Control {
public:
    Canvas(platform::Window& window, const ControlDesc& desc);

    // The backing picture, always the control's size.
    QImage& Backing();
    // Drawn under the Paint event; a null picture for none.
    QImage Backdrop() const { return backdrop_; }
    void SetBackdrop(const QImage& picture);
    bool EraseBackground() const { return eraseBackground_; }
    void SetEraseBackground(bool v) { eraseBackground_ = v; }

    // Asks for a Paint of the whole canvas, first erasing the backing when both this and the
    // canvas's EraseBackground say so.
    void Refresh(bool eraseBackground = true) override;
    // Moves the picture in the area (left, top, width, height) by (dx, dy) and asks Paint for the
    // strip uncovered; a width or height of -10000 means the whole canvas. This canvas holds no
    // controls, so scrollControls changes nothing.
    void Scroll(int dx, int dy, int left = 0, int top = 0, int width = -10000, int height = -10000,
                bool scrollControls = true);

    std::function<void(QPainter& g)> Paint;
    std::function<bool(int x, int y)> MouseDown; // true: MouseDrag and MouseUp follow this press
    std::function<void(int x, int y)> MouseDrag;
    std::function<void(int x, int y)> MouseUp;
    std::function<void(int x, int y)> MouseMove; // moving with no button down

private:
    friend class CanvasWidget;
    void PaintPending();
    void Press(int x, int y);
    void Move(int x, int y, bool buttonDown);
    void Release(int x, int y);

    QImage backing_;
    QImage backdrop_;
    QRegion dirty_; // what Paint still has to draw
    bool eraseNext_ = true;
    bool eraseBackground_ = true;
    bool tracking_ = false; // the last MouseDown returned true
};

} // namespace platform
