// Plain backdrop pictures recognised from their content: TIFF, JPEG, BMP, PNG and PDF through Qt's readers,
// PSD and PICT through ImageMagick. A picture is handed back with a reason when it is not, within the
// size limits, with a usable resolution.
#include "platform/Picture.h"
#include "FuzzSupport.h"
#include "core/PictureDecoders.h"

namespace {

void Run(const std::uint8_t* data, std::size_t size) {
    const backdrop::DecodedPicture d = backdrop::DecodePicture(QByteArrayView(data, qsizetype(size)));
    if (d.Decoded() != d.error.isEmpty())
        fuzz::Broken("a picture or a reason, never both or neither", d.error);
    if (d.error.contains("error/") || d.error.contains(" @ "))
        fuzz::Broken("reasons are in the program's words", d.error);
    if (!d.Decoded())
        return;
    if (d.planes.IsValid() ? !platform::PictureFits(d.planes.width, d.planes.height, 8) ||
                                 d.planes.Bytes() > platform::MaxPictureBytes
                           : !platform::PictureFits(d.image.width(), d.image.height(), d.image.depth()))
        fuzz::Broken("a picture within the limits");
    if (d.horizontalResolution < 1 || d.verticalResolution < 1)
        fuzz::Broken("a resolution of at least 1 dpi");
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
