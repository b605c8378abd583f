// Reading a backdrop picture file: a text-header EPS with its preview in the resource fork, a DOS EPS with
// its TIFF preview, or a plain picture, and the picture's size and origin in millimetres.
#include "core/EpsFile.h"
#include "core/MacResources.h"
#include "core/PictureDecoders.h"
#include "core/QVutils.h"
#include "platform/Exceptions.h"
#include "platform/UserQuestions.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace QVutils {

namespace {

// A whole file's bytes, mapped rather than copied where the system allows.
class FileBytes {
public:
    explicit FileBytes(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::ReadOnly))
            return;
        const qint64 size = file_.size();
        if (const uchar* mapped = size > 0 ? file_.map(0, size) : nullptr) {
            view_ = QByteArrayView(mapped, size);
        } else {
            copy_ = file_.readAll();
            if (copy_.size() != size)
                return;
            view_ = copy_;
        }
        ok_ = true;
    }
    bool ok() const { return ok_; }
    // The system's reason when the file could not be read.
    QString error() const { return file_.errorString(); }
    QByteArrayView bytes() const { return view_; }

private:
    QFile file_;
    QByteArray copy_;
    QByteArrayView view_;
    bool ok_ = false;
};

// A preview too large to build is refused with the memory message; one that cannot be read is no preview.
QImage Preview(const backdrop::DecodedPicture& decoded) {
    if (decoded.tooLarge)
        throw platform::NilObjectException(decoded.error);
    return decoded.image;
}

// The PICT resource 256 of the file's resource fork, kept beside it in its AppleDouble companion.
QImage ResourceForkPreview(const QString& path) {
    const FileBytes companion(backdrop::AppleDoublePath(path));
    if (!companion.ok())
        return {};
    const auto fork = backdrop::AppleDoubleResourceFork(companion.bytes());
    const auto pict = fork ? backdrop::FindResource(*fork, "PICT", 256) : std::nullopt;
    return pict ? Preview(backdrop::DecodePict(*pict)) : QImage();
}

} // namespace

double PntTOmms(std::int32_t points) {
    return double(points) / 2.834645669291339;
}

QImage OpenAsEPSpict(const QString& path) {
    EPS = false;
    EPStitle = "";
    EPSBoundBoxX = 0;
    EPSBoundBoxY = 0;
    if (path.isEmpty())
        return {};
    try {
        const FileBytes file(path);
        if (!file.ok())
            throw platform::NilObjectException(file.error());
        const QByteArrayView bytes = file.bytes();
        if (backdrop::HasEpsTextHeader(bytes))
            EPS = true;

        qint64 postScriptStart = 0;
        QImage picture;
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
                EPSbbWidth = PntTOmms(bb.urx - bb.llx);
                EPSbbHeight = PntTOmms(bb.ury - bb.lly);
            }
            if (comments.title)
                EPStitle = *comments.title;
            return picture;
        }

        backdrop::DecodedPicture plain = backdrop::DecodePicture(bytes);
        if (plain.image.isNull())
            throw platform::NilObjectException(plain.error);
        // A resolution of 0 or less would make the size infinite: such a setting is not applied.
        if (plain.horizontalResolution == 72 && EPSjpgResolution > 0) {
            plain.horizontalResolution = plain.verticalResolution = EPSjpgResolution;
            const int dpm = int(std::lround(EPSjpgResolution / 0.0254));
            plain.image.setDotsPerMeterX(dpm);
            plain.image.setDotsPerMeterY(dpm);
        }
        EPSbbWidth = double(plain.image.width()) / double(plain.horizontalResolution) * 25.4;
        EPSbbHeight = double(plain.image.height()) / double(plain.verticalResolution) * 25.4;
        return plain.image;
    } catch (const platform::NilObjectException& e) {
        platform::MsgBox("Sorry - Can't load this picture - " + QFileInfo(path).fileName() + " " + e.Message);
        return {};
    }
}

} // namespace QVutils
