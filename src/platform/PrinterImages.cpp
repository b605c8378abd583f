#include "platform/PrinterImages.h"

#include "platform/Picture.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <algorithm>

namespace platform {

namespace {
// Pixels of one grey band: Qt holds six bytes for each while it embeds the band.
constexpr qint64 BandPixels = qint64(1) << 21;
} // namespace

const PrinterImages::Banded& PrinterImages::bandsOf(const QImage& image) {
    for (const Banded& b : banded_)
        if (b.image.cacheKey() == image.cacheKey())
            return b;
    Banded b{image, int(std::clamp<qint64>(BandPixels / std::max(image.width(), 1), 1, image.height())), {}};
    // Each band but the last takes the first row of the next one as well: where two bands meet, a
    // renderer that smooths the edges of images blends a row with itself and shows no seam.
    for (int top = 0;; top += b.rows) {
        const int bottom = std::min(top + b.rows + 1, image.height());
        b.bands.emplace_back(b.image.constScanLine(top), image.width(), bottom - top, image.bytesPerLine(),
                             image.format());
        if (bottom == image.height())
            break;
    }
    banded_.push_back(std::move(b));
    return banded_.back();
}

const QImage& PrinterImages::Whole(const Picture& pic) {
    for (const auto& [key, image] : wholes_)
        if (key == pic.PlanesKey())
            return image;
    wholes_.emplace_back(pic.PlanesKey(), PlanesToRgb(*pic.Planes(), QRect(0, 0, pic.Width(), pic.Height())));
    return wholes_.back().second;
}

void PrinterImages::drawGrey(QPainter& painter, const QRectF& target, const QImage& image,
                             const QRectF& part) {
    const double sx = target.width() / part.width(), sy = target.height() / part.height();
    auto into = [&](const QRectF& source) {
        return QRectF(target.left() + (source.left() - part.left()) * sx,
                      target.top() + (source.top() - part.top()) * sy, source.width() * sx,
                      source.height() * sy);
    };
    // Bands that fall wholly outside the clip are left out.
    const QRectF clip = painter.hasClipping() ? painter.clipBoundingRect() : QRectF();
    const Banded& banded = bandsOf(image);
    for (std::size_t k = 0; k < banded.bands.size(); ++k) {
        const QImage& band = banded.bands[k];
        const QRectF rows(0, double(k) * banded.rows, band.width(), band.height());
        const QRectF shown = rows.intersected(part);
        if (shown.isEmpty() || (!clip.isNull() && !into(shown).intersects(clip)))
            continue;
        // A whole band is the same image every time; a part of one is copied by Qt for each drawing.
        painter.drawImage(into(shown), band, shown.translated(0, -rows.top()));
    }
}

void PrinterImages::Draw(QPainter& painter, QPrinter& printer, const QRectF& target, const QImage& image,
                         const QRectF& part) {
    if (image.format() != QImage::Format_Grayscale8) {
        painter.drawImage(target, image, part);
        return;
    }
    // Qt's PDF output writes 8-bit grey images only in its grey mode, which also turns to grey the pen
    // and brush that go out meanwhile (a change waiting to be written goes out with the next drawing):
    // once the mode is back, both are marked to be written again before anything else is drawn.
    QPrintEngine* engine = printer.printEngine();
    const QVariant mode = engine->property(QPrintEngine::PPK_ColorMode);
    engine->setProperty(QPrintEngine::PPK_ColorMode, QPrinter::GrayScale);
    drawGrey(painter, target, image, part);
    engine->setProperty(QPrintEngine::PPK_ColorMode, mode);
    painter.paintEngine()->setDirty(QPaintEngine::DirtyPen | QPaintEngine::DirtyBrush);
}

} // namespace platform
