// One-bit and grey pictures are kept in their own depth and draw as their 32-bit copies do: on pictures
// (as the page view and the preview draw), shrunk, and in a PDF read back with pdftoppm, where they stay
// one-bit and grey images without loss.
#include "TestSupport.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"

#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {

// A one-bit test card, white first in its colour table as TIFF scans are: a frame, bars one to four
// pixels wide, and a filled block.
QImage OneBitCard(int width, int height) {
    QImage card(width, height, QImage::Format_Mono);
    card.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    card.fill(0);
    QPainter p(&card);
    p.setPen(Qt::color1);
    p.drawRect(0, 0, width - 1, height - 1);
    for (int x = 10, w = 1; x + w < width / 2; x += 3 * w + 2, w = w % 4 + 1)
        p.fillRect(x, 10, w, height - 20, Qt::color1);
    p.fillRect(width / 2, height / 4, width / 3, height / 2, Qt::color1);
    return card;
}

int LargestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 256;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            most = std::max(most, std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))));
    return most;
}

// Prints what draw draws to a PDF through the scripted print dialog, on a page setup of its own.
void PrintToPdf(const QString& pdf, const std::function<void(Graphics&, const PrinterSetup&)>& draw) {
    PrinterSetup ps;
    Scripted().printAnswers = {pdf};
    auto g = OpenPrinterDialog(ps);
    ASSERT_NE(g, nullptr);
    draw(*g, ps);
}

} // namespace

TEST(PictureDepth, PicturesKeepTheirDepth) {
    QImage monoLsb = OneBitCard(40, 20).convertToFormat(QImage::Format_MonoLSB);
    QImage colourBits = OneBitCard(40, 20);
    colourBits.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    QImage greyIndexed = OneBitCard(40, 20).convertToFormat(QImage::Format_Indexed8);
    QImage colourIndexed = colourBits.convertToFormat(QImage::Format_Indexed8);
    const struct {
        const char* name;
        QImage image;
        QImage::Format kept;
        int depth;
    } cases[] = {
        {"one bit, white first", OneBitCard(40, 20), QImage::Format_Mono, 1},
        {"one bit, least significant bit first", monoLsb, QImage::Format_Mono, 1},
        {"one bit in colours", colourBits, QImage::Format_RGB32, 32},
        {"grey", OneBitCard(40, 20).convertToFormat(QImage::Format_Grayscale8), QImage::Format_Grayscale8, 8},
        {"16-bit grey", OneBitCard(40, 20).convertToFormat(QImage::Format_Grayscale16),
         QImage::Format_Grayscale8, 8},
        {"grey palette", greyIndexed, QImage::Format_Grayscale8, 8},
        {"colour palette", colourIndexed, QImage::Format_RGB32, 32},
        {"24-bit colour", colourBits.convertToFormat(QImage::Format_RGB888), QImage::Format_RGB32, 32},
        {"colour with alpha", colourBits.convertToFormat(QImage::Format_ARGB32),
         QImage::Format_ARGB32_Premultiplied, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = PictureFromImage(c.image);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Image().format(), c.kept);
        EXPECT_EQ(picture->Depth(), c.depth);
        for (const QPoint at : {QPoint(0, 0), QPoint(5, 5), QPoint(10, 10), QPoint(25, 10)})
            EXPECT_EQ(picture->Image().pixel(at), c.image.pixel(at)) << at.x() << "," << at.y();
    }
    // A one-bit picture kept black first, as Qt's PDF output writes one-bit images.
    EXPECT_EQ(PictureFromImage(OneBitCard(40, 20))->Image().colorTable(),
              QList<QRgb>({qRgb(0, 0, 0), qRgb(255, 255, 255)}));
}

TEST(PictureDepth, GreyAndOneBitDrawAsTheir32BitCopies) {
    const QImage card = OneBitCard(600, 400);
    const auto oneBit = PictureFromImage(card),
               grey = PictureFromImage(card.convertToFormat(QImage::Format_Grayscale8));
    const auto colour = PictureFromImage(card.convertToFormat(QImage::Format_RGB32));
    ASSERT_EQ(oneBit->Depth(), 1);
    ASSERT_EQ(grey->Depth(), 8);
    const struct {
        const char* name;
        int width, height;
        int targetDepth; // the page view composes a backdrop in a picture of the backdrop's depth
        int tolerance;
    } cases[] = {
        {"same size", 600, 400, 32, 0},
        {"three quarters", 450, 300, 32, 1},
        {"a tenth, averaged", 60, 40, 32, 2},
        {"a tenth into its own depth", 60, 40, 1, 2},
        {"averaged one way, stretched the other", 100, 800, 32},
        {"into its own depth, same size", 600, 400, 8, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto reference = NewPicture(c.width, c.height, 32);
        reference->Graphics().DrawPicture(*colour, 0, 0, c.width, c.height, 0, 0, 600, 400);
        for (const auto* source : {&oneBit, &grey}) {
            auto target = NewPicture(c.width, c.height, c.targetDepth);
            target->Graphics().DrawPicture(**source, 0, 0, c.width, c.height, 0, 0, 600, 400);
            EXPECT_LE(LargestDifference(target->Image(), reference->Image()), c.tolerance)
                << "from depth " << (*source)->Depth();
        }
    }
    // Drawing into a one-bit picture makes it grey, so that what is drawn keeps its shades.
    auto drawnOn = PictureFromImage(card);
    drawnOn->Graphics().ForeColor = RGB(255, 0, 0);
    drawnOn->Graphics().FillRect(0, 0, 10, 10);
    EXPECT_EQ(drawnOn->Image().format(), QImage::Format_Grayscale8);
    EXPECT_EQ(drawnOn->Image().pixel(5, 5), qRgb(qGray(255, 0, 0), qGray(255, 0, 0), qGray(255, 0, 0)));
    EXPECT_EQ(drawnOn->Image().pixel(50, 200), qRgb(255, 255, 255));
}

TEST(PictureDepth, OneBitAndGreyPrintAsTheir32BitCopies) {
    const QImage card = OneBitCard(600, 400);
    const std::shared_ptr<Picture> pictures[] = {
        PictureFromImage(card.convertToFormat(QImage::Format_RGB32)), PictureFromImage(card),
        PictureFromImage(card.convertToFormat(QImage::Format_Grayscale8))};
    QImage pages[3];
    for (int k = 0; k < 3; ++k) {
        const QString pdf = TempDir() + QString("/depth%1.pdf").arg(k);
        PrintToPdf(pdf, [&](Graphics& g, const PrinterSetup& ps) {
            g.ForeColor = RGB(255, 0, 0); // the picture's black is not drawn in the pen's colour
            const double scale = ps.HorizontalResolution() / 150.0; // the card at 150 dpi
            g.DrawPicture(*pictures[k], 100, 100, 600 * scale, 400 * scale, 0, 0, 600, 400);
        });
        pages[k] = testing_support::RenderedPdfPage(pdf, 1, 72);
        ASSERT_FALSE(pages[k].isNull()) << k;
    }
    // The 32-bit copy is written as a JPEG; its edges blur a little.
    EXPECT_LE(LargestDifference(pages[1], pages[0]), 40);
    EXPECT_LE(LargestDifference(pages[2], pages[0]), 40);
    int black = 0, red = 0;
    for (int y = 0; y < pages[1].height(); ++y)
        for (int x = 0; x < pages[1].width(); ++x) {
            const QRgb p = pages[1].pixel(x, y);
            black += qGray(p) < 40;
            red += qRed(p) > 200 && qGreen(p) < 60;
        }
    EXPECT_GT(black, 200 * 66 / 150 * 200 * 72 / 150); // at least the block
    EXPECT_EQ(red, 0);
    // The one-bit picture goes into the PDF as a one-bit image.
    QProcess list;
    list.start("pdfimages", {"-list", TempDir() + "/depth1.pdf"});
    list.waitForFinished(30000);
    EXPECT_TRUE(
        QString::fromUtf8(list.readAllStandardOutput()).contains(QRegularExpression("gray\\s+1\\s+1\\s")));
}

// A large grey picture goes to a printer in bands of rows that Qt can embed without a 32-bit copy of the
// whole: every band once however often the picture is drawn, together its pixels exactly, and no seam
// where two bands meet.
TEST(PictureDepth, LargeGreyPrintsInBandsWithoutLossOrSeam) {
    // Left a flat grey, right fine steps.
    QImage grey(1500, 4200, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar(x < 600 ? 128 : (x * 5 + y * 11) % 251);
    const auto picture = PictureFromImage(grey);
    const QString pdf = TempDir() + "/bands.pdf";
    PrintToPdf(pdf, [&](Graphics& g, const PrinterSetup& ps) {
        const double scale = ps.HorizontalResolution() / 600.0; // drawn at 600 dpi
        g.DrawPicture(*picture, 0, 0, 1500 * scale, 4200 * scale, 0, 0, 1500, 4200);
        g.NextPage();
        g.DrawPicture(*picture, 300, 300, 1500 * scale, 4200 * scale, 0, 0, 1500, 4200);
    });
    const auto images = testing_support::PdfImages(pdf);
    ASSERT_GT(images.size(), 2u);
    QSet<QString> objects;
    for (const auto& image : images) {
        EXPECT_EQ(std::tuple(image.colour, image.bits, image.encoding),
                  std::tuple(QString("gray"), 8, QString("image")));
        objects.insert(image.object);
    }
    EXPECT_EQ(objects.size() * 2, images.size()) << "each band embedded once, drawn on both pages";

    // The bands read back in order, each but the last sharing its last row with the next one.
    int top = 0, differing = 0;
    const auto bands = testing_support::PdfPageImages(pdf, 2);
    ASSERT_EQ(bands.size() * 2, images.size());
    for (const QImage& band : bands) {
        ASSERT_EQ(band.width(), grey.width());
        ASSERT_LE(top + band.height(), grey.height());
        for (int y = 0; y < band.height(); ++y)
            for (int x = 0; x < band.width(); ++x)
                differing += qGray(band.pixel(x, y)) != grey.scanLine(top + y)[x];
        top += band.height() - 1;
    }
    EXPECT_EQ(top + 1, grey.height()) << "every row";
    EXPECT_EQ(differing, 0);

    for (int dpi : {72, 100, 150}) {
        const QImage page = testing_support::RenderedPdfPage(pdf, 1, dpi, true);
        ASSERT_FALSE(page.isNull());
        const QRect flat = testing_support::InkBox(page).adjusted(2, 2, 0, -2);
        int off = 0;
        for (int y = flat.top(); y <= flat.bottom(); ++y)
            for (int x = flat.left(); x < flat.left() + 600 * dpi / 600 - 4; ++x)
                off += std::abs(qGray(page.pixel(x, y)) - 128) > 1;
        EXPECT_EQ(off, 0) << "the flat grey at " << dpi << " dpi";
    }
}

// Qt writes grey images only in a grey mode of its PDF output: a grey picture drawn between coloured
// shapes is a grey image, and the shapes before and after it keep their colours.
TEST(PictureDepth, GreyPictureAmongColoursKeepsThemAndStaysGrey) {
    QImage grey(200, 200, QImage::Format_Grayscale8);
    grey.fill(100);
    const auto picture = PictureFromImage(grey);
    const QString pdf = TempDir() + "/colours.pdf";
    PrintToPdf(pdf, [&](Graphics& g, const PrinterSetup& ps) {
        const double mm = ps.HorizontalResolution() / 25.4;
        g.SetOrigin(-ps.PageLeft(), -ps.PageTop()); // millimetres from the paper's corner
        g.ForeColor = RGB(255, 0, 0);
        g.PenWidth = g.PenHeight = int(2 * mm);
        g.DrawLine(10 * mm, 40 * mm, 100 * mm, 40 * mm);
        g.FillRect(10 * mm, 10 * mm, 20 * mm, 20 * mm); // leaves the line's pen to be set again
        g.DrawPicture(*picture, 40 * mm, 10 * mm, 20 * mm, 20 * mm, 0, 0, 200, 200);
        g.DrawLine(10 * mm, 50 * mm, 100 * mm, 50 * mm);
        g.FillRect(70 * mm, 10 * mm, 20 * mm, 20 * mm);
    });
    const auto images = testing_support::PdfImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(std::tuple(images[0].colour, images[0].bits, images[0].encoding),
              std::tuple(QString("gray"), 8, QString("image")));
    const QImage page = testing_support::RenderedPdfPage(pdf, 1, 72);
    ASSERT_FALSE(page.isNull());
    const double mm = 72 / 25.4;
    for (const QPointF at : {QPointF(20, 20), QPointF(50, 40), QPointF(50, 50), QPointF(80, 20)}) {
        const QColor c = page.pixelColor((at * mm).toPoint());
        EXPECT_TRUE(c.red() > 200 && c.green() < 60 && c.blue() < 60)
            << at.x() << "," << at.y() << " " << c.name().toStdString();
    }
    EXPECT_NEAR(qGray(page.pixel((QPointF(50, 20) * mm).toPoint())), 100, 1);
}

namespace {

// Colour planes sampled 4:2:0 as a JPEG holds them: fine diagonal stripes and blocks of strong colour,
// so that where a part is cut, smoothed or averaged shows.
ColourPlanes StripedPlanes(int width, int height) {
    ColourPlanes p;
    p.width = width, p.height = height;
    p.halvedAcross = p.halvedDown = true;
    auto plane = [](int w, int h, auto value) {
        ColourPlanes::Plane plane;
        plane.width = plane.stride = w, plane.height = h;
        plane.samples.resize(std::size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                plane.samples[std::size_t(y) * w + x] = std::uint8_t(value(x, y));
        return plane;
    };
    p.y = plane(width, height, [](int x, int y) { return (x + 2 * y) % 7 < 2 ? 30 : 200 + (x % 50); });
    const int cw = (width + 1) / 2, ch = (height + 1) / 2;
    p.cb = plane(cw, ch, [](int x, int y) { return (x / 40 + y / 40) % 2 ? 60 : 180; });
    p.cr = plane(cw, ch, [](int x, int y) { return (x / 25) % 3 == 0 ? 220 : 128 - (y % 64); });
    return p;
}

} // namespace

// A colour picture held as planes draws as its 32-bit colour copy does, whole or in part, at its own
// size (in bands, when larger than a band), smoothed, enlarged and averaged down, and is never unpacked.
TEST(PictureDepth, PlanesDrawAsTheirColourCopy) {
    const auto planar = std::make_shared<Picture>(StripedPlanes(2601, 1703));
    ASSERT_NE(planar->Planes(), nullptr);
    const auto copy = PictureFromImage(PlanesToRgb(*planar->Planes(), QRect(0, 0, 2601, 1703)));
    ASSERT_NE(copy, nullptr);
    const struct {
        const char* name;
        QSize device;
        QRectF target; // where the whole picture lands
        QPoint origin;
        QRect clip;
        // Shrunk by four or more the planes are averaged apart: at these sharp colour edges, where libjpeg
        // widens the colour planes across a new pixel's edge and levels are cut off at 0, by up to a
        // quarter of the range.
        int levels = 0;
    } cases[] = {
        {"its own size, over several bands", {2700, 1800}, {40, 30, 2601, 1703}, {}, {}},
        {"its own size, a tile of it", {256, 256}, {-3, -5, 2601, 1703}, {1024, 768}, {1024, 768, 256, 256}},
        {"at 0.7, smoothed, over bands", {1900, 1300}, {10.5, 7.25, 1820.7, 1192.1}, {}, {}},
        {"at 0.7, a tile of it", {256, 256}, {0, 0, 1820.7, 1192.1}, {512, 256}, {512, 256, 256, 256}},
        {"enlarged 1.6 times, a tile of it", {300, 200}, {0, 0, 4161.6, 2724.8}, {2000, 1000}, {}},
        {"averaged down to 0.3", {800, 520}, {3, 4, 780.3, 510.9}, {}, {}},
        {"averaged down, a tile of it", {128, 128}, {3, 4, 780.3, 510.9}, {300, 200}, {300, 200, 128, 128}},
        {"averaged down to a fifth", {540, 360}, {5, 6, 520.2, 340.6}, {}, {}, 64},
        {"averaged down to a fifth, a tile of it",
         {64, 64},
         {5, 6, 520.2, 340.6},
         {128, 64},
         {128, 64, 64, 64},
         99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<Picture> drawn[2];
        for (int k = 0; k < 2; ++k) {
            drawn[k] = NewPicture(c.device.width(), c.device.height(), 32);
            ASSERT_NE(drawn[k], nullptr);
            Graphics& g = drawn[k]->Graphics();
            g.SetOrigin(c.origin.x(), c.origin.y());
            g.SetClip(c.clip);
            g.DrawPicture(k ? *copy : *planar, c.target.x(), c.target.y(), c.target.width(),
                          c.target.height(), 0, 0, 2601, 1703);
        }
        EXPECT_LE(testing_support::LargestChannelDifference(drawn[0]->Image(), drawn[1]->Image()), c.levels);
        EXPECT_FALSE(testing_support::InkBox(drawn[0]->Image()).isEmpty());
    }
    // Averaged apart to whole pixels, a tile is the same as that part of the whole.
    const auto whole = NewPicture(540, 360, 32), tile = NewPicture(64, 64, 32);
    whole->Graphics().DrawPicture(*planar, 5, 6, 520, 340, 0, 0, 2601, 1703);
    Graphics& g = tile->Graphics();
    g.SetOrigin(128, 64);
    g.SetClip({128, 64, 64, 64});
    g.DrawPicture(*planar, 5, 6, 520, 340, 0, 0, 2601, 1703);
    EXPECT_EQ(tile->Image(), whole->Image().copy(128, 64, 64, 64));
    EXPECT_NE(planar->Planes(), nullptr) << "drawn without unpacking";
}

// Printed, a picture held as planes goes to the printer whole, once for the job however many pages draw
// it, in colour as Qt writes colour pictures, and stays planes.
TEST(PictureDepth, PlanesPrintOnceForTheJob) {
    const auto planar = std::make_shared<Picture>(StripedPlanes(601, 403));
    const QString pdf = TempDir() + "/planes.pdf";
    PrintToPdf(pdf, [&](Graphics& g, const PrinterSetup& ps) {
        const double scale = ps.HorizontalResolution() / 150.0;
        for (int page = 0; page < 3; ++page) {
            if (page)
                g.NextPage();
            g.DrawPicture(*planar, 100 + 50 * page, 100, 601 * scale, 403 * scale, 0, 0, 601, 403);
        }
    });
    const auto images = testing_support::PdfImages(pdf);
    ASSERT_EQ(images.size(), 3u);
    for (const auto& image : images) {
        EXPECT_EQ(std::tuple(image.width, image.height, image.colour, image.object),
                  std::tuple(601, 403, QString("rgb"), images[0].object));
    }
    EXPECT_NE(planar->Planes(), nullptr);
}
