// Whether a picture file states its resolution. Qt's readers leave the screen's default resolution on an
// image whose file states none; such a picture is taken as 72 dpi, as pictures without one usually are.
#include "core/Bytes.h"
#include "core/PictureDecoders.h"

namespace backdrop {

namespace {

// The JFIF segment's density unit (1 dots per inch, 2 per centimetre); libjpeg reads markers up to the scan.
bool JpegStatesResolution(QByteArrayView b) {
    qint64 at = 2;
    while (true) {
        if (!HasBytes(b, at, 2) || std::uint8_t(b[at]) != 0xFF)
            return false;
        const std::uint8_t marker = std::uint8_t(b[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        const auto length = U16BE(b, at + 2);
        if (!length || *length < 2)
            return false;
        const auto segment = Slice(b, at + 4, *length - 2);
        if (marker == 0xE0 && segment && segment->size() >= 8 &&
            segment->startsWith(QByteArrayView("JFIF\0", 5)))
            return (*segment)[7] == 1 || (*segment)[7] == 2;
        at += 2 + *length;
    }
}

// A pHYs chunk in metres before the image data.
bool PngStatesResolution(QByteArrayView b) {
    qint64 at = 8;
    while (const auto length = U32BE(b, at)) {
        const auto type = Slice(b, at + 4, 4);
        if (!type || *type == "IDAT" || *type == "IEND")
            return false;
        if (*type == "pHYs") {
            const auto unit = Slice(b, at + 8 + 8, 1);
            return unit && (*unit)[0] == 1;
        }
        at += 12 + qint64(*length);
    }
    return false;
}

bool BmpStatesResolution(QByteArrayView b) {
    const auto headerSize = U32LE(b, 14);
    if (!headerSize || *headerSize < 40)
        return false;
    const auto perMetre = U32LE(b, 38);
    return perMetre && std::int32_t(*perMetre) > 0;
}

// X and Y resolution tags in the first directory, in any unit but "none" (inches when no unit is given).
bool TiffStatesResolution(QByteArrayView b) {
    const bool big = b.startsWith("MM");
    const auto magic = ReadUInt(b, 2, 2, big);
    if (magic == 43u)
        return true; // BigTIFF: trust the reader
    const auto directory = ReadUInt(b, 4, 4, big);
    if (magic != 42u || !directory)
        return false;
    const auto count = ReadUInt(b, *directory, 2, big);
    if (!count)
        return false;
    bool x = false, y = false;
    std::uint32_t unit = 2;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const qint64 entry = qint64(*directory) + 2 + 12 * qint64(i);
        const auto tag = ReadUInt(b, entry, 2, big);
        if (!tag)
            break;
        if (*tag == 282)
            x = true;
        else if (*tag == 283)
            y = true;
        else if (*tag == 296)
            unit = ReadUInt(b, entry + 8, 2, big).value_or(2);
    }
    return x && y && unit != 1;
}

} // namespace

bool StatesResolution(QByteArrayView bytes, const QByteArray& qtFormat) {
    if (qtFormat == "jpeg" || qtFormat == "jpg")
        return JpegStatesResolution(bytes);
    if (qtFormat == "png")
        return PngStatesResolution(bytes);
    if (qtFormat == "bmp")
        return BmpStatesResolution(bytes);
    if (qtFormat == "tiff" || qtFormat == "tif")
        return TiffStatesResolution(bytes);
    return true;
}

} // namespace backdrop
