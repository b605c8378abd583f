// The containers around backdrop pictures, without decoding a picture: the EPS text header and its
// structuring comments, the DOS EPS header and its preview section, the AppleDouble companion and the
// resource fork in it, the PICT opcodes and the resolution fields of JPEG, PNG, BMP and TIFF headers.
// Every part handed back must lie within the bytes.
#include "FuzzSupport.h"
#include "core/EpsFile.h"
#include "core/MacResources.h"
#include "core/PictOpcodes.h"
#include "core/PictureDecoders.h"

namespace {

void Within(QByteArrayView part, QByteArrayView whole, const char* what) {
    if (!part.isEmpty() &&
        (part.data() < whole.data() || part.data() + part.size() > whole.data() + whole.size()))
        fuzz::Broken(what);
}

void Run(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    backdrop::HasEpsTextHeader(bytes);
    backdrop::ScanStructuringComments(bytes, 0);
    if (const auto dos = backdrop::ReadDosEpsHeader(bytes)) {
        Within(backdrop::DosEpsPreview(bytes, *dos), bytes, "the DOS EPS preview lies within the file");
        backdrop::ScanStructuringComments(bytes, dos->postScriptStart);
    }
    if (const auto fork = backdrop::AppleDoubleResourceFork(bytes)) {
        Within(*fork, bytes, "the resource fork lies within the companion");
        if (const auto pict = backdrop::FindResource(*fork, "PICT", 256))
            Within(*pict, *fork, "the resource lies within the fork");
    }
    if (const auto resource = backdrop::FindResource(bytes, "PICT", 256))
        Within(*resource, bytes, "the resource lies within the fork");
    if (backdrop::LooksLikePict(bytes))
        backdrop::PictRunsToEnd(bytes.sliced(backdrop::PictDataOffset(bytes)));
    for (const char* format : {"jpeg", "png", "bmp", "tiff"})
        backdrop::StatesResolution(bytes, format);
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
