// One-bit and grey pictures are kept in their own depth and draw as their 32-bit copies do: on pictures
// (as the page view and the preview draw), shrunk, and in a PDF read back with pdftoppm.
#include "TestSupport.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"

#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
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

QImage Render(const QString& pdf) {
    QProcess p;
    p.start("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, pdf});
    p.waitForFinished(30000);
    return QImage(pdf + ".png");
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
        {"averaged one way, stretched the other", 100, 800, 32, 2},
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
        PrinterSetup ps;
        Scripted().printAnswers = {pdf};
        {
            auto g = OpenPrinterDialog(ps);
            ASSERT_NE(g, nullptr);
            g->ForeColor = RGB(255, 0, 0); // the picture's black is not drawn in the pen's colour
            const double scale = ps.HorizontalResolution() / 150.0; // the card at 150 dpi
            g->DrawPicture(*pictures[k], 100, 100, 600 * scale, 400 * scale, 0, 0, 600, 400);
        }
        pages[k] = Render(pdf);
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
