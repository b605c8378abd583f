#include "platform/Shapes.h"

#include "platform/Graphics.h"

#include <QTransform>

namespace platform {

// Print runs draw many texts per sheet, so this stays a thin layer over the painter: cached fonts and
// metrics, and a transform only for turned text.
void Graphics::DrawObject(const StringShape& shape, double x, double y) {
    if (shape.Text.isEmpty() || !begin())
        return;
    const int font = fontIndex(shape.TextFont, shape.TextSize, shape.Bold, shape.Italic, false);
    usePainterFont(font);
    usePen(shape.FillColor, TextPen);
    const double half = advance(fonts_[std::size_t(font)], shape.Text) / 2;
    if (shape.Rotation == 0) {
        painter_.drawText(QPointF(x - half, y), shape.Text);
        return;
    }
    // The page's y axis points down, so a counter-clockwise turn is a negative angle for the painter.
    QTransform turn;
    turn.translate(x, y);
    turn.rotateRadians(-shape.Rotation);
    painter_.setWorldTransform(turn * viewTransform());
    painter_.drawText(QPointF(-half, 0), shape.Text);
    painter_.setWorldTransform(viewTransform());
}

void Graphics::DrawObject(const OvalShape& shape, double x, double y) {
    if (!(shape.Width > 0 && shape.Height > 0) || !begin())
        return;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(shape.FillColor.toQColor());
    painter_.drawEllipse(QRectF(x - shape.Width / 2, y - shape.Height / 2, shape.Width, shape.Height));
    painter_.setRenderHint(QPainter::Antialiasing, false);
    penValid_ = false;
}

} // namespace platform
