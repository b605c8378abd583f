#include "platform/Picture.h"

#include "platform/Graphics.h"

#include <new>

namespace platform {

namespace {
// Guards against sizes from files or arithmetic that no print shop picture reaches: a side of 100,000
// pixels is over 8 m at 300 dpi, and 1.5 GB of pixels is an A0 sheet at 600 dpi.
constexpr int MaxSide = 100000;
constexpr qint64 MaxPixelBytes = 1536LL * 1024 * 1024;

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
} // namespace

Picture::Picture(QImage image, int depth) : image_(std::move(image)) {
    depth_ = depth > 0 ? depth : image_.depth();
    const auto format = image_.format();
    if (!image_.isNull() && format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        image_ = image_.convertToFormat(image_.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                 : QImage::Format_RGB32);
    if (const int dpi = dpiFromDpm(image_.dotsPerMeterX()); dpi > 0)
        hres_ = dpi;
    if (const int dpi = dpiFromDpm(image_.dotsPerMeterY()); dpi > 0)
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
    image_.setDotsPerMeterX(dpmFromDpi(dpi));
}

void Picture::SetVerticalResolution(int dpi) {
    if (dpi < 1)
        return;
    endPainting();
    vres_ = dpi;
    image_.setDotsPerMeterY(dpmFromDpi(dpi));
}

Graphics& Picture::Graphics() {
    if (!graphics_)
        graphics_ = std::make_unique<platform::Graphics>(image_);
    return *graphics_;
}

const QImage& Picture::Image() const {
    endPainting();
    return image_;
}

void Picture::endPainting() const {
    if (graphics_)
        graphics_->End();
}

std::shared_ptr<Picture> NewPicture(int width, int height, int depth) {
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide)
        return nullptr;
    if (qint64(width) * height * 4 > MaxPixelBytes)
        return nullptr;
    try {
        QImage image(width, height, QImage::Format_RGB32);
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
