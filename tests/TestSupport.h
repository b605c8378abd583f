// Helpers shared by the test suites: the running test's scripted user questions and temporary folder,
// files, PDFs read back, pictures and number objects.
#pragma once

#include "platform/UserQuestions.h"
#include "platform/Variant.h"
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <ostream>
#include <vector>

namespace testing_support {

// What the test main does before every test: every layer's process-wide state put back as at start-up,
// a fresh configuration folder, temporary folder and scripted questions.
void StartAsNewTest();
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
// Makes a folder of the test's own the user's documents folder, and returns it.
QString UseDocumentsFolder();
// Writes the document as it stands (the main window's header values included) to a file, as a save
// does, leaving the document's own name and modified mark as they are.
bool WriteDocumentFile(const QString& path);

// What a program writes on its standard output.
QString Output(const QString& program, const QStringList& args);
// A PDF's page count, and the words of one page (0: of every page) as pdftotext reads them.
int PdfPages(const QString& pdf);
// The size of a PDF's first page in whole mm, as pdfinfo reads it.
QSize PdfPageSize(const QString& pdf);
struct PdfWord {
    QString text;
    QRectF box; // mm from the paper's top-left corner
    bool operator==(const PdfWord&) const = default;
};
std::vector<PdfWord> PdfWords(const QString& pdf, int page = 0);
inline void PrintTo(const PdfWord& w, std::ostream* os) {
    *os << w.text.toStdString() << " at " << w.box.x() << "," << w.box.y();
}

// The images a PDF draws, one for every drawing, as pdfimages lists them.
struct PdfImage {
    int page = 0;
    int width = 0, height = 0;
    QString colour;   // "gray", "rgb", ...
    int bits = 0;     // per component
    QString encoding; // "image" (no loss), "jpeg", ...
    QString object;   // the PDF object drawn: the same for every drawing of one embedded image
    int xppi = 0;     // pixels per inch as drawn
};
std::vector<PdfImage> PdfImages(const QString& pdf);
// The images drawn on one page of a PDF, in drawing order, as pdfimages extracts their pixels.
std::vector<QImage> PdfPageImages(const QString& pdf, int page);
// One page of a PDF as pdftoppm renders it at dpi, in colour or grey; null when it cannot.
QImage RenderedPdfPage(const QString& pdf, int page, int dpi, bool grey = false);
// A BMP file with a 40-byte header, a grey colour table for 1 to 8 bits and the pixel data as given (rows
// padded to 4 bytes, or run-length codes for compression 1, RLE8, and 2, RLE4). A negative height stores
// the rows top down.
QByteArray Bmp(int width, int height, int bits, const QByteArray& pixels, int compression = 0);

// The most any colour channel of two images differs at one pixel; 256 when their sizes differ.
int LargestChannelDifference(const QImage& a, const QImage& b);

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
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << " x " << s.height();
}
