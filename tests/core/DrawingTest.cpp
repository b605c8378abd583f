#include "TestSupport.h"
#include "core/Module1.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QImage>
#include <QRect>
#include <gtest/gtest.h>

using namespace Module1;
using platform::Color;

namespace {

// Bounding box of the pixels close to a colour.
QRect inkOf(const QImage& img, QColor c, int tolerance = 60) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) <
                tolerance)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

void setObject(int row, double x, double y, Color display, double angle = 0) {
    RecPos(row, 0) = "n";
    RecPos(row, 1) = x;
    RecPos(row, 2) = y;
    RecPos(row, 3) = "";
    RecPos(row, 4) = 0.0;
    RecPos(row, 5) = "0, None";
    RecPos(row, 6) = "Arial";
    RecPos(row, 7) = "Normal";
    RecPos(row, 8) = 14.0;
    RecPos(row, 10) = angle;
    RecPos(row, 14) = display;
}

class DrawNumber : public ::testing::Test {
protected:
    void SetUp() override {
        InitGlobals();
        PageResolution = 100;
        PRN = false;
        TotalObjects = 2;
        setObject(0, 50, 50, platform::RGB(0, 0, 0));
        setObject(1, 50, 150, platform::RGB(255, 0, 0));
        CurrentObject = 0;
        pic = platform::NewPicture(800, 800, 32);
    }
    QImage draw() {
        for (int i = 0; i < TotalObjects; ++i)
            DrawNumber2d(pic->Graphics(), i, 12345678, 0, 0);
        return pic->Image();
    }
    std::shared_ptr<platform::Picture> pic;
};

} // namespace

TEST_F(DrawNumber, SelectedIsGreenWithGreyHandleOthersInOwnColour) {
    const QImage img = draw();
    const QRect green = inkOf(img, Qt::green);
    const QRect red = inkOf(img, Qt::red);
    ASSERT_FALSE(green.isEmpty());
    ASSERT_FALSE(red.isEmpty());
    // The text is centred on the anchor (197 px = 50 mm at 100 dpi) with its baseline there.
    EXPECT_NEAR(green.center().x(), 197, 4);
    EXPECT_LE(green.bottom(), 197);
    EXPECT_NEAR(red.center().y(), 590 - 7, 8); // 150 mm, text above the baseline
    EXPECT_EQ(img.pixelColor(196, 196), QColor(128, 128, 128)) << "handle at the anchor";
    EXPECT_EQ(img.pixelColor(196, 198), QColor(128, 128, 128)) << "handle below the baseline";
    EXPECT_TRUE(inkOf(img, QColor(0, 0, 0), 30).isEmpty()) << "selected object is not in its own colour";
    EXPECT_DOUBLE_EQ(NHandleX, mms(50));
    EXPECT_TRUE(FindHandle(int(NHandleX) + 10, int(NHandleY) + 10, int(NHandleX) + 10, int(NHandleY) + 10));
    EXPECT_FALSE(FindHandle(int(NHandleX) + 12, int(NHandleY), int(NHandleX) + 12, int(NHandleY)));
    // Measured at 19 px (14 pt at 100 dpi): eight digits are some 10 to 30 mm wide and 4 to 8 mm high.
    EXPECT_GT(CurrentObjectWidth, 10);
    EXPECT_LT(CurrentObjectWidth, 30);
    EXPECT_GT(CurrentObjectHeight, 4);
    EXPECT_LT(CurrentObjectHeight, 8);
    EXPECT_EQ(pic->Graphics().TextSize, 19) << "the surface keeps the measuring size";
}

TEST_F(DrawNumber, PrintingDrawsOwnColourWithoutHandleButStillMeasures) {
    PRN = true;
    CurrentObjectWidth = CurrentObjectHeight = -1;
    const QImage img = draw();
    EXPECT_TRUE(inkOf(img, Qt::green).isEmpty());
    EXPECT_EQ(img.pixelColor(196, 198), QColor(Qt::white)) << "no handle below the baseline";
    EXPECT_FALSE(inkOf(img, QColor(0, 0, 0), 30).isEmpty());
    EXPECT_GT(CurrentObjectWidth, 0);
    EXPECT_GT(CurrentObjectHeight, 0);
}

TEST_F(DrawNumber, AngleTurnsTheTextAndCellOffsetMovesIt) {
    struct Case {
        double angle;
        bool tall;
    } cases[] = {{0, false}, {-90, false}, {0.5, false}, {90, true}, {270, true}};
    for (const auto& c : cases) {
        pic = platform::NewPicture(800, 800, 32);
        CurrentObject = -1;
        setObject(0, 50, 50, platform::RGB(0, 0, 255), c.angle);
        TotalObjects = 1;
        const QRect ink = inkOf(draw(), Qt::blue);
        ASSERT_FALSE(ink.isEmpty()) << c.angle;
        EXPECT_EQ(ink.height() > ink.width(), c.tall) << c.angle;
    }
    // A cell offset moves the text by that many millimetres, and no handle is drawn off the first cell.
    pic = platform::NewPicture(800, 800, 32);
    setObject(0, 50, 50, platform::RGB(0, 0, 255));
    CurrentObject = 0;
    DrawNumber2d(pic->Graphics(), 0, 1, 100, 0);
    const QImage img = pic->Image();
    EXPECT_NEAR(inkOf(img, Qt::green).center().x(), 591, 4);
    EXPECT_EQ(img.pixelColor(196, 198), QColor(Qt::white)) << "no handle off the first cell";
}

TEST(NumColour, ColourStringToDisplayColour) {
    struct Case {
        QString colour;
        Color display;
    } cases[] = {
        {"C000M000Y000K100", platform::CMY(1, 1, 1)},
        {"C050M000Y000K100", platform::CMY(1.5, 1, 1)},
        {"C010M020Y030K040", platform::CMY(0.5, 0.6, 0.7)},
        {"C000M000Y000K000", platform::RGB(255, 255, 255)},
        {"garbage", platform::RGB(255, 255, 255)},
    };
    for (const auto& c : cases) {
        InitGlobals();
        Rcolour = c.colour;
        NumColour(3);
        EXPECT_EQ(RecPos(3, 14).ColorValue(), c.display) << c.colour.toStdString();
    }
    Rcolour = "C010M020Y030K040";
    pncCyan = 99;
    NumColour(-1);
    EXPECT_EQ(pncCyan, 99);
}
