#include "core/PictureDecoders.h"

#include "core/Bytes.h"

#include <Magick++.h>
#include <QBuffer>
#include <QImageReader>
#include <cmath>
#include <mutex>

namespace backdrop {

namespace {

const char* const kMemoryShort = "Memory short!";

DecodedPicture Failed(const QString& error, bool tooLarge = false) {
    DecodedPicture d;
    d.error = tooLarge ? QString::fromLatin1(kMemoryShort) : error;
    d.tooLarge = tooLarge;
    return d;
}

int DotsPerInch(int dotsPerMeter) {
    const long dpi = std::lround(dotsPerMeter * 0.0254);
    return dpi > 0 && dpi <= 1000000 ? int(dpi) : kUnstatedResolution;
}

// Qt's readers: everything but PSD and PICT. A PDF gives its first page, rendered at kPdfResolution.
DecodedPicture DecodeWithQt(QByteArrayView bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return Failed(QStringLiteral("Unknown picture format"));
    QSize size = reader.size();
    const bool pdf = format == "pdf";
    if (pdf) {
        if (!size.isValid())
            return Failed(reader.errorString());
        const double scale = kPdfResolution / 72.0;
        const qint64 w = std::llround(size.width() * scale), h = std::llround(size.height() * scale);
        if (!FitsInMemory(w, h))
            return Failed({}, true);
        size = QSize(int(w), int(h));
        reader.setScaledSize(size);
    } else if (size.isValid() && !FitsInMemory(size.width(), size.height())) {
        return Failed({}, true);
    }
    DecodedPicture d;
    d.image = reader.read();
    if (d.image.isNull())
        return Failed(reader.errorString());
    if (!FitsInMemory(d.image.width(), d.image.height()))
        return Failed({}, true);
    if (pdf) {
        d.horizontalResolution = d.verticalResolution = kPdfResolution;
    } else if (StatesResolution(bytes, format)) {
        d.horizontalResolution = DotsPerInch(d.image.dotsPerMeterX());
        d.verticalResolution = DotsPerInch(d.image.dotsPerMeterY());
    }
    return d;
}

int MagickDotsPerInch(double value, MagickCore::ResolutionType units) {
    if (units == MagickCore::PixelsPerCentimeterResolution)
        value *= 2.54;
    else if (units != MagickCore::PixelsPerInchResolution)
        return kUnstatedResolution;
    const long dpi = std::lround(value);
    return dpi > 0 && dpi <= 1000000 ? int(dpi) : kUnstatedResolution;
}

// The image carries the resolution we settled on, so that it is drawn and saved at that size.
DecodedPicture WithResolution(DecodedPicture d) {
    if (!d.image.isNull()) {
        d.image.setDotsPerMeterX(int(std::lround(d.horizontalResolution / 0.0254)));
        d.image.setDotsPerMeterY(int(std::lround(d.verticalResolution / 0.0254)));
    }
    return d;
}

// Magick++ for the formats Qt cannot read; only the named coder is ever used on the bytes.
DecodedPicture DecodeWithMagick(QByteArrayView bytes, const char* coder) {
    static std::once_flag once;
    std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
    try {
        const Magick::Blob blob(bytes.data(), size_t(bytes.size()));
        Magick::Image probe;
        probe.quiet(true);
        probe.magick(coder);
        probe.ping(blob);
        if (!FitsInMemory(qint64(probe.columns()), qint64(probe.rows())))
            return Failed({}, true);

        Magick::Image image;
        image.quiet(true);
        image.magick(coder);
        image.subImage(0); // a PSD's first image is the flattened composite
        image.subRange(1);
        image.read(blob);
        const qint64 w = qint64(image.columns()), h = qint64(image.rows());
        if (w <= 0 || h <= 0)
            return Failed(QStringLiteral("Empty picture"));
        if (!FitsInMemory(w, h))
            return Failed({}, true);
        DecodedPicture d;
        d.image = QImage(int(w), int(h), image.matte() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (d.image.isNull())
            return Failed({}, true);
        // One native-endian 32-bit word per pixel; an opaque picture's alpha is written as 255.
        const char* map = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "BGRA" : "ARGB";
        image.write(0, 0, size_t(w), size_t(h), map, Magick::CharPixel, d.image.bits());
        d.horizontalResolution = MagickDotsPerInch(image.xResolution(), image.resolutionUnits());
        d.verticalResolution = MagickDotsPerInch(image.yResolution(), image.resolutionUnits());
        return d;
    } catch (const Magick::Exception& e) {
        return Failed(QString::fromLocal8Bit(e.what()));
    } catch (const std::bad_alloc&) {
        return Failed({}, true);
    }
}

// The resolution in a PICT's extended version 2 header (Fixed 16.16 values); 0 when there is none.
std::pair<int, int> PictResolution(QByteArrayView bytes) {
    const qint64 op = PictDataOffset(bytes) + 10; // after the picture size and frame
    const auto version = U32BE(bytes, op), header = U16BE(bytes, op + 4), kind = U16BE(bytes, op + 6);
    if (version != 0x001102FFu || header != 0x0C00u || kind != 0xFFFEu)
        return {0, 0};
    const auto h = U32BE(bytes, op + 10), v = U32BE(bytes, op + 14);
    return {int((*h + 0x8000u) >> 16), int((*v + 0x8000u) >> 16)};
}

bool PictVersionAt(QByteArrayView b, qint64 at) {
    const auto v1 = U16BE(b, at), v2 = U32BE(b, at);
    return v1 == 0x1101u || v2 == 0x001102FFu;
}

} // namespace

bool FitsInMemory(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

qint64 PictDataOffset(QByteArrayView bytes) {
    return PictVersionAt(bytes, 522) ? 512 : 0;
}

bool LooksLikePict(QByteArrayView bytes) {
    return PictVersionAt(bytes, 522) || PictVersionAt(bytes, 10);
}

DecodedPicture DecodePict(QByteArrayView bytes) {
    if (!LooksLikePict(bytes))
        return Failed(QStringLiteral("Not a PICT picture"));
    DecodedPicture d;
    if (PictDataOffset(bytes) == 512) {
        d = DecodeWithMagick(bytes, "PICT");
    } else {
        // The PICT coder expects the file header that a bare resource picture lacks.
        QByteArray withHeader(512, '\0');
        withHeader.append(bytes.data(), bytes.size());
        d = DecodeWithMagick(withHeader, "PICT");
    }
    if (const auto [h, v] = PictResolution(bytes); h > 0 && v > 0 && !d.image.isNull()) {
        d.horizontalResolution = h;
        d.verticalResolution = v;
    }
    return WithResolution(d);
}

DecodedPicture DecodePicture(QByteArrayView bytes) {
    if (bytes.startsWith("8BPS"))
        return WithResolution(DecodeWithMagick(bytes, "PSD"));
    if (LooksLikePict(bytes))
        return DecodePict(bytes);
    return WithResolution(DecodeWithQt(bytes));
}

} // namespace backdrop
