// Writes the starting inputs of every fuzz target into the folder given (one folder per target), made
// here from scratch: small pictures of every format the backdrop reader knows, EPS files of both kinds,
// AppleDouble companions, preferences files, numbers and printer setup strings.
#include "platform/PrinterSetup.h"
#include "platform/UserQuestions.h"

#include <Magick++.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>
#include <cstdio>

namespace {

QString gRoot;

void Seed(const char* target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(gRoot + "/" + target);
    QFile file(gRoot + "/" + target + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
}

template <typename T> void Put(QByteArray& b, T v) {
    const T out = qToBigEndian(v);
    b.append(reinterpret_cast<const char*>(&out), sizeof out);
}
template <typename T> void PutLE(QByteArray& b, T v) {
    const T out = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&out), sizeof out);
}

QImage Card(QImage::Format format) {
    QImage card(24, 16, QImage::Format_RGB32);
    card.fill(Qt::white);
    QPainter p(&card);
    p.fillRect(2, 2, 8, 12, Qt::red);
    p.fillRect(12, 4, 10, 4, Qt::black);
    p.end();
    return card.convertToFormat(format, Qt::ThresholdDither);
}

QByteArray QtPicture(const char* format, QImage::Format pixels, int dpi) {
    QImage image = Card(pixels);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setCompression(1);
    writer.write(image);
    return bytes;
}

QByteArray MagickPicture(const char* coder, MagickCore::ImageType type) {
    Magick::Image image(Magick::Geometry(24, 16), Magick::Color("white"));
    image.fillColor("red");
    image.draw(Magick::DrawableRectangle(2, 2, 9, 13));
    image.type(type);
    image.resolutionUnits(MagickCore::PixelsPerInchResolution);
    image.density(Magick::Geometry(150, 150));
    image.magick(coder);
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

QByteArray Pdf() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(72, 48), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    painter.fillRect(0, 0, 500, 500, Qt::red);
    return bytes;
}

// A version 1 picture of 16 x 4 one-bit pixels, with its 512-byte file header.
QByteArray PictV1() {
    QByteArray b(512, '\0');
    for (quint16 v : {0, 0, 0, 4, 16})
        Put<quint16>(b, v);
    b += QByteArray::fromHex("1101a0008290");
    Put<quint16>(b, 2);
    for (int rect = 0; rect < 3; ++rect)
        for (quint16 v : {0, 0, 4, 16})
            Put<quint16>(b, v);
    Put<quint16>(b, 0);
    return b + QByteArray::fromHex("ffff800180018001ff");
}

QByteArray DosEps(const QByteArray& postScript, const QByteArray& tiff) {
    QByteArray b;
    const quint32 size = quint32(postScript.size());
    for (quint32 v : {0xC6D3D0C5u, 30u, size, 0u, 0u, 30 + size, quint32(tiff.size())})
        PutLE(b, v);
    return b + "\xFF\xFF" + postScript + tiff;
}

QByteArray AppleDouble(const QByteArray& pict) {
    QByteArray section, map(24, '\0'), fork, b;
    Put<quint32>(section, quint32(pict.size()));
    section += pict;
    for (quint16 v : {28, 50, 0})
        Put<quint16>(map, v);
    map.append("PICT", 4);
    for (int v : {0, 10, 256, 0xFFFF, 0, 0, 0, 0})
        Put<quint16>(map, quint16(v));
    for (quint32 v : {256u, 256u + quint32(section.size()), quint32(section.size()), quint32(map.size())})
        Put<quint32>(fork, v);
    fork.resize(256, '\0');
    fork += section + map;
    for (quint32 v : {0x00051607u, 0x00020000u, 0u, 0u, 0u, 0u})
        Put<quint32>(b, v);
    Put<quint16>(b, 1);
    for (quint32 v : {2u, 38u, quint32(fork.size())})
        Put<quint32>(b, v);
    return b + fork;
}

// The backdrop target's input: the companion (backslashes doubled, ended by a backslash and one more
// character), the file, and a last byte whose low bit says whether there is a companion.
QByteArray BackdropInput(const QByteArray& file, const QByteArray& companion = {}) {
    if (companion.isEmpty())
        return file + '\0';
    QByteArray escaped = companion;
    escaped.replace("\\", "\\\\");
    return escaped + "\\e" + file + '\1';
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Magick::InitializeMagick(nullptr);
    platform::SetQuestions(std::make_unique<platform::ScriptedQuestions>());
    gRoot = QString::fromLocal8Bit(argv[1]);

    const QByteArray eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%Title: Ticket\n%%BoundingBox: 36 72 576 720\n"
                           "%%BeginResource: procset\n%%BoundingBox: 0 0 1 1\n%%EOF\n";
    const QByteArray pict = MagickPicture("PICT", MagickCore::TrueColorType);
    const QList<std::pair<QString, QByteArray>> pictures = {
        {"rgb.png", QtPicture("png", QImage::Format_RGB32, 300)},
        {"mono.png", QtPicture("png", QImage::Format_Mono, 72)},
        {"grey.png", QtPicture("png", QImage::Format_Grayscale8, 150)},
        {"palette.png", QtPicture("png", QImage::Format_Indexed8, 0)},
        {"rgb.jpg", QtPicture("jpeg", QImage::Format_RGB32, 300)},
        {"grey.jpg", QtPicture("jpeg", QImage::Format_Grayscale8, 72)},
        {"rgb.bmp", QtPicture("bmp", QImage::Format_RGB32, 300)},
        {"mono.bmp", QtPicture("bmp", QImage::Format_Mono, 300)},
        {"rgb.tif", QtPicture("tiff", QImage::Format_RGB32, 300)},
        {"mono.tif", QtPicture("tiff", QImage::Format_Mono, 600)},
        {"grey.tif", QtPicture("tiff", QImage::Format_Grayscale8, 600)},
        {"page.pdf", Pdf()},
        {"rgb.psd", MagickPicture("PSD", MagickCore::TrueColorType)},
        {"grey.psd", MagickPicture("PSD", MagickCore::GrayscaleType)},
        {"rgb.pct", pict},
        {"mono.pct", MagickPicture("PICT", MagickCore::BilevelType)},
        {"v1.pct", PictV1()},
    };
    for (const auto& [name, bytes] : pictures) {
        Seed("picture", name, bytes);
        Seed("backdrop", name, BackdropInput(bytes));
    }
    for (const QByteArray& p : {pict, MagickPicture("PICT", MagickCore::BilevelType), PictV1()}) {
        static int n = 0;
        Seed("pict", QString("file%1.pct").arg(n), p);
        Seed("pict", QString("resource%1.pct").arg(n++), p.mid(512));
    }
    const QByteArray dos = DosEps(eps, QtPicture("tiff", QImage::Format_Mono, 72));
    const QByteArray companion = AppleDouble(pict.mid(512));
    for (const auto& [name, bytes] : QList<std::pair<QString, QByteArray>>{
             {"text.eps", eps}, {"dos.eps", dos}, {"companion", companion}, {"pict.pct", pict}}) {
        Seed("containers", name, bytes);
    }
    Seed("containers", "rgb.png", QtPicture("png", QImage::Format_RGB32, 300));
    Seed("containers", "rgb.jpg", QtPicture("jpeg", QImage::Format_RGB32, 300));
    Seed("containers", "rgb.bmp", QtPicture("bmp", QImage::Format_RGB32, 300));
    Seed("containers", "rgb.tif", QtPicture("tiff", QImage::Format_RGB32, 300));
    Seed("backdrop", "text.eps", BackdropInput(eps));
    Seed("backdrop", "dos.eps", BackdropInput(dos));
    Seed("backdrop", "companion.eps", BackdropInput(eps, companion));

    const QByteArray header =
        "job.num\n105\n99\n210\n297\n2\n105\n3\n99\n0\n1\n600\n\n0\n0\n105\n99\n100\n100\n0\n0\n"
        "false\n";
    const QByteArray object =
        "Serial\n20.5\n30.25\n/#######\n0\n5, Mod 10\nArial\nBold\n14\nC000M000Y000K100\n0\n";
    const QByteArray turned =
        "Stub\n90\n80\n^A####-#\n1\n1, Mod 7\nDejaVu Sans\nBoldItalic\n9.5\nC010M020Y030K040\n90\n";
    Seed("document", "empty.num", header + "0\n");
    Seed("document", "two.num", header + "2\n" + object + turned);
    Seed("document", "crlf.num", QByteArray(header + "1\n" + object).replace("\n", "\r\n"));
    Seed("document", "cr.num", QByteArray(header + "1\n" + turned).replace("\n", "\r"));
    Seed("document", "exponent.num", QByteArray(header + "1\n" + object).replace("\n600\n", "\n6e+2\n"));
    Seed("prefs", "usual", "\n\n/home/printer/jobs/tickets.num\ntallio-page-setup/1;paper=A4\n");
    Seed("prefs", "windows", "\r\n\r\n/jobs/a.num\r\nsetup;one\r\nsetup;two\r\n");
    Seed("prefs", "old-mac", "\r\r/jobs/a.num\rsetup\r");
    Seed("prefs", "short", "\n");
    Seed("prefs", "empty", "");

    // Numbers: the last byte chooses the function (0 Val, 1 Str and Int, 2 Format, 3 CalcMod).
    const QByteArray texts[] = {"  -12.5e3xyz", "&hFF", "1.7976931348623157e308", "0.1", "-0", "+.5E-3"};
    for (int k = 0; k < 6; ++k)
        Seed("numbers", QString("val%1").arg(k), texts[k] + '\0');
    Seed("numbers", "str", QByteArray::fromHex("3ff199999999999a01"));
    Seed("numbers", "format",
         QByteArray("#,##0.00;(#,##0.00);\"zero\"\\") + QByteArray::fromHex("40c81cd6e631f8a102"));
    Seed("numbers", "calcmod",
         QByteArray("/000000-^3") + QByteArray::fromHex("0000000700000000000f424000000003"));

    platform::PrinterSetup setup;
    Seed("setup", "default", setup.SetupString().toUtf8());
    Seed("setup", "letter",
         "tallio-page-setup/1;paper=Letter;orientation=landscape;margins=10 10 10 10 mm;"
         "printer=Office%3B 2;file=/tmp/out.pdf");
    Seed("setup", "custom", "tallio-page-setup/1;paper=custom 105x99 mm;margins=0 0 0 0 pt");
    return 0;
}
