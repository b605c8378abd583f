// Pictures read through Qt's readers within the limits: the size checked is the one the decoder will
// produce, also where the header states it in a form Qt's reader passes on as no size.
#include "TestSupport.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QImageReader>
#include <gtest/gtest.h>

using testing_support::Bmp;

TEST(PictureReading, TopDownBmpIsCheckedAtTheHeightItDecodesTo) {
    const QString tall = "Memory short! The picture is too large (1 x 150000 pixels).";
    const struct {
        const char* name;
        QByteArray file;
        QString refused; // empty when it is read
        QSize size;
    } cases[] = {
        // Only its first rows are there: refused before anything is decoded.
        {"TallerThanTheLimit", Bmp(1, -150000, 24, QByteArray(100, '\0')), tall, {0, 0}},
        {"TallerThanTheLimitBottomUp", Bmp(1, 150000, 24, QByteArray(100, '\0')), tall, {0, 0}},
        {"Small", Bmp(3, -2, 24, QByteArray(24, '\x7F')), {}, {3, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = c.file;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        bool tooLarge = false;
        EXPECT_EQ(platform::RefusedFromHeader(reader, &tooLarge), c.refused);
        EXPECT_EQ(tooLarge, c.refused == tall);

        buffer.seek(0);
        QImageReader again(&buffer);
        QString why;
        tooLarge = false;
        const QImage image = platform::ReadWithinLimits(again, &why, &tooLarge);
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(why, c.refused);
        EXPECT_EQ(tooLarge, c.refused == tall);
    }
}
