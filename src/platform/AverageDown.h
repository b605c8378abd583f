// Shrinking pictures by averaging the area under each new pixel, so that thin lines and small text stay
// visible. Any window of the shrunk picture can be made on its own, each pixel the same as in the whole:
// the page view makes only what it shows. A large one-bit or grey scan is read a row at a time and never
// copied whole into 32-bit colour.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>

namespace platform {

// The part of source (within it, not empty) shrunk to size (no larger than the part on either side), of
// which only the new pixels within window are made: an image of window's size. The source is one-bit,
// 8-bit grey, RGB32 or premultiplied ARGB32, as pictures are held; one-bit and grey sources give 8-bit
// grey, colour ones the source's format. Another format, or a window outside the size, gives a null
// image.
QImage AverageDown(const QImage& source, const QRect& part, QSize size, const QRect& window);

// Rows of a 32-bit colour picture made when they are averaged, for the pixels from..to - 1 of each. A band
// of new rows asks ColourRowsFor(from, to) for the makers of its rows, and uses them on one thread only.
struct ColourRows {
    // Row y's pixels into out.
    std::function<void(int y, std::uint32_t* out)> row;
    // Optional: the pixels of rows y and y2 added, a 16-bit sum for each byte of a pixel as row() lays
    // them out, onto sums; for rows summed at full share, without making either row.
    std::function<void(int y, int y2, std::uint16_t* sums)> addPair;
};
using ColourRowsFor = std::function<ColourRows(int from, int to)>;

// AverageDown of a 32-bit colour picture of the given size that is not held as such: each source row is
// made when it is needed, by a band of its own, and never more than two of them at a time.
QImage AverageDownRows(QSize picture, const ColourRowsFor& rows, const QRect& part, QSize size,
                       const QRect& window);

} // namespace platform
