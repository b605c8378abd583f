// Shrinking one-bit and grey images by averaging the area under each new pixel, a row at a time, so that
// a large scan is never copied whole into 32-bit colour (as Qt's smooth scaling would do).
#pragma once

#include <QImage>

namespace platform {

// Whether AverageGreyDown takes images of this format.
bool ShrinksAsGrey(QImage::Format format);
// The part of source (within it, not empty) shrunk to size (no larger than the part) in 8-bit grey;
// source is one-bit or 8-bit grey.
QImage AverageGreyDown(const QImage& source, const QRect& part, QSize size);

} // namespace platform
