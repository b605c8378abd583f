// Off-screen pictures: a QImage with the framework's size, depth and resolution, and the Graphics that
// draws into it; the one limit on how large a picture may be.
#pragma once

#include "platform/ColourPlanes.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QImageReader;

namespace platform {

class Graphics;

// A picture is refused when making it would hold more than MaxPictureBytes of pixels at once (the image
// being decoded and any copy converted from it), or when a side is longer than MaxPictureSide. An A3
// colour scan at 600 dpi takes 280 MB; a side of 100,000 pixels is over 8 m at 300 dpi.
inline constexpr qint64 MaxPictureSide = 100000;
inline constexpr qint64 MaxPictureBytes = qint64(1) << 30;

// Whether width x height pixels stay within the limits when bitsPerPixel bits of each are held at once.
bool PictureFits(qint64 width, qint64 height, int bitsPerPixel);

// The format a Picture keeps an image in: one-bit pictures with a grey colour table in Format_Mono,
// grey ones in Format_Grayscale8, everything else in 32-bit colour.
QImage::Format KeptFormat(const QImage& image);
// Bits held per pixel at the peak of reading a picture that its reader decodes in format and keeping it,
// for the check made from a file's header: one-bit and 8-bit indexed pictures are taken to be grey
// there; PictureFromImage checks the real image again before it converts it.
int PeakBitsPerPixel(QImage::Format decoded);

// Why a picture is refused, in the program's words.
QString PictureTooLarge(qint64 width, qint64 height); // "Memory short! ..."
QString PictureDamaged();
QString PictureKindUnknown();

// Why the picture of a reader is refused from its header alone, before anything is decoded: an unknown
// kind, no pixels, or a size the decoder would produce beyond the limits (at the reader's scaled size
// when one is set). Empty when it may be decoded; *tooLarge is set when it is too large.
QString RefusedFromHeader(QImageReader& reader, bool* tooLarge = nullptr);
// Decodes the picture of a reader with Qt's allocation limit set to the limits' bytes, and checks the
// picture decoded (a header need not state its size). Null with the reason in *why when the picture cannot
// be read, and *tooLarge set when it is too large.
QImage DecodeWithinLimits(QImageReader& reader, QString* why, bool* tooLarge = nullptr);
// RefusedFromHeader, then DecodeWithinLimits.
QImage ReadWithinLimits(QImageReader& reader, QString* why, bool* tooLarge = nullptr);

class Picture {
public:
    // Takes an image, converted to its KeptFormat. depth is the colour depth to report; 0 reports the
    // depth the picture holds.
    explicit Picture(QImage image, int depth = 0);
    // Takes a colour picture held as its planes (valid ones); it reports 32 bits and the resolution the
    // planes state, else DefaultResolution.
    explicit Picture(ColourPlanes planes);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const { return planes_ ? planes_->width : image_.width(); }
    int Height() const { return planes_ ? planes_->height : image_.height(); }
    int Depth() const { return depth_; }

    // The planes of a colour picture held as planes, else null. Drawing such a picture makes 32-bit
    // colour only of the part it draws (a printer takes the whole once per job); Graphics and Image
    // unpack it into 32-bit colour for good.
    const ColourPlanes* Planes() const { return planes_ ? &*planes_ : nullptr; }
    // Tells the planes of this picture apart from those of every other picture of the process.
    std::uint64_t PlanesKey() const { return planesKey_; }

    // Dots per inch; also kept in the image's dots per metre. Values below 1 are ignored.
    int HorizontalResolution() const { return hres_; }
    int VerticalResolution() const { return vres_; }
    void SetHorizontalResolution(int dpi);
    void SetVerticalResolution(int dpi);

    // Draws into this picture; made on first use and kept for the picture's life. A one-bit picture
    // becomes 8-bit grey when it is first drawn into, so that what is drawn keeps its shades.
    platform::Graphics& Graphics();

    // The pixels, with every drawing so far finished.
    const QImage& Image() const;

private:
    void endPainting() const;
    void unpack() const;

    mutable QImage image_;
    mutable std::optional<ColourPlanes> planes_;
    std::uint64_t planesKey_ = 0;
    int depth_ = 32;
    int hres_ = 72, vres_ = 72;
    mutable std::unique_ptr<platform::Graphics> graphics_;
};

// The framework's resolution for pictures whose file gives none.
inline constexpr int DefaultResolution = 72;

// A picture of image in its KeptFormat; null when converting it would pass the limits or memory is short.
std::shared_ptr<Picture> PictureFromImage(QImage image);

// A white picture of width x height pixels at 72 dpi; null when a side is not positive, the size is
// beyond the limits, or memory is short. depth is reported back by Depth; a depth of 1 to 8 makes an
// 8-bit grey picture (what is drawn into it keeps its shades of grey, not its colour), any other a
// 32-bit colour one.
std::shared_ptr<Picture> NewPicture(int width, int height, int depth);

} // namespace platform
