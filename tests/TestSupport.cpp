#include "TestSupport.h"
#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "platform/FolderItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace testing_support {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

QByteArray Bmp(int width, int height, int bits, const QByteArray& pixels, int compression) {
    const int colours = bits <= 8 ? 1 << bits : 0;
    const quint32 offset = 14 + 40 + 4 * colours;
    QByteArray b("BM");
    auto put = [&b](quint32 v, int size) {
        for (int k = 0; k < size; ++k)
            b += char((v >> (8 * k)) & 0xFF);
    };
    put(offset + quint32(pixels.size()), 4);
    put(0, 4);
    put(offset, 4);
    for (const auto& [v, size] : std::initializer_list<std::pair<quint32, int>>{{40, 4},
                                                                                {quint32(width), 4},
                                                                                {quint32(height), 4},
                                                                                {1, 2},
                                                                                {quint32(bits), 2},
                                                                                {quint32(compression), 4},
                                                                                {quint32(pixels.size()), 4},
                                                                                {11811, 4},
                                                                                {11811, 4},
                                                                                {0, 4},
                                                                                {0, 4}})
        put(v, size);
    for (int k = 0; k < colours; ++k)
        put(quint32(k * 255 / (colours - 1)) * 0x010101u, 4);
    return b + pixels;
}

QString PrefsPath() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tallio.txt";
}

QString UseDocumentsFolder() {
    const QString documents = TempDir() + "/Documents", config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QDir().mkpath(documents);
    QDir().mkpath(config);
    WriteBytes(config + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n");
    return documents;
}

bool WriteDocumentFile(const QString& path) {
    Module1::SyncHead(false);
    Module1::SaveHead();
    platform::FolderItem f(path);
    return Module1::WriteDocument(f);
}

QString Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(Output("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QSize PdfPageSize(const QString& pdf) {
    const auto m =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(Output("pdfinfo", {pdf}));
    constexpr double mmPerPt = 25.4 / 72;
    return m.hasMatch()
               ? QSize(qRound(m.captured(1).toDouble() * mmPerPt), qRound(m.captured(2).toDouble() * mmPerPt))
               : QSize();
}

std::vector<PdfWord> PdfWords(const QString& pdf, int page) {
    QStringList args = {"-bbox", pdf, "-"};
    if (page > 0)
        args = QStringList({"-f", QString::number(page), "-l", QString::number(page)}) + args;
    static const QRegularExpression re(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    constexpr double mmPerPt = 25.4 / 72;
    std::vector<PdfWord> words;
    for (auto it = re.globalMatch(Output("pdftotext", args)); it.hasNext();) {
        const auto m = it.next();
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble()),
            to(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.push_back({m.captured(5), QRectF(from * mmPerPt, to * mmPerPt)});
    }
    return words;
}

std::vector<PdfImage> PdfImages(const QString& pdf) {
    std::vector<PdfImage> images;
    const QStringList rows = Output("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    for (const QString& row : rows.mid(2)) {
        const QStringList c = row.simplified().split(' ');
        if (c.size() >= 14)
            images.push_back({c[0].toInt(), c[3].toInt(), c[4].toInt(), c[5], c[7].toInt(), c[8],
                              c[10] + ' ' + c[11], c[12].toInt()});
    }
    return images;
}

std::vector<QImage> PdfPageImages(const QString& pdf, int page) {
    const QString folder = TempDir() + QString("/images-of-page-%1").arg(page);
    QDir().mkpath(folder);
    Output("pdfimages",
           {"-png", "-f", QString::number(page), "-l", QString::number(page), pdf, folder + "/i"});
    std::vector<QImage> images;
    for (const QString& name : QDir(folder).entryList({"i-*.png"}, QDir::Files, QDir::Name))
        images.emplace_back(folder + '/' + name);
    return images;
}

QImage RenderedPdfPage(const QString& pdf, int page, int dpi, bool grey) {
    const QString prefix =
        TempDir() + QString("/%1-page-%2-%3dpi").arg(QFileInfo(pdf).completeBaseName()).arg(page).arg(dpi);
    QFile::remove(prefix + ".png"); // never an earlier rendering
    QStringList args = {"-r", QString::number(dpi),  "-f",          QString::number(page),
                        "-l", QString::number(page), "-singlefile", "-png"};
    if (grey)
        args << "-gray";
    Output("pdftoppm", args << pdf << prefix);
    return QImage(prefix + ".png");
}

int LargestChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 256;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    return most;
}

QRect InkBox(const QImage& image, QRect area) {
    QRect box;
    area = area.isNull() ? image.rect() : area;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != 0xffffffff)
                box |= QRect(x, y, 1, 1);
    return box;
}

int AddObject(const Object& o) {
    using Module1::RecPos;
    const platform::Variant fields[] = {o.name, o.x,     o.y,    o.picture, o.increment, o.method,
                                        o.font, o.style, o.size, o.colour,  o.angle};
    const int row = Module1::TotalObjects++;
    for (int f = 0; f < 11; ++f)
        RecPos(row, f) = fields[f];
    RecPos(row, 14) = o.display;
    return row;
}

} // namespace testing_support
