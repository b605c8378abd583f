#include "core/MagickDecoder.h"

#include "core/Bytes.h"
#include "platform/Picture.h"

#include <Magick++.h>
#include <cmath>
#include <memory>
#include <mutex>

namespace backdrop {

namespace {

struct ImageListDeleter {
    void operator()(MagickCore::Image* image) const { MagickCore::DestroyImageList(image); }
};
using ImagePtr = std::unique_ptr<MagickCore::Image, ImageListDeleter>;

struct Exception {
    Exception() : info(MagickCore::AcquireExceptionInfo()) {}
    ~Exception() { MagickCore::DestroyExceptionInfo(info); }
    Exception(const Exception&) = delete;
    Exception& operator=(const Exception&) = delete;
    MagickCore::ExceptionInfo* info;
};

struct Info {
    explicit Info(const char* coder) : info(MagickCore::AcquireImageInfo()) {
        MagickCore::CopyMagickString(info->magick, coder, MaxTextExtent);
        info->filename[0] = '\0';
        info->scene = 0; // a PSD's first image is the flattened composite
        info->number_scenes = 1;
    }
    ~Info() { MagickCore::DestroyImageInfo(info); }
    Info(const Info&) = delete;
    Info& operator=(const Info&) = delete;
    MagickCore::ImageInfo* info;
};

// The program's own limits; a lower one of the system's policy still applies. A pixel cache beyond the
// memory limit goes to a temporary file, within the same bound.
void InitialiseMagick() {
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        Magick::ResourceLimits::memory(platform::MaxPictureBytes);
        Magick::ResourceLimits::map(platform::MaxPictureBytes);
        Magick::ResourceLimits::disk(platform::MaxPictureBytes);
        Magick::ResourceLimits::area(platform::MaxPictureBytes * 8 / MagickPeakBitsPerPixel("PSD"));
        Magick::ResourceLimits::width(platform::MaxPictureSide);
        Magick::ResourceLimits::height(platform::MaxPictureSide);
    });
}

// Within our limits and within Magick's own, which the system's policy may have set lower.
bool Fits(qint64 width, qint64 height, const char* coder) {
    return platform::PictureFits(width, height, MagickPeakBitsPerPixel(coder)) &&
           width <= qint64(Magick::ResourceLimits::width()) &&
           height <= qint64(Magick::ResourceLimits::height()) &&
           width * height <= qint64(Magick::ResourceLimits::area());
}

// Magick's reasons carry its own source positions; the user gets ours.
DecodedPicture FailedWith(const MagickCore::ExceptionInfo& e, qint64 width, qint64 height) {
    switch (e.severity) {
    case MagickCore::ResourceLimitWarning:
    case MagickCore::ResourceLimitError:
    case MagickCore::ResourceLimitFatalError:
        return Refused(platform::PictureTooLarge(width, height), true);
    case MagickCore::MissingDelegateWarning:
    case MagickCore::MissingDelegateError:
    case MagickCore::PolicyWarning:
    case MagickCore::PolicyError:
        return Refused(platform::PictureKindUnknown());
    default:
        return Refused(platform::PictureDamaged());
    }
}

// A read is refused on an error, and on a warning that the picture's data is damaged or cut short.
bool Refused(const MagickCore::ExceptionInfo& e) {
    return e.severity >= MagickCore::ErrorException || e.severity == MagickCore::CorruptImageWarning;
}

// The size a Photoshop file's header states (version 1, or 2 for a large document); Magick refuses a
// picture beyond its limits with no word of its size. Nothing for other coders.
std::pair<qint64, qint64> HeaderSize(QByteArrayView bytes, const char* coder) {
    if (qstrcmp(coder, "PSD") != 0)
        return {0, 0};
    const auto version = U16BE(bytes, 4), width = U32BE(bytes, 18), height = U32BE(bytes, 14);
    if ((version != 1u && version != 2u) || !width || !height)
        return {0, 0};
    return {*width, *height};
}

int MagickDotsPerInch(double value, MagickCore::ResolutionType units) {
    if (units == MagickCore::PixelsPerCentimeterResolution)
        value *= 2.54;
    else if (units != MagickCore::PixelsPerInchResolution)
        return kUnstatedResolution;
    const long dpi = std::lround(value);
    return dpi > 0 && dpi <= 1000000 ? int(dpi) : kUnstatedResolution;
}

} // namespace

int MagickPeakBitsPerPixel(const char* coder) {
    return qstrcmp(coder, "PICT") == 0 ? 448 : 160;
}

DecodedPicture DecodeWithMagick(QByteArrayView bytes, const char* coder) {
    InitialiseMagick();
    if (bytes.isEmpty())
        return Refused(platform::PictureDamaged());
    if (const auto [w, h] = HeaderSize(bytes, coder); w > 0 && h > 0 && !Fits(w, h, coder))
        return Refused(platform::PictureTooLarge(w, h), true);
    const Info info(coder);
    Exception e;
    qint64 w = 0, h = 0;
    {
        // The blob is read where it lies: nothing is copied.
        const ImagePtr probe(MagickCore::PingBlob(info.info, bytes.data(), size_t(bytes.size()), e.info));
        if (!probe || Refused(*e.info))
            return FailedWith(*e.info, 0, 0);
        w = qint64(probe->columns), h = qint64(probe->rows);
    }
    if (w <= 0 || h <= 0)
        return Refused(platform::PictureDamaged());
    if (!Fits(w, h, coder))
        return Refused(platform::PictureTooLarge(w, h), true);

    const ImagePtr image(MagickCore::BlobToImage(info.info, bytes.data(), size_t(bytes.size()), e.info));
    if (!image || Refused(*e.info))
        return FailedWith(*e.info, w, h);
    w = qint64(image->columns), h = qint64(image->rows);
    if (w <= 0 || h <= 0)
        return Refused(platform::PictureDamaged());
    if (!Fits(w, h, coder))
        return Refused(platform::PictureTooLarge(w, h), true);

    const bool grey = !image->matte && MagickCore::IsGrayImage(image.get(), e.info);
    DecodedPicture d;
    d.image = QImage(int(w), int(h),
                     grey           ? QImage::Format_Grayscale8
                     : image->matte ? QImage::Format_ARGB32
                                    : QImage::Format_RGB32);
    if (d.image.isNull())
        return Refused(platform::PictureTooLarge(w, h), true);
    // A row at a time: Qt pads rows to whole 32-bit words. 32-bit pixels are native-endian words, and an
    // opaque picture's alpha is written as 255.
    const char* map = grey ? "I" : QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "BGRA" : "ARGB";
    for (qint64 y = 0; y < h; ++y) {
        if (!MagickCore::ExportImagePixels(image.get(), 0, ssize_t(y), size_t(w), 1, map,
                                           MagickCore::CharPixel, d.image.scanLine(int(y)), e.info))
            return FailedWith(*e.info, w, h);
    }
    d.horizontalResolution = MagickDotsPerInch(image->x_resolution, image->units);
    d.verticalResolution = MagickDotsPerInch(image->y_resolution, image->units);
    return d;
}

} // namespace backdrop
