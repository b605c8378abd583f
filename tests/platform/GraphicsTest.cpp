#include "platform/Graphics.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/Picture.h"
#include "platform/Shapes.h"

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
