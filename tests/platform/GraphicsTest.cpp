#include "platform/Graphics.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/Shapes.h"

#include <QRect>
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
}

TEST(NewPicture, IsWhiteAt72DpiWithItsDepth) {
    auto pic = NewPicture(40, 30, 32);
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->Width(), 40);
    EXPECT_EQ(pic->Height(), 30);
    EXPECT_EQ(pic->Depth(), 32);
    EXPECT_EQ(pic->HorizontalResolution(), 72);
    EXPECT_EQ(countColour(*pic, qRgb(255, 255, 255)), 40 * 30);
    EXPECT_EQ(NewPicture(2, 2, 8)->Depth(), 8);
}

TEST(Picture, ResolutionIsKeptInTheImage) {
    auto pic = NewPicture(10, 10, 32);
    for (int dpi : {72, 96, 200, 300, 1200, 2400}) {
        pic->SetHorizontalResolution(dpi);
        pic->SetVerticalResolution(dpi + 1);
        EXPECT_EQ(pic->HorizontalResolution(), dpi);
        EXPECT_EQ(pic->VerticalResolution(), dpi + 1);
        // A picture made from the image reads the same resolution back.
        Picture copy(pic->Image());
        EXPECT_EQ(copy.HorizontalResolution(), dpi);
        EXPECT_EQ(copy.VerticalResolution(), dpi + 1);
    }
    pic->SetHorizontalResolution(0);
    EXPECT_EQ(pic->HorizontalResolution(), 2400);
}

TEST(Graphics, RectanglesCoverExactlyTheirPixels) {
    auto pic = NewPicture(50, 50, 32);
    Graphics& g = pic->Graphics();
    g.ForeColor = RGB(255, 0, 0);
    g.FillRect(10, 10, 20, 5);
    EXPECT_EQ(inkBox(*pic), QRect(10, 10, 20, 5));
    EXPECT_EQ(countColour(*pic, qRgb(255, 0, 0)), 100);

    g.ClearRect(0, 0, 50, 50);
    g.ForeColor = RGB(0, 0, 255);
    g.PenWidth = 2;
    g.PenHeight = 3;
    g.DrawRect(30, 40, -20, -30); // dragged up and to the left: the rectangle 10,10 .. 29,39
    EXPECT_EQ(inkBox(*pic), QRect(10, 10, 20, 30));
    EXPECT_EQ(at(*pic, 10, 20), qRgb(0, 0, 255)); // left side, 2 wide
    EXPECT_EQ(at(*pic, 11, 20), qRgb(0, 0, 255));
    EXPECT_EQ(at(*pic, 12, 20), qRgb(255, 255, 255));
    EXPECT_EQ(at(*pic, 20, 12), qRgb(0, 0, 255)); // top, 3 high
    EXPECT_EQ(at(*pic, 20, 13), qRgb(255, 255, 255));
}

TEST(Graphics, LinesIncludeBothEnds) {
    auto pic = NewPicture(40, 40, 32);
    Graphics& g = pic->Graphics();
    g.DrawLine(5, 20, 30, 20);
    g.DrawLine(8, 2, 8, 10);
    EXPECT_EQ(countColour(*pic, qRgb(0, 0, 0)), 26 + 9);
    EXPECT_EQ(at(*pic, 5, 20), qRgb(0, 0, 0));
    EXPECT_EQ(at(*pic, 30, 20), qRgb(0, 0, 0));
    EXPECT_EQ(at(*pic, 8, 10), qRgb(0, 0, 0));
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
    const double one = g.StringWidth("1"), four = g.StringWidth("1111");
    EXPECT_GT(one, 5);
    EXPECT_NEAR(four, 4 * one, 0.01);
    EXPECT_GT(g.StringWidth("WWW"), g.StringWidth("iii"));
    g.Bold = true;
    EXPECT_GT(g.StringWidth("WWW"), 0);
    // Text size is in pixels, whatever the picture's resolution.
    g.Bold = false;
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

TEST(Graphics, DrawingAPictureIntoItselfIsSafe) {
    auto pic = NewPicture(20, 20, 32);
    Graphics& g = pic->Graphics();
    g.ForeColor = RGB(0, 128, 0);
    g.FillRect(0, 0, 5, 5);
    g.DrawPicture(*pic, 10, 10, 5, 5, 0, 0, 5, 5);
    EXPECT_EQ(at(*pic, 12, 12), qRgb(0, 128, 0));
    EXPECT_EQ(countColour(*pic, qRgb(0, 128, 0)), 50);
}

TEST(Graphics, PageBreaksOutsideAPrinterDoNothing) {
    auto pic = NewPicture(10, 10, 32);
    pic->Graphics().NextPage();
    pic->Graphics().FillRect(0, 0, 2, 2);
    EXPECT_EQ(inkBox(*pic), QRect(0, 0, 2, 2));
    EXPECT_EQ(pic->Graphics().Width(), 10);
}
