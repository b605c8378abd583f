#include "platform/Picture.h"

#include "platform/Graphics.h"

#include <QImageReader>
#include <algorithm>
#include <atomic>
#include <new>
#include <utility>

namespace platform {

namespace {
int dpiFromDpm(int dpm) {
    return qRound(dpm * 0.0254);
}
int dpmFromDpi(int dpi) {
    return qRound(dpi / 0.0254);
}

int reportedDepth(int depth) {
    switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return depth;
    default:
        return 32;
    }
}

bool greyTable(const QImage& image) {
    const QList<QRgb> table = image.colorTable();
    return !table.isEmpty() && std::all_of(table.begin(), table.end(), [](QRgb c) {
        return qAlpha(c) == 255 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
    });
}

int bitsPerPixel(QImage::Format format) {
    return QImage::toPixelFormat(format).bitsPerPixel();
}

// One-bit pictures are kept black first: Qt's PDF output writes those as one-bit images, and converts
// any other to 32-bit colour first.
QImage blackFirst(QImage image) {
    if (image.format() == QImage::Format_MonoLSB)
        image = std::move(image).convertToFormat(QImage::Format_Mono);
    const QList<QRgb> table = image.colorTable();
    if (table.size() == 2 && table[0] == qRgb(255, 255, 255) && table[1] == qRgb(0, 0, 0)) {
        image.invertPixels();
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    }
    return image;
}
// The size a reader's decoder will produce, as its header states it (at the scaled size when one is
// set); negative when it states none. Qt's BMP reader states the height of a picture stored top down as
// negative, and decodes that many rows all the same.
std::pair<qint64, qint64> decodedSize(QImageReader& reader) {
    const QSize stated = reader.scaledSize().isValid() ? reader.scaledSize() : reader.size();
    const qint64 width = stated.width(), height = stated.height();
    if (reader.format() == "bmp" && width >= 0 && height < 0)
        return {width, -height};
    return {width, height};
}
} // namespace

bool PictureFits(qint64 width, qint64 height, int bitsPerPixel) {
    if (width <= 0 || height <= 0 || width > MaxPictureSide || height > MaxPictureSide || bitsPerPixel <= 0)
        return false;
    return (width * bitsPerPixel + 7) / 8 * height <= MaxPictureBytes;
}

QImage::Format KeptFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        if (image.colorCount() == 2 && greyTable(image))
            return QImage::Format_Mono;
        break;
    case QImage::Format_Indexed8:
        if (greyTable(image))
            return QImage::Format_Grayscale8;
        break;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return QImage::Format_Grayscale8;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image.format();
    default:
        break;
    }
    return image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

int PeakBitsPerPixel(QImage::Format decoded) {
    switch (decoded) {
    case QImage::Format_Invalid:
        return 64; // unknown: a 32-bit image and a 32-bit copy
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return bitsPerPixel(decoded);
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale16:
        return bitsPerPixel(decoded) + 8;
    default:
        return bitsPerPixel(decoded) + 32;
    }
}

QString PictureTooLarge(qint64 width, qint64 height) {
    return QStringLiteral("Memory short! The picture is too large (%1 x %2 pixels).").arg(width).arg(height);
}

QString PictureDamaged() {
    return QStringLiteral("The picture is damaged or incomplete.");
}

QString PictureKindUnknown() {
    return QStringLiteral("This kind of picture cannot be read.");
}

QString RefusedFromHeader(QImageReader& reader, bool* tooLarge) {
    if (tooLarge)
        *tooLarge = false;
    if (reader.format().isEmpty())
        return PictureKindUnknown();
    const auto [width, height] = decodedSize(reader);
    if (width < 0 || height < 0)
        return {}; // no size stated: the decoded picture is checked
    if (width == 0 || height == 0)
        return PictureDamaged(); // a header that states no pixels
    if (!PictureFits(width, height, PeakBitsPerPixel(reader.imageFormat()))) {
        if (tooLarge)
            *tooLarge = true;
        return PictureTooLarge(width, height);
    }
    return {};
}

QImage DecodeWithinLimits(QImageReader& reader, QString* why, bool* tooLarge) {
    auto fail = [why, tooLarge](const QString& reason, bool large = false) {
        if (why)
            *why = reason;
        if (tooLarge)
            *tooLarge = large;
        return QImage();
    };
    reader.setAllocationLimit(int(MaxPictureBytes >> 20));
    QImage image;
    try {
        image = reader.read();
    } catch (const std::bad_alloc&) {
        const auto [width, height] = decodedSize(reader);
        return fail(PictureTooLarge(width, height), true);
    }
    if (image.isNull())
        return fail(reader.error() == QImageReader::UnsupportedFormatError ? PictureKindUnknown()
                                                                           : PictureDamaged());
    if (!PictureFits(image.width(), image.height(), image.depth()))
        return fail(PictureTooLarge(image.width(), image.height()), true);
    return image;
}

QImage ReadWithinLimits(QImageReader& reader, QString* why, bool* tooLarge) {
    bool large = false;
    if (const QString refused = RefusedFromHeader(reader, &large); !refused.isEmpty()) {
        if (why)
            *why = refused;
        if (tooLarge)
            *tooLarge = large;
        return QImage();
    }
    return DecodeWithinLimits(reader, why, tooLarge);
}

Picture::Picture(QImage image, int depth) : image_(std::move(image)) {
    if (!image_.isNull()) {
        const QImage::Format kept = KeptFormat(image_);
        if (kept == QImage::Format_Mono) {
            image_ = blackFirst(std::move(image_));
        } else if (kept != image_.format()) {
            // A short colour table is filled up as Qt fills it for 32-bit conversions, so that no pixel
            // points past it.
            if (image_.format() == QImage::Format_Indexed8 && image_.colorCount() < 256) {
                QList<QRgb> table = image_.colorTable();
                table.resize(256, qRgb(0, 0, 0));
                image_.setColorTable(table);
            }
            image_ = std::move(image_).convertToFormat(kept);
        }
    }
    depth_ = depth > 0 ? depth : image_.isNull() ? 32 : image_.depth();
    if (const int dpi = dpiFromDpm(image_.dotsPerMeterX()); dpi > 0)
        hres_ = dpi;
    if (const int dpi = dpiFromDpm(image_.dotsPerMeterY()); dpi > 0)
        vres_ = dpi;
}

Picture::Picture(ColourPlanes planes) : planes_(std::move(planes)) {
    static std::atomic<std::uint64_t> serial{0};
    planesKey_ = ++serial;
    if (const int dpi = dpiFromDpm(planes_->dotsPerMeterX); dpi > 0)
        hres_ = dpi;
    if (const int dpi = dpiFromDpm(planes_->dotsPerMeterY); dpi > 0)
        vres_ = dpi;
}

// The graphics paints on image_, so it must end before the image goes.
Picture::~Picture() {
    graphics_.reset();
}

void Picture::SetHorizontalResolution(int dpi) {
    if (dpi < 1)
        return;
    endPainting();
    hres_ = dpi;
    if (!planes_)
        image_.setDotsPerMeterX(dpmFromDpi(dpi));
}

void Picture::SetVerticalResolution(int dpi) {
    if (dpi < 1)
        return;
    endPainting();
    vres_ = dpi;
    if (!planes_)
        image_.setDotsPerMeterY(dpmFromDpi(dpi));
}

Graphics& Picture::Graphics() {
    if (!graphics_) {
        unpack();
        if (image_.format() == QImage::Format_Mono)
            image_ = std::move(image_).convertToFormat(QImage::Format_Grayscale8);
        graphics_ = std::make_unique<platform::Graphics>(image_);
    }
    return *graphics_;
}

const QImage& Picture::Image() const {
    unpack();
    endPainting();
    return image_;
}

// Planes become 32-bit colour for good. Only the rare callers that need the whole picture as an image ask
// for it; when memory is short the planes stay and the image is null.
void Picture::unpack() const {
    if (!planes_)
        return;
    QImage image = PlanesToRgb(*planes_, QRect(0, 0, planes_->width, planes_->height));
    if (image.isNull())
        return;
    image.setDotsPerMeterX(dpmFromDpi(hres_));
    image.setDotsPerMeterY(dpmFromDpi(vres_));
    image_ = std::move(image);
    planes_.reset();
}

void Picture::endPainting() const {
    if (graphics_)
        graphics_->End();
}

std::shared_ptr<Picture> PictureFromImage(QImage image) {
    if (image.isNull())
        return nullptr;
    const QImage::Format kept = KeptFormat(image);
    // The image and its converted copy live side by side while it is converted.
    const int bits = image.depth() + (kept == image.format() ? 0 : bitsPerPixel(kept));
    if (!PictureFits(image.width(), image.height(), bits))
        return nullptr;
    try {
        auto picture = std::make_shared<Picture>(std::move(image));
        return picture->Image().isNull() ? nullptr : picture;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::shared_ptr<Picture> NewPicture(int width, int height, int depth) {
    const QImage::Format format = depth >= 1 && depth <= 8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    if (!PictureFits(width, height, bitsPerPixel(format)))
        return nullptr;
    try {
        QImage image(width, height, format);
        if (image.isNull())
            return nullptr;
        image.fill(Qt::white);
        image.setDotsPerMeterX(dpmFromDpi(DefaultResolution));
        image.setDotsPerMeterY(dpmFromDpi(DefaultResolution));
        return std::make_shared<Picture>(std::move(image), reportedDepth(depth));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace platform
