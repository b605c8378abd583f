// Helpers shared by the test suites: the running test's scripted user questions and temporary folder,
// files, PDFs read back, pictures and number objects.
#pragma once

#include "platform/UserQuestions.h"
#include "platform/Variant.h"
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <ostream>
#include <vector>

namespace testing_support {

// The scripted questions of the running test (a fresh one for every test).
platform::ScriptedQuestions& Scripted();
// The test's own empty temporary folder, removed after the test.
QString TempDir();
// A file under tests/data.
QString DataFile(const QString& name);

// A file's bytes ("<missing>" when it cannot be read); a file written with bytes.
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// The preferences file of the running test.
QString PrefsPath();

// What a program writes on its standard output.
QString Output(const QString& program, const QStringList& args);
// A PDF's page count, and the words of one page (0: of every page) as pdftotext reads them.
int PdfPages(const QString& pdf);
struct PdfWord {
    QString text;
    QRectF box; // mm from the paper's top-left corner
    bool operator==(const PdfWord&) const = default;
};
std::vector<PdfWord> PdfWords(const QString& pdf, int page = 0);
inline void PrintTo(const PdfWord& w, std::ostream* os) {
    *os << w.text.toStdString() << " at " << w.box.x() << "," << w.box.y();
}

// A BMP file with a 40-byte header, a grey colour table for 1 to 8 bits and the pixel data as given (rows
// padded to 4 bytes, or run-length codes for compression 1, RLE8, and 2, RLE4). A negative height stores
// the rows top down.
QByteArray Bmp(int width, int height, int bits, const QByteArray& pixels, int compression = 0);

// The bounding box of the pixels within area (the whole image when null) that are not white.
QRect InkBox(const QImage& image, QRect area = {});

// A number object with the usual values of a document's object.
struct Object {
    QString name = "n";
    double x = 0, y = 0;
    QString picture;
    double increment = 0;
    QString method = "0, None", font = "Arial", style = "Normal";
    double size = 14;
    QString colour = "C000M000Y000K100";
    double angle = 0;
    platform::Color display = platform::RGB(0, 0, 0);
};
// Puts it into the next row of the object table and returns the row.
int AddObject(const Object& o);

} // namespace testing_support

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
