// Prints a reference job (105 x 99 mm tickets, 2 across x 3 down on A4, three number objects) to PDF
// through the scripted print dialog: plain, with a 300-dpi colour backdrop, and with a 600-dpi one-bit
// and a 600-dpi grey A4 backdrop under an A4 page and under the tickets; and the same job drawn
// straight with QPainter, the yardstick. Prints sheets per second, the ratio of the print run's speed
// to the yardstick's, the peak memory of each run at a tenth and at the whole number of sheets, PDF
// sizes and the images the PDFs hold, also with every number drawn through Qt's text layout instead of
// as a glyph run. Every measured run is made in a fresh process of its own (the program started again),
// so that no run finds the allocator as an earlier one left it.
#include "OwnProcess.h"
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/Window1.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/UserQuestions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace Module1;

namespace {

int Sheets = 10000; // or the first argument

long peakKiB() {
    return bench::StatusKiB("VmHWM:");
}

void object(int i, double x, double y, const QString& picture, int method, const QString& style, double size,
            double angle) {
    RecPos(i, 0) = QString("n%1").arg(i);
    RecPos(i, 1) = x;
    RecPos(i, 2) = y;
    RecPos(i, 3) = picture;
    RecPos(i, 4) = 0.0;
    RecPos(i, 5) = QString::number(method);
    RecPos(i, 6) = "Arial";
    RecPos(i, 7) = style;
    RecPos(i, 8) = size;
    RecPos(i, 9) = "C000M000Y000K100";
    RecPos(i, 10) = angle;
    RecPos(i, 14) = platform::RGB(0, 0, 0);
}

// The tickets: a cell of 105 x 99 mm, two across and three down on A4.
void referenceJob(int sheets) {
    InitGlobals();
    FileTypes::Init();
    PageResolution = 100;
    AdocWidth = 105;
    AdocHeight = 99;
    AsigWidth = 210;
    AsigHeight = 297;
    AstepR = 2;
    AstepRV = 105;
    AstepD = 3;
    AstepDV = 99;
    Astart = 1;
    Aqty = sheets * 6;
    Aback = false;
    CurrentObject = -1;
    TotalObjects = 3;
    object(0, 20, 20, "/#######", 0, "Normal", 14, 0);
    object(1, 20, 40, "/########", 5, "Bold", 12, 0);
    object(2, 90, 80, "/#######", 0, "Normal", 10, 90);
    EPSmaskWidth = 105;
    EPSmaskHeight = 99;
    EPSscaleX = EPSscaleY = 100;
    EPSdirty = true;
}

// One A4 document page on each A4 sheet, with the reference job's numbers.
void a4Job(int sheets) {
    referenceJob(sheets);
    AdocWidth = AsigWidth = 210;
    AdocHeight = AsigHeight = 297;
    AstepR = AstepD = 1;
    Aqty = sheets;
    EPSmaskWidth = 210;
    EPSmaskHeight = 297;
}

std::shared_ptr<platform::Picture> backdrop() {
    auto pic = platform::NewPicture(1240, 1169, 32); // 105 x 99 mm at 300 dpi
    pic->SetHorizontalResolution(300);
    pic->SetVerticalResolution(300);
    auto& g = pic->Graphics();
    g.ForeColor = platform::RGB(200, 220, 255);
    g.FillRect(40, 40, 1160, 1089);
    g.ForeColor = platform::RGB(80, 80, 80);
    g.TextSize = 60;
    g.DrawString("Admission ticket", 100, 200);
    g.End();
    return pic;
}

// A scanned A4 form at 600 dpi as the reader leaves grey and one-bit pictures: a frame, rules, text
// and (for grey) a shaded band. Drawn in grey, then thresholded for the one-bit picture.
std::shared_ptr<platform::Picture> a4Backdrop(QImage::Format format) {
    QImage grey(4960, 7016, QImage::Format_Grayscale8);
    grey.fill(255);
    {
        QPainter p(&grey);
        p.setPen(QPen(Qt::black, 12));
        p.drawRect(120, 120, 4720, 6776);
        for (int y = 600; y < 6800; y += 300)
            p.drawLine(240, y, 4720, y);
        QFont f("Arial");
        f.setPixelSize(160);
        p.setFont(f);
        for (int y = 560; y < 6800; y += 600)
            p.drawText(300, y, "Admission ticket - keep this part");
        if (format == QImage::Format_Grayscale8)
            p.fillRect(240, 2000, 4480, 900, QColor(210, 210, 210));
    }
    QImage image = format == QImage::Format_Mono
                       ? grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
                       : std::move(grey);
    auto pic = std::make_shared<platform::Picture>(std::move(image));
    pic->SetHorizontalResolution(600);
    pic->SetVerticalResolution(600);
    return pic;
}

struct Result {
    double seconds = 0;
    long peak = 0; // KiB
    qint64 bytes = 0;
    long held = 0; // KiB resident before the run, holding its picture
};

Result printRun(const QString& pdf, std::shared_ptr<platform::Picture> backdrop) {
    platform::SharedInstance<Window1>(); // the print run refits the page view afterwards
    Module1::TheBackdrop.SetPicture(std::move(backdrop));
    auto& q = static_cast<platform::ScriptedQuestions&>(platform::Questions());
    q.printAnswers = {pdf};
    QElapsedTimer t;
    t.start();
    PrintStart();
    const Result r{t.nsecsElapsed() / 1e9, peakKiB(), QFileInfo(pdf).size()};
    Module1::TheBackdrop.SetPicture(nullptr);
    return r;
}

// The same sheets drawn with nothing but QPainter: the lower bound on this stack.
Result direct(const QString& pdf, int sheets) {
    QElapsedTimer t;
    t.start();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter p(&printer);
    const double dpmm = printer.resolution() / 25.4;
    QFont f14("Arial"), f12("Arial"), f10("Arial");
    f14.setPixelSize(int(14 * printer.resolution() / 72.0));
    f12.setPixelSize(int(12 * printer.resolution() / 72.0));
    f12.setBold(true);
    f10.setPixelSize(int(10 * printer.resolution() / 72.0));
    const QPointF origin = -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
    for (int s = 0; s < sheets; ++s) {
        if (s > 0)
            printer.newPage();
        for (int k = 0; k < 6; ++k) {
            const QPointF cell = origin + QPointF((k / 3) * 105 * dpmm, (k % 3) * 99 * dpmm);
            const qint64 n = 1 + qint64(k) * sheets + s;
            const QString digits = QString::number(n).rightJustified(7, '0');
            p.setFont(f14);
            p.drawText(cell + QPointF(20 * dpmm, 20 * dpmm), digits);
            p.setFont(f12);
            p.drawText(cell + QPointF(20 * dpmm, 40 * dpmm), digits + QString::number(n % 10));
            p.save();
            p.translate(cell + QPointF(90 * dpmm, 80 * dpmm));
            p.rotate(-90);
            p.setFont(f10);
            p.drawText(QPointF(0, 0), digits);
            p.restore();
        }
    }
    p.end();
    return {t.nsecsElapsed() / 1e9, peakKiB(), QFileInfo(pdf).size()};
}

// What one measured run prints, and on what.
struct Variant {
    const char* name;
    bool a4Page;                                     // one A4 page a sheet, else the tickets
    std::shared_ptr<platform::Picture> (*picture)(); // the backdrop, or none
    bool glyphRuns = true;
};

std::shared_ptr<platform::Picture> oneBitA4() {
    return a4Backdrop(QImage::Format_Mono);
}
std::shared_ptr<platform::Picture> greyA4() {
    return a4Backdrop(QImage::Format_Grayscale8);
}

const Variant Variants[] = {
    {"plain", false, nullptr},        {"layout", false, nullptr, false}, {"colour", false, backdrop},
    {"one-bit page", true, oneBitA4}, {"grey page", true, greyA4},       {"one-bit tickets", false, oneBitA4},
    {"grey tickets", false, greyA4},
};

// In a process of its own: a few sheets first (fonts, the PDF engine), then the run measured, with the
// peak of resident memory counted from its start. Prints "seconds peak bytes held" for the parent.
int measure(const QString& variant, int sheets, const QString& pdf) {
    PrintSettings = "";
    const int warmUp = std::max(10, sheets / 100);
    Result r;
    if (variant == "direct") {
        direct(pdf + ".warm.pdf", warmUp);
        QFile::remove(pdf + ".warm.pdf");
        r.held = bench::StatusKiB("VmRSS:");
        bench::ResetPeak();
        r = Result{direct(pdf, sheets).seconds, peakKiB(), QFileInfo(pdf).size(), r.held};
    } else {
        const auto v = std::find_if(std::begin(Variants), std::end(Variants),
                                    [&](const Variant& v) { return variant == v.name; });
        if (v == std::end(Variants))
            return 2;
        referenceJob(warmUp);
        printRun(pdf + ".warm.pdf", nullptr);
        QFile::remove(pdf + ".warm.pdf");
        v->a4Page ? a4Job(sheets) : referenceJob(sheets);
        platform::Graphics::SetGlyphRuns(v->glyphRuns);
        auto picture = v->picture ? v->picture() : nullptr;
        const long held = bench::StatusKiB("VmRSS:");
        bench::ResetPeak();
        r = printRun(pdf, std::move(picture));
        r.held = held;
    }
    std::printf("%.6f %ld %lld %ld\n", r.seconds, r.peak, r.bytes, r.held);
    Module1::ReleaseGlobals();
    return 0;
}

// The parent: starts this program again for one measured run and reads what it prints.
Result run(const QString& variant, int sheets, const QString& pdf) {
    QByteArray output;
    const bool ended = bench::MeasureInFreshProcess({variant, QString::number(sheets), pdf}, &output);
    const QStringList f = QString::fromUtf8(output).simplified().split(' ');
    if (!ended || f.size() != 4) {
        std::fprintf(stderr, "the run \"%s\" failed\n", qPrintable(variant));
        std::exit(1);
    }
    return {f[0].toDouble(), f[1].toLong(), f[2].toLongLong(), f[3].toLong()};
}

double mib(double bytes) {
    return bytes / 1048576.0;
}

// The images a PDF holds, as pdfimages lists them: how many are embedded, of what kinds, and how often
// they are drawn.
QString images(const QString& pdf) {
    QProcess p;
    p.start("pdfimages", {"-list", pdf});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return "pdfimages -list failed";
    QSet<QString> objects;
    QMap<QString, int> kinds; // "gray 1-bit image" and how many embedded images are of it
    int drawn = 0;
    const QStringList rows = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString& row : rows.mid(2)) {
        const QStringList c = row.simplified().split(' ');
        if (c.size() < 12)
            continue;
        ++drawn;
        if (objects.contains(c[10] + ' ' + c[11]))
            continue;
        objects.insert(c[10] + ' ' + c[11]);
        ++kinds[QString("%1 %2-bit %3").arg(c[5], c[7], c[8])];
    }
    QStringList kindText;
    for (auto it = kinds.begin(); it != kinds.end(); ++it)
        kindText << QString("%1 %2").arg(it.value()).arg(it.key());
    return QString("%1 embedded (%2), drawn %3 times")
        .arg(objects.size())
        .arg(kindText.join(", "))
        .arg(drawn);
}

// Runs at a tenth and at the whole number of sheets with one backdrop, and prints what they show.
void backdropRuns(const QTemporaryDir& dir, const char* title, const char* variant) {
    const QString pdf = dir.filePath(QString(variant).replace(' ', '-'));
    const Result small = run(variant, Sheets / 10, pdf + "-small.pdf");
    const Result whole = run(variant, Sheets, pdf + ".pdf");
    std::printf("%s:\n", title);
    std::printf("  %d sheets: %8.0f sheets/s, peak %ld MiB, PDF %.1f MiB\n", Sheets / 10,
                Sheets / 10 / small.seconds, small.peak / 1024, mib(small.bytes));
    std::printf("  %d sheets: %8.0f sheets/s, peak %ld MiB, PDF %.1f MiB (%.2f KiB a sheet after the first "
                "%d)\n",
                Sheets, Sheets / whole.seconds, whole.peak / 1024, mib(whole.bytes),
                (whole.bytes - small.bytes) / 1024.0 / (Sheets - Sheets / 10), Sheets / 10);
    std::printf("  PDF images: %s\n", qPrintable(images(pdf + ".pdf")));
    std::printf("  (the process before the run, holding the picture: %ld MiB)\n", whole.held / 1024);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::SetQuestions(std::make_unique<platform::ScriptedQuestions>());
    if (argc == 5 && QByteArray(argv[1]) == "--measure")
        return measure(argv[2], std::max(10, QString(argv[3]).toInt()), argv[4]);
    if (argc > 1)
        Sheets = std::max(10, QString(argv[1]).toInt());
    QTemporaryDir dir;
    dir.setAutoRemove(argc <= 2); // a second argument keeps the PDFs
    if (argc > 2)
        std::printf("PDFs in %s\n", qPrintable(dir.path()));

    const Result small = run("plain", Sheets / 10, dir.filePath("small.pdf"));
    // The best of three alternating runs each, so that a busy moment of the machine does not decide.
    Result plain{1e9}, drawn{1e9};
    for (int round = 0; round < 3; ++round) {
        const Result p = run("plain", Sheets, dir.filePath("plain.pdf"));
        const Result d = run("direct", Sheets, dir.filePath("direct.pdf"));
        if (p.seconds < plain.seconds)
            plain = p;
        if (d.seconds < drawn.seconds)
            drawn = d;
    }
    const Result layout = run("layout", Sheets, dir.filePath("layout.pdf"));

    std::printf("print run, %d sheets:            %8.0f sheets/s  (%.2f s, peak %ld MiB, PDF %.1f MiB)\n",
                Sheets, Sheets / plain.seconds, plain.seconds, plain.peak / 1024, mib(plain.bytes));
    std::printf("direct QPainter, %d sheets:      %8.0f sheets/s  (%.2f s, PDF %.1f MiB)\n", Sheets,
                Sheets / drawn.seconds, drawn.seconds, mib(drawn.bytes));
    std::printf("ratio print run / direct:          %8.2f\n", drawn.seconds / plain.seconds);
    std::printf(
        "print run, text layout only:       %8.0f sheets/s  (PDF %lld bytes; glyph runs: %lld bytes)\n",
        Sheets / layout.seconds, layout.bytes, plain.bytes);
    std::printf("peak memory of the run at %d sheets: %ld MiB; at %d sheets: %ld MiB\n", Sheets / 10,
                small.peak / 1024, Sheets, plain.peak / 1024);
    std::fflush(stdout);

    const Result withBackdrop = run("colour", Sheets, dir.filePath("backdrop.pdf"));
    const Result backdropSmall = run("colour", Sheets / 10, dir.filePath("backdrop-small.pdf"));
    std::printf("with 300-dpi backdrop, %d sheets: %8.0f sheets/s  (%.2f s, peak %ld MiB, PDF %.1f MiB)\n",
                Sheets, Sheets / withBackdrop.seconds, withBackdrop.seconds, withBackdrop.peak / 1024,
                mib(withBackdrop.bytes));
    std::printf("backdrop PDF growth per sheet: %.1f KiB (%d sheets: %.1f MiB, %d sheets: %.1f MiB)\n",
                (withBackdrop.bytes - backdropSmall.bytes) / 1024.0 / (Sheets - Sheets / 10), Sheets / 10,
                mib(backdropSmall.bytes), Sheets, mib(withBackdrop.bytes));
    std::printf("  PDF images: %s\n", qPrintable(images(dir.filePath("backdrop.pdf"))));
    std::fflush(stdout);

    backdropRuns(dir, "600-dpi one-bit A4 backdrop, 4960x7016, under an A4 page", "one-bit page");
    backdropRuns(dir, "600-dpi grey A4 backdrop, 4960x7016, under an A4 page", "grey page");
    backdropRuns(dir, "600-dpi one-bit A4 backdrop under the tickets", "one-bit tickets");
    backdropRuns(dir, "600-dpi grey A4 backdrop under the tickets", "grey tickets");
    return 0;
}
