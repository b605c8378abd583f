#include "platform/TextRuns.h"
#include "TestSupport.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Shapes.h"

#include <QTextLayout>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct TextCase {
    const char* name;
    QString family;
    bool bold, italic;
    QString text;
    enum { Run, Either, Layout } drawn = Either; // as a glyph run, or through the text layout
};

// Digits as a print run draws them, check digits, letter-shifted codes, kerned and ligated letters,
// and characters the font has no glyph for.
const TextCase Texts[] = {
    {"digits", "Arial", false, false, "0001234", TextCase::Run},
    {"check digit", "Arial", true, false, "000005-5"},
    {"letter-shifted code", "Arial", false, true, "JIHGFEDC"},
    {"kerned letters", "Arial", false, false, "AVAWAY 7.To"},
    {"ligatures", "DejaVu Sans", false, false, "ffi 12 fl"},
    {"serif with blanks", "Liberation Serif", true, true, "No. 00 17 Ty"},
    {"a glyph from another font", "Arial", false, false, "12\u018034", TextCase::Layout},
    {"beyond the combining marks", "Arial", false, false, "12\u4e0034", TextCase::Layout},
};

QImage Drawn(const TextCase& c, double degrees, double size, bool glyphRuns) {
    StringShape s;
    s.Text = c.text;
    s.TextFont = c.family;
    s.TextSize = size;
    s.Bold = c.bold;
    s.Italic = c.italic;
    s.FillColor = RGB(20, 90, 200);
    s.Rotation = degrees * M_PI / 180;
    auto pic = NewPicture(400, 400, 32);
    Graphics::SetGlyphRuns(glyphRuns);
    pic->Graphics().DrawObject(s, 200, 200);
    Graphics::SetGlyphRuns(true);
    return pic->Image();
}

} // namespace

// What a glyph run draws is pixel for pixel what the text layout draws, level and turned.
TEST(TextRuns, GlyphRunsDrawTheSamePixelsAsTheTextLayout) {
    for (const TextCase& c : Texts)
        for (double degrees : {0.0, 90.0, 37.0, 143.0, 211.0, 305.0})
            for (double size : {8.3, 19.0, 41.5}) {
                SCOPED_TRACE(testing::Message() << c.name << ", " << degrees << " degrees, size " << size);
                const QImage runs = Drawn(c, degrees, size, true);
                EXPECT_EQ(runs, Drawn(c, degrees, size, false));
                EXPECT_FALSE(testing_support::InkBox(runs).isEmpty());
            }
}

// The font's own tables give the shaper's glyphs and places wherever a run is called drawable, at
// screen and at printer resolution; digits always are, a glyph taken from elsewhere never.
TEST(TextRuns, DrawableRunsMatchTheShaperGlyphForGlyph) {
    for (int dpi : {100, 1200}) {
        QImage device(8, 8, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(dpi / 0.0254));
        device.setDotsPerMeterY(qRound(dpi / 0.0254));
        for (const TextCase& c : Texts) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << dpi << " dpi");
            QFont font;
            font.setFamilies({c.family});
            font.setPixelSize(dpi / 6);
            font.setBold(c.bold);
            font.setItalic(c.italic);
            TextRuns runs(font, dpi);
            for (bool keep : {false, true, true}) { // then from what was learnt, then kept
                const TextRuns::Laid* laid = runs.Lay(c.text, keep);
                EXPECT_EQ(laid == nullptr, c.drawn == TextCase::Layout);
                EXPECT_TRUE(c.drawn != TextCase::Run || (laid && laid->drawable));
                if (!laid || !laid->drawable)
                    continue;
                QTextLayout layout(c.text, QFont(font, &device), &device);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                const QList<QGlyphRun> shaped = layout.glyphRuns();
                ASSERT_EQ(shaped.size(), 1);
                EXPECT_EQ(laid->run.glyphIndexes(), shaped[0].glyphIndexes());
                const QList<QPointF> ours = laid->run.positions(), theirs = shaped[0].positions();
                ASSERT_EQ(ours.size(), theirs.size());
                for (qsizetype i = 0; i < ours.size(); ++i)
                    EXPECT_EQ(ours[i].x(), theirs[i].x()) << "glyph " << i;
            }
        }
    }
}
