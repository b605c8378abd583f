// Whether a picture file holds every row its header announces. Qt's BMP and JPEG readers decode a file cut
// short into a whole picture, its missing rows left black or grey, without a word.
#include "core/Bytes.h"
#include "core/PictureDecoders.h"

#include <algorithm>
#include <cstdlib>

namespace backdrop {

namespace {

enum BmpCompression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

// Run-length coded rows from start: complete at the end-of-picture code or after the last row. A run is a
// count and a value; a count of 0 is an escape: end of line (0), end of picture (1), a jump (2, then across
// and down) or as many pixels as its code given one by one, padded to a 16-bit boundary.
bool RunLengthRowsComplete(QByteArrayView b, qint64 start, qint64 rows, bool fourBits) {
    qint64 at = start, row = 0;
    while (row < rows) {
        if (!HasBytes(b, at, 2))
            return false;
        const std::uint8_t count = std::uint8_t(b[at]), code = std::uint8_t(b[at + 1]);
        at += 2;
        if (count > 0)
            continue;
        if (code == 0) {
            ++row;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (!HasBytes(b, at, 2))
                return false;
            row += std::uint8_t(b[at + 1]);
            at += 2;
        } else {
            const qint64 bytes = fourBits ? (code + 1) / 2 : code;
            at += (bytes + 1) & ~qint64(1);
            if (at > b.size())
                return false;
        }
    }
    return true;
}

struct BmpHeader {
    qint64 columns = 0, rows = 0; // rows counted whichever way they are stored
    std::uint32_t bits = 0, compression = Rgb;
    qint64 pixelsStart = 0;
};

// The header of a BMP file as Qt's reader takes it: a 12-byte OS/2 header or one of 40 bytes or more.
std::optional<BmpHeader> ReadBmpHeader(QByteArrayView b) {
    const auto offset = U32LE(b, 10), headerSize = U32LE(b, 14);
    if (!b.startsWith("BM") || !offset || !headerSize)
        return std::nullopt;
    const bool os2 = *headerSize == 12;
    if (!os2 && *headerSize < 40)
        return std::nullopt;
    const auto width = os2 ? U16LE(b, 18) : U32LE(b, 18), height = os2 ? U16LE(b, 20) : U32LE(b, 22);
    const auto bits = U16LE(b, os2 ? 24 : 28);
    const auto compression = os2 ? std::optional<std::uint32_t>(Rgb) : U32LE(b, 30);
    if (!width || !height || !bits || !compression)
        return std::nullopt;
    BmpHeader h;
    h.columns = os2 ? qint64(*width) : qint64(std::int32_t(*width));
    h.rows = os2 ? qint64(*height) : std::abs(qint64(std::int32_t(*height)));
    h.bits = *bits;
    h.compression = *compression;
    // The pixels start at the offset the file header gives, which Qt's reader ignores when it points into
    // the headers; then they follow the colour table.
    const qint64 headersEnd = 14 + qint64(*headerSize);
    h.pixelsStart = qint64(*offset);
    if (h.pixelsStart < headersEnd) {
        const auto used = os2 ? std::optional<std::uint32_t>(0) : U32LE(b, 46);
        const qint64 colours = h.bits <= 8 ? (used && *used ? qint64(*used) : qint64(1) << h.bits) : 0;
        h.pixelsStart = headersEnd + colours * (os2 ? 3 : 4);
    }
    return h;
}

bool BmpHoldsEveryRow(QByteArrayView b) {
    const auto h = ReadBmpHeader(b);
    if (!h)
        return false;
    if (h->columns <= 0 || h->rows <= 0)
        return true; // no pixels: refused as such
    switch (h->compression) {
    case Rgb:
    case BitFields:
    case AlphaBitFields: {
        const qint64 rowBytes = (h->columns * h->bits + 31) / 32 * 4;
        return h->pixelsStart <= b.size() && rowBytes <= (b.size() - h->pixelsStart) / h->rows;
    }
    case Rle8:
    case Rle4:
        return RunLengthRowsComplete(b, h->pixelsStart, h->rows, h->compression == Rle4);
    default:
        return true; // a kind Qt's reader refuses
    }
}

// The markers up to the first scan, then the end-of-picture marker somewhere after it: inside the coded
// data every 0xFF byte is followed by 0 or a restart marker, so only the end can read 0xFF 0xD9.
bool JpegHoldsEveryRow(QByteArrayView b) {
    qint64 at = 2;
    while (true) {
        if (!HasBytes(b, at, 2))
            return false;
        if (std::uint8_t(b[at]) != 0xFF)
            return true; // not the markers libjpeg reads: it judges the file
        const std::uint8_t marker = std::uint8_t(b[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9)
            return false; // ends before any scan
        const auto length = U16BE(b, at + 2);
        if (!length)
            return false;
        at += 2 + *length;
        if (marker == 0xDA)
            return b.sliced(std::min(at, b.size())).indexOf(QByteArrayView("\xFF\xD9", 2)) >= 0;
    }
}

} // namespace

std::optional<StatedSize> BmpStatedSize(QByteArrayView bytes) {
    const auto h = ReadBmpHeader(bytes);
    if (!h || h->columns <= 0 || h->rows <= 0)
        return std::nullopt;
    const QImage::Format format = h->bits == 1   ? QImage::Format_Mono
                                  : h->bits <= 8 ? QImage::Format_Indexed8
                                                 : QImage::Format_RGB32;
    return StatedSize{h->columns, h->rows, format};
}

bool HoldsEveryRow(QByteArrayView bytes, const QByteArray& qtFormat) {
    if (qtFormat == "bmp")
        return BmpHoldsEveryRow(bytes);
    if (qtFormat == "jpeg" || qtFormat == "jpg")
        return JpegHoldsEveryRow(bytes);
    return true;
}

} // namespace backdrop
