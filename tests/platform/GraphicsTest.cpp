#include "platform/Graphics.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/Shapes.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

using testing_support::InkBox;

namespace {
StringShape Number(double degrees) {
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
    for (QSize size : {QSize(0, 10), QSize(10, 0), QSize(-5, 10), QSize(100001, 1), QSize(30000, 30000)})
        EXPECT_EQ(NewPicture(size.width(), size.height(), 32), nullptr)
            << size.width() << "x" << size.height();
    auto pic = NewPicture(40, 30, 32);
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(QSize(pic->Width(), pic->Height()), QSize(40, 30));
    EXPECT_TRUE(InkBox(pic->Image()).isEmpty()); // white
    EXPECT_EQ(pic->HorizontalResolution(), 72);
}

// A picture's resolution lives in its image, so a picture made from the image reads it back.
TEST(Picture, ResolutionIsKeptInTheImage) {
    auto pic = NewPicture(10, 10, 32);
    for (int dpi : {200, 2400}) {
        pic->SetHorizontalResolution(dpi);
        pic->SetVerticalResolution(dpi + 1);
        const Picture copy(pic->Image());
        EXPECT_EQ(QSize(copy.HorizontalResolution(), copy.VerticalResolution()), QSize(dpi, dpi + 1));
    }
}

namespace {
int CountColour(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == colour;
    return n;
}
} // namespace

TEST(Graphics, RectanglesAndLinesCoverExactlyTheirPixels) {
    auto pic = NewPicture(50, 50, 32);
    Graphics& g = pic->Graphics();
    const QImage& img = pic->Image();
    g.ForeColor = RGB(255, 0, 0);
    g.FillRect(10, 10, 20, 5);
    EXPECT_EQ(InkBox(img), QRect(10, 10, 20, 5));
    EXPECT_EQ(CountColour(img, qRgb(255, 0, 0)), 100);

    g.ClearRect(0, 0, 50, 50);
    EXPECT_TRUE(InkBox(img).isEmpty());
    g.ForeColor = RGB(0, 0, 255);
    g.PenWidth = 2, g.PenHeight = 3;
    g.DrawRect(30, 40, -20, -30); // dragged up and to the left: the rectangle 10,10 .. 29,39
    EXPECT_EQ(InkBox(img), QRect(10, 10, 20, 30));
    const QRgb blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    // The left side 2 pixels wide, the top 3 high.
    EXPECT_EQ(QList<QRgb>({img.pixel(11, 20), img.pixel(12, 20), img.pixel(20, 12), img.pixel(20, 13)}),
              QList<QRgb>({blue, white, blue, white}));

    g.ClearRect(0, 0, 50, 50);
    g.ForeColor = RGB(0, 0, 0);
    g.PenWidth = g.PenHeight = 1;
    g.DrawLine(5, 20, 30, 20);
    g.DrawLine(8, 2, 8, 10);
    EXPECT_EQ(CountColour(img, qRgb(0, 0, 0)), 26 + 9); // both ends included
}

// Text stands on its baseline in the fore colour; its size is in pixels whatever the resolution, and
// the measures agree with Qt's own text layout.
TEST(Graphics, TextIsDrawnInItsColourOnTheBaselineAndMeasured) {
    auto pic = NewPicture(300, 100, 32);
    Graphics& g = pic->Graphics();
    g.TextFont = "Arial";
    g.TextSize = 40;
    g.ForeColor = RGB(200, 0, 0);
    g.DrawString("8888", 20, 60);
    const QRect ink = InkBox(pic->Image());
    EXPECT_GT(CountColour(pic->Image(), qRgb(200, 0, 0)), 100);
    EXPECT_NEAR(ink.bottom(), 59, 1); // digits stand on the baseline
    EXPECT_NEAR(ink.height(), 0.72 * 40, 3);
    EXPECT_NEAR(ink.left(), 20, 4);
    EXPECT_NEAR(ink.width(), g.StringWidth("8888"), 6);

    g.TextSize = 20;
    const double four = g.StringWidth("1111");
    pic->SetHorizontalResolution(600), pic->SetVerticalResolution(600);
    EXPECT_NEAR(g.StringWidth("1111"), four, 0.5);
    const double line = g.TextHeight();
    EXPECT_GT(line, 20);
    EXPECT_NEAR(g.StringHeight("12345", g.StringWidth("12345") + 5), line, 0.01); // one line when it fits
    EXPECT_NEAR(g.StringHeight("12 34 56", g.StringWidth("12 34") + 1), 2 * line, 0.01);
    EXPECT_TRUE(g.TextAscent() > 15 && g.TextAscent() < line) << g.TextAscent();

    auto plain = NewPicture(10, 10, 32); // 72 dpi: points and pixels agree
    Graphics& p = plain->Graphics();
    p.TextFont = "Arial", p.TextSize = 20;
    QFont font("Arial");
    font.setPixelSize(20);
    const QFontMetricsF metrics(font, &plain->Image());
    for (const QString& text :
         {QString(""), QString("12345"), QString("No 1001"), QString("AVAVA"), QString("Größe 5"),
          QString("e\u0301"), QString("\u6570\u5B57 12"), QString(300, 'x')})
        EXPECT_NEAR(p.StringWidth(text), metrics.horizontalAdvance(text), 0.01) << text.toStdString();
}

// A number shape draws in its fill colour, wider when bold; an empty text draws nothing, a size of 0
// the default size, and an absurd size neither crashes nor measures nonsense. An oval is centred on its
// point, its corners clear.
TEST(StringShape, DrawsInItsColourAndStyleWhateverItsSize) {
    auto plain = NewPicture(300, 100, 32), bold = NewPicture(300, 100, 32);
    plain->Graphics().DrawObject(Number(0), 150, 70);
    EXPECT_GT(CountColour(plain->Image(), qRgb(0, 0, 200)), 100);
    StringShape b = Number(0);
    b.Bold = true;
    bold->Graphics().DrawObject(b, 150, 70);
    EXPECT_GT(InkBox(bold->Image()).width(), InkBox(plain->Image()).width());

    auto small = NewPicture(50, 50, 32);
    StringShape e;
    small->Graphics().DrawObject(e, 25, 25);
    EXPECT_TRUE(InkBox(small->Image()).isEmpty());
    e.Text = "1";
    small->Graphics().DrawObject(e, 25, 40);
    EXPECT_TRUE(!InkBox(small->Image()).isEmpty() && InkBox(small->Image()).height() < 14);
    Graphics& g = small->Graphics();
    g.TextSize = 1e9;
    EXPECT_GT(g.StringWidth("88"), 30000);
    e.TextSize = 1e9;
    small->Graphics().DrawObject(e, 25, 40);

    auto pic = NewPicture(100, 100, 32);
    OvalShape oval;
    oval.Width = 20, oval.Height = 10, oval.FillColor = RGB(128, 128, 128);
    pic->Graphics().DrawObject(oval, 50, 40);
    EXPECT_EQ(InkBox(pic->Image()), QRect(40, 35, 20, 10));
    EXPECT_EQ(QList<QRgb>({pic->Image().pixel(50, 40), pic->Image().pixel(41, 36)}),
              QList<QRgb>({qRgb(128, 128, 128), qRgb(255, 255, 255)}));
}

// The anchor is (200, 200); "88888" in 40-pixel Arial is about 111 pixels wide and 29 high.
TEST(StringShape, IsCentredOnItsAnchorAndTurnsCounterClockwise) {
    struct Case {
        const char* name;
        double degrees;
        int left[2], right[2], top[2], bottom[2]; // ranges for the ink's edges, relative to the anchor
    } cases[] = {
        {"level: centred across, on the baseline", 0, {-60, -50}, {50, 60}, {-32, -26}, {-2, 1}},
        {"quarter left: reads upwards, left of the anchor", 90, {-32, -26}, {-2, 1}, {-60, -50}, {50, 60}},
        {"quarter right: reads downwards, right of it", -90, {-2, 1}, {26, 32}, {-60, -50}, {50, 60}},
        {"half: upside down, below the anchor", 180, {-60, -50}, {50, 60}, {-2, 1}, {26, 32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto pic = NewPicture(400, 400, 32);
        pic->Graphics().DrawObject(Number(c.degrees), 200, 200);
        const QRect ink = InkBox(pic->Image()).translated(-200, -200);
        const int edges[] = {ink.left(), ink.right(), ink.top(), ink.bottom()};
        const int* ranges[] = {c.left, c.right, c.top, c.bottom};
        for (int k = 0; k < 4; ++k) {
            EXPECT_GE(edges[k], ranges[k][0]) << "edge " << k;
            EXPECT_LE(edges[k], ranges[k][1]) << "edge " << k;
        }
    }
}

TEST(Graphics, DrawPictureCopiesAndScalesTheSourceRectangle) {
    auto src = NewPicture(20, 10, 32);
    src->Graphics().ForeColor = RGB(0, 0, 255);
    src->Graphics().FillRect(10, 0, 10, 10); // right half blue
    struct Case {
        const char* name;
        int dx, dy, dw, dh, sx, sy, sw, sh;
        QRect ink;
    } cases[] = {
        {"the blue half, 3x wide, 2x high", 40, 50, 30, 20, 10, 0, 10, 10, {40, 50, 30, 20}},
        {"a source past the edge draws what exists", 0, 0, 40, 20, 10, 0, 20, 10, {0, 0, 20, 20}},
        {"an empty destination", 0, 0, 0, 10, 0, 0, 10, 10, {}},
        {"a source outside the picture", 0, 0, 10, 10, 50, 50, 10, 10, {}},
    };
    auto dst = NewPicture(100, 100, 32);
    Graphics& g = dst->Graphics();
    for (const auto& c : cases) {
        g.ClearRect(0, 0, 100, 100);
        g.DrawPicture(*src, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh);
        EXPECT_EQ(InkBox(dst->Image()), c.ink) << c.name;
    }
    g.ClearRect(0, 0, 100, 100);
    g.DrawPicture(*src, 0, 0);
    EXPECT_EQ(InkBox(dst->Image()), QRect(10, 0, 10, 10));
    EXPECT_THROW(g.DrawPicture(std::shared_ptr<Picture>(), 0, 0), NilObjectException);
    // Into itself, as the page view moves what it keeps when scrolled: the part is copied as it was.
    g.ClearRect(0, 0, 100, 100);
    g.ForeColor = RGB(0, 0, 0);
    for (int k = 0; k < 80; k += 4)
        g.FillRect(k, 0, 1, 80); // a column in four
    g.DrawPicture(*dst, 1, 1, 80, 80, 0, 0, 80, 80);
    int black = 0;
    for (int x = 1; x < 81; ++x)
        black += dst->Image().pixel(x, 40) == qRgb(0, 0, 0);
    EXPECT_EQ(black, 20) << "the twenty columns, moved";

    // Shrunk, every pixel averages the pixels it stands for, so thin lines stay visible.
    auto lines = NewPicture(400, 40, 32);
    lines->Graphics().ForeColor = RGB(0, 0, 0);
    for (int x = 0; x < 400; x += 4)
        lines->Graphics().FillRect(x, 0, 1, 40);
    auto small = NewPicture(100, 10, 32);
    small->Graphics().DrawPicture(*lines, 0, 0, 100, 10, 0, 0, 400, 40);
    for (int x = 0; x < 100; ++x)
        EXPECT_NEAR(qGray(small->Image().pixel(x, 5)), 191, 12) << x;
}

// A part of a larger drawing, drawn with its origin moved and clipped to the part, is that part of the
// whole drawing, turned text included; nothing lands outside the clip.
TEST(Graphics, OriginAndClipDrawAPartOfTheWhole) {
    auto draw = [](Graphics& g) {
        g.ForeColor = RGB(200, 0, 0);
        g.FillRect(30, 40, 300, 20);
        g.DrawLine(0, 0, 400, 300);
        g.DrawObject(Number(0), 200, 150);
        g.DrawObject(Number(30), 220, 200);
        OvalShape dot;
        dot.Width = dot.Height = 12;
        dot.FillColor = RGB(128, 128, 128);
        g.DrawObject(dot, 190, 160);
    };
    auto whole = NewPicture(400, 300, 32);
    draw(whole->Graphics());
    for (const QRect part : {QRect(150, 100, 120, 90), QRect(0, 0, 400, 300), QRect(170, 120, 60, 30)}) {
        SCOPED_TRACE(testing::PrintToString(part));
        auto view = NewPicture(150, 120, 32);
        Graphics& g = view->Graphics();
        g.SetOrigin(150, 100);
        g.SetClip(part);
        draw(g);
        g.SetOrigin(0, 0);
        g.SetClip(QRect());
        const QImage& shown = view->Image();
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QPoint at(x + 150, y + 100);
                const QRgb want = part.contains(at) ? whole->Image().pixel(at) : qRgb(255, 255, 255);
                wrong += shown.pixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0);
    }
}

// A one-bit or grey picture smoothed to another size draws what Qt draws from the picture itself, also
// when only a part of it shows through the clip at an origin moved.
TEST(Graphics, SmoothedOneBitAndGreyPicturesDrawAsQtDrawsThem) {
    QImage drawing(600, 400, QImage::Format_RGB32);
    drawing.fill(Qt::white);
    {
        QPainter p(&drawing);
        for (int x = 0; x < 600; x += 7)
            p.drawLine(x, 0, x + 150, 399);
        p.drawText(20, 40, "0123456789 tickets");
    }
    const QImage card = drawing.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    const struct {
        const char* name;
        double scale;
        QRect clip; // view pixels; null for none
    } cases[] = {
        {"two thirds", 2.0 / 3, {}},
        {"two thirds, a part", 2.0 / 3, {37, 51, 150, 90}},
        {"enlarged, a part", 4.0 / 3, {300, 200, 201, 133}},
        {"enlarged", 1.7, {}},
    };
    for (const QImage& source : {card, card.convertToFormat(QImage::Format_Grayscale8)}) {
        const auto picture = PictureFromImage(source);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", depth " << picture->Depth());
            const QRectF target(13, 7, 600 * c.scale, 400 * c.scale);
            QImage qt(700, 700, QImage::Format_RGB32);
            qt.fill(Qt::white);
            {
                QPainter p(&qt);
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.translate(-5, -3);
                if (!c.clip.isNull())
                    p.setClipRect(c.clip);
                p.drawImage(target, picture->Image());
            }
            auto drawn = NewPicture(700, 700, 32);
            Graphics& g = drawn->Graphics();
            g.SetOrigin(5, 3);
            g.SetClip(c.clip);
            g.DrawPicture(*picture, target.x(), target.y(), target.width(), target.height(), 0, 0, 600, 400);
            ASSERT_FALSE(InkBox(qt).isEmpty());
            EXPECT_TRUE(drawn->Image() == qt);
        }
    }
}
