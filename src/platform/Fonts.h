// The installed font families, in the order the font database lists them, and the "System" font.
#pragma once

#include <QFont>
#include <QString>

namespace platform {

int FontCount();
// The name of font i (from 0); "" outside 0 .. FontCount() - 1.
QString Font(int i);

// The font that "System" (or an empty family) names in controls and drawing: Liberation Sans, the
// metric twin of Arial, so captions measure the same on every machine; the application's font when it
// is not installed. Size and style are the caller's.
QFont SystemFont();

} // namespace platform
