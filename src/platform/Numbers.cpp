#include "platform/Numbers.h"

#include <QStringList>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace platform {

namespace {
// The end of the number that starts at i in s, written as the program writes numbers (a sign, digits
// with a point before the decimals, an exponent); i itself when no digit is there.
int NumberEnd(const QString& s, int i) {
    const int start = i, n = int(s.size());
    auto digitsFrom = [&s, n](int& k) {
        const int first = k;
        while (k < n && s[k].unicode() >= '0' && s[k].unicode() <= '9')
            ++k;
        return k - first;
    };
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    int digits = digitsFrom(i);
    if (i < n && s[i] == '.') {
        ++i;
        digits += digitsFrom(i);
    }
    if (digits == 0)
        return start;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        int k = i + 1;
        if (k < n && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (digitsFrom(k) > 0)
            i = k;
    }
    return i;
}
} // namespace

double Val(const QString& s) {
    // The leading number's characters, read by strtod exactly.
    int i = 0;
    while (i < int(s.size()) && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const int end = NumberEnd(s, i);
    if (end == i)
        return 0.0;
    const std::string num = s.mid(i, end - i).toStdString();
    // Files hold numbers with a point whatever the user's locale; Qt sets the C library's locale from
    // the environment, where plain strtod would stop at the point of "210.5" on a German system.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    double v = strtod_l(num.c_str(), nullptr, cLocale);
    if (std::isinf(v))
        v = v > 0 ? DBL_MAX : -DBL_MAX;
    return v;
}

double CDbl(const QString& s) {
    return Val(s);
}

std::optional<double> TypedNumber(const QString& text, const QLocale& locale) {
    const QString s = text.trimmed();
    double v = 0;
    bool ok = false;
    if (!s.isEmpty() && NumberEnd(s, 0) == s.size()) {
        // The program's own notation, read whatever the C library's locale is: strtod would take a
        // comma for the point there.
        const std::string plain = s.toStdString();
        const char* first = plain.c_str() + (plain[0] == '+' ? 1 : 0);
        const auto [end, error] = std::from_chars(first, plain.c_str() + plain.size(), v);
        ok = error == std::errc() && end == plain.c_str() + plain.size();
    } else {
        v = locale.toDouble(s, &ok);
    }
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString Str(std::int64_t v) {
    return QString::number(v);
}

QString Str(double v) {
    if (std::isnan(v))
        return "0";
    if (std::isinf(v))
        v = v > 0 ? DBL_MAX : -DBL_MAX;
    char buf[400];
    const double a = std::fabs(v);
    // Plain notation for the everyday range, scientific beyond it; both are shortest round-trip.
    const auto fmt =
        (a == 0 || (a >= 1e-5 && a < 1e16)) ? std::chars_format::fixed : std::chars_format::scientific;
    auto res = std::to_chars(buf, buf + sizeof buf, v, fmt);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

std::int32_t Int(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(v);
}

namespace {

// The value's shortest decimal text rounded half away from zero to the given number of decimals,
// so that 5.25 shows as 5.3 and 2.675 as 2.68, as the user reads them.
std::string roundedDigits(double value, int decimals) {
    std::string s(400, '\0');
    auto res = std::to_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    s.resize(std::size_t(res.ptr - s.data()));
    auto dot = s.find('.');
    if (dot == std::string::npos) {
        dot = s.size();
        s += '.';
    }
    std::string frac = s.substr(dot + 1);
    std::string whole = s.substr(0, dot);
    const bool up = int(frac.size()) > decimals && frac[std::size_t(decimals)] >= '5';
    frac.resize(std::size_t(decimals), '0');
    std::string digits = whole + frac;
    if (up) {
        int k = int(digits.size()) - 1;
        while (k >= 0 && digits[std::size_t(k)] == '9')
            digits[std::size_t(k--)] = '0';
        if (k >= 0)
            ++digits[std::size_t(k)];
        else
            digits.insert(digits.begin(), '1');
    }
    const std::size_t intLen = digits.size() - std::size_t(decimals);
    return decimals > 0 ? digits.substr(0, intLen) + "." + digits.substr(intLen) : digits;
}

// One section of a picture, applied to a non-negative value.
QString formatSection(double value, const QString& section) {
    const int point = int(section.indexOf('.'));
    const QString intPic = point < 0 ? section : section.left(point);
    const QString fracPic = point < 0 ? QString() : section.mid(point + 1);
    const bool grouping = intPic.contains(',');

    int decimals = 0;
    for (QChar c : fracPic)
        if (c == '0' || c == '#')
            ++decimals;

    const std::string fixed = roundedDigits(value, decimals);
    const auto dot = fixed.find('.');
    QString intDigits = QString::fromStdString(fixed.substr(0, dot));
    QString fracDigits = dot == std::string::npos ? QString() : QString::fromStdString(fixed.substr(dot + 1));
    if (intDigits == "0")
        intDigits.clear();

    // Integer part: placeholders take digits from the right; the leftmost takes all that remain.
    int placeholders = 0;
    for (QChar c : intPic)
        if (c == '0' || c == '#')
            ++placeholders;
    QString intOut;
    int remaining = int(intDigits.size());
    int seen = 0;
    for (int k = int(intPic.size()) - 1; k >= 0; --k) {
        const QChar c = intPic[k];
        if (c == ',')
            continue;
        if (c == '0' || c == '#') {
            ++seen;
            if (seen == placeholders && remaining > 0) {
                intOut.prepend(intDigits.left(remaining));
                remaining = 0;
            } else if (remaining > 0) {
                intOut.prepend(intDigits[--remaining]);
            } else if (c == '0') {
                intOut.prepend('0');
            }
        } else {
            intOut.prepend(c);
        }
    }
    if (remaining > 0) // no placeholders at all
        intOut.prepend(intDigits.left(remaining));

    bool anyDigit = false;
    for (QChar c : intOut)
        anyDigit = anyDigit || c.isDigit();
    if (grouping) {
        QString grouped;
        int count = 0;
        for (int k = int(intOut.size()) - 1; k >= 0; --k) {
            grouped.prepend(intOut[k]);
            if (intOut[k].isDigit() && ++count % 3 == 0 && k > 0 && intOut[k - 1].isDigit())
                grouped.prepend(',');
        }
        intOut = grouped;
    }

    // Fraction: "0" always prints; trailing "#" positions drop trailing zeros.
    QString fracOut;
    int di = 0;
    int lastKept = -1;
    for (int k = 0; k < fracPic.size(); ++k) {
        const QChar c = fracPic[k];
        if (c == '0' || c == '#') {
            const QChar d = di < fracDigits.size() ? fracDigits[di] : QChar('0');
            ++di;
            fracOut += d;
            if (c == '0' || d != '0')
                lastKept = int(fracOut.size()) - 1;
        } else {
            fracOut += c;
            lastKept = int(fracOut.size()) - 1;
        }
    }
    // Trailing '#' zeros are dropped, but not a zero that a later '0' or literal keeps.
    fracOut = fracOut.left(lastKept + 1);

    if (!anyDigit) {
        // At least one integer digit, so the text reads back with Val.
        const int at = int(intOut.size());
        intOut.insert(at, '0');
    }
    QString out = intOut;
    if (!fracOut.isEmpty())
        out += '.' + fracOut;
    return out;
}

} // namespace

// Whole numbers under pictures made only of "0" or only of "#" (the number pictures of every printed
// number): the digits straight from a 64-bit integer, with the same result as the general path.
static bool formatWholeNumber(double value, const QString& picture, QString& out) {
    if (!(value >= 0 && value < 9.0e15) || value != std::floor(value) || picture.isEmpty())
        return false;
    const QChar first = picture[0];
    if (first != '0' && first != '#')
        return false;
    for (QChar c : picture)
        if (c != first)
            return false;
    const auto width = picture.size();
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, std::int64_t(value));
    const auto digits = res.ptr - buf;
    out.clear();
    if (first == '0' && width > digits)
        out.fill('0', width - digits);
    out += QLatin1String(buf, digits);
    return true;
}

QString Format(double value, const QString& picture) {
    QString fast;
    if (formatWholeNumber(value, picture, fast))
        return fast;
    if (std::isnan(value))
        value = 0;
    if (std::isinf(value))
        value = value > 0 ? DBL_MAX : -DBL_MAX;
    QString pic = picture;
    pic.remove('"');
    const QStringList sections = pic.split(';');
    if (value == 0 && sections.size() >= 3)
        return formatSection(0, sections[2]);
    if (value < 0 && sections.size() >= 2)
        return formatSection(-value, sections[1]);
    if (value < 0) {
        const QString t = formatSection(-value, sections[0]);
        bool nonZero = false;
        for (QChar c : t)
            nonZero = nonZero || (c.isDigit() && c != '0');
        return nonZero ? "-" + t : t;
    }
    return formatSection(value, sections[0]);
}

} // namespace platform
