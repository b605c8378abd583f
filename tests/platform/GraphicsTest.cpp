#include "platform/Graphics.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/Shapes.h"

#include <QRect>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {
// Bounding box of the pixels that are not white.
QRect inkBox(const Picture& pic) {
    const QImage& img = pic.Image();
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

int countColour(const Picture& pic, QRgb colour) {
    const QImage& img = pic.Image();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == colour;
    return n;
}

QRgb at(const Picture& pic, int x, int y) {
    return pic.Image().pixel(x, y);
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

TEST(NewPicture, RefusesSizesItCannotHold) {
    struct Case {
        const char* name;
        int w, h;
    } cases[] = {{"zero width", 0, 10},
                 {"zero height", 10, 0},
                 {"negative", -5, 10},
                 {"side too long", 100001, 1},
                 {"too many pixels", 30000, 30000}};
    for (const auto& c : cases)
        EXPECT_EQ(NewPicture(c.w, c.h, 32), nullptr) << c.name;

    auto pic = NewPicture(40, 30, 32);
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->HorizontalResolution(), 72);
    EXPECT_EQ(countColour(*pic, qRgb(255, 255, 255)), 40 * 30);
    EXPECT_EQ(NewPicture(2, 2, 8)->Depth(), 8);
}

TEST(Picture, ResolutionIsKeptInTheImage) {
    auto pic = NewPicture(10, 10, 32);
    for (int dpi : {200, 2400}) {
        pic->SetHorizontalResolution(dpi);
        pic->SetVerticalResolution(dpi + 1);
        Picture copy(pic->Image()); // a picture made from the image reads the same resolution back
        EXPECT_EQ(QSize(copy.HorizontalResolution(), copy.VerticalResolution()), QSize(dpi, dpi + 1));
    }
    pic->SetHorizontalResolution(0);
    EXPECT_EQ(pic->HorizontalResolution(), 2400);
}

TEST(Graphics, RectanglesAndLinesCoverExactlyTheirPixels) {
    auto pic = NewPicture(50, 50, 32);
    Graphics& g = pic->Graphics();
    g.ForeColor = RGB(255, 0, 0);
    g.NextPage(); // outside a printer: nothing
    g.FillRect(10, 10, 20, 5);
    EXPECT_EQ(inkBox(*pic), QRect(10, 10, 20, 5));
    EXPECT_EQ(countColour(*pic, qRgb(255, 0, 0)), 100);

    g.ClearRect(0, 0, 50, 50);
    g.ForeColor = RGB(0, 0, 255);
    g.PenWidth = 2;
    g.PenHeight = 3;
    g.DrawRect(30, 40, -20, -30); // dragged up and to the left: the rectangle 10,10 .. 29,39
    EXPECT_EQ(inkBox(*pic), QRect(10, 10, 20, 30));
    const QRgb blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    // left side 2 wide, top 3 high
    EXPECT_EQ(QList<QRgb>({at(*pic, 11, 20), at(*pic, 12, 20), at(*pic, 20, 12), at(*pic, 20, 13)}),
              QList<QRgb>({blue, white, blue, white}));

    g.ClearRect(0, 0, 50, 50);
    g.ForeColor = RGB(0, 0, 0);
    g.PenWidth = g.PenHeight = 1;
    g.DrawLine(5, 20, 30, 20);
    g.DrawLine(8, 2, 8, 10);
    EXPECT_EQ(countColour(*pic, qRgb(0, 0, 0)), 26 + 9); // both ends included
    EXPECT_EQ(at(*pic, 30, 20), qRgb(0, 0, 0));
}

TEST(Graphics, TextIsDrawnInTheForeColourOnItsBaseline) {
    auto pic = NewPicture(300, 100, 32);
    Graphics& g = pic->Graphics();
    g.TextFont = "Arial";
    g.TextSize = 40;
    g.ForeColor = RGB(200, 0, 0);
    g.DrawString("8888", 20, 60);
    const QRect ink = inkBox(*pic);
    EXPECT_GT(countColour(*pic, qRgb(200, 0, 0)), 100);
    EXPECT_NEAR(ink.bottom(), 59, 1); // digits stand on the baseline
    EXPECT_NEAR(ink.height(), 0.72 * 40, 3);
    EXPECT_NEAR(ink.left(), 20, 4);
    EXPECT_NEAR(ink.width(), g.StringWidth("8888"), 6);
}

TEST(Graphics, TextMeasures) {
    auto pic = NewPicture(10, 10, 32);
    Graphics& g = pic->Graphics();
    g.TextFont = "Arial";
    g.TextSize = 20;
    const double four = g.StringWidth("1111");
    // Text size is in pixels, whatever the picture's resolution.
    pic->SetHorizontalResolution(600);
    pic->SetVerticalResolution(600);
    EXPECT_NEAR(g.StringWidth("1111"), four, 0.5);

    // One line when the wrap width holds the text, more when it does not.
    const double line = g.TextHeight();
    EXPECT_GT(line, 20);
    EXPECT_NEAR(g.StringHeight("12345", g.StringWidth("12345") + 5), line, 0.01);
    EXPECT_NEAR(g.StringHeight("12 34 56", g.StringWidth("12 34") + 1), 2 * line, 0.01);
    EXPECT_GT(g.TextAscent(), 15);
    EXPECT_LT(g.TextAscent(), line);
}

// Plain text is measured without the shaper; it must agree with Qt's own layout, and text that needs
// shaping or another font must still be measured by the layout.
TEST(Graphics, StringWidthAgreesWithTheTextLayout) {
    auto pic = NewPicture(10, 10, 32); // 72 dpi: points and pixels agree
    Graphics& g = pic->Graphics();
    g.TextFont = "Arial";
    g.TextSize = 20;
    QFont font("Arial");
    font.setPixelSize(20);
    const QFontMetricsF metrics(font, &pic->Image());
    const QString texts[] = {"",        "12345",           "No 1001", "AVAVA",          "Größe 5",
                             "e\u0301", "\u6570\u5B57 12", "A\tB",    QString(300, 'x')};
    for (const QString& text : texts)
        EXPECT_NEAR(g.StringWidth(text), metrics.horizontalAdvance(text), 0.01) << text.toStdString();
}

TEST(Graphics, DrawPictureCopiesAndScalesTheSourceRectangle) {
    auto src = NewPicture(20, 10, 32);
    src->Graphics().ForeColor = RGB(0, 0, 255);
    src->Graphics().FillRect(10, 0, 10, 10); // right half blue, left half white

    auto dst = NewPicture(100, 100, 32);
    Graphics& g = dst->Graphics();
    g.DrawPicture(*src, 0, 0); // whole, unscaled
    EXPECT_EQ(inkBox(*dst), QRect(10, 0, 10, 10));

    g.ClearRect(0, 0, 100, 100);
    g.DrawPicture(*src, 40, 50, 30, 20, 10, 0, 10, 10); // the blue half, three times as wide, twice as high
    EXPECT_EQ(inkBox(*dst), QRect(40, 50, 30, 20));
    EXPECT_EQ(countColour(*dst, qRgb(0, 0, 255)), 600);

    // A source reaching past the picture draws only the part that exists, in its place.
    src->Graphics().FillRect(0, 0, 20, 10);
    g.ClearRect(0, 0, 100, 100);
    g.DrawPicture(*src, 0, 0, 40, 20, 5, 0, 20, 10);
    EXPECT_EQ(inkBox(*dst), QRect(0, 0, 30, 20));

    g.ClearRect(0, 0, 100, 100);
    g.DrawPicture(*src, 0, 0, 0, 10, 0, 0, 10, 10);    // empty destination
    g.DrawPicture(*src, 0, 0, 10, 10, 50, 50, 10, 10); // source outside the picture
    EXPECT_TRUE(inkBox(*dst).isEmpty());
    EXPECT_THROW(g.DrawPicture(std::shared_ptr<Picture>(), 0, 0), NilObjectException);

    // Into itself, safely.
    g.FillRect(0, 0, 5, 5);
    g.DrawPicture(*dst, 10, 10, 5, 5, 0, 0, 5, 5);
    EXPECT_EQ(countColour(*dst, qRgb(0, 0, 0)), 50);
}

// A 300-dpi form shown at 50 dpi must keep its thin lines: every shown pixel averages the pixels it
// stands for instead of picking some of them.
TEST(Graphics, ShrinkingAPictureAveragesItsPixels) {
    auto src = NewPicture(400, 40, 32);
    src->Graphics().ForeColor = RGB(0, 0, 0);
    for (int x = 0; x < 400; x += 4)
        src->Graphics().FillRect(x, 0, 1, 40); // one column in four black
    auto dst = NewPicture(100, 10, 32);
    dst->Graphics().DrawPicture(*src, 0, 0, 100, 10, 0, 0, 400, 40);
    for (int x = 0; x < 100; ++x)
        EXPECT_NEAR(qGray(at(*dst, x, 5)), 191, 12) << x;
}

// The anchor is (200, 200); "88888" in 40-pixel Arial is about 111 pixels wide and 29 high.
TEST(StringShape, SitsOnItsAnchorAndTurnsCounterClockwise) {
    struct Case {
        const char* name;
        double degrees;
        int left[2], right[2], top[2], bottom[2]; // where the ink's edges must lie, relative to the anchor
    } cases[] = {
        {"level: centred across, on the baseline", 0, {-60, -50}, {50, 60}, {-32, -26}, {-2, 1}},
        {"quarter left: reads upwards, left of the anchor", 90, {-32, -26}, {-2, 1}, {-60, -50}, {50, 60}},
        {"quarter right: reads downwards, right of it", -90, {-2, 1}, {26, 32}, {-60, -50}, {50, 60}},
        {"half: upside down, below the anchor", 180, {-60, -50}, {50, 60}, {-2, 1}, {26, 32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto pic = NewPicture(400, 400, 32);
        pic->Graphics().DrawObject(number(c.degrees), 200, 200);
        const QRect ink = inkBox(*pic).translated(-200, -200);
        const int edges[] = {ink.left(), ink.right(), ink.top(), ink.bottom()};
        const int* ranges[] = {c.left, c.right, c.top, c.bottom};
        for (int k = 0; k < 4; ++k) {
            EXPECT_GE(edges[k], ranges[k][0]) << "edge " << k;
            EXPECT_LE(edges[k], ranges[k][1]) << "edge " << k;
        }
    }
}

TEST(StringShape, DrawsInItsFillColourAndStyle) {
    auto plain = NewPicture(300, 100, 32), bold = NewPicture(300, 100, 32);
    plain->Graphics().DrawObject(number(0), 150, 70);
    EXPECT_GT(countColour(*plain, qRgb(0, 0, 200)), 100);
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
    EXPECT_EQ(at(*pic, 50, 40), qRgb(128, 128, 128));
    EXPECT_EQ(at(*pic, 41, 36), qRgb(255, 255, 255)); // the corner stays clear
}
