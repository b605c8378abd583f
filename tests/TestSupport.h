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
