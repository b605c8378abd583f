// Pictures handed to a printer: whole and at their own resolution, so that the printer scales them and a
// picture drawn again is the image the document already holds; one-bit pictures as one-bit images and
// grey ones as 8-bit grey images, both without loss, colour ones as Qt writes them.
#pragma once

#include <QImage>
#include <QRectF>
#include <cstdint>
#include <vector>

class QPainter;
class QPrinter;

namespace platform {

class Picture;

class PrinterImages {
public:
    // The whole of a picture held as colour planes in 32-bit colour, made with the first page that draws
    // it and kept for the job: every page then draws the same image, which the printer holds once.
    const QImage& Whole(const Picture& pic);

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
    std::vector<std::pair<std::uint64_t, QImage>> wholes_; // by the picture's key
};

} // namespace platform
