#include "platform/Shapes.h"
#include "TestSupport.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QRect>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {
QRect inkBox(const Picture& pic) {
    const QImage& img = pic.Image();
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

StringShape number(double degrees) {
    StringShape s;
    s.Text = "88888";
    s.TextFont = "Arial";
    s.TextSize = 40;
    s.FillColor = RGB(0, 0, 200);
    s.BorderColor = RGB(255, 255, 255);
    s.Rotation = degrees * M_PI / 180;
    return s;
}
} // namespace

// The anchor is (200, 200); "88888" in 40-pixel Arial is about 111 pixels wide and 29 high.
TEST(StringShape, SitsOnItsAnchorAndTurnsCounterClockwise) {
    struct Case {
        const char* name;
        double degrees;
        // Where the ink must lie, relative to the anchor.
        int minLeft, maxLeft, minRight, maxRight, minTop, maxTop, minBottom, maxBottom;
    } cases[] = {
        // centred across, standing on the baseline
        {"level", 0, -60, -50, 50, 60, -32, -26, -2, 1},
        // turned a quarter to the left: reads upwards, the glyphs to the left of the anchor
        {"quarter left", 90, -32, -26, -2, 1, -60, -50, 50, 60},
        // turned a quarter to the right: reads downwards, the glyphs to the right
        {"quarter right", -90, -2, 1, 26, 32, -60, -50, 50, 60},
        // upside down: the glyphs below the anchor
        {"half", 180, -60, -50, 50, 60, -2, 1, 26, 32},
    };
    for (const auto& c : cases) {
        auto pic = NewPicture(400, 400, 32);
        pic->Graphics().DrawObject(number(c.degrees), 200, 200);
        const QRect ink = inkBox(*pic).translated(-200, -200);
        EXPECT_GE(ink.left(), c.minLeft) << c.name;
        EXPECT_LE(ink.left(), c.maxLeft) << c.name;
        EXPECT_GE(ink.right(), c.minRight) << c.name;
        EXPECT_LE(ink.right(), c.maxRight) << c.name;
        EXPECT_GE(ink.top(), c.minTop) << c.name;
        EXPECT_LE(ink.top(), c.maxTop) << c.name;
        EXPECT_GE(ink.bottom(), c.minBottom) << c.name;
        EXPECT_LE(ink.bottom(), c.maxBottom) << c.name;
    }
}

TEST(StringShape, DrawsInItsFillColourAndStyle) {
    auto plain = NewPicture(300, 100, 32);
    plain->Graphics().DrawObject(number(0), 150, 70);
    const QImage& img = plain->Image();
    int solid = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            solid += img.pixel(x, y) == qRgb(0, 0, 200);
    EXPECT_GT(solid, 100);

    // Bold ink is wider; italic ink leans past the upright text on the right.
    auto bold = NewPicture(300, 100, 32);
    StringShape b = number(0);
    b.Bold = true;
    bold->Graphics().DrawObject(b, 150, 70);
    EXPECT_GT(inkBox(*bold).width(), inkBox(*plain).width());

    // An empty text or a size of 0 draws nothing odd: nothing, or text at the default size.
    auto empty = NewPicture(50, 50, 32);
    StringShape e;
    empty->Graphics().DrawObject(e, 25, 25);
    EXPECT_TRUE(inkBox(*empty).isEmpty());
    e.Text = "1";
    empty->Graphics().DrawObject(e, 25, 40);
    EXPECT_LT(inkBox(*empty).height(), 14);
    // Absurd sizes neither crash nor measure nonsense.
    Graphics& g = empty->Graphics();
    g.TextSize = 1e9;
    EXPECT_GT(g.StringWidth("88"), 30000);
    e.TextSize = 1e9;
    empty->Graphics().DrawObject(e, 25, 40);
}

TEST(OvalShape, IsCentredOnItsPoint) {
    auto pic = NewPicture(100, 100, 32);
    OvalShape oval;
    oval.Width = 20;
    oval.Height = 10;
    oval.FillColor = RGB(128, 128, 128);
    pic->Graphics().DrawObject(oval, 50, 40);
    EXPECT_EQ(inkBox(*pic), QRect(40, 35, 20, 10));
    EXPECT_EQ(pic->Image().pixel(50, 40), qRgb(128, 128, 128));
    EXPECT_EQ(pic->Image().pixel(41, 36), qRgb(255, 255, 255)); // the corner stays clear
}
