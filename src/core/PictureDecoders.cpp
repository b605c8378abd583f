#include "core/PictureDecoders.h"

#include "core/Bytes.h"
#include "core/JpegPlanes.h"
#include "core/MagickDecoder.h"
#include "core/PictOpcodes.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>

namespace backdrop {

namespace {

// Qt's readers: everything but PSD and PICT. A PDF gives its first page, rendered at kPdfResolution.
DecodedPicture DecodeWithQt(QByteArrayView bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    // A colour JPEG is held as its planes, at 1.5 bytes a pixel for the usual sampling instead of 4.
    if (format == "jpeg")
        if (std::optional<DecodedPicture> planes = DecodeJpegPlanes(bytes))
            return std::move(*planes);
    const bool pdf = format == "pdf";
    if (pdf) {
        const QSize points = reader.size();
        if (!points.isValid())
            return Refused(platform::PictureDamaged());
        const double scale = kPdfResolution / 72.0;
        const qint64 w = std::llround(points.width() * scale), h = std::llround(points.height() * scale);
        if (!platform::PictureFits(w, h, platform::PeakBitsPerPixel(QImage::Format_Invalid)))
            return Refused(platform::PictureTooLarge(w, h), true);
        reader.setScaledSize(QSize(int(w), int(h)));
    }
    // Too large is told before incomplete, and neither is decoded.
    bool tooLarge = false;
    if (const QString refused = platform::RefusedFromHeader(reader, &tooLarge); !refused.isEmpty())
        return Refused(refused, tooLarge);
    if (const auto bmp = format == "bmp" ? BmpStatedSize(bytes) : std::nullopt;
        bmp && (bmp->width * bmp->height > kLargestBmpPixels ||
                !platform::PictureFits(bmp->width, bmp->height, platform::PeakBitsPerPixel(bmp->format))))
        return Refused(platform::PictureTooLarge(bmp->width, bmp->height), true);
    if (!HoldsEveryRow(bytes, format))
        return Refused(platform::PictureDamaged());
    DecodedPicture d;
    d.image = platform::DecodeWithinLimits(reader, &d.error, &d.tooLarge);
    if (d.image.isNull())
        return d;
    if (pdf) {
        d.horizontalResolution = d.verticalResolution = kPdfResolution;
    } else if (StatesResolution(bytes, format)) {
        d.horizontalResolution = DotsPerInch(d.image.dotsPerMeterX());
        d.verticalResolution = DotsPerInch(d.image.dotsPerMeterY());
    }
    return d;
}

// The image carries the resolution we settled on, so that it is drawn and saved at that size.
DecodedPicture WithResolution(DecodedPicture d) {
    const int x = int(std::lround(d.horizontalResolution / 0.0254)),
              y = int(std::lround(d.verticalResolution / 0.0254));
    if (!d.image.isNull()) {
        d.image.setDotsPerMeterX(x);
        d.image.setDotsPerMeterY(y);
    }
    if (d.planes.IsValid()) {
        d.planes.dotsPerMeterX = x;
        d.planes.dotsPerMeterY = y;
    }
    return d;
}

// The resolution in a PICT's extended version 2 header (Fixed 16.16 values); 0 when there is none.
std::pair<int, int> PictResolution(QByteArrayView picture) {
    const auto version = U32BE(picture, 10), header = U16BE(picture, 14), kind = U16BE(picture, 16);
    const auto h = U32BE(picture, 20), v = U32BE(picture, 24);
    if (version != 0x001102FFu || header != 0x0C00u || kind != 0xFFFEu || !h || !v)
        return {0, 0};
    return {int((*h + 0x8000u) >> 16), int((*v + 0x8000u) >> 16)};
}

bool PictVersionAt(QByteArrayView b, qint64 at) {
    const auto v1 = U16BE(b, at), v2 = U32BE(b, at);
    return v1 == 0x1101u || v2 == 0x001102FFu;
}

} // namespace

DecodedPicture Refused(const QString& error, bool tooLarge) {
    DecodedPicture d;
    d.error = error;
    d.tooLarge = tooLarge;
    return d;
}

int DotsPerInch(int dotsPerMeter) {
    const long dpi = std::lround(dotsPerMeter * 0.0254);
    return dpi > 0 && dpi <= 1000000 ? int(dpi) : kUnstatedResolution;
}

qint64 PictDataOffset(QByteArrayView bytes) {
    return PictVersionAt(bytes, 522) ? 512 : 0;
}

bool LooksLikePict(QByteArrayView bytes) {
    return PictVersionAt(bytes, 522) || PictVersionAt(bytes, 10);
}

DecodedPicture DecodePict(QByteArrayView bytes) {
    if (!LooksLikePict(bytes))
        return Refused(platform::PictureKindUnknown());
    const qint64 offset = PictDataOffset(bytes);
    const QByteArrayView picture = bytes.sliced(offset);
    if (!PictRunsToEnd(picture))
        return Refused(platform::PictureDamaged());
    DecodedPicture d;
    if (offset == 512) {
        d = DecodeWithMagick(bytes, "PICT");
    } else {
        // The PICT coder expects the file header that a bare resource picture lacks; the picture is
        // checked from its frame before it is copied behind one.
        const auto top = U16BE(picture, 2), left = U16BE(picture, 4), bottom = U16BE(picture, 6),
                   right = U16BE(picture, 8);
        const qint64 w = qint64(std::int16_t(*right)) - std::int16_t(*left),
                     h = qint64(std::int16_t(*bottom)) - std::int16_t(*top);
        if (w > 0 && h > 0 && !platform::PictureFits(w, h, MagickPeakBitsPerPixel("PICT")))
            return Refused(platform::PictureTooLarge(w, h), true);
        QByteArray withHeader;
        try {
            withHeader.reserve(512 + picture.size());
            withHeader.resize(512, '\0');
            withHeader.append(picture.data(), picture.size());
        } catch (const std::bad_alloc&) {
            return Refused(platform::PictureTooLarge(w, h), true);
        }
        d = DecodeWithMagick(withHeader, "PICT");
    }
    if (const auto [h, v] = PictResolution(picture); h > 0 && v > 0 && !d.image.isNull()) {
        d.horizontalResolution = h;
        d.verticalResolution = v;
    }
    return WithResolution(std::move(d));
}

DecodedPicture DecodePicture(QByteArrayView bytes) {
    if (bytes.startsWith("8BPS"))
        return WithResolution(DecodeWithMagick(bytes, "PSD"));
    if (LooksLikePict(bytes))
        return DecodePict(bytes);
    return WithResolution(DecodeWithQt(bytes));
}

} // namespace backdrop
