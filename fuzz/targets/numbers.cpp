// Number text: Val and CDbl on any text, Str of any Double (which Val must read back exactly), Int's
// truncation, Format with any picture, and Module1::CalcMod with any picture, check-digit method and
// running number.
#include "platform/Numbers.h"
#include "FuzzSupport.h"
#include "core/Module1.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>

namespace {

QString Text(FuzzedDataProvider& input) {
    const std::string s = input.ConsumeRandomLengthString(256);
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

double AnyDouble(FuzzedDataProvider& input) {
    return std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>());
}

void Run(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: {
        const QString text = Text(input);
        platform::Val(text);
        platform::CDbl(text);
        break;
    }
    case 1: {
        const double v = AnyDouble(input);
        const QString text = platform::Str(v);
        if (std::isfinite(v) && platform::Val(text) != v)
            fuzz::Broken("Val reads Str back exactly", text);
        const std::int32_t i = platform::Int(v);
        const double expected =
            std::isnan(v) ? 0
                          : std::clamp(std::trunc(v), double(std::numeric_limits<std::int32_t>::min()),
                                       double(std::numeric_limits<std::int32_t>::max()));
        if (double(i) != expected)
            fuzz::Broken("Int truncates toward zero and saturates", text);
        break;
    }
    case 2: {
        const double v = AnyDouble(input);
        platform::Format(v, Text(input));
        break;
    }
    default: {
        const int row = input.ConsumeIntegralInRange(0, 128);
        Module1::RecPos(row, 3) = Text(input);
        if (input.ConsumeBool())
            Module1::RecPos(row, 5) = Text(input);
        else
            Module1::RecPos(row, 5) = input.ConsumeIntegral<std::int32_t>();
        Module1::CalcMod(row, AnyDouble(input));
        break;
    }
    }
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
