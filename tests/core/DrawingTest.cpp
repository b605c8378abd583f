#include "TestSupport.h"
#include "core/Module1.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace Module1;
using platform::Color;
using testing_support::AddObject;

namespace {

const QColor Grey(128, 128, 128), White(Qt::white);

// Bounding box of the pixels close to a colour.
QRect InkOf(const QImage& img, QColor c, int tolerance = 60) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            const int off =
                std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue());
            box |= off < tolerance ? QRect(x, y, 1, 1) : QRect();
        }
    return box;
}

// Object 0 (black, at 50 mm, selected, turned by angle) and object 1 (red, at 150 mm) drawn at 100 dpi,
// in the page cell dx mm to the right.
QImage Draw(bool printing, double angle = 0, double dx = 0) {
    TotalObjects = 0;
    AddObject({.x = 50, .y = 50, .angle = angle});
    AddObject({.x = 50, .y = 150, .display = platform::RGB(255, 0, 0)});
    PageResolution = 100, PRN = printing, CurrentObject = 0;
    auto pic = platform::NewPicture(800, 800, 32);
    for (int i = 0; i < TotalObjects; ++i)
        DrawNumber2d(pic->Graphics(), i, 12345678, dx, 0);
    PRN = false; // no print run is under way for the tests that follow
    return pic->Image();
}

} // namespace

TEST(DrawNumber, SelectedIsGreenWithAGreyHandleExceptInPrintAndAlwaysMeasured) {
    for (bool printing : {false, true}) {
        SCOPED_TRACE(printing ? "printing" : "on screen");
        CurrentObjectWidth = CurrentObjectHeight = -1;
        const QImage img = Draw(printing);
        const QRect green = InkOf(img, Qt::green), own = InkOf(img, Qt::black, 30);
        EXPECT_EQ(QList<bool>({green.isEmpty(), own.isEmpty()}), QList<bool>({printing, !printing}));
        const QRect text = printing ? own : green;
        EXPECT_NEAR(text.center().x(), 197, 4); // centred on the anchor, 50 mm at 100 dpi, baseline there
        EXPECT_LE(text.bottom(), 197);
        EXPECT_NEAR(InkOf(img, Qt::red).center().y(), 590 - 7, 8);
        EXPECT_EQ(img.pixelColor(196, 198), printing ? White : Grey); // the handle reaches below the baseline
        EXPECT_TRUE(CurrentObjectWidth > 10 && CurrentObjectWidth < 30)
            << CurrentObjectWidth; // 8 digits, 14 pt
        EXPECT_TRUE(CurrentObjectHeight > 4 && CurrentObjectHeight < 8) << CurrentObjectHeight;
        if (!printing) {
            EXPECT_TRUE(
                FindHandle(int(NHandleX) + 10, int(NHandleY) + 10, int(NHandleX) + 10, int(NHandleY) + 10));
            EXPECT_FALSE(FindHandle(int(NHandleX) + 12, int(NHandleY), int(NHandleX) + 12, int(NHandleY)));
        }
    }
}

TEST(DrawNumber, RightAnglesTurnTheText) {
    for (double angle : {0.0, -90.0, 0.5, 90.0, 270.0}) {
        const QRect ink = InkOf(Draw(true, angle), Qt::black, 30);
        ASSERT_FALSE(ink.isEmpty()) << angle;
        EXPECT_EQ(ink.height() > ink.width(), angle == 90 || angle == 270) << angle;
    }
}

// In another page cell the number moves by the cell's offset; the handle belongs to the page itself.
TEST(DrawNumber, ACellOffsetMovesTheTextAndDrawsNoHandle) {
    const QImage img = Draw(false, 0, 100);
    EXPECT_NEAR(InkOf(img, Qt::green).center().x(), 591, 4); // 150 mm at 100 dpi
    EXPECT_EQ(img.pixelColor(196, 198), White);
    EXPECT_EQ(img.pixelColor(590, 198), White);
}

TEST(NumColour, ColourStringToDisplayColour) {
    const struct {
        QString colour;
        Color display;
    } cases[] = {
        {"C000M000Y000K100", platform::CMY(1, 1, 1)},
        {"C050M000Y000K100", platform::CMY(1.5, 1, 1)}, // black folded in, held to full ink
        {"C000M000Y000K000", platform::RGB(255, 255, 255)},
        {"C010M020Y030K040", platform::CMY(0.5, 0.6, 0.7)},
        {"garbage", platform::RGB(255, 255, 255)},
    };
    for (const auto& c : cases) {
        Rcolour = c.colour;
        NumColour(3);
        EXPECT_EQ(RecPos(3, 14).ColorValue(), c.display) << c.colour.toStdString();
    }
}

// Whatever an object draws of its text lies within its bounds, at any angle, style, size and cell
// offset, so that leaving out objects whose bounds miss the view never leaves out a visible one.
TEST(NumberBounds, HoldEverythingTheTextDraws) {
    const struct {
        const char *font, *style, *picture;
        double size, angle, dx;
    } cases[] = {
        {"Liberation Serif", "BoldItalic", "/########", 36, 0, 0},
        {"DejaVu Sans", "Italic", "", 48, 35, 0},
        {"Arial", "Bold", "^A", 20, 90, 10},
        {"Liberation Sans", "Normal", "", 60, 180, 0},
        {"Arial", "Italic", "/####", 8, 300, -20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.style) + " at " + std::to_string(c.angle));
        TotalObjects = 0;
        AddObject({.x = 100,
                   .y = 100,
                   .picture = c.picture,
                   .font = c.font,
                   .style = c.style,
                   .size = c.size,
                   .angle = c.angle});
        PageResolution = 150, CurrentObject = -1;
        auto pic = platform::NewPicture(1400, 1400, 32);
        DrawNumber2d(pic->Graphics(), 0, 9876543, c.dx, 0);
        const QRect ink = InkOf(pic->Image(), Qt::black, 700);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(NumberBounds(pic->Graphics(), 0, 9876543, c.dx, 0).contains(QRectF(ink)))
            << testing::PrintToString(ink);
    }
}
