#include "core/Module1.h"

#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Shapes.h"
#include "platform/Text.h"

#include <cmath>

using namespace platform;

namespace Module1 {

namespace {
constexpr double DegreesPerRadian = 57.27272987603318; // 180 / 3.142857, as the documents were laid out
constexpr double HandleSizeMM = 2.0;
constexpr int HandleTolerance = 10;
} // namespace

double Points(double pt) {
    return double(PageResolution) / 72.0 * pt;
}

void ParseColour(const QString& colour) {
    pncCyan = Int(Val(Mid(colour, 2, 3)));
    pncMagenta = Int(Val(Mid(colour, 6, 3)));
    pncYellow = Int(Val(Mid(colour, 10, 3)));
    pncBlack = Int(Val(Mid(colour, 14, 3)));
}

Color DisplayColour(std::int32_t c, std::int32_t m, std::int32_t y, std::int32_t k) {
    // Sums are formed in 64 bits so that absurd parts from a file cannot overflow.
    auto part = [](std::int32_t a, std::int32_t b) { return double(std::int64_t(a) + b) / 100.0; };
    return CMY(part(c, k), part(m, k), part(y, k));
}

void NumColour(std::int32_t i) {
    if (i < 0)
        return;
    ParseColour(Rcolour);
    RecPos(i, 14) = DisplayColour(pncCyan, pncMagenta, pncYellow, pncBlack);
}

void DrawNumber2d(Graphics& g, std::int32_t i, double v, double dx, double dy) {
    StringShape text;
    OvalShape handle;
    const bool selected = i == CurrentObject;

    if (!PRN && selected) {
        text.FillColor = RGB(0, 255, 0);
    } else {
        text.FillColor = RecPos(i, 14).ColorValue();
        text.BorderColor = RGB(255, 255, 255);
    }

    v = v + RecPos(i, 4).DoubleValue();
    text.Text = CalcMod(i, v);
    text.TextSize = Points(RecPos(i, 8).DoubleValue());
    text.TextFont = RecPos(i, 6).StringValue();
    const QString style = RecPos(i, 7).StringValue();
    text.Bold = style == QLatin1String("Bold") || style == QLatin1String("BoldItalic");
    text.Italic = style == QLatin1String("Italic") || style == QLatin1String("BoldItalic");

    if (selected) {
        // The surface keeps this text state after the call; the measure is of the unrotated text.
        g.TextSize = Int(text.TextSize);
        g.TextFont = text.TextFont;
        g.Bold = text.Bold;
        g.Italic = text.Italic;
        const double width = g.StringWidth(text.Text);
        CurrentObjectWidth = PixToMMs(Int(width));
        CurrentObjectHeight = PixToMMs(Int(g.StringHeight(text.Text, Int(width + 5))));
    }

    if (RecPos(i, 10).Int32Value() > 0)
        text.Rotation = RecPos(i, 10).DoubleValue() / DegreesPerRadian;

    const double x = RecPos(i, 1).DoubleValue();
    const double y = RecPos(i, 2).DoubleValue();
    g.DrawObject(text, Int(mms(x + dx)), Int(mms(y + dy)));

    if (dx == 0 && dy == 0 && selected && !PRN) {
        handle.FillColor = RGB(128, 128, 128);
        handle.Width = mms(HandleSizeMM);
        handle.Height = mms(HandleSizeMM);
        NHandleX = mms(x);
        NHandleY = mms(y);
        g.DrawObject(handle, Int(NHandleX), Int(NHandleY));
    }
}

QRectF NumberBounds(Graphics& g, std::int32_t i, double v, double dx, double dy) {
    const QString text = CalcMod(i, v + RecPos(i, 4).DoubleValue());
    const QString font = g.TextFont;
    const double size = g.TextSize;
    const bool bold = g.Bold, italic = g.Italic;
    g.TextFont = RecPos(i, 6).StringValue();
    g.TextSize = Points(RecPos(i, 8).DoubleValue());
    const QString style = RecPos(i, 7).StringValue();
    g.Bold = style == QLatin1String("Bold") || style == QLatin1String("BoldItalic");
    g.Italic = style == QLatin1String("Italic") || style == QLatin1String("BoldItalic");
    const double half = g.StringWidth(text) / 2, line = g.TextHeight();
    g.TextFont = font, g.TextSize = size, g.Bold = bold, g.Italic = italic;
    // The text runs half its advance either side of the anchor and a line up or down from it, turned
    // about the anchor; slanted and bold glyphs may reach a little past their advance.
    const double reach = std::hypot(half, line) + line / 4 + 2;
    const double x = Int(mms(RecPos(i, 1).DoubleValue() + dx));
    const double y = Int(mms(RecPos(i, 2).DoubleValue() + dy));
    return QRectF(x - reach, y - reach, 2 * reach, 2 * reach);
}

bool FindHandle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    return double(x1) - HandleTolerance <= NHandleX && NHandleX <= double(x2) + HandleTolerance &&
           double(y1) - HandleTolerance <= NHandleY && NHandleY <= double(y2) + HandleTolerance;
}

} // namespace Module1
