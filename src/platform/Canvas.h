// The canvas: a control with its own backing picture. Its Graphics draws straight into the backing
// (as the framework's canvas graphics draw on the screen) and the Paint event draws into the same
// backing before it is shown. MouseDown decides whether MouseDrag and MouseUp follow for that press.
#pragma once

#include "platform/Control.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include <QImage>
#include <QRegion>

namespace platform {

class Canvas : public Control {
public:
    Canvas(platform::Window& window, const ControlDesc& desc);

    // Draws into the backing picture; the drawing shows at the next repaint. The same object is given
    // each time, so its pen and text settings stay.
    platform::Graphics& Graphics();
    // The backing picture, always the control's size, with the drawing so far finished.
    QImage& Backing();
    // Drawn under the Paint event; nullptr for none.
    std::shared_ptr<Picture> Backdrop() const { return backdrop_; }
    void SetBackdrop(std::shared_ptr<Picture> picture);
    bool EraseBackground() const { return eraseBackground_; }
    void SetEraseBackground(bool v) { eraseBackground_ = v; }

    // Asks for a Paint of the whole canvas, first erasing the backing when both this and the
    // canvas's EraseBackground say so.
    void Refresh(bool eraseBackground = true) override;
    // Moves the picture in the area (left, top, width, height) by (dx, dy) and has Paint run again for
    // the strip uncovered; a width or height of -10000 means the whole canvas. Canvases here hold no
    // controls, so scrollControls changes nothing.
    void Scroll(int dx, int dy, int left = 0, int top = 0, int width = -10000, int height = -10000,
                bool scrollControls = true);

    EventHandler<void(platform::Graphics& g), ShowEscaped::Later>
        Paint;                                  // g draws on the backing, fresh pen and text
    EventHandler<bool(int x, int y)> MouseDown; // true: MouseDrag and MouseUp follow this press
    EventHandler<void(int x, int y)> MouseDrag;
    EventHandler<void(int x, int y)> MouseUp;
    EventHandler<void(int x, int y)> MouseMove; // moving with no button down

private:
    friend class CanvasWidget;
    void PaintPending();
    void Press(int x, int y);
    void Move(int x, int y, bool buttonDown);
    void Release(int x, int y);

    QImage backing_;
    std::unique_ptr<platform::Graphics> graphics_; // over backing_, so it goes first
    std::shared_ptr<Picture> backdrop_;
    QRegion dirty_; // what is new since the last Paint
    bool eraseNext_ = true;
    bool eraseBackground_ = true;
    bool tracking_ = false; // the last MouseDown returned true
};

} // namespace platform
