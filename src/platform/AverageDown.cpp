#include "platform/AverageDown.h"

#include "platform/SideBySide.h"
#include "platform/WideLoops.h"

#include <QThread>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {

namespace {

// Shares of a source pixel in 1/128ths: finer than the eye can tell, and a column of the longest picture
// (100,000 pixels) of level 255 at full share still sums within 32 bits.
constexpr int One = 128;

// The source pixels under one new pixel: count of them from first on, the first and the last at their
// share of it, those between whole.
struct Span {
    int first = 0, count = 1;
    int firstShare = One, lastShare = One;
    int total = One; // the shares added up

    int share(int i) const { return i == 0 ? firstShare : i == count - 1 ? lastShare : One; }
};

// New pixel k of newLength over partLength source pixels from partStart (newLength <= partLength).
Span SpanOf(int k, int partStart, int partLength, int newLength) {
    const double step = double(partLength) / newLength;
    const double from = k * step, to = k + 1 == newLength ? partLength : (k + 1) * step;
    const int first = int(std::floor(from));
    const int end = std::max(first + 1, std::min(partLength, int(std::ceil(to))));
    auto share = [&](int i) {
        return int(std::lround((std::min(to, i + 1.0) - std::max(from, double(i))) * One));
    };
    Span s;
    s.first = partStart + first;
    s.count = end - first;
    if (s.count > 1) {
        s.firstShare = share(first);
        s.lastShare = share(end - 1);
        s.total = s.firstShare + s.lastShare + (s.count - 2) * One;
    }
    return s;
}

// sums[i] += share * values[i]; the product fits 16 bits.
TALLIO_WIDE void AddRow(std::uint32_t* sums, const std::uint8_t* values, int n, std::uint16_t share) {
    for (int i = 0; i < n; ++i)
        sums[i] += std::uint16_t(share * values[i]);
}

// A row shared by two new rows: its share of the first added to sums, of the second put in next.
TALLIO_WIDE void SplitRow(std::uint32_t* sums, std::uint32_t* next, const std::uint8_t* values, int n,
                          std::uint16_t share, std::uint16_t nextShare) {
    for (int i = 0; i < n; ++i) {
        sums[i] += std::uint16_t(share * values[i]);
        next[i] = std::uint16_t(nextShare * values[i]);
    }
}

// whole[i] += a[i] + b[i]: two rows at full share, added up at sixteen bits.
TALLIO_WIDE void AddWhole(std::uint16_t* whole, const std::uint8_t* a, const std::uint8_t* b, int n) {
    for (int i = 0; i < n; ++i)
        whole[i] += std::uint16_t(a[i] + b[i]);
}

// sums[i] += One * whole[i], and whole back to 0: sixteen-bit sums of rows or eight-bit counts of pixels.
template <class Whole> TALLIO_WIDE void AddWholeRows(std::uint32_t* sums, Whole* whole, int n) {
    for (int i = 0; i < n; ++i)
        sums[i] += std::uint32_t(whole[i]) * One;
    std::fill(whole, whole + n, Whole(0));
}

// One-bit rows: each pixel as 0 or 1, eight to a byte of the image.
class Bits {
public:
    explicit Bits(bool lsb) {
        for (int byte = 0; byte < 256; ++byte) {
            std::uint64_t spread = 0;
            for (int bit = 0; bit < 8; ++bit)
                spread |= std::uint64_t(lsb ? (byte >> bit) & 1 : (byte >> (7 - bit)) & 1) << (8 * bit);
            spread_[std::size_t(byte)] = spread;
        }
    }
    // Adds the pixels of the bytes first to last of a row to eight-bit counters, one a pixel.
    void Count(const uchar* line, int first, int last, std::uint64_t* counters) const {
        for (int b = first; b <= last; ++b)
            *counters++ += spread_[line[b]];
    }
    // The pixels of those bytes as 0 or 1, a byte each.
    void Spread(const uchar* line, int first, int last, std::uint64_t* out) const {
        for (int b = first; b <= last; ++b)
            *out++ = spread_[line[b]];
    }

private:
    std::array<std::uint64_t, 256> spread_{};
};

// The columns from..to of consecutive new rows, each summed down its source rows at their shares: grey
// and colour values as they are; for a one-bit picture the pixels set. Each source row is read once: a
// row shared by two new rows gives the second its share while the first is summed.
template <int Channels> class DownSums {
public:
    // Rows come from the source image, or from rowsFor when it is given.
    DownSums(const QImage& source, int from, int to, const ColourRowsFor* rowsFor)
        : source_(source), from_(from), n_((to - from) * Channels), mono_(source.depth() == 1),
          sums_(std::size_t(n_)), next_(std::size_t(n_)) {
        if (rowsFor) {
            rows_ = (*rowsFor)(from, to);
            for (auto& made : made_)
                made.resize(std::size_t(to - from));
        }
        if (mono_) {
            bits_ = std::make_unique<Bits>(source.format() == QImage::Format_MonoLSB);
            firstByte_ = from >> 3, lastByte_ = (to - 1) >> 3;
            counters_.assign(std::size_t(lastByte_ - firstByte_ + 1), 0);
            spread_.assign(counters_.size(), 0);
        } else {
            whole_.assign(std::size_t(n_), 0);
        }
    }

    // The sums for the new row down; next is the new row after it when that one is wanted too.
    const std::uint32_t* Sum(const Span& down, const Span* next) {
        int r = 0;
        if (started_) {
            sums_.swap(next_); // its first row, shared with the row before, is in already
            r = 1;
        } else {
            std::fill(sums_.begin(), sums_.end(), 0u);
        }
        const int last = down.count - 1;
        started_ = next && last >= r && next->first == down.first + last;
        const int end = started_ ? last : down.count;
        for (; r < end; ++r) {
            if (down.share(r) == One)
                addWhole(down.first + r);
            else
                AddRow(sums_.data(), values(down.first + r), n_, std::uint16_t(down.share(r)));
        }
        flushWhole();
        if (started_)
            SplitRow(sums_.data(), next_.data(), values(down.first + last), n_, std::uint16_t(down.lastShare),
                     std::uint16_t(next->firstShare));
        return sums_.data();
    }

private:
    // Row y's values for the columns: bytes of the image, or one-bit pixels spread to bytes.
    const std::uint8_t* values(int y) {
        if (rows_.row) {
            // Two rows are in use at most (the pair summed at full share), so two are kept in turn.
            std::vector<std::uint32_t>& made = made_[nextMade_ ^= 1];
            rows_.row(y, made.data());
            return reinterpret_cast<const std::uint8_t*>(made.data());
        }
        const uchar* line = source_.constScanLine(y);
        if (!mono_)
            return line + std::size_t(from_) * Channels;
        bits_->Spread(line, firstByte_, lastByte_, spread_.data());
        return reinterpret_cast<const std::uint8_t*>(spread_.data()) + (from_ & 7);
    }

    // Rows at full share: colour and grey two at a time into sixteen-bit sums, one-bit ones eight pixels
    // at a time into eight-bit counters; each emptied into the sums before it could overflow.
    void addWhole(int y) {
        if (mono_) {
            bits_->Count(source_.constScanLine(y), firstByte_, lastByte_, counters_.data());
            if (++whole_rows_ == 255)
                flushWhole();
        } else if (pending_ < 0) {
            pending_ = y;
        } else {
            if (rows_.addPair)
                rows_.addPair(pending_, y, whole_.data());
            else
                AddWhole(whole_.data(), values(pending_), values(y), n_);
            pending_ = -1;
            if ((whole_rows_ += 2) >= 256)
                flushWhole();
        }
    }
    void flushWhole() {
        if (pending_ >= 0)
            AddRow(sums_.data(), values(pending_), n_, One), pending_ = -1;
        if (whole_rows_ == 0)
            return;
        if (mono_)
            AddWholeRows(sums_.data(), reinterpret_cast<std::uint8_t*>(counters_.data()) + (from_ & 7), n_);
        else
            AddWholeRows(sums_.data(), whole_.data(), n_);
        whole_rows_ = 0;
    }

    const QImage& source_;
    ColourRows rows_;
    std::vector<std::uint32_t> made_[2];
    int nextMade_ = 0;
    int from_, n_;
    bool mono_;
    std::vector<std::uint32_t> sums_, next_;
    bool started_ = false; // next_ holds the next new row's first row
    std::vector<std::uint16_t> whole_;
    int pending_ = -1, whole_rows_ = 0;
    std::unique_ptr<Bits> bits_;
    int firstByte_ = 0, lastByte_ = 0;
    std::vector<std::uint64_t> counters_, spread_; // as many as the bytes; a counter or a pixel a byte
};

// The new pixels of one row from the column sums: across[j] gives pixel j's columns, the row's shares
// add up to down. For a one-bit picture the sums count the pixels at level[1]; the rest are at level[0].
template <int Channels>
void AcrossRow(const std::vector<Span>& across, const std::uint32_t* sums, int from, int down, bool mono,
               const std::array<int, 2>& level, uchar* out) {
    for (std::size_t j = 0; j < across.size(); ++j) {
        const Span& s = across[j];
        const std::uint64_t area = std::uint64_t(s.total) * std::uint64_t(down);
        const std::uint32_t* column = sums + std::size_t(s.first - from) * Channels;
        const std::uint32_t* last = column + std::size_t(s.count - 1) * Channels;
        const std::uint64_t lastShare = s.count > 1 ? s.lastShare : 0;
        std::uint64_t whole[Channels] = {};
        for (int i = 1; i < s.count - 1; ++i)
            for (int c = 0; c < Channels; ++c)
                whole[c] += column[std::size_t(i) * Channels + c];
        const double perArea = 1.0 / double(area);
        for (int c = 0; c < Channels; ++c) {
            std::uint64_t sum =
                whole[c] * One + std::uint64_t(s.firstShare) * column[c] + lastShare * last[c];
            if (mono)
                sum = (area - sum) * std::uint64_t(level[0]) + sum * std::uint64_t(level[1]);
            out[j * Channels + c] = uchar(std::min(255.0, double(sum) * perArea + 0.5));
        }
    }
}

#if defined(__GNUC__)
// Colour pixels whose sums stay within 32 bits, the four channels side by side in one register.
void AcrossColourRow(const std::vector<Span>& across, const std::uint32_t* sums, int from, int down,
                     uchar* out) {
    using Lanes = std::uint32_t __attribute__((vector_size(16)));
    using Reals = float __attribute__((vector_size(16)));
    using Bytes = std::uint8_t __attribute__((vector_size(4)));
    auto at = [&](int column) {
        Lanes v;
        std::memcpy(&v, sums + std::size_t(column - from) * 4, sizeof v);
        return v;
    };
    const float perDown = 1.0f / float(down);
    for (std::size_t j = 0; j < across.size(); ++j) {
        const Span& s = across[j];
        Lanes whole = {0, 0, 0, 0};
        for (int i = 1; i < s.count - 1; ++i)
            whole += at(s.first + i);
        Lanes sum = whole * std::uint32_t(One) + at(s.first) * std::uint32_t(s.firstShare);
        if (s.count > 1)
            sum += at(s.first + s.count - 1) * std::uint32_t(s.lastShare);
        Lanes level = __builtin_convertvector(
            __builtin_convertvector(sum, Reals) * (perDown / float(s.total)) + 0.5f, Lanes);
        level = level > 255u ? 255u : level;
        const Bytes bytes = __builtin_convertvector(level, Bytes);
        std::memcpy(out + j * 4, &bytes, 4);
    }
}
#endif

// The grey level of each one-bit pixel value.
std::array<int, 2> MonoLevels(const QImage& source) {
    const QList<QRgb> table = source.colorTable();
    return {table.size() > 0 ? qGray(table[0]) : 255, table.size() > 1 ? qGray(table[1]) : 0};
}

// The new pixels of window into the rows of out, stride bytes apart.
template <int Channels>
void Average(const QImage& source, const ColourRowsFor* rowsFor, const QRect& part, QSize size,
             const QRect& window, uchar* out, qsizetype stride) {
    std::vector<Span> across(std::size_t(window.width()));
    for (int j = 0; j < window.width(); ++j)
        across[std::size_t(j)] = SpanOf(window.left() + j, part.left(), part.width(), size.width());
    const int from = across.front().first, to = across.back().first + across.back().count;
    DownSums<Channels> columns(source, from, to, rowsFor);
    const bool mono = source.depth() == 1;
    const std::array<int, 2> level = mono ? MonoLevels(source) : std::array<int, 2>{0, 1};
    int widest = 0;
    for (const Span& s : across)
        widest = std::max(widest, s.total);

    Span down = SpanOf(window.top(), part.top(), part.height(), size.height());
    for (int k = 0; k < window.height(); ++k, out += stride) {
        const bool more = k + 1 < window.height();
        const Span next =
            more ? SpanOf(window.top() + k + 1, part.top(), part.height(), size.height()) : Span();
        const std::uint32_t* sums = columns.Sum(down, more ? &next : nullptr);
#if defined(__GNUC__)
        // A new pixel's sum is at most its shares across and down multiplied, times 255.
        if (Channels == 4 && double(widest) * down.total * 255 < 4294967295.0)
            AcrossColourRow(across, sums, from, down.total, out);
        else
#endif
            AcrossRow<Channels>(across, sums, from, down.total, mono, level, out);
        down = next;
    }
}

// Whether AverageDown takes images of this format: one-bit, 8-bit grey and 32-bit colour.
bool AveragesDown(QImage::Format format) {
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

// Source pixels read for one band of new rows below which it is not worth handing to another thread.
constexpr double BandWork = 1 << 20;

// The source's pixels, or rows made by rowsFor for a 32-bit colour picture of the given size (the source
// is then null).
QImage Averaged(const QImage& source, QSize picture, const ColourRowsFor* rowsFor, const QRect& part,
                QSize size, const QRect& window) {
    const QImage::Format format = rowsFor ? QImage::Format_RGB32 : source.format();
    if (!AveragesDown(format) || window.isEmpty() || !QRect(QPoint(), size).contains(window) ||
        !QRect(QPoint(), picture).contains(part) || part.width() < size.width() ||
        part.height() < size.height())
        return QImage();
    const bool grey = !rowsFor && source.depth() <= 8;
    QImage result(window.size(), grey ? QImage::Format_Grayscale8 : format);
    if (result.isNull())
        return result;
    if (!rowsFor) {
        result.setDotsPerMeterX(source.dotsPerMeterX());
        result.setDotsPerMeterY(source.dotsPerMeterY());
    }
    uchar* const bits = result.bits();
    const qsizetype stride = result.bytesPerLine();

    // A large shrink is made in bands of rows side by side on Qt's thread pool, as Qt's own smooth
    // scaling does. Each band is a window of its own, so the pixels are the same however it is split.
    const double work = double(window.width()) * window.height() * (double(part.width()) / size.width()) *
                        (double(part.height()) / size.height());
    const int bands =
        std::clamp(int(work / BandWork), 1, std::min(QThread::idealThreadCount(), window.height()));
    RunSideBySide(bands, [&](int b) {
        const int first = window.height() * b / bands, rows = window.height() * (b + 1) / bands - first;
        const QRect band(window.left(), window.top() + first, window.width(), rows);
        if (grey)
            Average<1>(source, nullptr, part, size, band, bits + first * stride, stride);
        else
            Average<4>(source, rowsFor, part, size, band, bits + first * stride, stride);
    });
    return result;
}

} // namespace

QImage AverageDown(const QImage& source, const QRect& part, QSize size, const QRect& window) {
    return Averaged(source, source.size(), nullptr, part, size, window);
}

QImage AverageDownRows(QSize picture, const ColourRowsFor& rows, const QRect& part, QSize size,
                       const QRect& window) {
    return Averaged(QImage(), picture, &rows, part, size, window);
}

} // namespace platform
