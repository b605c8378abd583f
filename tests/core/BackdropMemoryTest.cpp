// Peak memory of reading backdrops, measured in a child run of this test program (VmHWM of a fresh
// process): pictures too large and files that never end are refused cheaply, and a one-bit scan stays
// one-bit.
#include "TestSupport.h"
#include "core/QVutils.h"
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

qint64 PeakKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression hwm("VmHWM:\\s*(\\d+) kB");
    const auto match = hwm.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
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
    const QImage& image = picture->Image();
    const int w = picture->Width() * 72 / 600, h = picture->Height() * 72 / 600;
    auto composed = platform::NewPicture(w, h, picture->Depth());
    composed->Graphics().DrawPicture(*picture, 0, 0, w, h, 0, 0, picture->Width(), picture->Height());
    auto page = platform::NewPicture(w, h, 32);
    page->Graphics().DrawPicture(*composed, 0, 0);
    std::printf("format %d depth %d bytes %lld before %lld peak %lld black %d\n", int(image.format()),
                picture->Depth(), qint64(image.sizeInBytes()), before, PeakKiB(),
                qGray(page->Image().pixel(w / 2, 2)) < 64 && qGray(page->Image().pixel(2, h / 2)) > 192);
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
