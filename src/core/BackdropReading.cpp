// Reading a backdrop picture file: a text-header EPS with its preview in the resource fork, a DOS EPS with
// its TIFF preview, or a plain picture, and the picture's size and origin in millimetres.
#include "core/EpsFile.h"
#include "core/MacResources.h"
#include "core/PictureDecoders.h"
#include "core/QVutils.h"
#include "platform/Exceptions.h"
#include "platform/FolderItem.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/UserQuestions.h"

namespace QVutils {

namespace {

// The picture of a decoded image; refused with the memory message when keeping it in its own depth
// would pass the limits (a conversion needs room for both copies).
std::shared_ptr<platform::Picture> ToPicture(QImage image) {
    const qint64 width = image.width(), height = image.height();
    auto picture = platform::PictureFromImage(std::move(image));
    if (!picture)
        throw platform::NilObjectException(platform::PictureTooLarge(width, height));
    return picture;
}

// The picture of what was decoded: a colour JPEG's planes as they are, anything else as its image.
std::shared_ptr<platform::Picture> ToPicture(backdrop::DecodedPicture decoded) {
    if (decoded.planes.IsValid())
        return std::make_shared<platform::Picture>(std::move(decoded.planes));
    return ToPicture(std::move(decoded.image));
}

// A preview too large to build is refused with the memory message; one that cannot be read is no preview.
std::shared_ptr<platform::Picture> Preview(backdrop::DecodedPicture decoded) {
    if (decoded.tooLarge)
        throw platform::NilObjectException(decoded.error);
    return decoded.Decoded() ? ToPicture(std::move(decoded)) : nullptr;
}

// The PICT resource 256 of the file's resource fork, kept beside it in its AppleDouble companion.
std::shared_ptr<platform::Picture> ResourceForkPreview(const QString& path) {
    const auto companion = platform::FolderItem(backdrop::AppleDoublePath(path)).OpenAsBytes();
    if (!companion)
        return nullptr;
    const auto fork = backdrop::AppleDoubleResourceFork(companion->Bytes());
    const auto pict = fork ? backdrop::FindResource(*fork, "PICT", 256) : std::nullopt;
    return pict ? Preview(backdrop::DecodePict(*pict)) : nullptr;
}

} // namespace

double PntTOmms(std::int32_t points) {
    return double(points) / 2.834645669291339;
}

std::shared_ptr<platform::Picture> OpenAsEPSpict(const std::shared_ptr<platform::FolderItem>& f) {
    EPS = false;
    EPStitle = "";
    EPSBoundBoxX = 0;
    EPSBoundBoxY = 0;
    if (!f)
        return nullptr;
    try {
        const QString path = f->AbsolutePath();
        QString why;
        const auto file = f->OpenAsBytes(&why);
        if (!file)
            throw platform::NilObjectException(why);
        const QByteArrayView bytes = file->Bytes();
        if (backdrop::HasEpsTextHeader(bytes))
            EPS = true;

        qint64 postScriptStart = 0;
        std::shared_ptr<platform::Picture> picture;
        if (const auto dos = backdrop::ReadDosEpsHeader(bytes)) {
            EPS = true;
            postScriptStart = dos->postScriptStart;
            // Decoded straight from the file's bytes: no temporary copy of the preview is written.
            const QByteArrayView preview = backdrop::DosEpsPreview(bytes, *dos);
            if (!preview.isEmpty())
                picture = Preview(backdrop::DecodePicture(preview));
        } else if (EPS) {
            picture = ResourceForkPreview(path);
        }

        if (EPS) {
            const auto comments = backdrop::ScanStructuringComments(bytes, postScriptStart);
            if (comments.boundingBox) {
                const auto& bb = *comments.boundingBox;
                EPSBoundBoxX = PntTOmms(bb.llx);
                EPSBoundBoxY = PntTOmms(bb.lly);
                // Differences of extreme values saturate instead of overflowing.
                EPSbbWidth = PntTOmms(platform::Int(double(bb.urx) - bb.llx));
                EPSbbHeight = PntTOmms(platform::Int(double(bb.ury) - bb.lly));
            }
            if (comments.title)
                EPStitle = *comments.title;
            // Only the preview of an EPS can be shown; without one there is nothing to place numbers on.
            if (!picture)
                throw platform::NilObjectException(
                    QStringLiteral("This EPS holds no preview picture to show."));
            return picture;
        }

        backdrop::DecodedPicture decoded = backdrop::DecodePicture(bytes);
        if (!decoded.Decoded())
            throw platform::NilObjectException(decoded.error);
        // Moved, not shared: setting the resolution below would otherwise copy the pixels.
        picture = ToPicture(std::move(decoded));
        // A setting below 1 dpi is not applied: it would make the size infinite.
        if (picture->HorizontalResolution() == 72) {
            picture->SetHorizontalResolution(EPSjpgResolution);
            picture->SetVerticalResolution(EPSjpgResolution);
        }
        EPSbbWidth = double(picture->Width()) / double(picture->HorizontalResolution()) * 25.4;
        EPSbbHeight = double(picture->Height()) / double(picture->VerticalResolution()) * 25.4;
        return picture;
    } catch (const platform::NilObjectException& e) {
        // The name is quoted, so that it does not run into the reason.
        platform::MsgBox("Sorry - Can't load this picture - \u201c" + f->Name() + "\u201d: " + e.Message);
        return nullptr;
    }
}

} // namespace QVutils
