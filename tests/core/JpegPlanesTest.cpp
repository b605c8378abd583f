// Colour JPEGs read as their planes: every pixel made from them is the one Qt's reader decodes, in the
// whole picture and in any part of it; other JPEGs are left to Qt, and damaged or huge ones refused.
#include "core/JpegPlanes.h"

#include "platform/Picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

using namespace backdrop;

namespace {

struct Jpeg {
    int width = 0, height = 0;
    int across = 2, down = 2; // the luminance's sampling factors; the colour planes' are 1 x 1
    bool progressive = false;
    int restartRows = 0;
    J_COLOR_SPACE space = JCS_YCbCr;
    int unit = 0, xDensity = 1, yDensity = 1;
};

// Gradients, noise and saturated stripes with sharp edges: the smoothing of the colour planes and the
// limits of the conversion both show.
QRgb Photo(int x, int y, int width, int height) {
    const int n = (x * 7919 + y * 104729) % 40;
    return ((x / 5) + (y / 3)) % 3 == 0 ? qRgb(x % 2 ? 255 : 0, 250, (y * 11) % 256)
                                        : qRgb((x * 255) / width, n + (y * 200) / height, 255 - n);
}

QByteArray Write(const Jpeg& j) {
    jpeg_compress_struct c;
    jpeg_error_mgr errors;
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(j.width), c.image_height = JDIMENSION(j.height);
    c.input_components = j.space == JCS_GRAYSCALE ? 1 : j.space == JCS_CMYK ? 4 : 3;
    c.in_color_space = j.space == JCS_YCbCr ? JCS_RGB : j.space;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    c.comp_info[0].h_samp_factor = j.across, c.comp_info[0].v_samp_factor = j.down;
    c.restart_in_rows = j.restartRows;
    c.density_unit = UINT8(j.unit), c.X_density = UINT16(j.xDensity), c.Y_density = UINT16(j.yDensity);
    if (j.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(j.width * c.input_components));
    for (int y = 0; y < j.height; ++y) {
        for (int x = 0; x < j.width; ++x)
            for (int k = 0; k < c.input_components; ++k)
                row[std::size_t(x * c.input_components + k)] =
                    JSAMPLE(Photo(x, y, j.width, j.height) >> (16 - 8 * (k % 3)));
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

QImage ReadWithQt(const QByteArray& bytes) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).read().convertToFormat(QImage::Format_RGB32);
}

// The frame header stating another size.
QByteArray Sized(QByteArray jpeg, int width, int height, const char* frame = "\xFF\xC0") {
    const qsizetype at = jpeg.indexOf(frame) + 5;
    const char size[4] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return jpeg.replace(at, 4, QByteArray(size, 4));
}

} // namespace

TEST(JpegPlanes, EveryPixelIsQtsInTheWholeAndInAnyPart) {
    const struct {
        const char* name;
        int across, down;
    } samplings[] = {{"4:4:4", 1, 1}, {"4:2:2", 2, 1}, {"4:2:0", 2, 2}, {"4:4:0", 1, 2}};
    // Down to a single pixel, two colour samples a row or fewer, odd and even sizes; the last is made in
    // bands.
    const QSize sizes[] = {{1, 1}, {2, 3}, {3, 2}, {4, 7}, {5, 5}, {6, 4}, {17, 9}, {9, 17}, {801, 700}};
    QRandomGenerator pick(11);
    for (const auto& s : samplings)
        for (const QSize size : sizes)
            for (const char* scans : {"baseline", "progressive", "restarts"}) {
                const bool progressive = scans[0] == 'p', restarts = scans[0] == 'r';
                const Jpeg j{size.width(), size.height(), s.across, s.down, progressive, restarts ? 1 : 0};
                SCOPED_TRACE(testing::Message()
                             << s.name << " " << size.width() << " x " << size.height() << " " << scans);
                const QByteArray bytes = Write(j);
                const auto decoded = DecodeJpegPlanes(bytes);
                ASSERT_TRUE(decoded && decoded->planes.IsValid());
                EXPECT_TRUE(decoded->image.isNull());
                const platform::ColourPlanes& planes = decoded->planes;
                const QImage whole = platform::PlanesToRgb(planes, QRect(QPoint(), size));
                ASSERT_EQ(whole, ReadWithQt(bytes));
                for (int k = 0; k < 6; ++k) {
                    const int x = int(pick.bounded(size.width())), y = int(pick.bounded(size.height()));
                    const QRect area(x, y, 1 + int(pick.bounded(size.width() - x)),
                                     1 + int(pick.bounded(size.height() - y)));
                    EXPECT_EQ(platform::PlanesToRgb(planes, area), whole.copy(area))
                        << area.x() << "," << area.y() << " " << area.width() << " x " << area.height();
                }
            }
}

TEST(JpegPlanes, ResolutionAsQtReadsIt) {
    const struct {
        const char* name;
        int unit, x, y;
        int dpiX, dpiY;
    } cases[] = {
        {"dots per inch", 1, 600, 300, 600, 300},
        {"dots per centimetre", 2, 118, 40, 300, 102},
        {"aspect ratio only", 0, 1, 1, kUnstatedResolution, kUnstatedResolution},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Jpeg j{16, 16};
        j.unit = c.unit, j.xDensity = c.x, j.yDensity = c.y;
        const QByteArray bytes = Write(j);
        const auto decoded = DecodeJpegPlanes(bytes);
        ASSERT_TRUE(decoded && decoded->Decoded());
        EXPECT_EQ(decoded->horizontalResolution, c.dpiX);
        EXPECT_EQ(decoded->verticalResolution, c.dpiY);
        const QImage qt = ReadWithQt(bytes); // the resolution is kept in the planes as Qt keeps it
        EXPECT_EQ(decoded->planes.dotsPerMeterX, c.unit ? qt.dotsPerMeterX() : 0);
        EXPECT_EQ(decoded->planes.dotsPerMeterY, c.unit ? qt.dotsPerMeterY() : 0);
    }
}

TEST(JpegPlanes, OtherJpegsAreLeftToQtAndBadOnesRefused) {
    const QByteArray good = Write({40, 30});
    Jpeg progressive{40, 30};
    progressive.progressive = true;
    const struct {
        const char* name;
        QByteArray bytes;
        QString error; // none: left to Qt
        bool tooLarge = false;
    } cases[] = {
        {"grey", Write({40, 30, 1, 1, false, 0, JCS_GRAYSCALE})},
        {"CMYK", Write({40, 30, 1, 1, false, 0, JCS_CMYK})},
        {"4:1:1", Write({40, 30, 4, 1})},
        {"not a JPEG", "GIF89a"},
        {"cut short", good.left(good.size() - 40), platform::PictureDamaged()},
        {"no end marker", good.chopped(2), platform::PictureDamaged()},
        {"a bad table after the rows", good.chopped(2) + QByteArray("\xFF\xC4\x00\x03\x20\xFF\xD9", 7),
         platform::PictureDamaged()},
        {"bytes before its markers, cut short", QByteArray("\xFF\xD8xyz", 5) + good.mid(2, good.size() - 40),
         platform::PictureDamaged()},
        {"garbage after the start", QByteArray("\xFF\xD8\xFF\x00garbage\x13\x77", 13),
         platform::PictureDamaged()},
        {"65000 x 65000", Sized(good, 65000, 65000), platform::PictureTooLarge(65000, 65000), true},
        {"too large only with its coefficients", Sized(Write(progressive), 20000, 15000, "\xFF\xC2"),
         platform::PictureTooLarge(20000, 15000), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto decoded = DecodeJpegPlanes(c.bytes);
        ASSERT_EQ(decoded.has_value(), !c.error.isEmpty());
        if (!decoded)
            continue;
        EXPECT_FALSE(decoded->Decoded());
        EXPECT_EQ(decoded->planes.Bytes(), 0);
        EXPECT_EQ(decoded->error, c.error);
        EXPECT_EQ(decoded->tooLarge, c.tooLarge);
    }
}
