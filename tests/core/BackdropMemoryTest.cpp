// Peak memory of reading, showing and printing backdrops, measured in a child run of this test program
// (VmHWM of a fresh process): pictures too large and files that never end are refused cheaply, a
// one-bit scan stays one-bit, the page view zoomed in and printing a page-sized scan take no page-sized
// copy of it.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/FolderItem.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::Scripted;
using testing_support::TempDir;

namespace {

constexpr qint64 MiB = 1024 * 1024;

// The peak is counted afresh from now on.
void ResetPeak() {
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// A figure of the process's status in KiB; -1 when there is none.
qint64 StatusKiB(const QString& field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const auto match =
        QRegularExpression(field + ":\\s*(\\d+) kB").match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

qint64 ResidentKiB() {
    return StatusKiB("VmRSS");
}

qint64 PeakKiB() {
    return StatusKiB("VmHWM");
}

quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray PngChunk(const QByteArray& type, const QByteArray& data) {
    QByteArray chunk, length(4, '\0'), crc(4, '\0');
    qToBigEndian(quint32(data.size()), length.data());
    qToBigEndian(Crc32(type + data), crc.data());
    return length + type + data + crc;
}

// A PNG whose header asks for width x height RGB pixels; only its first rows are there.
QByteArray HugePng(quint32 width, quint32 height) {
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = 2; // RGB
    const QByteArray rows = qCompress(QByteArray(16 * (1 + 3 * qsizetype(width)), '\0')).mid(4);
    return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", header) + PngChunk("IDAT", rows) + PngChunk("IEND", {});
}

void WritePdf(const QString& path, double sidePoints) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QSizeF(sidePoints, sidePoints), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    painter.fillRect(0, 0, 1000, 1000, Qt::red);
}

// An A4 page at 600 dpi, one bit deep: a black frame and bars on white.
QImage MonoScan() {
    QImage scan(4960, 7016, QImage::Format_Mono);
    scan.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    scan.fill(0);
    scan.setDotsPerMeterX(23622);
    scan.setDotsPerMeterY(23622);
    QPainter p(&scan);
    p.fillRect(0, 0, 4960, 40, Qt::color1);
    for (int x = 600; x < 4300; x += 400)
        p.fillRect(x, 1000, 200, 5000, Qt::color1);
    return scan;
}

struct ChildRun {
    int exitCode = -1;
    QString output;
    qint64 value(const QString& name) const {
        const auto m = QRegularExpression(name + " (\\d+)").match(output);
        return m.hasMatch() ? m.captured(1).toLongLong() : -1;
    }
};

// Runs one probe below in a fresh process of this test program.
ChildRun RunProbe(const QString& probe, const QString& file) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TALLIO_PROBE_FILE", file);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=BackdropMemory.DISABLED_" + probe});
    ChildRun run;
    if (child.waitForFinished(300000))
        run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.output = QString::fromLocal8Bit(child.readAll());
    return run;
}

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

} // namespace

// Child side: each file named is read as a backdrop and refused with a message; the peak is printed.
TEST(BackdropMemory, DISABLED_RefuseEach) {
    if (qEnvironmentVariableIsEmpty("TALLIO_PROBE_FILE"))
        GTEST_SKIP() << "run by HugePicturesAndEndlessFilesAreRefusedCheaply";
    for (const QString& path : qEnvironmentVariable("TALLIO_PROBE_FILE").split('\n')) {
        Scripted().messages.clear();
        EXPECT_EQ(QVutils::OpenAsEPSpict(platform::GetFolderItem(path)), nullptr) << path.toStdString();
        ASSERT_EQ(Scripted().messages.size(), 1) << path.toStdString();
        std::printf("message %s\n", qPrintable(Scripted().messages[0]));
    }
    std::printf("peak %lld\n", PeakKiB());
}

// Child side: the one-bit scan read and drawn as the page view draws a backdrop (composed at screen
// resolution in a picture of its own depth, then onto the 32-bit page).
TEST(BackdropMemory, DISABLED_OpenScan) {
    if (qEnvironmentVariableIsEmpty("TALLIO_PROBE_FILE"))
        GTEST_SKIP() << "run by OneBitScanStaysOneBit";
    const qint64 before = PeakKiB();
    const auto picture =
        QVutils::OpenAsEPSpict(platform::GetFolderItem(qEnvironmentVariable("TALLIO_PROBE_FILE")));
    ASSERT_NE(picture, nullptr);
    // Image() would unpack a picture held as colour planes.
    const platform::ColourPlanes* planes = picture->Planes();
    const qint64 bytes = planes ? planes->Bytes() : qint64(picture->Image().sizeInBytes());
    const int format = planes ? -1 : int(picture->Image().format());
    const int w = picture->Width() * 72 / 600, h = picture->Height() * 72 / 600;
    auto composed = platform::NewPicture(w, h, picture->Depth());
    composed->Graphics().DrawPicture(*picture, 0, 0, w, h, 0, 0, picture->Width(), picture->Height());
    auto page = platform::NewPicture(w, h, 32);
    page->Graphics().DrawPicture(*composed, 0, 0);
    std::printf("format %d depth %d bytes %lld before %lld peak %lld black %d planes %d\n", format,
                picture->Depth(), bytes, before, PeakKiB(),
                qGray(page->Image().pixel(w / 2, 2)) < 64 && qGray(page->Image().pixel(2, h / 2)) > 192,
                picture->Planes() != nullptr);
}

// Child side: a one-bit or grey A4 scan at 600 dpi as the backdrop of an A4 page, printed to a PDF on two
// sheets after a run without it; the resident memory before and the peak while printing are printed.
TEST(BackdropMemory, DISABLED_PrintScan) {
    if (qEnvironmentVariableIsEmpty("TALLIO_PROBE_FILE"))
        GTEST_SKIP() << "run by PrintingAPageSizedScanTakesNoCopyOfIt";
    using namespace Module1;
    AdocWidth = AsigWidth = 210, AdocHeight = AsigHeight = 297;
    AstepR = AstepD = 1, Astart = 1, Aqty = 2;
    testing_support::AddObject({.x = 20, .y = 30, .picture = "/#######"});
    EPSmaskWidth = 210, EPSmaskHeight = 297, EPSscaleX = EPSscaleY = 100;
    const QString pdf = TempDir() + "/scan.pdf";
    Scripted().printAnswers = {pdf};
    PrintStart(); // fonts and the PDF output made ready

    QImage scan = MonoScan();
    if (qEnvironmentVariable("TALLIO_PROBE_FILE") == "grey")
        scan = scan.convertToFormat(QImage::Format_Grayscale8);
    TheBackdrop.SetPicture(platform::PictureFromImage(scan));
    scan = QImage();
    ASSERT_NE(TheBackdrop.Bdx, nullptr);
    const qint64 before = ResidentKiB();
    ResetPeak();
    Scripted().printAnswers = {pdf};
    PrintStart();
    std::printf("depth %d before %lld peak %lld pages %d\n", TheBackdrop.Bdx->Depth(), before, PeakKiB(),
                testing_support::PdfPages(pdf));
}

// Child side: an A4 page with a 300-dpi colour A4 backdrop in the page view, fitted, then zoomed in to
// 400 dpi; the resident memory before the zoom and the peak after it are printed.
TEST(BackdropMemory, DISABLED_ZoomIn) {
    if (qEnvironmentVariableIsEmpty("TALLIO_PROBE_FILE"))
        GTEST_SKIP() << "run by ZoomingInTakesNoPageSizedPicture";
    using namespace Module1;
    NewDoc();
    QImage scan(2480, 3508, QImage::Format_RGB32);
    scan.fill(qRgb(255, 240, 200));
    QPainter(&scan).fillRect(100, 100, 2280, 40, Qt::darkRed);
    scan.setDotsPerMeterX(11811), scan.setDotsPerMeterY(11811);
    TheBackdrop.SetPicture(platform::PictureFromImage(std::move(scan)));
    EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight, EPSscaleX = EPSscaleY = 100;
    Window1& w = platform::SharedInstance<Window1>();
    w.Show();
    testing_support::AddObject({.x = 105, .y = 150});
    CurrentObject = 0;
    LoadSel(0);
    ui::Shown(w.Canvas1());
    const qint64 before = ResidentKiB();
    ResetPeak();
    PageResolution = 200;
    ui::Click(w.MagEn(), 15, 15);
    const QImage shown = ui::Shown(w.Canvas1());
    std::printf("dpi %d before %lld peak %lld shown %d\n", PageResolution, before, PeakKiB(),
                shown.pixel(10, 10) == qRgb(255, 240, 200));
}

TEST(BackdropMemory, HugePicturesAndEndlessFilesAreRefusedCheaply) {
    const QString png = TempDir() + "/wide.png", pdf = TempDir() + "/poster.pdf", fifo = TempDir() + "/pipe";
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(HugePng(20000, 20000));
    file.close();
    WritePdf(pdf, 4800);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // 16000 x 16000 pixels stored top down, with no rows: its header states no usable size to Qt.
    const QString bmp = TempDir() + "/topdown.bmp";
    testing_support::WriteBytes(bmp, testing_support::Bmp(16000, -16000, 24, QByteArray(1000, '\0')));

    const ChildRun run = RunProbe("RefuseEach", QStringList{png, pdf, bmp, "/dev/zero", fifo}.join('\n'));
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    for (const QString expected :
         {"\u201cwide.png\u201d: Memory short! The picture is too large (20000 x 20000 pixels).",
          "\u201cposter.pdf\u201d: Memory short! The picture is too large (20000 x 20000 pixels).",
          "\u201ctopdown.bmp\u201d: The picture is damaged or incomplete.",
          "\u201czero\u201d: It is not an ordinary file", "\u201cpipe\u201d: It is not an ordinary file"})
        EXPECT_TRUE(run.output.contains(expected)) << expected.toStdString() << "\n"
                                                   << run.output.toStdString();
    const qint64 peak = run.value("peak");
    ASSERT_GT(peak, 0) << run.output.toStdString();
    std::printf("[ figures  ] peak while refusing: %lld MiB\n", peak / 1024);
    EXPECT_LT(peak * 1024, 1024 * MiB);
}

TEST(BackdropMemory, OneBitScanStaysOneBit) {
    const QString tiff = TempDir() + "/scan.tif";
    QImageWriter writer(tiff, "tiff");
    writer.setCompression(1);
    ASSERT_TRUE(writer.write(MonoScan()));

    const ChildRun run = RunProbe("OpenScan", tiff);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(run.value("format"), int(QImage::Format_Mono));
    EXPECT_EQ(run.value("depth"), 1);
    EXPECT_LT(run.value("bytes"), 5 * MiB); // 4.4 MB; 133 MiB in 32-bit colour
    EXPECT_EQ(run.value("black"), 1) << run.output.toStdString();
    const qint64 grown = run.value("peak") - run.value("before");
    std::printf("[ figures  ] one-bit A4 at 600 dpi: peak %lld MiB above the program's own %lld MiB\n",
                grown / 1024, run.value("before") / 1024);
    if (UnderSanitizer())
        GTEST_SKIP() << "the sanitizer's own bookkeeping inflates the peak";
    EXPECT_LT(grown * 1024, 40 * MiB) << run.output.toStdString();
}

TEST(BackdropMemory, ColourJpegScanIsHeldAsItsPlanes) {
    const QString jpeg = TempDir() + "/scan.jpg";
    {
        QImage scan = MonoScan().convertToFormat(QImage::Format_RGB32);
        QPainter(&scan).fillRect(1000, 3000, 3000, 1000, QColor(250, 200, 40));
        QImageWriter writer(jpeg, "jpeg");
        writer.setQuality(90);
        ASSERT_TRUE(writer.write(scan));
    }
    const ChildRun run = RunProbe("OpenScan", jpeg);
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(run.value("planes"), 1);
    EXPECT_EQ(run.value("depth"), 32);
    EXPECT_LT(run.value("bytes"), 53 * 1000 * 1000); // 52 MB at 4:2:0; 139 MB in 32-bit colour
    EXPECT_EQ(run.value("black"), 1) << run.output.toStdString();
    const qint64 grown = run.value("peak") - run.value("before");
    std::printf("[ figures  ] colour JPEG A4 at 600 dpi: peak %lld MiB above the program's own %lld MiB\n",
                grown / 1024, run.value("before") / 1024);
    if (UnderSanitizer())
        GTEST_SKIP() << "the sanitizer's own bookkeeping inflates the peak";
    EXPECT_LT(grown * 1024, 64 * MiB) << run.output.toStdString();
}

TEST(BackdropMemory, ZoomingInTakesNoPageSizedPicture) {
    const ChildRun run = RunProbe("ZoomIn", "A4");
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(run.value("dpi"), 400);
    EXPECT_EQ(run.value("shown"), 1) << run.output.toStdString(); // the backdrop, in the view
    const qint64 grown = run.value("peak") - run.value("before");
    std::printf(
        "[ figures  ] the page view zoomed in to 400 dpi on a 300-dpi colour A4 backdrop: peak %lld MiB "
        "above the %lld MiB before\n",
        grown / 1024, run.value("before") / 1024);
    if (UnderSanitizer())
        GTEST_SKIP() << "the sanitizer's own bookkeeping inflates the peak";
    // A page at 400 dpi is 62 MB in colour; the view holds what it shows and a few views' worth of it.
    EXPECT_LT(grown * 1024, 24 * MiB) << run.output.toStdString();
}

TEST(BackdropMemory, PrintingAPageSizedScanTakesNoCopyOfIt) {
    for (const char* kind : {"one-bit", "grey"}) {
        SCOPED_TRACE(kind);
        const ChildRun run = RunProbe("PrintScan", kind);
        ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
        EXPECT_EQ(run.value("depth"), kind == QString("grey") ? 8 : 1);
        EXPECT_EQ(run.value("pages"), 2);
        const qint64 grown = run.value("peak") - run.value("before");
        std::printf(
            "[ figures  ] printing a %s A4 scan at 600 dpi: peak %lld MiB above the %lld MiB before\n", kind,
            grown / 1024, run.value("before") / 1024);
        if (UnderSanitizer())
            continue; // the sanitizer's own bookkeeping inflates the peak
        EXPECT_LT(grown * 1024, 32 * MiB) << run.output.toStdString(); // 35 MB a grey page, 139 MB in colour
    }
}
