// Off-screen pictures: a QImage with the framework's size, depth and resolution, and the Graphics that
// draws into it.
#pragma once

#include <QImage>
#include <memory>

namespace platform {

class Graphics;

class Picture {
public:
    // Takes an image as it is; images that cannot be painted on are converted to 32 bits.
    // depth is the colour depth to report; 0 reports the image's own.
    explicit Picture(QImage image, int depth = 0);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    int Depth() const { return depth_; }

    // Dots per inch; also kept in the image's dots per metre. Values below 1 are ignored.
    int HorizontalResolution() const { return hres_; }
    int VerticalResolution() const { return vres_; }
    void SetHorizontalResolution(int dpi);
    void SetVerticalResolution(int dpi);

    // Draws into this picture; made on first use and kept for the picture's life.
    platform::Graphics& Graphics();

    // The pixels, with every drawing so far finished.
    const QImage& Image() const;

private:
    void endPainting() const;

    QImage image_;
    int depth_ = 32;
    int hres_ = 72, vres_ = 72;
    mutable std::unique_ptr<platform::Graphics> graphics_;
};

// The framework's resolution for pictures whose file gives none.
inline constexpr int DefaultResolution = 72;

// A white picture of width x height pixels at 72 dpi; null when a side is not positive, the size is
// beyond what can sensibly be held, or memory is short. depth is reported back by Depth.
std::shared_ptr<Picture> NewPicture(int width, int height, int depth);

} // namespace platform
