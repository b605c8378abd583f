#include "platform/Shapes.h"

#include "platform/Graphics.h"
#include "platform/TextRuns.h"

#include <QPaintEngine>
#include <QTransform>
#include <cmath>

namespace platform {

namespace {
bool gGlyphRuns = true;
}

void Graphics::SetGlyphRuns(bool on) {
    gGlyphRuns = on;
}

// Print runs draw many texts per sheet, so this stays a thin layer over the painter: cached fonts and
// metrics, glyph runs that skip Qt's shaping, and a transform only for turned text.
void Graphics::DrawObject(const StringShape& shape, double x, double y) {
    if (shape.Text.isEmpty() || !begin())
        return;
    const int font = fontIndex(shape.TextFont, shape.TextSize, shape.Bold, shape.Italic, false);
    FontEntry& entry = fonts_[std::size_t(font)];
    const TextRuns::Laid* laid = runsOf(entry).Lay(shape.Text, printer_ == nullptr);
    const double half = (laid ? laid->width : entry.metrics.horizontalAdvance(shape.Text)) / 2;
    const bool asRun = laid && laid->drawable && gGlyphRuns;
    if (!asRun)
        usePainterFont(font);
    usePen(shape.FillColor, TextPen);
    if (shape.Rotation == 0) {
        // The text layout cuts its start to the 1/64-pixel grid, towards 0, and places every glyph
        // from there; a run placed off the grid would have each glyph cut on its own, which differs
        // for a text that starts left of the origin and reaches past it.
        if (asRun)
            painter_.drawGlyphRun(QPointF(std::trunc((x - half) * 64) / 64, y), laid->run);
        else
            painter_.drawText(QPointF(x - half, y), shape.Text);
        return;
    }
    // The page's y axis points down, so a counter-clockwise turn is a negative angle for the painter.
    QTransform turn;
    turn.translate(x, y);
    turn.rotateRadians(-shape.Rotation);
    // The text layout starts the text on the 1/64-pixel grid and places its glyphs from there in the
    // turned space. A glyph run gets the same places by the same steps: the raster engine maps each
    // glyph through the transform (so the origin goes into it), the others take them as they are. The
    // turn comes on top of the surface's own origin.
    const double origin = std::floor(-half * 64 + 0.5) / 64;
    if (asRun && painter_.paintEngine()->type() == QPaintEngine::Raster) {
        turn.translate(origin, 0);
        painter_.setWorldTransform(turn * viewTransform());
        painter_.drawGlyphRun(QPointF(0, 0), laid->run);
    } else {
        painter_.setWorldTransform(turn * viewTransform());
        if (asRun)
            painter_.drawGlyphRun(QPointF(origin, 0), laid->run);
        else
            painter_.drawText(QPointF(-half, 0), shape.Text);
    }
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
