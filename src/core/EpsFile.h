// The two kinds of EPS file: the PostScript text header, the DOS EPS binary header with its TIFF preview,
// and the scan of the document structuring comments for the bounding box and the title.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace backdrop {

// The first line declares PostScript level 3 and EPSF ("%!PS-Adobe-3." and "EPSF" anywhere in it).
bool HasEpsTextHeader(QByteArrayView file);

// The DOS EPS binary header: 30 little-endian bytes at the start of the file, magic C5 D0 D3 C6.
struct DosEpsHeader {
    std::int32_t postScriptStart = 0;
    std::int32_t postScriptLength = 0;
    std::uint32_t metafileStart = 0;
    std::uint32_t metafileLength = 0;
    std::uint32_t tiffStart = 0;
    std::uint32_t tiffLength = 0;
};
// Nothing when the file does not begin with the magic; fields past the end of a short file read as 0.
std::optional<DosEpsHeader> ReadDosEpsHeader(QByteArrayView file);

// The TIFF preview's bytes: the section the header names when it lies within the file, otherwise
// everything after the PostScript section. Empty when that lies outside the file.
QByteArrayView DosEpsPreview(QByteArrayView file, const DosEpsHeader& header);

// Whole PostScript points of a "%%BoundingBox:" line.
struct BoundingBox {
    int llx = 0, lly = 0, urx = 0, ury = 0;
};
struct StructuringComments {
    std::optional<BoundingBox> boundingBox; // the last one seen
    std::optional<QString> title;           // the last one seen
};
// Reads lines from byte start on until "%%BeginResource:" or the last line of the file (which is never
// examined). A start outside the file reads nothing.
StructuringComments ScanStructuringComments(QByteArrayView file, qint64 start);

} // namespace backdrop
