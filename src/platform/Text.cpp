#include "platform/Text.h"

#include <QStringList>

namespace platform {

QString Mid(const QString& s, int start) {
    return Mid(s, start, int(s.size()));
}

QString Mid(const QString& s, int start, int length) {
    if (start < 1)
        start = 1;
    if (length <= 0 || start > s.size())
        return QString();
    return s.mid(start - 1, length);
}

QString Left(const QString& s, int count) {
    return count <= 0 ? QString() : s.left(count);
}
QString Right(const QString& s, int count) {
    return count <= 0 ? QString() : s.right(count);
}
int Len(const QString& s) {
    return int(s.size());
}

static int find(int start, const QString& s, const QString& what, Qt::CaseSensitivity cs) {
    if (what.isEmpty() || start > s.size())
        return 0;
    return int(s.indexOf(what, start < 1 ? 0 : start - 1, cs)) + 1;
}

int InStr(const QString& s, const QString& f) {
    return find(1, s, f, Qt::CaseInsensitive);
}
int InStr(int start, const QString& s, const QString& f) {
    return find(start, s, f, Qt::CaseInsensitive);
}
int InStrB(const QString& s, const QString& f) {
    return find(1, s, f, Qt::CaseSensitive);
}
int InStrB(int start, const QString& s, const QString& f) {
    return find(start, s, f, Qt::CaseSensitive);
}

QString NthField(const QString& s, const QString& separator, int n) {
    if (n < 1 || separator.isEmpty())
        return (n == 1 && separator.isEmpty()) ? s : QString();
    const QStringList fields = s.split(separator, Qt::KeepEmptyParts, Qt::CaseInsensitive);
    return n <= fields.size() ? fields[n - 1] : QString();
}

int Asc(const QString& s) {
    if (s.isEmpty())
        return 0;
    if (s.size() > 1 && s[0].isHighSurrogate() && s[1].isLowSurrogate())
        return int(QChar::surrogateToUcs4(s[0], s[1]));
    return s[0].unicode();
}

QString Chr(int code) {
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return QString();
    const char32_t c = char32_t(code);
    return QString::fromUcs4(&c, 1);
}

QString Replace(const QString& s, const QString& oldText, const QString& newText) {
    const int at = InStr(s, oldText);
    if (at == 0)
        return s;
    QString r = s;
    r.replace(at - 1, oldText.size(), newText);
    return r;
}

QString Hex(qint64 value) {
    return QString::number(quint32(value), 16).toUpper();
}

} // namespace platform
