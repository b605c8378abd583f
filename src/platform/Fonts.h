// The installed font families, in the order the font database lists them.
#pragma once

#include <QString>

namespace platform {

int FontCount();
// The name of font i (from 0); "" outside 0 .. FontCount() - 1.
QString Font(int i);

} // namespace platform
