// QuickDraw pictures as a resource holds them (bare) and as a file holds them (behind a 512-byte header):
// the opcode walk and ImageMagick's decoding. A picture handed back has pixels and ran to its end.
#include "FuzzSupport.h"
#include "core/PictOpcodes.h"
#include "core/PictureDecoders.h"

namespace {

void Run(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const backdrop::DecodedPicture d = backdrop::DecodePict(bytes);
    if (d.image.isNull() == d.error.isEmpty())
        fuzz::Broken("a picture or a reason, never both or neither", d.error);
    if (!d.image.isNull() && !backdrop::PictRunsToEnd(bytes.sliced(backdrop::PictDataOffset(bytes))))
        fuzz::Broken("only a complete picture is decoded");
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
