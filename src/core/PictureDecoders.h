// Decoding picture files held in memory into an image and its resolution: Qt's readers for TIFF, JPEG,
// BMP, PNG and the first page of a PDF, Magick++ for Photoshop (PSD) and QuickDraw (PICT) pictures. The
// limits on picture size are the platform's (platform/Picture.h).
#pragma once

#include "platform/ColourPlanes.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <QString>
#include <optional>

namespace backdrop {

// Resolution at which the first page of a PDF is rendered; the page keeps its real size.
inline constexpr int kPdfResolution = 300;
// Resolution of a picture whose file states none (the usual convention of screen pictures).
inline constexpr int kUnstatedResolution = 72;

struct DecodedPicture {
    QImage image;                  // null when the bytes could not be decoded, or planes hold the picture
    platform::ColourPlanes planes; // a colour JPEG, held as its planes; empty otherwise
    int horizontalResolution = kUnstatedResolution; // dots per inch
    int verticalResolution = kUnstatedResolution;
    bool tooLarge = false; // refused because of its size
    QString error;         // why image is null, in the program's words

    bool Decoded() const { return !image.isNull() || planes.IsValid(); }
};

// A picture refused, with the reason in the program's words; tooLarge when it is its size.
DecodedPicture Refused(const QString& error, bool tooLarge = false);
// The dots per inch of a decoded image's dots per metre; kUnstatedResolution for none or a nonsense value.
int DotsPerInch(int dotsPerMeter);

// Any picture we can read, recognised from its content. One-bit and grey pictures stay one-bit and grey.
DecodedPicture DecodePicture(QByteArrayView bytes);
// A QuickDraw picture, with or without the 512-byte header that a PICT file carries on disk. A picture
// whose opcodes do not run to its end (a file cut short) is refused as damaged.
DecodedPicture DecodePict(QByteArrayView bytes);

// True when the bytes look like a QuickDraw picture (with or without its file header).
bool LooksLikePict(QByteArrayView bytes);
// Offset of the picture data after the file header: 512, or 0 for the bare picture of a resource.
qint64 PictDataOffset(QByteArrayView bytes);

// The pixels a file's decoder will produce and the format it decodes them in, as the header states them.
struct StatedSize {
    qint64 width = 0, height = 0;
    QImage::Format format = QImage::Format_Invalid;
};
// A BMP's size, whichever way its rows are stored; Qt's reader states a picture stored top down with a
// negative height, and none at all for one beyond its own limit. Nothing when the header cannot be read.
std::optional<StatedSize> BmpStatedSize(QByteArrayView bytes);
// Qt's BMP reader takes no picture of more pixels than this, and says nothing of why.
inline constexpr qint64 kLargestBmpPixels = qint64(16384) * 16384;

// Whether a BMP or JPEG file holds every row its header announces; Qt's readers would decode one cut short
// into a whole picture. Other formats count as complete: their decoders refuse a file cut short.
bool HoldsEveryRow(QByteArrayView bytes, const QByteArray& qtFormat);

// Whether a JPEG, PNG, BMP or TIFF file states its resolution (Qt's readers give a default when it does
// not). Unknown formats count as stating it.
bool StatesResolution(QByteArrayView bytes, const QByteArray& qtFormat);

} // namespace backdrop
