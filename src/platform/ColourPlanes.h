// A colour picture held the way a JPEG holds it: a luminance plane (Y) at the picture's size and two
// colour-difference planes (Cb, Cr), each at the full size or halved across, down or both. The usual
// 4:2:0 scan then takes 1.5 bytes a pixel instead of the 4 of 32-bit colour; 32-bit colour is made only for
// the part that is drawn, pixel for pixel what libjpeg makes of the whole file.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace platform {

struct ColourPlanes {
    struct Plane {
        std::vector<std::uint8_t> samples; // rows stride bytes apart; width samples of each are the picture's
        int width = 0, height = 0, stride = 0;
        const std::uint8_t* Row(int y) const { return samples.data() + std::size_t(y) * std::size_t(stride); }
    };
    int width = 0, height = 0; // pixels of the picture
    int dotsPerMeterX = 0;     // as Qt would set them on the decoded image; 0 when the file states none
    int dotsPerMeterY = 0;
    bool halvedAcross = false; // Cb and Cr hold one sample for two pixels across
    bool halvedDown = false;   // ... and for two rows down
    Plane y, cb, cr;

    // Whether the planes are all there and agree with the picture's size and sampling.
    bool IsValid() const;
    // Bytes the samples take.
    std::int64_t Bytes() const;
};

// The pixels of area (within the picture, not empty) in 32-bit colour (QImage::Format_RGB32): the colour
// planes widened by libjpeg's default smoothing and converted as libjpeg converts them, so that each pixel
// is the one libjpeg (and Qt's JPEG reader) decodes for the whole picture. Null when the area is not within
// the picture or memory is short.
QImage PlanesToRgb(const ColourPlanes& planes, const QRect& area);

// AverageDown (platform/AverageDown.h) of the picture the planes hold: the part of it (within it, not
// empty) shrunk to size, of which only the new pixels within window are made, in Format_RGB32. Shrunk by
// less than four either way, pixel for pixel that of PlanesToRgb of the whole, its colour made a source row
// at a time as it is averaged; shrunk by four or more both ways, each plane is averaged as it is and the
// means converted, as libjpeg makes a reduced picture (within a level or two where colour changes
// smoothly). Either way any window is the same as in the whole. Null for a window outside the size or a
// part outside the picture.
QImage AverageDownPlanes(const ColourPlanes& planes, const QRect& part, QSize size, const QRect& window);

} // namespace platform
