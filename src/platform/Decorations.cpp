// Group boxes, placards and separators over Qt's frames; rectangles and lines painted by ShapeWidget.
#include "platform/Decorations.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace platform {

// Paints a rectangle, rounded rectangle or line control.
class ShapeWidget : public QWidget {
public:
    ShapeWidget(const Rectangle* rect, QWidget* parent) : QWidget(parent), rect_(rect) {}
    ShapeWidget(const Line* line, QWidget* parent) : QWidget(parent), line_(line) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (rect_)
            rect_->Draw(p);
        else
            line_->Draw(p);
    }

private:
    const Rectangle* rect_ = nullptr;
    const Line* line_ = nullptr;
};

GroupBox::GroupBox(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    Attach(new QGroupBox(d.caption, HostWidget()));
}

Placard::Placard(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    auto* frame = new QFrame(HostWidget());
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Attach(frame);
}

Rectangle::Rectangle(platform::Window& window, const ControlDesc& d)
    : Control(window, d), fill_(d.fillColor.value_or(Color{255, 255, 255})), border_(d.borderColor),
      borderWidth_(d.borderWidth) {
    Attach(new ShapeWidget(this, HostWidget()));
}

void Rectangle::SetFillColor(Color c) {
    fill_ = c;
    Widget()->update();
}

void Rectangle::Draw(QPainter& p) const {
    p.fillRect(0, 0, Width(), Height(), fill_.toQColor());
    if (borderWidth_ <= 0)
        return;
    const int b = borderWidth_;
    const QColor c = border_.toQColor();
    p.fillRect(0, 0, Width(), b, c);
    p.fillRect(0, Height() - b, Width(), b, c);
    p.fillRect(0, 0, b, Height(), c);
    p.fillRect(Width() - b, 0, b, Height(), c);
}

RoundRectangle::RoundRectangle(platform::Window& window, const ControlDesc& d)
    : Rectangle(window, d), ovalWidth_(d.ovalWidth), ovalHeight_(d.ovalHeight) {}

void RoundRectangle::Draw(QPainter& p) const {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal inset = borderWidth_ / 2.0;
    const QRectF r = QRectF(0, 0, Width(), Height()).adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    path.addRoundedRect(r, ovalWidth_ / 2.0, ovalHeight_ / 2.0); // the oval's radii
    p.fillPath(path, fill_.toQColor());
    if (borderWidth_ > 0)
        p.strokePath(path, QPen(border_.toQColor(), borderWidth_));
}

Line::Line(platform::Window& window, const ControlDesc& d)
    : Control(window, d), x1_(d.left), y1_(d.top), x2_(d.x2), y2_(d.y2), color_(d.borderColor),
      width_(std::max(1, d.borderWidth)) {
    Attach(new ShapeWidget(this, HostWidget()));
    SetPoints(x1_, y1_, x2_, y2_);
}

void Line::SetPoints(int x1, int y1, int x2, int y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    // The widget covers both ends and the pen's width.
    SetBounds(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + width_, std::abs(y2 - y1) + width_);
    Widget()->update();
}

void Line::Draw(QPainter& p) const {
    const QPoint origin(std::min(x1_, x2_), std::min(y1_, y2_));
    const QPointF half(width_ / 2.0, width_ / 2.0);
    p.setPen(QPen(color_.toQColor(), width_, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(QPoint(x1_, y1_) - origin) + half, QPointF(QPoint(x2_, y2_) - origin) + half);
}

Separator::Separator(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    auto* line = new QFrame(HostWidget());
    line->setFrameShape(d.width >= d.height ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    Attach(line);
}

ImageWell::ImageWell(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    label_ = new QLabel(HostWidget());
    label_->setAlignment(Qt::AlignCenter);
    Attach(label_);
    SetImage(LoadPicture(d.picture));
}

void ImageWell::SetImage(std::shared_ptr<Picture> picture) {
    image_ = std::move(picture);
    label_->setPixmap(image_ ? QPixmap::fromImage(image_->Image()) : QPixmap());
}

} // namespace platform
