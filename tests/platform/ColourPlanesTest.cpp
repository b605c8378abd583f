// Colour planes shrunk: the colours of shrinking the pixels they make, and any window the same as in the
// whole. (Their pixels are checked against Qt's JPEG reader in tests/core/JpegPlanesTest.cpp.)
#include "platform/ColourPlanes.h"
#include "TestSupport.h"

#include "platform/AverageDown.h"

#include <QRandomGenerator>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// The planes a JPEG holds for waves of colour over width x height pixels, the colour planes halved as
// asked, each sample the colour at its centre; rows padded past their samples.
ColourPlanes Planes(int width, int height, bool across, bool down) {
    auto fill = [](ColourPlanes::Plane& plane, int w, int h, int step, int stepDown,
                   std::array<double, 4> to) {
        plane.width = w, plane.height = h, plane.stride = w + 5;
        plane.samples.assign(std::size_t(plane.stride) * std::size_t(h), 0xEE);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double px = (x + 0.5) * step - 0.5, py = (y + 0.5) * stepDown - 0.5;
                const double r = 128 + 100 * std::sin(px / 23) * std::cos(py / 31),
                             g = 128 + 90 * std::sin((px + py) / 40),
                             b = 128 + 100 * std::cos(px / 35 - py / 50);
                plane.samples[std::size_t(y * plane.stride + x)] =
                    std::uint8_t(std::lround(to[0] * r + to[1] * g + to[2] * b + to[3]));
            }
    };
    ColourPlanes p;
    p.width = width, p.height = height, p.halvedAcross = across, p.halvedDown = down;
    const int sx = across ? 2 : 1, sy = down ? 2 : 1, cw = (width + sx - 1) / sx, ch = (height + sy - 1) / sy;
    fill(p.y, width, height, 1, 1, {0.299, 0.587, 0.114, 0});
    fill(p.cb, cw, ch, sx, sy, {-0.168736, -0.331264, 0.5, 128});
    fill(p.cr, cw, ch, sx, sy, {0.5, -0.418688, -0.081312, 128});
    return p;
}

} // namespace

TEST(ColourPlanes, ShrunkAsThePixelsAreInAnyWindow) {
    const struct {
        const char* name;
        QSize picture;
        bool across, down;
        QRect part; // null: the whole picture
        QSize size;
        int levels; // the most a colour may differ from the pixels shrunk
    } cases[] = {
        // Shrunk by less than four either way: exactly the pixels shrunk.
        {"full colour", {640, 480}, false, false, {3, 5, 400, 300}, {100, 81}, 0},
        {"not shrunk at all", {64, 48}, true, true, {}, {64, 48}, 0},
        {"a part at odd pixels", {900, 700}, true, true, {101, 53, 601, 501}, {200, 77}, 0},
        {"shrunk by less than half across", {900, 700}, true, true, {}, {600, 90}, 0},
        {"by three, halved both ways", {900, 700}, true, true, {}, {300, 233}, 0},
        // By four or more both ways the planes are averaged apart.
        {"halved both ways", {900, 700}, true, true, {}, {131, 97}, 2},
        {"halved across", {640, 480}, true, false, {}, {100, 81}, 2},
        {"halved down", {640, 480}, false, true, {}, {100, 81}, 2},
        // The colour planes' part is rounded out to whole samples: up to a pixel more at its edges.
        {"a part at odd pixels, by five", {900, 700}, true, true, {101, 53, 601, 501}, {120, 100}, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ColourPlanes planes = Planes(c.picture.width(), c.picture.height(), c.across, c.down);
        ASSERT_TRUE(planes.IsValid());
        const QRect part = c.part.isNull() ? QRect(QPoint(), c.picture) : c.part, all(QPoint(), c.size);
        const QImage whole = AverageDownPlanes(planes, part, c.size, all);
        ASSERT_EQ(whole.size(), c.size);
        const QImage pixels = PlanesToRgb(planes, QRect(QPoint(), c.picture));
        EXPECT_LE(testing_support::LargestChannelDifference(whole, AverageDown(pixels, part, c.size, all)),
                  c.levels);
        QRandomGenerator pick(quint32(c.size.width()));
        for (int k = 0; k < 8; ++k) {
            const int x = int(pick.bounded(c.size.width())), y = int(pick.bounded(c.size.height()));
            const QRect window(x, y, 1 + int(pick.bounded(c.size.width() - x)),
                               1 + int(pick.bounded(c.size.height() - y)));
            EXPECT_EQ(AverageDownPlanes(planes, part, c.size, window), whole.copy(window))
                << window.x() << "," << window.y() << " " << window.width() << " x " << window.height();
        }
    }
    // Asked for what they cannot make, or from planes that do not match the picture, they make nothing.
    ColourPlanes planes = Planes(100, 100, true, true);
    EXPECT_TRUE(PlanesToRgb(planes, QRect(95, 5, 6, 2)).isNull());
    EXPECT_TRUE(PlanesToRgb(planes, QRect(3, 3, 0, 2)).isNull());
    EXPECT_TRUE(AverageDownPlanes(planes, QRect(0, 0, 100, 100), {10, 10}, QRect(5, 5, 10, 10)).isNull());
    EXPECT_TRUE(AverageDownPlanes(planes, QRect(50, 50, 100, 100), {10, 10}, QRect(0, 0, 1, 1)).isNull());
    EXPECT_TRUE(AverageDownPlanes(planes, QRect(0, 0, 10, 10), {20, 10}, QRect(0, 0, 1, 1)).isNull());
    planes.cr.height = 49;
    EXPECT_FALSE(planes.IsValid());
    EXPECT_TRUE(PlanesToRgb(planes, QRect(0, 0, 2, 2)).isNull());
}

// Every level of every sample: libjpeg's conversion from its tables (16 bits of fraction, a half added
// for rounding, green's two products summed before the shift), whichever way the processor runs it.
TEST(ColourPlanes, EveryColourAsLibjpegConvertsIt) {
    ColourPlanes planes;
    planes.width = 65536, planes.height = 256;
    for (auto* plane : {&planes.y, &planes.cb, &planes.cr}) {
        plane->width = plane->stride = planes.width, plane->height = planes.height;
        plane->samples.resize(std::size_t(planes.width) * planes.height);
    }
    for (int row = 0; row < 256; ++row)
        for (int x = 0; x < 65536; ++x) {
            const std::size_t at = std::size_t(row) * 65536 + std::size_t(x);
            planes.y.samples[at] = std::uint8_t(x), planes.cb.samples[at] = std::uint8_t(x >> 8);
            planes.cr.samples[at] = std::uint8_t(row);
        }
    // Pixels from an odd column on, so that the last ones of each row are converted one at a time.
    const QImage rgb = PlanesToRgb(planes, QRect(3, 0, 65533, 256));
    ASSERT_FALSE(rgb.isNull());
    const auto fixed = [](double k) { return int(k * 65536 + 0.5); };
    int wrong = 0;
    for (int row = 0; row < 256 && wrong < 5; ++row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
        for (int x = 3; x < 65536; ++x) {
            const int l = x & 255, b = (x >> 8) - 128, r = row - 128;
            const int red = l + ((fixed(1.402) * r + 32768) >> 16);
            const int green = l + ((32768 - fixed(0.34414) * b - fixed(0.71414) * r) >> 16);
            const int blue = l + ((fixed(1.772) * b + 32768) >> 16);
            const QRgb want =
                qRgb(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
            if (line[x - 3] != want && wrong++ < 5)
                ADD_FAILURE() << "y " << l << " cb " << b + 128 << " cr " << row;
        }
    }
    EXPECT_EQ(wrong, 0);
}
