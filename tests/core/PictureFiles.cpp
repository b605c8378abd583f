#include "PictureFiles.h"
#include "TestSupport.h"

#include <Magick++.h>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>
#include <cmath>

namespace picture_files {

namespace {
// Appends a number of this type in big-endian (Mac) or little-endian (DOS) order.
template <typename T> void Put(QByteArray& b, T v, bool bigEndian = true) {
    const T out = bigEndian ? qToBigEndian(v) : qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&out), sizeof out);
}
} // namespace

QByteArray QtPicture(const char* format, int width, int height, int dpi) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    const int dpm = int(std::lround((dpi ? dpi : 96) / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    if (dpi == 0 && QByteArray(format) == "jpeg")
        bytes[13] = 0; // JFIF density unit: none, only an aspect ratio
    return bytes;
}

QByteArray MagickPicture(const char* coder, int width, int height, int dpi) {
    Magick::InitializeMagick(nullptr);
    Magick::Image image(Magick::Geometry(width, height), Magick::Color("red"));
    image.resolutionUnits(MagickCore::PixelsPerInchResolution);
    image.density(Magick::Geometry(dpi, dpi));
    image.magick(coder);
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

QByteArray PdfPages(int widthPoints, int heightPoints) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(widthPoints, heightPoints), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    painter.fillRect(0, 0, 100, 100, Qt::red);
    writer.newPage();
    painter.end();
    return bytes;
}

QByteArray DosEps(const QByteArray& postScript, const QByteArray& tiff, bool namesTiff) {
    QByteArray b;
    for (quint32 v :
         {0xC6D3D0C5u, 30u, quint32(postScript.size()), 0u, 0u,
          namesTiff ? quint32(30 + postScript.size()) : 0u, namesTiff ? quint32(tiff.size()) : 0u})
        Put(b, v, false);
    b.append("\xFF\xFF", 2); // no checksum
    return b + postScript + tiff;
}

QByteArray ResourceFork(const char* type, int id, const QByteArray& data) {
    QByteArray section;
    Put<quint32>(section, quint32(data.size()));
    section += data;
    const quint32 dataOffset = 256, mapOffset = dataOffset + quint32(section.size());
    QByteArray map(16 + 4 + 2 + 2, '\0');
    Put<quint16>(map, 28); // type list, right after this header
    Put<quint16>(map, 28 + 2 + 8 + 12);
    Put<quint16>(map, 0); // one type
    map.append(type, 4);
    Put<quint16>(map, 0);  // one resource
    Put<quint16>(map, 10); // its reference, after the type list
    Put<quint16>(map, quint16(id));
    Put<quint16>(map, 0xFFFF); // no name
    Put<quint32>(map, 0);      // attributes 0, data at 0
    Put<quint32>(map, 0);
    QByteArray fork;
    for (quint32 v : {dataOffset, mapOffset, quint32(section.size()), quint32(map.size())})
        Put<quint32>(fork, v);
    fork.resize(dataOffset, '\0');
    return fork + section + map;
}

QByteArray AppleDouble(const QByteArray& resourceFork) {
    QByteArray b;
    Put<quint32>(b, 0x00051607);
    Put<quint32>(b, 0x00020000);
    b.append(16, '\0');
    Put<quint16>(b, 1);
    Put<quint32>(b, 2); // resource fork
    Put<quint32>(b, 38);
    Put<quint32>(b, quint32(resourceFork.size()));
    return b + resourceFork;
}

QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = testing_support::TempDir() + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace picture_files
