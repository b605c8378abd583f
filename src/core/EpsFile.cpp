#include "core/EpsFile.h"

#include "core/Bytes.h"
#include "platform/Numbers.h"
#include "platform/Text.h"

#include <QLatin1StringView>

namespace backdrop {

namespace {

constexpr std::uint32_t kDosEpsMagic = 0xC6D3D0C5; // bytes C5 D0 D3 C6 read little-endian
constexpr qint64 kDosEpsHeaderSize = 30;

// The line that starts at byte at (ending at CR, LF or CR LF) and where the next one starts.
struct Line {
    QByteArrayView text;
    qint64 next = 0;
};
Line LineAt(QByteArrayView file, qint64 at) {
    qint64 end = at;
    while (end < file.size() && file[end] != '\r' && file[end] != '\n')
        ++end;
    qint64 next = end;
    if (next < file.size())
        next += (file[next] == '\r' && next + 1 < file.size() && file[next + 1] == '\n') ? 2 : 1;
    return {file.sliced(at, end - at), next};
}

bool StartsWith(QByteArrayView line, const char* prefix) {
    return QLatin1StringView(line).startsWith(QLatin1StringView(prefix), Qt::CaseInsensitive);
}

int WholePoints(const QString& field) {
    return platform::Int(platform::Val(field));
}

} // namespace

bool HasEpsTextHeader(QByteArrayView file) {
    const QLatin1StringView first(LineAt(file, 0).text);
    return first.contains(QLatin1StringView("%!PS-Adobe-3."), Qt::CaseInsensitive) &&
           first.contains(QLatin1StringView("EPSF"), Qt::CaseInsensitive);
}

std::optional<DosEpsHeader> ReadDosEpsHeader(QByteArrayView file) {
    if (U32LE(file, 0) != kDosEpsMagic)
        return std::nullopt;
    auto field = [&](qint64 at) { return U32LE(file, at).value_or(0); };
    DosEpsHeader h;
    h.postScriptStart = std::int32_t(field(4));
    h.postScriptLength = std::int32_t(field(8));
    h.metafileStart = field(12);
    h.metafileLength = field(16);
    h.tiffStart = field(20);
    h.tiffLength = field(24);
    return h;
}

QByteArrayView DosEpsPreview(QByteArrayView file, const DosEpsHeader& h) {
    if (h.tiffStart >= kDosEpsHeaderSize && h.tiffLength > 0) {
        if (const auto named = Slice(file, h.tiffStart, h.tiffLength))
            return *named;
    }
    // Widened before adding, so that no 32-bit sum can wrap round to a position inside the file.
    const qint64 after = qint64(h.postScriptStart) + qint64(h.postScriptLength);
    if (after < 0 || after >= file.size())
        return {};
    return file.sliced(after);
}

StructuringComments ScanStructuringComments(QByteArrayView file, qint64 start) {
    StructuringComments found;
    qint64 at = start;
    while (at >= 0 && at < file.size()) {
        const Line line = LineAt(file, at);
        at = line.next;
        if (at >= file.size())
            break;
        if (!line.text.startsWith("%%"))
            continue;
        if (StartsWith(line.text, "%%BoundingBox:")) {
            const QString text = QString::fromUtf8(line.text);
            found.boundingBox = BoundingBox{
                WholePoints(platform::NthField(text, " ", 2)), WholePoints(platform::NthField(text, " ", 3)),
                WholePoints(platform::NthField(text, " ", 4)), WholePoints(platform::NthField(text, " ", 5))};
        }
        if (StartsWith(line.text, "%%Title:"))
            found.title = platform::Mid(QString::fromUtf8(line.text), 10);
        if (StartsWith(line.text, "%%BeginResource:"))
            break;
    }
    return found;
}

} // namespace backdrop
