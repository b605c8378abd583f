#include "platform/ColourPlanes.h"

#include "platform/AverageDown.h"
#include "platform/SideBySide.h"
#include "platform/WideLoops.h"

#include <QThread>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

void ToRgbEach(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, int n,
               std::uint32_t* out) {
    for (int i = 0; i < n; ++i) {
        const int l = y[i], b = cb[i] - 128, r = cr[i] - 128;
        const int red = l + ((Fixed(1.40200) * r + Half) >> Fraction);
        const int green = l + ((Half - Fixed(0.34414) * b - Fixed(0.71414) * r) >> Fraction);
        const int blue = l + ((Fixed(1.77200) * b + Half) >> Fraction);
        out[i] = 0xFF000000u | Limited(red) << 16 | Limited(green) << 8 | Limited(blue);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// Whether the processor has AVX2, for the loops written for it.
bool Wide() {
    static const bool wide = __builtin_cpu_supports("avx2");
    return wide;
}

#define TALLIO_AVX2 __attribute__((target("avx2"), always_inline)) inline
// The high half of x * k with the carry of adding half to the low half: round(x * k / 65536).
TALLIO_AVX2 __m256i rounded(__m256i x, short k) {
    const __m256i f = _mm256_set1_epi16(k);
    return _mm256_add_epi16(_mm256_mulhi_epi16(x, f), _mm256_srli_epi16(_mm256_mullo_epi16(x, f), 15));
}
TALLIO_AVX2 __m256i bytes(const std::uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
TALLIO_AVX2 __m256i words(const std::int16_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
TALLIO_AVX2 __m256i limited(__m256i v) {
    return _mm256_min_epi16(_mm256_max_epi16(v, _mm256_setzero_si256()), _mm256_set1_epi16(255));
}

// The same conversion sixteen pixels at a time in 16-bit lanes, for processors with AVX2. Each product
// of libjpeg's is a 16-bit product and a whole multiple of the sample: 1.402 = 1 + 26345 / 65536,
// 1.772 = 2 - 14942 / 65536, 0.71414 = 1 - 18734 / 65536. A product's high half is taken as it is and its
// low half adds the rounding carry, so that each level is libjpeg's exactly. Returns the pixels done.
struct Levels {
    __m256i blue, green, red; // each limited to 0..255
};

TALLIO_AVX2 Levels LevelsOf(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr) {
    const __m256i centre = _mm256_set1_epi16(128), one = _mm256_set1_epi16(1);
    const __m256i l = bytes(y);
    const __m256i b = _mm256_sub_epi16(bytes(cb), centre), r = _mm256_sub_epi16(bytes(cr), centre);
    const __m256i red = _mm256_add_epi16(_mm256_add_epi16(l, r), rounded(r, 26345));
    const __m256i blue = _mm256_add_epi16(_mm256_add_epi16(l, _mm256_add_epi16(b, b)), rounded(b, -14942));
    // Green: half plus two products, each split in halves; the low halves' sum carries up to twice.
    const __m256i kb = _mm256_set1_epi16(-22554), kr = _mm256_set1_epi16(18734);
    const __m256i lowB = _mm256_mullo_epi16(b, kb), lowR = _mm256_mullo_epi16(r, kr);
    const __m256i low = _mm256_add_epi16(lowB, lowR);
    const __m256i noCarry = _mm256_cmpeq_epi16(_mm256_max_epu16(low, lowB), low); // -1 or 0
    const __m256i carries = _mm256_add_epi16(_mm256_add_epi16(noCarry, one), _mm256_srli_epi16(low, 15));
    const __m256i green = _mm256_add_epi16(
        _mm256_sub_epi16(l, r),
        _mm256_add_epi16(_mm256_add_epi16(_mm256_mulhi_epi16(b, kb), _mm256_mulhi_epi16(r, kr)), carries));
    return {limited(blue), limited(green), limited(red)};
}

__attribute__((target("avx2"))) int ToRgbWide(const std::uint8_t* y, const std::uint8_t* cb,
                                              const std::uint8_t* cr, int n, std::uint32_t* out) {
    const __m256i alpha = _mm256_set1_epi16(short(0xFF00));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const Levels v = LevelsOf(y + i, cb + i, cr + i);
        const __m256i blueGreen = _mm256_or_si256(v.blue, _mm256_slli_epi16(v.green, 8));
        const __m256i redAlpha = _mm256_or_si256(v.red, alpha);
        const __m256i first = _mm256_unpacklo_epi16(blueGreen, redAlpha);  // pixels 0-3 and 8-11
        const __m256i second = _mm256_unpackhi_epi16(blueGreen, redAlpha); // 4-7 and 12-15
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_permute2x128_si256(first, second, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 8),
                            _mm256_permute2x128_si256(first, second, 0x31));
    }
    return i;
}

// Two rows converted and added pixel by pixel onto 16-bit sums laid out as the bytes of 32-bit colour
// (blue, green, red, alpha), sixteen pixels at a time; neither row is stored. Returns the pixels done.
__attribute__((target("avx2"))) int AddPairWide(const std::uint8_t* const y[2],
                                                const std::uint8_t* const cb[2],
                                                const std::uint8_t* const cr[2], int n, std::uint16_t* sums) {
    const __m256i alpha = _mm256_set1_epi16(2 * 255);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const Levels a = LevelsOf(y[0] + i, cb[0] + i, cr[0] + i),
                     b = LevelsOf(y[1] + i, cb[1] + i, cr[1] + i);
        const __m256i blue = _mm256_add_epi16(a.blue, b.blue), green = _mm256_add_epi16(a.green, b.green);
        const __m256i red = _mm256_add_epi16(a.red, b.red);
        // Interleaved to blue, green, red, alpha a pixel: within each half of the register first.
        const __m256i bgLow = _mm256_unpacklo_epi16(blue, green), bgHigh = _mm256_unpackhi_epi16(blue, green);
        const __m256i raLow = _mm256_unpacklo_epi16(red, alpha), raHigh = _mm256_unpackhi_epi16(red, alpha);
        const __m256i p0 = _mm256_unpacklo_epi32(bgLow, raLow);   // pixels 0-1 and 8-9
        const __m256i p1 = _mm256_unpackhi_epi32(bgLow, raLow);   // 2-3 and 10-11
        const __m256i p2 = _mm256_unpacklo_epi32(bgHigh, raHigh); // 4-5 and 12-13
        const __m256i p3 = _mm256_unpackhi_epi32(bgHigh, raHigh); // 6-7 and 14-15
        const __m256i pixels[4] = {
            _mm256_permute2x128_si256(p0, p1, 0x20), _mm256_permute2x128_si256(p2, p3, 0x20),
            _mm256_permute2x128_si256(p0, p1, 0x31), _mm256_permute2x128_si256(p2, p3, 0x31)};
        for (int k = 0; k < 4; ++k) {
            __m256i* at = reinterpret_cast<__m256i*>(sums + 4 * (i + 4 * k));
            _mm256_storeu_si256(at, _mm256_add_epi16(_mm256_loadu_si256(at), pixels[k]));
        }
    }
    return i;
}
#endif

// libjpeg's conversion of n pixels into 32-bit colour.
void ToRgb(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr, int n, std::uint32_t* out) {
    int done = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    if (Wide())
        done = ToRgbWide(y, cb, cr, n, out);
#endif
    ToRgbEach(y + done, cb + done, cr + done, n - done, out + done);
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
void AcrossEach(const std::int16_t* s, int n, std::uint8_t* out) {
    for (int j = 0; j < n; ++j) {
        const int centre = 3 * s[j];
        out[2 * j] = std::uint8_t((centre + s[j - 1] + LeftBias) >> Shift);
        out[2 * j + 1] = std::uint8_t((centre + s[j + 1] + RightBias) >> Shift);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same sixteen samples at a time: the left and right pixel of each sample side by side in one
// 16-bit lane, so that the lanes stored are the pixels in order. Returns the samples done.
template <int Shift, int LeftBias, int RightBias>
__attribute__((target("avx2"))) int AcrossWide(const std::int16_t* s, int n, std::uint8_t* out) {
    const __m256i leftBias = _mm256_set1_epi16(LeftBias), rightBias = _mm256_set1_epi16(RightBias);
    int j = 0;
    for (; j + 16 <= n; j += 16) {
        const __m256i centre = words(s + j),
                      thrice = _mm256_add_epi16(_mm256_add_epi16(centre, centre), centre);
        const __m256i left =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(thrice, words(s + j - 1)), leftBias), Shift);
        const __m256i right =
            _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(thrice, words(s + j + 1)), rightBias), Shift);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * j),
                            _mm256_or_si256(left, _mm256_slli_epi16(right, 8)));
    }
    return j;
}
#endif

template <int Shift, int LeftBias, int RightBias>
void Across(const std::int16_t* s, int n, std::uint8_t* out) {
    int done = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    if (Wide())
        done = AcrossWide<Shift, LeftBias, RightBias>(s, n, out);
#endif
    AcrossEach<Shift, LeftBias, RightBias>(s + done, n - done, out + 2 * done);
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

// The image with the planes' resolution, where they state one.
QImage WithResolutionOf(const ColourPlanes& planes, QImage image) {
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
    QImage result = WithResolutionOf(planes, QImage(area.size(), QImage::Format_RGB32));
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

namespace {

// A plane as an 8-bit grey image over its own samples, not copied.
QImage View(const ColourPlanes::Plane& plane) {
    return QImage(plane.samples.data(), plane.width, plane.height, plane.stride, QImage::Format_Grayscale8);
}

// Each plane averaged as it is and the means converted: what libjpeg does to make a reduced picture, in a
// third of the time of converting every pixel first. The colour planes' part is rounded out to whole
// samples. Taken where every new pixel is the mean of at least four by four of the picture's, so that a
// colour's spread across a new pixel's edge or a level cut off at 0 or 255 weighs little in it.
QImage AverageApart(const ColourPlanes& planes, const QRect& part, QSize size, const QRect& window) {
    const QImage luma = AverageDown(View(planes.y), part, size, window);
    const QRect colour(QPoint(planes.halvedAcross ? part.left() >> 1 : part.left(),
                              planes.halvedDown ? part.top() >> 1 : part.top()),
                       QPoint(planes.halvedAcross ? part.right() >> 1 : part.right(),
                              planes.halvedDown ? part.bottom() >> 1 : part.bottom()));
    const QImage cb = AverageDown(View(planes.cb), colour, size, window);
    const QImage cr = AverageDown(View(planes.cr), colour, size, window);
    QImage result(window.size(), QImage::Format_RGB32);
    if (luma.isNull() || cb.isNull() || cr.isNull() || result.isNull())
        return QImage();
    for (int k = 0; k < window.height(); ++k)
        ToRgb(luma.constScanLine(k), cb.constScanLine(k), cr.constScanLine(k), window.width(),
              reinterpret_cast<std::uint32_t*>(result.scanLine(k)));
    return result;
}

} // namespace

QImage AverageDownPlanes(const ColourPlanes& planes, const QRect& part, QSize size, const QRect& window) {
    if (!planes.IsValid())
        return QImage();
    if (part.width() >= 4 * size.width() && part.height() >= 4 * size.height() &&
        QRect(0, 0, planes.width, planes.height).contains(part)) {
        return WithResolutionOf(planes, AverageApart(planes, part, size, window));
    }
    // Each band of new rows makes the rows it averages, as PlanesToRgb makes them, a row at a time; rows
    // summed whole are converted two at a time straight into the sums where the processor allows.
    const ColourRowsFor rowsFor = [&planes](int from, int to) -> ColourRows {
        const int n = to - from;
        // Rows far apart in memory are read a part at a time, which the processor does not foresee: the
        // next rows' parts are asked for while one is made.
        auto prefetch = [&planes, from, n](int y) {
            const int across = planes.halvedAcross ? 1 : 0;
            const int below = planes.halvedDown ? (y >> 1) + 1 : y + 1;
            for (int x = 0; x < n; x += 64) {
                if (y + 1 < planes.height)
                    __builtin_prefetch(planes.y.Row(y + 1) + from + x);
                if (below < planes.cb.height) {
                    __builtin_prefetch(planes.cb.Row(below) + ((from + x) >> across));
                    __builtin_prefetch(planes.cr.Row(below) + ((from + x) >> across));
                }
            }
        };
        auto cb = std::make_shared<Widened>(planes, planes.cb, from, to);
        auto cr = std::make_shared<Widened>(planes, planes.cr, from, to);
        ColourRows rows;
        rows.row = [&planes, cb, cr, from, n, prefetch](int y, std::uint32_t* out) {
            prefetch(y);
            ToRgb(planes.y.Row(y) + from, cb->Row(y), cr->Row(y), n, out);
        };
#if defined(__x86_64__) && defined(__GNUC__)
        if (Wide()) {
            auto cb2 = std::make_shared<Widened>(planes, planes.cb, from, to);
            auto cr2 = std::make_shared<Widened>(planes, planes.cr, from, to);
            rows.addPair = [&planes, cb, cr, cb2, cr2, from, n, prefetch](int y, int y2,
                                                                          std::uint16_t* sums) {
                prefetch(y2);
                const std::uint8_t* const ys[2] = {planes.y.Row(y) + from, planes.y.Row(y2) + from};
                const std::uint8_t* const cbs[2] = {cb->Row(y), cb2->Row(y2)};
                const std::uint8_t* const crs[2] = {cr->Row(y), cr2->Row(y2)};
                for (int i = AddPairWide(ys, cbs, crs, n, sums); i < n; ++i) {
                    std::uint32_t pixel[2];
                    for (int k = 0; k < 2; ++k)
                        ToRgbEach(ys[k] + i, cbs[k] + i, crs[k] + i, 1, pixel + k);
                    for (int c = 0; c < 4; ++c)
                        sums[4 * i + c] +=
                            std::uint16_t(((pixel[0] >> (8 * c)) & 255) + ((pixel[1] >> (8 * c)) & 255));
                }
            };
        }
#endif
        return rows;
    };
    return WithResolutionOf(planes,
                            AverageDownRows(QSize(planes.width, planes.height), rowsFor, part, size, window));
}

} // namespace platform
