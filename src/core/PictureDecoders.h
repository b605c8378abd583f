// Decoding picture files held in memory into an image and its resolution: Qt's readers for TIFF, JPEG,
// BMP, PNG and the first page of a PDF, Magick++ for Photoshop (PSD) and QuickDraw (PICT) pictures.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace backdrop {

// Largest picture we agree to build (as for new pictures: a side of 100,000 pixels, 1.5 GB of 32-bit
// pixels): a file that asks for more is refused instead of exhausting memory.
inline constexpr qint64 kMaxPictureSide = 100000;
inline constexpr qint64 kMaxPicturePixels = 1536LL * 1024 * 1024 / 4;
bool FitsInMemory(qint64 width, qint64 height);

// Resolution at which the first page of a PDF is rendered; the page keeps its real size.
inline constexpr int kPdfResolution = 300;
// Resolution of a picture whose file states none (the usual convention of screen pictures).
inline constexpr int kUnstatedResolution = 72;

struct DecodedPicture {
    QImage image;                                   // null when the bytes could not be decoded
    int horizontalResolution = kUnstatedResolution; // dots per inch
    int verticalResolution = kUnstatedResolution;
    bool tooLarge = false; // refused because of its size
    QString error;         // why image is null
};

// Any picture we can read, recognised from its content.
DecodedPicture DecodePicture(QByteArrayView bytes);
// A QuickDraw picture, with or without the 512-byte header that a PICT file carries on disk.
DecodedPicture DecodePict(QByteArrayView bytes);

// True when the bytes look like a QuickDraw picture (with or without its file header).
bool LooksLikePict(QByteArrayView bytes);
// Offset of the picture data after the file header: 512, or 0 for the bare picture of a resource.
qint64 PictDataOffset(QByteArrayView bytes);

// Whether a JPEG, PNG, BMP or TIFF file states its resolution (Qt's readers give a default when it does
// not). Unknown formats count as stating it.
bool StatesResolution(QByteArrayView bytes, const QByteArray& qtFormat);

} // namespace backdrop
