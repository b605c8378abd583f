// Picture files made by the tests: plain pictures in every backdrop format, EPS files with a text or a DOS
// header, and AppleDouble companions holding a resource fork.
#pragma once

#include <QByteArray>
#include <QString>

namespace picture_files {

// A red picture saved by Qt ("tiff", "jpeg", "bmp", "png"); dpi 0 writes a file that states no resolution.
QByteArray QtPicture(const char* format, int width, int height, int dpi);
// A red picture written by Magick++ ("PSD", "PICT").
QByteArray MagickPicture(const char* coder, int width, int height, int dpi);
// A one-page PDF of this size in points, with a second page that must not be read.
QByteArray PdfPages(int widthPoints, int heightPoints);
// A DOS EPS: the binary header, the PostScript and the TIFF preview; names the TIFF section when asked.
QByteArray DosEps(const QByteArray& postScript, const QByteArray& tiff, bool namesTiff);
// A resource fork holding one resource, and an AppleDouble file holding that fork.
QByteArray ResourceFork(const char* type, int id, const QByteArray& data);
QByteArray AppleDouble(const QByteArray& resourceFork);

// Writes the bytes to a file of this name in the test's temporary folder and gives its path.
QString Write(const QString& name, const QByteArray& bytes);

} // namespace picture_files
