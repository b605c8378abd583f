#include "core/Module1.h"
#include "platform/Numbers.h"
#include "platform/Text.h"

using namespace platform;

namespace Module1 {

namespace {

// Remainder of the digit text d by m, carried as text through windows of eight characters so that
// every window fits an Int32. Complement methods give m - remainder in the last window.
QString longDivision(const QString& d, std::int32_t m, bool complement) {
    // Fifteen digits fit 64 bits, where the windowed division gives exactly N mod m.
    if (d.size() == 15) {
        std::int64_t n = 0;
        bool digits = true;
        for (QChar c : d) {
            digits = digits && c >= '0' && c <= '9';
            n = n * 10 + (c.unicode() - '0');
        }
        if (digits) {
            const std::int64_t q = n % m;
            return QString::number(complement ? m - q : q);
        }
    }
    QString r;
    QString s = d;
    while (!s.isEmpty()) {
        const double x = Val(Left(r + s, 8));
        s = Mid(s, 9);
        const std::int32_t q = Int(x) % m;
        r = (complement && s.isEmpty()) ? Str(m - q) : Str(q);
    }
    return r;
}

} // namespace

QString CalcMod(std::int32_t i, double v) {
    QString picture = RecPos(i, 3).StringValue();
    const Variant& methodCell = RecPos(i, 5);
    // The method is the leading number of the cell's text; a number cell gives the same value directly.
    const double method = (methodCell.IsInt32() || methodCell.IsDouble()) ? methodCell.DoubleValue()
                                                                          : Val(methodCell.StringValue());

    const QString d = Format(v, QStringLiteral("000000000000000"));

    // A method outside 0..7 runs no branch and leaves the check text at the fifteen-digit form.
    QString c = d;
    if (method == 0)
        c = QString();
    else if (method == 1)
        c = longDivision(d, 7, false);
    else if (method == 2)
        c = longDivision(d, 7, true);
    else if (method == 3)
        c = longDivision(d, 9, false);
    else if (method == 4)
        c = longDivision(d, 9, true);
    else if (method == 5)
        c = longDivision(d, 10, false);
    else if (method == 6)
        c = longDivision(d, 10, true);
    else if (method == 7)
        c = calcEAN(d);
    if (c == QLatin1String("10"))
        c = QStringLiteral("X");

    QString t = picture.startsWith('/') ? d + c : Format(v, QStringLiteral("###############")) + c;

    // Letter shift: the first "^" and the character after it move every character of the text.
    const int k = int(picture.indexOf('^')) + 1;
    if (k > 0) {
        const QString shift = Mid(picture, k + 1, 1);
        const int offset = Asc(shift) - Asc("0");
        picture = Replace(picture, "^" + shift, "");
        QString shifted;
        shifted.reserve(t.size());
        for (QChar c : t) // the composed text is plain ASCII: digits, a sign, "X"
            shifted += Chr(c.unicode() + offset);
        t = shifted;
    }

    if (picture.isEmpty())
        return t;

    // Lay the text into the picture from the right: "#" takes the next character, "/" prints nothing.
    QString result(picture.size(), QChar());
    qsizetype out = result.size();
    qsizetype n = t.size();
    for (qsizetype p = picture.size() - 1; p >= 0; --p) {
        const QChar ch = picture[p];
        if (ch == '#') {
            if (n >= 1)
                result[--out] = t[n - 1];
            --n;
        } else if (ch != '/') {
            result[--out] = ch;
        }
    }
    return result.mid(out);
}

QString calcEAN(const QString& s) {
    // Weights alternate 3 and 1 so that the last character always has weight 3.
    const QString w = Right("31313131313131313", Len(s));
    // A character that is no digit counts as 0, as its number value is 0.
    auto digit = [](const QString& text, int j) {
        const QChar c = j < text.size() ? text[j] : QChar();
        return c >= '0' && c <= '9' ? c.unicode() - '0' : 0;
    };
    std::int32_t sum = 0;
    for (int j = 0; j < Len(s); ++j)
        sum = Int(double(sum) + double(digit(w, j)) * digit(s, j));
    return Right(Str(10 - sum % 10), 1);
}

} // namespace Module1
