// Prints a reference job (105 x 99 mm tickets, 2 across x 3 down on A4, three number objects,
// 60,000 tickets) to PDF through the scripted print dialog, with and without a 300-dpi backdrop, and
// the same job drawn straight with QPainter, the lower bound on this stack. Prints sheets per second,
// peak memory, PDF sizes and the ratio of the two speeds.
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
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace Module1;

namespace {

int Sheets = 10000; // or the first argument

long peakKiB() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
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

struct Result {
    double seconds;
    long peak;
    qint64 bytes;
};

Result printRun(const QString& pdf, int sheets, bool withBackdrop) {
    referenceJob(sheets);
    Window1& w = platform::SharedInstance<Window1>();
    Module1::TheBackdrop.Bdx = withBackdrop ? backdrop() : nullptr;
    auto& q = static_cast<platform::ScriptedQuestions&>(platform::Questions());
    q.printAnswers = {pdf};
    QElapsedTimer t;
    t.start();
    PrintStart();
    return {t.nsecsElapsed() / 1e9, peakKiB(), QFileInfo(pdf).size()};
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

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::SetQuestions(std::make_unique<platform::ScriptedQuestions>());
    if (argc > 1)
        Sheets = std::max(10, QString(argv[1]).toInt());
    QTemporaryDir dir;
    dir.setAutoRemove(argc <= 2); // a second argument keeps the PDFs
    if (argc > 2)
        std::printf("PDFs in %s\n", qPrintable(dir.path()));
    PrintSettings = "";

    const Result small = printRun(dir.filePath("small.pdf"), Sheets / 10, false);
    // The best of three alternating runs each, so that a busy moment of the machine does not decide.
    Result plain{1e9, 0, 0}, drawn{1e9, 0, 0};
    for (int round = 0; round < 3; ++round) {
        const Result p = printRun(dir.filePath("plain.pdf"), Sheets, false);
        const Result d = direct(dir.filePath("direct.pdf"), Sheets);
        if (p.seconds < plain.seconds)
            plain = p;
        if (d.seconds < drawn.seconds)
            drawn = d;
    }
    const Result withBackdrop = printRun(dir.filePath("backdrop.pdf"), Sheets, true);
    const Result backdropSmall = printRun(dir.filePath("backdrop-small.pdf"), Sheets / 10, true);

    std::printf("print run, %d sheets:            %8.0f sheets/s  (%.2f s, peak %ld MiB, PDF %.1f MiB)\n",
                Sheets, Sheets / plain.seconds, plain.seconds, plain.peak / 1024, plain.bytes / 1048576.0);
    std::printf("direct QPainter, %d sheets:      %8.0f sheets/s  (%.2f s, PDF %.1f MiB)\n", Sheets,
                Sheets / drawn.seconds, drawn.seconds, drawn.bytes / 1048576.0);
    std::printf("ratio print run / direct:          %8.2f\n", drawn.seconds / plain.seconds);
    std::printf("peak memory after %d sheets: %ld MiB; after %d sheets: %ld MiB\n", Sheets / 10,
                small.peak / 1024, Sheets, plain.peak / 1024);
    std::fflush(stdout);
    std::printf("with 300-dpi backdrop, %d sheets: %8.0f sheets/s  (%.2f s, peak %ld MiB, PDF %.1f MiB)\n",
                Sheets, Sheets / withBackdrop.seconds, withBackdrop.seconds, withBackdrop.peak / 1024,
                withBackdrop.bytes / 1048576.0);
    std::printf("backdrop PDF growth per sheet: %.1f KiB (1,000 sheets: %.1f MiB, 10,000 sheets: %.1f MiB)\n",
                (withBackdrop.bytes - backdropSmall.bytes) / 1024.0 / (Sheets - Sheets / 10),
                backdropSmall.bytes / 1048576.0, withBackdrop.bytes / 1048576.0);
    Module1::ReleaseGlobals();
    return 0;
}
