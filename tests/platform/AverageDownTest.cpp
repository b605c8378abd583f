// Pictures averaged down: every new pixel is the mean of the area it stands for, whatever the depth of
// the picture, the shrink, or the window of it that is made; any window is that part of the whole.
#include "platform/AverageDown.h"

#include <QPainter>
#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// The mean of the area under each new pixel, worked out plainly.
QImage Reference(const QImage& source, const QRect& part, QSize size) {
    QImage result(size, QImage::Format_ARGB32_Premultiplied); // the levels set are premultiplied
    const double sx = double(part.width()) / size.width(), sy = double(part.height()) / size.height();
    for (int j = 0; j < size.height(); ++j)
        for (int i = 0; i < size.width(); ++i) {
            double sum[4] = {}, area = 0;
            const double x0 = i * sx, x1 = std::min<double>(part.width(), (i + 1) * sx);
            const double y0 = j * sy, y1 = std::min<double>(part.height(), (j + 1) * sy);
            for (int y = int(y0); y < std::ceil(y1); ++y)
                for (int x = int(x0); x < std::ceil(x1); ++x) {
                    const double share = (std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                                         (std::min(y1, y + 1.0) - std::max(y0, double(y)));
                    // Colour with transparency is averaged as it is kept, premultiplied by its opacity.
                    const int at = part.left() + x, row = part.top() + y;
                    const QRgb p = source.format() == QImage::Format_ARGB32_Premultiplied
                                       ? reinterpret_cast<const QRgb*>(source.constScanLine(row))[at]
                                       : source.pixel(at, row);
                    sum[0] += share * qRed(p), sum[1] += share * qGreen(p);
                    sum[2] += share * qBlue(p), sum[3] += share * qAlpha(p);
                    area += share;
                }
            auto level = [&](int c) { return int(std::lround(sum[c] / area)); };
            result.setPixel(i, j, qRgba(level(0), level(1), level(2), level(3)));
        }
    return result;
}

// The largest difference of a channel, premultiplied, between two images of the same size.
int Difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int most = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            // The premultiplied words as they are: pixel() would divide the colour by the opacity.
            const QRgb p = reinterpret_cast<const QRgb*>(x.constScanLine(j))[i],
                       q = reinterpret_cast<const QRgb*>(y.constScanLine(j))[i];
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return most;
}

// Hairlines, text and noise, so that every shrink has something to average.
QImage Drawing(QSize size, QImage::Format format) {
    QImage colour(size, QImage::Format_ARGB32_Premultiplied);
    colour.fill(format == QImage::Format_ARGB32_Premultiplied ? Qt::transparent : QColor(Qt::white));
    {
        QPainter p(&colour);
        p.setPen(QPen(QColor(20, 60, 200), 1));
        for (int x = 3; x < size.width(); x += 7)
            p.drawLine(x, 0, x + size.height() / 3, size.height());
        p.fillRect(size.width() / 5, size.height() / 4, size.width() / 3, size.height() / 3,
                   QColor(230, 120, 40, 200));
        p.setPen(Qt::black);
        p.drawText(5, 20, "0123456789 tickets");
    }
    QRandomGenerator noise(42);
    for (int k = 0; k < size.width() * size.height() / 50; ++k)
        colour.setPixel(int(noise.bounded(size.width())), int(noise.bounded(size.height())), qRgb(0, 0, 0));
    if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB)
        return colour.convertToFormat(QImage::Format_RGB32).convertToFormat(format, Qt::ThresholdDither);
    return colour.convertToFormat(format);
}

} // namespace

TEST(AverageDown, EveryPixelIsTheMeanOfItsAreaInAnyWindow) {
    const struct {
        const char* name;
        QImage::Format format;
        QSize source;
        QRect part; // null: the whole source
        QSize size;
    } cases[] = {
        {"one bit", QImage::Format_Mono, {1000, 700}, {}, {97, 61}},
        {"one bit, least significant bit first", QImage::Format_MonoLSB, {333, 517}, {}, {40, 251}},
        {"one bit, more than 255 whole rows a pixel", QImage::Format_Mono, {50, 3000}, {}, {7, 5}},
        {"grey", QImage::Format_Grayscale8, {900, 640}, {}, {300, 77}},
        {"grey, more than 256 whole rows a pixel", QImage::Format_Grayscale8, {90, 1300}, {}, {13, 3}},
        {"colour", QImage::Format_RGB32, {1234, 987}, {}, {411, 200}},
        {"colour with transparency", QImage::Format_ARGB32_Premultiplied, {640, 480}, {}, {100, 81}},
        {"colour, sums beyond 32 bits", QImage::Format_RGB32, {2400, 2100}, {}, {3, 2}},
        {"a part of a colour picture", QImage::Format_RGB32, {800, 600}, {101, 53, 600, 500}, {211, 77}},
        {"a part of a one-bit picture", QImage::Format_Mono, {800, 600}, {13, 7, 501, 333}, {50, 41}},
        {"no smaller at all", QImage::Format_Grayscale8, {64, 48}, {}, {64, 48}},
        {"large enough to be made in bands", QImage::Format_RGB32, {2600, 2600}, {}, {650, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage source = Drawing(c.source, c.format);
        ASSERT_EQ(source.format(), c.format);
        const QRect part = c.part.isNull() ? source.rect() : c.part;
        const QRect all(QPoint(), c.size);
        const QImage whole = AverageDown(source, part, c.size, all);
        ASSERT_EQ(whole.size(), c.size);
        EXPECT_EQ(whole.format(), source.depth() <= 8 ? QImage::Format_Grayscale8 : c.format);
        EXPECT_LE(Difference(whole, Reference(source, part, c.size)), 1);
        // Windows at the corners, a single pixel, a row, a column and some in between.
        QList<QRect> windows = {QRect(0, 0, 1, 1), QRect(c.size.width() - 1, c.size.height() - 1, 1, 1),
                                QRect(0, c.size.height() / 2, c.size.width(), 1),
                                QRect(c.size.width() / 3, 0, 1, c.size.height())};
        QRandomGenerator pick(7);
        for (int k = 0; k < 6; ++k) {
            const int x = int(pick.bounded(c.size.width())), y = int(pick.bounded(c.size.height()));
            windows << QRect(x, y, 1 + int(pick.bounded(c.size.width() - x)),
                             1 + int(pick.bounded(c.size.height() - y)));
        }
        for (const QRect& window : windows)
            EXPECT_EQ(AverageDown(source, part, c.size, window), whole.copy(window))
                << window.x() << "," << window.y() << " " << window.width() << " x " << window.height();
    }
    // Asked for what it cannot make, it makes nothing.
    const QImage grey = Drawing({100, 100}, QImage::Format_Grayscale8);
    EXPECT_TRUE(AverageDown(grey, grey.rect(), {10, 10}, QRect(5, 5, 10, 10)).isNull());
    EXPECT_TRUE(AverageDown(grey, grey.rect(), {200, 10}, QRect(0, 0, 10, 10)).isNull());
    EXPECT_TRUE(AverageDown(grey, QRect(50, 50, 100, 100), {10, 10}, QRect(0, 0, 10, 10)).isNull());
    EXPECT_TRUE(
        AverageDown(grey.convertToFormat(QImage::Format_RGB888), grey.rect(), {10, 10}, QRect(0, 0, 1, 1))
            .isNull());
}
