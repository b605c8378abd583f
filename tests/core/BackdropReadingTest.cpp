#include "PictureFiles.h"
#include "TestSupport.h"
#include "core/EpsFile.h"
#include "core/MacResources.h"
#include "core/QVutils.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"

#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace pf = picture_files;
using testing_support::Scripted;

namespace {

// Values a read must either set or visibly leave alone.
void PresetGlobals() {
    QVutils::EPS = true;
    QVutils::EPStitle = "old";
    QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 9;
    QVutils::EPSbbWidth = 111, QVutils::EPSbbHeight = 222;
    QVutils::EPSjpgResolution = 200;
}

std::shared_ptr<platform::Picture> Read(const QString& path) {
    return QVutils::OpenAsEPSpict(platform::GetFolderItem(path));
}
QImage Open(const QString& path) {
    const auto picture = Read(path);
    return picture ? picture->Image() : QImage();
}

void ExpectBox(double x, double y, double w, double h) {
    const double box[] = {QVutils::EPSBoundBoxX, QVutils::EPSBoundBoxY, QVutils::EPSbbWidth,
                          QVutils::EPSbbHeight};
    const double expected[] = {x, y, w, h};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(box[k], expected[k], 1e-9) << "box value " << k;
}

const QByteArray kHeader = "%!PS-Adobe-3.0 EPSF-3.0\n";

bool IsRed(const QColor& c) {
    return c.red() > 240 && c.green() < 16 && c.blue() < 16 && c.alpha() == 255;
}

// A JPEG whose frame header claims 60000 x 60000 pixels.
QByteArray HugeJpeg() {
    QByteArray jpeg = pf::QtPicture("jpeg", 8, 8, 300);
    jpeg.replace(jpeg.indexOf("\xFF\xC0") + 5, 4, QByteArray::fromHex("ea60ea60"));
    return jpeg;
}

} // namespace

TEST(BackdropReading, TextHeaderEpsComments) {
    struct Case {
        const char* name;
        QByteArray body; // after the header line
        double x, y, w, h;
        QString title;
    };
    const Case cases[] = {
        {"Letter", "%%BoundingBox: 0 0 612 792\n%%EOF\n", 0, 0, 215.9, 279.4, ""},
        {"Offset", "%%BoundingBox: 36 72 576 720\n%%EOF\n", 12.7, 25.4, 190.5, 228.6, ""},
        // The empty field after two blanks counts as 0 and shifts the values.
        {"TwoBlanks", "%%BoundingBox:  36 72 576 720\n%%EOF\n", 0, 12.7, 25.4, 190.5, ""},
        {"Word", "%%BoundingBox: (atend)\n%%EOF\n", 0, 0, 0, 0, ""},
        {"WordThenNumbers", "%%BoundingBox: (atend)\n%%BoundingBox: 36 72 576 720\n%%EOF\n", 12.7, 25.4,
         190.5, 228.6, ""},
        {"TitleWithBlank", "%%Title: Front page\n%%BoundingBox: 0 0 612 792\n%%EOF\n", 0, 0, 215.9, 279.4,
         "Front page"},
        {"TitleWithoutBlank", "%%Title:Front\n%%EOF\n", 0, 0, 111, 222, "ront"},
        {"StopsAtResource",
         "%%BoundingBox: 0 0 612 792\n%%BeginResource: procset\n%%BoundingBox: 1 1 2 2\n%%EOF\n", 0, 0, 215.9,
         279.4, ""},
        {"NoBoundingBoxKeepsSize", "%%Creator: test\n%%EOF\n", 0, 0, 111, 222, ""},
        {"LastLineNeverExamined", "%%Title: A\n%%BoundingBox: 0 0 612 792\n", 0, 0, 111, 222, "A"},
        {"LastLineWithoutLineEnd", "%%Title: A\n%%BoundingBox: 0 0 612 792", 0, 0, 111, 222, "A"},
        {"MacLineEnds", "%%BoundingBox: 36 72 576 720\r%%Title: M\r%%EOF\r", 12.7, 25.4, 190.5, 228.6, "M"},
        {"ExtremeValues", "%%BoundingBox: -99999999999 0 99999999999 1\n%%EOF\n",
         QVutils::PntTOmms(INT32_MIN), 0, QVutils::PntTOmms(INT32_MAX), QVutils::PntTOmms(1), ""},
        {"WindowsLineEnds", "%%BoundingBox: 36 72 576 720\r\n%%EOF\r\n", 12.7, 25.4, 190.5, 228.6, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        EXPECT_TRUE(Open(pf::Write("page.eps", kHeader + c.body)).isNull()); // no preview without a fork
        EXPECT_TRUE(QVutils::EPS);
        ExpectBox(c.x, c.y, c.w, c.h);
        EXPECT_EQ(QVutils::EPStitle, c.title);
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST(BackdropReading, DosEpsTiffPreview) {
    const QByteArray postScript = kHeader + "%%BoundingBox: 36 72 576 720\n%%Title: Card\n%%EOF\n";
    const QByteArray tiff = pf::QtPicture("tiff", 40, 30, 300);
    // Empty temporary and working folders of our own, to see that the read leaves nothing in either.
    const QString tmp = testing_support::TempDir() + "/tmp", work = testing_support::TempDir() + "/work";
    QDir().mkpath(tmp), QDir().mkpath(work);
    const QByteArray oldTmp = qgetenv("TMPDIR");
    const QString oldWork = QDir::currentPath();
    qputenv("TMPDIR", tmp.toUtf8());
    QDir::setCurrent(work);
    for (const bool namesTiff : {true, false}) {
        SCOPED_TRACE(namesTiff ? "TIFF section named" : "TIFF after the PostScript");
        PresetGlobals();
        const QString path = pf::Write("dos.eps", pf::DosEps(postScript, tiff, namesTiff));
        const QImage picture = Open(path);
        EXPECT_EQ(picture.size(), QSize(40, 30));
        EXPECT_TRUE(IsRed(picture.pixelColor(20, 15)));
        EXPECT_TRUE(QVutils::EPS);
        ExpectBox(12.7, 25.4, 190.5, 228.6);
        EXPECT_EQ(QVutils::EPStitle, "Card");
        EXPECT_EQ(QDir(testing_support::TempDir()).entryList(QDir::Files), QStringList{"dos.eps"});
        EXPECT_TRUE(QDir(tmp).isEmpty() && QDir(work).isEmpty());
    }
    QDir::setCurrent(oldWork);
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST(BackdropReading, LyingDosEpsHeaders) {
    const QByteArray postScript = kHeader + "%%BoundingBox: 0 0 612 792\n%%EOF\n";
    const QByteArray good = pf::DosEps(postScript, pf::QtPicture("tiff", 4, 4, 300), true);
    const QByteArray untagged = pf::DosEps(postScript, pf::QtPicture("tiff", 4, 4, 300), false);
    enum Outcome { Nil, Preview, MemoryShort };
    struct Case {
        const char* name;
        std::vector<std::pair<int, quint32>> fields; // little-endian header fields to overwrite
        QByteArray file;                             // instead of the good file, when not empty
        Outcome outcome;
    };
    const Case cases[] = {
        {"NegativeStart", {{4, quint32(-1000)}}, {}, Preview}, // the TIFF section is named
        {"NegativeStartNoTiff", {{4, quint32(-1000)}}, untagged, Nil},
        {"StartPastEnd", {{4, 0x7FFFFFF0}}, {}, Preview},
        {"LengthPastEnd", {{8, 0x7FFFFFFF}}, untagged, Nil},
        {"TiffAndLengthPastEnd", {{8, 0x7FFFFFFF}, {20, 0xFFFFFF00}}, {}, Nil},
        {"SumWrapsRound", {{4, 0x7FFFFFFF}, {8, 0x7FFFFFFF}}, untagged, Nil},
        {"NegativeLength", {{8, quint32(-60)}}, untagged, Nil},
        {"TiffLengthPastEnd", {{24, 0x7FFFFFFF}}, {}, Preview}, // the bytes after the PostScript are read
        {"TruncatedHeader", {}, good.left(10), Nil},
        {"MagicOnly", {}, good.left(4), Nil},
        {"AbsurdPreviewSize", {}, pf::DosEps(postScript, HugeJpeg(), true), MemoryShort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        Scripted().messages.clear();
        QByteArray file = c.file.isEmpty() ? good : c.file;
        for (const auto& [at, value] : c.fields) {
            const quint32 le = qToLittleEndian(value);
            file.replace(at, 4, QByteArray(reinterpret_cast<const char*>(&le), 4));
        }
        const QImage picture = Open(pf::Write("lying.eps", file));
        EXPECT_TRUE(QVutils::EPS);
        EXPECT_EQ(picture.size(), c.outcome == Preview ? QSize(4, 4) : QSize(0, 0));
        if (c.outcome == MemoryShort)
            EXPECT_EQ(Scripted().messages,
                      QStringList{"Sorry - Can't load this picture - lying.eps Memory short!"});
        else
            EXPECT_TRUE(Scripted().messages.isEmpty());
    }
}

TEST(BackdropReading, ResourceForkPreviewFromAppleDouble) {
    QByteArray pict = pf::MagickPicture("PICT", 30, 20, 72);
    pict.remove(0, 512); // a PICT resource has no file header
    struct Case {
        const char* name;
        QByteArray companion; // empty: none
        QSize size;           // of the preview, 0 x 0 for none
    };
    const Case cases[] = {
        {"Pict256", pf::AppleDouble(pf::ResourceFork("PICT", 256, pict)), QSize(30, 20)},
        {"OtherId", pf::AppleDouble(pf::ResourceFork("PICT", 257, pict)), QSize(0, 0)},
        {"OtherType", pf::AppleDouble(pf::ResourceFork("ICON", 256, pict)), QSize(0, 0)},
        {"TruncatedCompanion", pf::AppleDouble(pf::ResourceFork("PICT", 256, pict)).left(300), QSize(0, 0)},
        {"NotAppleDouble", "plain text", QSize(0, 0)},
        {"NoCompanion", {}, QSize(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        QFile::remove(testing_support::TempDir() + "/._page.eps");
        if (!c.companion.isEmpty())
            pf::Write("._page.eps", c.companion);
        const QImage picture = Open(pf::Write("page.eps", kHeader + "%%BoundingBox: 0 0 612 792\n%%EOF\n"));
        EXPECT_EQ(picture.size(), c.size);
        if (!picture.isNull())
            EXPECT_TRUE(IsRed(picture.pixelColor(15, 10)));
        EXPECT_TRUE(QVutils::EPS);
        ExpectBox(0, 0, 215.9, 279.4);
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST(BackdropReading, PlainPictureSizes) {
    struct Case {
        const char* name;
        QByteArray file;
        QSize pixels;
        int dpi; // after the 72-dpi rule
    };
    const Case cases[] = {
        {"Tiff300", pf::QtPicture("tiff", 2480, 8, 300), {2480, 8}, 300},
        {"Tiff72", pf::QtPicture("tiff", 1000, 8, 72), {1000, 8}, 200},
        {"Jpeg300", pf::QtPicture("jpeg", 2480, 8, 300), {2480, 8}, 300},
        {"Jpeg72", pf::QtPicture("jpeg", 1000, 8, 72), {1000, 8}, 200},
        {"JpegNoResolution", pf::QtPicture("jpeg", 1000, 8, 0), {1000, 8}, 200},
        {"Bmp300", pf::QtPicture("bmp", 2480, 8, 300), {2480, 8}, 300},
        {"Bmp72", pf::QtPicture("bmp", 1000, 8, 72), {1000, 8}, 200},
        {"Png150", pf::QtPicture("png", 300, 8, 150), {300, 8}, 150},
        {"Psd300", pf::MagickPicture("PSD", 2480, 8, 300), {2480, 8}, 300},
        {"Psd72", pf::MagickPicture("PSD", 1000, 8, 72), {1000, 8}, 200},
        {"Pict150", pf::MagickPicture("PICT", 300, 8, 150), {300, 8}, 150},
        {"Pict72", pf::MagickPicture("PICT", 1000, 8, 72), {1000, 8}, 200},
        {"PdfFirstPage", pf::PdfPages(612, 792), {2550, 3300}, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        const auto picture = Read(pf::Write(QString(c.name) + ".pic", c.file));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Image().size(), c.pixels);
        EXPECT_TRUE(IsRed(picture->Image().pixelColor(4, 4)));
        EXPECT_EQ(QSize(picture->HorizontalResolution(), picture->VerticalResolution()), QSize(c.dpi, c.dpi));
        EXPECT_FALSE(QVutils::EPS);
        ExpectBox(0, 0, c.pixels.width() * 25.4 / c.dpi, c.pixels.height() * 25.4 / c.dpi);
        EXPECT_EQ(QVutils::EPStitle, "");
    }
    EXPECT_NEAR(QVutils::EPSbbWidth, 215.9, 1e-9); // the PDF's real page width

    // A resolution setting of 0 is not applied: the picture keeps 72 dpi and a finite size.
    QVutils::EPSjpgResolution = 0;
    const auto picture = Read(pf::Write("zero.tif", pf::QtPicture("tiff", 720, 8, 72)));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->HorizontalResolution(), 72);
    EXPECT_NEAR(QVutils::EPSbbWidth, 254, 1e-9);
    QVutils::EPSjpgResolution = 200;
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST(BackdropReading, UnreadableFiles) {
    struct Case {
        const char* name;
        QString fileName;
        QByteArray bytes; // not written when empty
        QString reason;   // end of the message; empty: any
    };
    const Case cases[] = {
        {"NotAPicture", "photo.jpg", "hello", ""},
        {"Missing", "gone.tif", {}, ""},
        {"Level2Eps", "old.eps", "%!PS-Adobe-2.0 EPSF-2.0\n%%BoundingBox: 0 0 10 10\n%%EOF\n", ""},
        {"Level3WithoutEpsf", "doc.ps", "%!PS-Adobe-3.0\n%%BoundingBox: 0 0 10 10\n%%EOF\n", ""},
        {"AbsurdSize", "huge.jpg", HugeJpeg(), "Memory short!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        Scripted().messages.clear();
        const QString path = c.bytes.isEmpty() ? testing_support::TempDir() + "/" + c.fileName
                                               : pf::Write(c.fileName, c.bytes);
        EXPECT_TRUE(Open(path).isNull());
        ASSERT_EQ(Scripted().messages.size(), 1);
        const QString prefix = "Sorry - Can't load this picture - " + c.fileName + " ";
        EXPECT_TRUE(Scripted().messages[0].startsWith(prefix)) << Scripted().messages[0].toStdString();
        if (!c.reason.isEmpty())
            EXPECT_EQ(Scripted().messages[0], prefix + c.reason);
        EXPECT_FALSE(QVutils::EPS);
        ExpectBox(0, 0, 111, 222);
        EXPECT_EQ(QVutils::EPStitle, "");
    }

    PresetGlobals(); // no file at all
    Scripted().messages.clear();
    EXPECT_TRUE(Open(QString()).isNull());
    EXPECT_TRUE(Scripted().messages.isEmpty());
    EXPECT_FALSE(QVutils::EPS);
    ExpectBox(0, 0, 111, 222);
}

// Every truncation of a companion file or a DOS EPS is read without reaching past its end (the sanitizer
// build checks the reads) and gives the resource only when it is whole.
TEST(BackdropReading, TruncatedContainers) {
    QByteArray pict = pf::MagickPicture("PICT", 3, 2, 72).mid(512);
    const QByteArray companion = pf::AppleDouble(pf::ResourceFork("PICT", 256, pict));
    for (qsizetype n = 0; n <= companion.size(); ++n) {
        const QByteArray part = companion.left(n); // a copy of its own, so reads past n are caught
        const auto fork = backdrop::AppleDoubleResourceFork(part);
        const auto found = fork ? backdrop::FindResource(*fork, "PICT", 256) : std::nullopt;
        ASSERT_EQ(found.has_value(), n == companion.size()) << n;
    }
    const QByteArray eps =
        pf::DosEps(kHeader + "%%BoundingBox: 0 0 1 1\n%%EOF\n", pf::QtPicture("tiff", 2, 2, 72), true);
    for (qsizetype n = 0; n <= eps.size(); ++n) {
        const QByteArray part = eps.left(n);
        if (const auto header = backdrop::ReadDosEpsHeader(part)) {
            const QByteArrayView preview = backdrop::DosEpsPreview(part, *header);
            ASSERT_TRUE(preview.isEmpty() || (preview.data() >= part.data() && preview.end() <= part.end()));
            backdrop::ScanStructuringComments(part, header->postScriptStart);
        }
    }
}
