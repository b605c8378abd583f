#include "platform/GreyShrink.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// How the source pixels from first on cover one new pixel: whole pixels weigh 1, the ends their share.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> spans(int partStart, int partLength, int newLength) {
    const double step = double(partLength) / newLength;
    std::vector<Span> result(static_cast<std::size_t>(newLength));
    for (int k = 0; k < newLength; ++k) {
        const double from = k * step, to = k + 1 == newLength ? partLength : (k + 1) * step;
        Span& s = result[std::size_t(k)];
        const int first = int(std::floor(from)), last = std::min(partLength, int(std::ceil(to)));
        s.first = partStart + first;
        for (int i = first; i < last; ++i)
            s.weights.push_back(float(std::min(to, i + 1.0) - std::max(from, double(i))));
    }
    return result;
}

// The grey levels of one source row.
void greyRow(const QImage& source, int y, std::vector<std::uint8_t>& row) {
    const uchar* line = source.constScanLine(y);
    const int width = source.width();
    if (source.format() == QImage::Format_Grayscale8) {
        std::copy(line, line + width, row.begin());
        return;
    }
    const QList<QRgb> table = source.colorTable();
    const std::uint8_t level[2] = {std::uint8_t(table.size() > 0 ? qGray(table[0]) : 255),
                                   std::uint8_t(table.size() > 1 ? qGray(table[1]) : 0)};
    const bool lsb = source.format() == QImage::Format_MonoLSB;
    for (int x = 0; x < width; ++x) {
        const int bit = lsb ? (line[x >> 3] >> (x & 7)) & 1 : (line[x >> 3] >> (7 - (x & 7))) & 1;
        row[std::size_t(x)] = level[bit];
    }
}

} // namespace

bool ShrinksAsGrey(QImage::Format format) {
    return format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
           format == QImage::Format_Grayscale8;
}

QImage AverageGreyDown(const QImage& source, const QRect& part, QSize size) {
    QImage result(size, QImage::Format_Grayscale8);
    if (result.isNull())
        return result;
    result.setDotsPerMeterX(source.dotsPerMeterX());
    result.setDotsPerMeterY(source.dotsPerMeterY());
    const std::vector<Span> across = spans(part.left(), part.width(), size.width());
    const std::vector<Span> down = spans(part.top(), part.height(), size.height());
    const double area = double(part.width()) / size.width() * (double(part.height()) / size.height());

    std::vector<std::uint8_t> row(std::size_t(source.width()));
    std::vector<float> rowSums(across.size()), sums(across.size());
    int summedRow = -1; // the source row whose sums rowSums holds: a row shared by two new rows is read once
    for (int k = 0; k < size.height(); ++k) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        const Span& rows = down[std::size_t(k)];
        for (std::size_t r = 0; r < rows.weights.size(); ++r) {
            const int y = rows.first + int(r);
            if (y != summedRow) {
                greyRow(source, y, row);
                for (std::size_t j = 0; j < across.size(); ++j) {
                    const Span& columns = across[j];
                    float sum = 0;
                    for (std::size_t i = 0; i < columns.weights.size(); ++i)
                        sum += columns.weights[i] * row[std::size_t(columns.first) + i];
                    rowSums[j] = sum;
                }
                summedRow = y;
            }
            for (std::size_t j = 0; j < across.size(); ++j)
                sums[j] += rows.weights[r] * rowSums[j];
        }
        uchar* out = result.scanLine(k);
        for (std::size_t j = 0; j < across.size(); ++j)
            out[j] = uchar(std::clamp(int(std::lround(sums[j] / area)), 0, 255));
    }
    return result;
}

} // namespace platform
