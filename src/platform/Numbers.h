// The framework's number conversions between text and numbers.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// The leading number of a text (blanks, sign, digits, point, exponent); 0 when there is none.
// Results beyond the range of a Double saturate at its largest finite value.
double Val(const QString& s);
double CDbl(const QString& s);

// Decimal digits of a whole number.
QString Str(std::int64_t v);
inline QString Str(std::int32_t v) {
    return Str(std::int64_t(v));
}
// The shortest text that Val reads back to exactly the same Double.
QString Str(double v);

// Formats with a picture: "0" zero-filled digit, "#" digit suppressed when leading, "." decimal point,
// "," thousands grouping, ";" between positive, negative and zero sections. Double quotes are dropped,
// every other character is a literal, and at least one integer digit is printed.
QString Format(double value, const QString& picture);

// Double to Int32: truncates toward zero, saturates at the Int32 limits, NaN gives 0.
std::int32_t Int(double v);

} // namespace platform
