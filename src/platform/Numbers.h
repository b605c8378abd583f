// The framework's number conversions between text and numbers.
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// The leading number of a text (blanks, sign, digits, point, exponent); 0 when there is none.
// Results beyond the range of a Double saturate at its largest finite value.
double Val(const QString& s);
double CDbl(const QString& s);

// A number the user typed: the whole text, blanks aside, is one finite number, written as the program
// writes numbers (a point before the decimals, an optional exponent) or as the locale writes them, with
// its thousands separators ("50,000" in English). Nothing when the text is anything else: empty, a
// number with more after it ("12abc", "1,5" in English), or beyond the range of a Double. Where both
// readings apply the program's wins, since every number the program shows has a point for decimals.
std::optional<double> TypedNumber(const QString& text, const QLocale& locale = QLocale());

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
