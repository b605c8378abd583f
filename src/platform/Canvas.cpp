// The canvas over a plain QWidget that shows its backing picture.
#include "platform/Canvas.h"

#include "platform/Window.h"
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QWidget>

namespace platform {

class CanvasWidget : public QWidget {
public:
    CanvasWidget(Canvas* canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
        setAttribute(Qt::WA_OpaquePaintEvent); // the backing covers every pixel
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        canvas_->PaintPending();
        QPainter screen(this);
        screen.setClipRegion(e->region());
        screen.drawImage(0, 0, canvas_->Backing());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            canvas_->Press(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        canvas_->Move(e->position().toPoint().x(), e->position().toPoint().y(),
                      e->buttons() & Qt::LeftButton);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            canvas_->Release(e->position().toPoint().x(), e->position().toPoint().y());
    }

private:
    Canvas* canvas_;
};

Canvas::Canvas(platform::Window& window, const ControlDesc& d)
    : Control(window, d), backdrop_(LoadPicture(d.picture)), eraseBackground_(d.eraseBackground) {
    auto* widget = new CanvasWidget(this, HostWidget());
    widget->setFocusPolicy(d.acceptFocus ? Qt::ClickFocus : Qt::NoFocus);
    Attach(widget);
}

platform::Graphics& Canvas::Graphics() {
    QImage& backing = Backing();
    if (!graphics_)
        graphics_ = std::make_unique<platform::Graphics>(backing);
    Widget()->update(); // what is drawn now shows as soon as the program is idle
    return *graphics_;
}

QImage& Canvas::Backing() {
    if (graphics_)
        graphics_->End(); // the pixels are complete, and the image may be replaced
    const QSize size(std::max(1, Width()), std::max(1, Height()));
    if (backing_.size() != size) {
        QImage old = backing_;
        backing_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        backing_.fill(Widget()->palette().color(QPalette::Window));
        if (!old.isNull()) {
            QPainter p(&backing_);
            p.drawImage(0, 0, old);
        }
        dirty_ = QRect(QPoint(), size);
    }
    return backing_;
}

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
    backdrop_ = std::move(picture);
    Refresh(true);
}

void Canvas::Refresh(bool eraseBackground) {
    dirty_ = QRect(0, 0, Width(), Height());
    eraseNext_ = eraseNext_ || eraseBackground;
    Widget()->update();
}

void Canvas::Scroll(int dx, int dy, int left, int top, int width, int height, bool) {
    QImage& backing = Backing();
    const QRect whole = backing.rect();
    QRect area(left, top, width == -10000 ? whole.width() : width,
               height == -10000 ? whole.height() : height);
    area = area.intersected(whole);
    // Nothing to move where the whole area is to be painted anew anyway.
    if (area.isEmpty() || (dx == 0 && dy == 0) || (QRegion(area) - dirty_).isEmpty())
        return;
    const QImage moved = backing.copy(area);
    {
        QPainter p(&backing);
        p.setClipRect(area);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(area.topLeft() + QPoint(dx, dy), moved);
    }
    dirty_ += QRegion(area) - QRegion(area.translated(dx, dy));
    Widget()->update();
}

void Canvas::PaintPending() {
    QImage& backing = Backing();
    if (dirty_.isEmpty())
        return;
    // Paint draws the whole canvas; what it draws over the part a scroll kept is the same picture.
    dirty_ = QRegion();
    const bool erase = std::exchange(eraseNext_, false) && eraseBackground_;
    if (erase || backdrop_) {
        QPainter p(&backing);
        if (erase)
            p.fillRect(backing.rect(), Widget()->palette().color(QPalette::Window));
        if (backdrop_)
            p.drawImage(0, 0, backdrop_->Image());
    }
    if (Paint && CanFire()) {
        platform::Graphics g(backing);
        Paint(g);
    }
}

void Canvas::Press(int x, int y) {
    tracking_ = false;
    if (!MouseDown || !CanFire())
        return;
    QPointer<QWidget> widget(Widget());
    const bool follow = MouseDown(x, y);
    if (widget) // the handler may have closed the window
        tracking_ = follow;
}

void Canvas::Move(int x, int y, bool buttonDown) {
    if (!CanFire())
        return;
    if (!buttonDown) {
        if (MouseMove)
            MouseMove(x, y);
    } else if (tracking_ && MouseDrag) {
        MouseDrag(x, y);
    }
}

void Canvas::Release(int x, int y) {
    if (!std::exchange(tracking_, false) || !CanFire())
        return;
    if (MouseUp)
        MouseUp(x, y);
}

} // namespace platform
