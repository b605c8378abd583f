#include "platform/ColourPlanes.h"

#include "platform/AverageDown.h"
#include "platform/SideBySide.h"
#include "platform/WideLoops.h"

#include <QThread>

#include <algorithm>
#include <memory>

namespace platform {

namespace {

// libjpeg's conversion to RGB, in fixed point with 16 bits of fraction: its tables hold exactly these
// products, rounded as here.
constexpr int Fraction = 16;
constexpr int Half = 1 << (Fraction - 1);
constexpr int Fixed(double x) {
    return int(x * (1 << Fraction) + 0.5);
}

inline std::uint32_t Limited(int level) {
    return std::uint32_t(std::clamp(level, 0, 255));
}

TALLIO_WIDE void ToRgb(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, int n,
                       std::uint32_t* out) {
    for (int i = 0; i < n; ++i) {
        const int l = y[i], b = cb[i] - 128, r = cr[i] - 128;
        const int red = l + ((Fixed(1.40200) * r + Half) >> Fraction);
        const int green = l + ((Half - Fixed(0.34414) * b - Fixed(0.71414) * r) >> Fraction);
        const int blue = l + ((Fixed(1.77200) * b + Half) >> Fraction);
        out[i] = 0xFF000000u | Limited(red) << 16 | Limited(green) << 8 | Limited(blue);
    }
}

int ColourWidth(const ColourPlanes& planes) {
    return planes.halvedAcross ? planes.width / 2 + planes.width % 2 : planes.width;
}
int ColourHeight(const ColourPlanes& planes) {
    return planes.halvedDown ? planes.height / 2 + planes.height % 2 : planes.height;
}

// Three quarters of the nearer row, a quarter of the other.
template <int Bias>
TALLIO_WIDE void Blend(const std::uint8_t* near, const std::uint8_t* other, int n, std::uint8_t* out) {
    for (int i = 0; i < n; ++i)
        out[i] = std::uint8_t((3 * near[i] + other[i] + Bias) >> 2);
}

TALLIO_WIDE void Copy(const std::uint8_t* in, int n, std::int16_t* s) {
    for (int i = 0; i < n; ++i)
        s[i] = in[i];
}

TALLIO_WIDE void Weigh(const std::uint8_t* near, const std::uint8_t* other, int n, std::int16_t* s) {
    for (int i = 0; i < n; ++i)
        s[i] = std::int16_t(3 * near[i] + other[i]);
}

// Two pixels a sample from sums s[-1..n]: three parts of the sample and one of its neighbour on that
// side, rounded as libjpeg rounds the left and the right pixel.
template <int Shift, int LeftBias, int RightBias>
TALLIO_WIDE void Across(const std::int16_t* s, int n, std::uint8_t* out) {
    for (int j = 0; j < n; ++j) {
        const int centre = 3 * s[j];
        out[2 * j] = std::uint8_t((centre + s[j - 1] + LeftBias) >> Shift);
        out[2 * j + 1] = std::uint8_t((centre + s[j + 1] + RightBias) >> Shift);
    }
}

// A colour plane widened to the picture's pixels a row at a time, for the columns from..to - 1, the way
// libjpeg's default smoothing widens it for the whole picture. A sample's neighbours beyond the plane's
// edges are the edge samples themselves; halved across, a plane of two samples or fewer a row is widened
// by repeating them, down and across, as libjpeg does.
class Widened {
public:
    Widened(const ColourPlanes& planes, const ColourPlanes::Plane& plane, int from, int to)
        : plane_(plane), from_(from), to_(to), first_(from >> 1), last_((to - 1) >> 1) {
        const bool smooth = plane.width > 2;
        if (planes.halvedAcross && planes.halvedDown)
            way_ = smooth ? Way::Both : Way::RepeatBoth;
        else if (planes.halvedAcross)
            way_ = smooth ? Way::Across : Way::RepeatAcross;
        else if (planes.halvedDown)
            way_ = Way::Down;
        if (way_ == Way::Across || way_ == Way::Both)
            sums_.resize(std::size_t(last_ - first_ + 3));
        if (way_ != Way::None)
            row_.resize(std::size_t(2 * (last_ - first_ + 1)));
    }

    // The samples for the pixels from..to - 1 of picture row y.
    const std::uint8_t* Row(int y) {
        const int n = to_ - from_;
        std::uint8_t* out = row_.data();
        switch (way_) {
        case Way::None:
            return plane_.Row(y) + from_;
        case Way::RepeatAcross:
        case Way::RepeatBoth: {
            const std::uint8_t* in = plane_.Row(way_ == Way::RepeatBoth ? y >> 1 : y);
            for (int i = 0; i < n; ++i)
                out[i] = in[(from_ + i) >> 1];
            return out;
        }
        case Way::Down: {
            const std::uint8_t* near = plane_.Row(y >> 1) + from_;
            const std::uint8_t* other = plane_.Row(Neighbour(y)) + from_;
            if (y & 1)
                Blend<2>(near, other, n, out);
            else
                Blend<1>(near, other, n, out);
            return out;
        }
        case Way::Across:
            Sums(plane_.Row(y), nullptr);
            Across<2, 1, 2>(sums_.data() + 1, last_ - first_ + 1, out);
            return out + (from_ - 2 * first_);
        case Way::Both:
            // The rows blended down three to one, then across likewise: 9/16, 3/16, 3/16, 1/16.
            Sums(plane_.Row(y >> 1), plane_.Row(Neighbour(y)));
            Across<4, 8, 7>(sums_.data() + 1, last_ - first_ + 1, out);
            return out + (from_ - 2 * first_);
        }
        return out;
    }

private:
    enum class Way { None, Across, Down, Both, RepeatAcross, RepeatBoth };

    // The sample row next to the one nearest picture row y: above for an even row, below for an odd one.
    int Neighbour(int y) const { return std::clamp((y >> 1) + ((y & 1) ? 1 : -1), 0, plane_.height - 1); }

    // sums_[j] for the samples first_ - 1 + j: three times near plus other, or near alone without other.
    void Sums(const std::uint8_t* near, const std::uint8_t* other) {
        const int start = first_ - 1, lo = std::max(start, 0), hi = std::min(last_ + 1, plane_.width - 1);
        std::int16_t* s = sums_.data() + (lo - start);
        const int n = hi - lo + 1;
        if (other)
            Weigh(near + lo, other + lo, n, s);
        else
            Copy(near + lo, n, s);
        if (start < lo)
            sums_.front() = sums_[1];
        if (last_ + 1 > hi)
            sums_.back() = sums_[sums_.size() - 2];
    }

    const ColourPlanes::Plane& plane_;
    const int from_, to_, first_, last_; // the pixels, and the samples under them when halved across
    Way way_ = Way::None;
    std::vector<std::int16_t> sums_;
    std::vector<std::uint8_t> row_;
};

// Pixels converted in one band below which it is not worth handing the band to another thread.
constexpr double BandPixels = 1 << 18;

int Bands(const QRect& area) {
    return std::clamp(int(double(area.width()) * area.height() / BandPixels), 1,
                      std::min(QThread::idealThreadCount(), area.height()));
}

QImage ImageFor(const ColourPlanes& planes, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (!image.isNull() && planes.dotsPerMeterX > 0 && planes.dotsPerMeterY > 0) {
        image.setDotsPerMeterX(planes.dotsPerMeterX);
        image.setDotsPerMeterY(planes.dotsPerMeterY);
    }
    return image;
}

} // namespace

bool ColourPlanes::IsValid() const {
    auto holds = [](const Plane& p, int w, int h) {
        return p.width == w && p.height == h && p.stride >= w &&
               p.samples.size() >= std::size_t(p.stride) * std::size_t(h - 1) + std::size_t(w);
    };
    return width > 0 && height > 0 && holds(y, width, height) &&
           holds(cb, ColourWidth(*this), ColourHeight(*this)) &&
           holds(cr, ColourWidth(*this), ColourHeight(*this));
}

std::int64_t ColourPlanes::Bytes() const {
    return std::int64_t(y.samples.size() + cb.samples.size() + cr.samples.size());
}

QImage PlanesToRgb(const ColourPlanes& planes, const QRect& area) {
    if (!planes.IsValid() || area.isEmpty() || !QRect(0, 0, planes.width, planes.height).contains(area))
        return QImage();
    QImage result = ImageFor(planes, area.size());
    if (result.isNull())
        return result;
    uchar* const bits = result.bits();
    const qsizetype stride = result.bytesPerLine();
    // Large areas are made in bands of rows side by side; each row is made on its own, so the pixels
    // are the same however the area is split.
    const int bands = Bands(area);
    RunSideBySide(bands, [&](int b) {
        const int first = area.height() * b / bands, end = area.height() * (b + 1) / bands;
        const int from = area.left(), to = area.right() + 1;
        Widened cb(planes, planes.cb, from, to), cr(planes, planes.cr, from, to);
        for (int k = first; k < end; ++k) {
            const int y = area.top() + k;
            ToRgb(planes.y.Row(y) + from, cb.Row(y), cr.Row(y), area.width(),
                  reinterpret_cast<std::uint32_t*>(bits + k * stride));
        }
    });
    return result;
}

QImage AverageDownPlanes(const ColourPlanes& planes, const QRect& part, QSize size, const QRect& window) {
    if (!planes.IsValid())
        return QImage();
    // Each band of new rows makes the rows it averages, as PlanesToRgb makes them, a row at a time.
    const ColourRowsFor rowsFor = [&planes](int from, int to) -> ColourRows {
        auto cb = std::make_shared<Widened>(planes, planes.cb, from, to);
        auto cr = std::make_shared<Widened>(planes, planes.cr, from, to);
        return [&planes, cb, cr, from, n = to - from](int y, std::uint32_t* out) {
            ToRgb(planes.y.Row(y) + from, cb->Row(y), cr->Row(y), n, out);
        };
    };
    QImage result = AverageDownRows(QSize(planes.width, planes.height), rowsFor, part, size, window);
    if (!result.isNull() && planes.dotsPerMeterX > 0 && planes.dotsPerMeterY > 0) {
        result.setDotsPerMeterX(planes.dotsPerMeterX);
        result.setDotsPerMeterY(planes.dotsPerMeterY);
    }
    return result;
}

} // namespace platform
