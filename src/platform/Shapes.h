// Vector shapes drawn with Graphics::DrawObject: a text that turns about its anchor, and an oval.
#pragma once

#include "platform/Color.h"
#include <QString>

namespace platform {

// Text centred horizontally on the point it is drawn at, with its baseline through that point, turned
// about that point by Rotation radians; a positive angle turns counter-clockwise on the page.
// FillColor is the colour of the text. BorderColor is kept, but no outline is drawn: a shape has no
// border width until one is set, and nothing here sets one.
struct StringShape {
    QString Text;
    QString TextFont = QStringLiteral("System");
    double TextSize = 0; // pixels at the surface's resolution; 0 or less gives the default size
    bool Bold = false;
    bool Italic = false;
    Color FillColor;
    Color BorderColor;
    double Rotation = 0;
};

// A filled oval centred on the point it is drawn at. BorderColor is kept but draws no outline, as
// for StringShape.
struct OvalShape {
    double Width = 0;
    double Height = 0;
    Color FillColor;
    Color BorderColor;
};

} // namespace platform
