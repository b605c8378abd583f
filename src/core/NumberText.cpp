#include "core/Module1.h"
#include "platform/Numbers.h"
#include "platform/Text.h"

using namespace platform;

namespace Module1 {

namespace {

// Remainder of the digit text d by m, carried as text through windows of eight characters so that
// every window fits an Int32. Complement methods give m - remainder in the last window.
QString longDivision(const QString& d, std::int32_t m, bool complement) {
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
    const double method = Val(RecPos(i, 5).StringValue());

    const QString d = Format(v, "000000000000000");

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
    if (c == "10")
        c = "X";

    QString t = Left(picture, 1) == "/" ? d + c : Format(v, "###############") + c;

    // Letter shift: the first "^" and the character after it move every character of the text.
    const int k = InStrB(picture, "^");
    if (k > 0) {
        const QString shift = Mid(picture, k + 1, 1);
        const int offset = Asc(shift) - Asc("0");
        picture = Replace(picture, "^" + shift, "");
        QString shifted;
        for (int j = 1; j <= Len(t); ++j)
            shifted += Chr(Asc(Mid(t, j, 1)) + offset);
        t = shifted;
    }

    if (picture.isEmpty())
        return t;

    // Lay the text into the picture from the right: "#" takes the next character, "/" prints nothing.
    QString result;
    int n = Len(t);
    for (int p = Len(picture); p >= 1; --p) {
        const QString ch = Mid(picture, p, 1);
        if (ch == "#") {
            if (n >= 1)
                result.prepend(Mid(t, n, 1));
            --n;
        } else if (ch != "/") {
            result.prepend(ch);
        }
    }
    return result;
}

QString calcEAN(const QString& s) {
    // Weights alternate 3 and 1 so that the last character always has weight 3.
    const QString w = Right("31313131313131313", Len(s));
    std::int32_t sum = 0;
    for (int j = 1; j <= Len(s); ++j)
        sum = Int(double(sum) + Val(Mid(w, j, 1)) * Val(Mid(s, j, 1)));
    return Right(Str(10 - sum % 10), 1);
}

} // namespace Module1
