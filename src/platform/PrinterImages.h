// Pictures handed to a printer: whole and at their own resolution, so that the printer scales them and a
// picture drawn again is the image the document already holds; one-bit pictures as one-bit images and
// grey ones as 8-bit grey images, both without loss, colour ones as Qt writes them.
#pragma once

#include <QImage>
#include <QRectF>
#include <vector>

class QPainter;
class QPrinter;

namespace platform {

class PrinterImages {
public:
    // Draws the part of image (within it, not empty) into target with painter, which paints on printer.
    void Draw(QPainter& painter, QPrinter& printer, const QRectF& target, const QImage& image,
              const QRectF& part);

private:
    // A grey image cut into bands of rows that share its pixels; Qt converts every image it embeds to
    // 32-bit colour first, and a band at a time that copy stays small.
    struct Banded {
        QImage image; // keeps the pixels the bands point into
        int rows = 1; // from one band's top to the next one's
        std::vector<QImage> bands;
    };
    const Banded& bandsOf(const QImage& image);
    void drawGrey(QPainter& painter, const QRectF& target, const QImage& image, const QRectF& part);

    std::vector<Banded> banded_;
};

} // namespace platform
