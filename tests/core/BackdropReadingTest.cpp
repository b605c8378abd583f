#include "TestSupport.h"
#include "core/EpsFile.h"
#include "core/MacResources.h"
#include "core/QVutils.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"

#include <Magick++.h>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>
#include <gtest/gtest.h>
#include <optional>

using testing_support::Scripted;
using testing_support::TempDir;

namespace {

template <typename T> void Put(QByteArray& b, T v, bool bigEndian = true) {
    const T out = bigEndian ? qToBigEndian(v) : qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&out), sizeof out);
}

// A red picture ("TIFF", "JPEG", "BMP", "PNG", "PSD", "PICT"); dpi 0 states no resolution.
QByteArray Picture(const char* coder, int width, int height, int dpi) {
    Magick::InitializeMagick(nullptr);
    Magick::Image image(Magick::Geometry(width, height), Magick::Color("red"));
    image.resolutionUnits(dpi ? MagickCore::PixelsPerInchResolution : MagickCore::UndefinedResolution);
    image.density(Magick::Geometry(dpi ? dpi : 1, dpi ? dpi : 1));
    image.magick(coder);
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

// Two pages; only the first may be read.
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
    const quint32 size = quint32(postScript.size());
    for (quint32 v :
         {0xC6D3D0C5u, 30u, size, 0u, 0u, namesTiff ? 30 + size : 0u, namesTiff ? quint32(tiff.size()) : 0u})
        Put(b, v, false);
    return b + "\xFF\xFF" + postScript + tiff;
}

// An AppleDouble companion whose resource fork holds one resource.
QByteArray AppleDouble(const char* type, int id, const QByteArray& data) {
    QByteArray section, map(24, '\0'), fork, b;
    Put<quint32>(section, quint32(data.size()));
    section += data;
    for (quint16 v : {28, 50, 0}) // type list offset, name list offset, one type
        Put<quint16>(map, v);
    map.append(type, 4);
    for (int v : {0, 10, id, 0xFFFF, 0, 0, 0, 0}) // one resource: reference, id, no name, data at 0
        Put<quint16>(map, quint16(v));
    for (quint32 v : {256u, 256u + quint32(section.size()), quint32(section.size()), quint32(map.size())})
        Put<quint32>(fork, v);
    fork.resize(256, '\0');
    fork += section + map;
    for (quint32 v : {0x00051607u, 0x00020000u, 0u, 0u, 0u, 0u})
        Put<quint32>(b, v);
    Put<quint16>(b, 1);
    for (quint32 v : {2u, 38u, quint32(fork.size())}) // the resource fork entry
        Put<quint32>(b, v);
    return b + fork;
}

QString Write(const QString& name, const QByteArray& bytes) {
    QFile file(TempDir() + "/" + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
}

// Values a read must either set or visibly leave alone.
void PresetGlobals() {
    QVutils::EPS = true, QVutils::EPStitle = "old", QVutils::EPSjpgResolution = 200;
    QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 9, QVutils::EPSbbWidth = 111, QVutils::EPSbbHeight = 222;
    Scripted().messages.clear();
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

bool IsRed(const QColor& c) {
    return c.red() > 240 && c.green() < 16 && c.blue() < 16 && c.alpha() == 255;
}

const QByteArray kHeader = "%!PS-Adobe-3.0 EPSF-3.0\n",
                 kLetter = kHeader + "%%BoundingBox: 0 0 612 792\n%%EOF\n";

// A version 1 picture of 16 x 4 one-bit pixels, with its 512-byte file header.
QByteArray OneBitPictV1() {
    QByteArray b(512, '\0');
    for (quint16 v : {0, 0, 0, 4, 16}) // size (unused), frame
        Put<quint16>(b, v);
    b += QByteArray::fromHex("1101");    // version 1
    b += QByteArray::fromHex("a00082");  // a short comment
    b += QByteArray::fromHex("90");      // bits, unpacked
    Put<quint16>(b, 2);                  // row bytes
    for (int rect = 0; rect < 3; ++rect) // bounds, source, destination
        for (quint16 v : {0, 0, 4, 16})
            Put<quint16>(b, v);
    Put<quint16>(b, 0);                           // transfer mode
    b += QByteArray::fromHex("ffff800180018001"); // a top line and two sides
    return b + QByteArray::fromHex("ff");
}

// A JPEG whose frame header claims 60000 x 60000 pixels.
QByteArray HugeJpeg() {
    QByteArray jpeg = Picture("JPEG", 8, 8, 300);
    return jpeg.replace(jpeg.indexOf("\xFF\xC0") + 5, 4, QByteArray::fromHex("ea60ea60"));
}

// Rows of a 24-bit BMP, each padded to 4 bytes: the first stored red, the others blue.
QByteArray BmpRows(int width, int rows) {
    QByteArray b;
    for (int r = 0; r < rows; ++r) {
        for (int x = 0; x < width; ++x)
            b += r == 0 ? QByteArray("\x00\x00\xFF", 3) : QByteArray("\xFF\x00\x00", 3);
        b += QByteArray((4 - width * 3 % 4) % 4, '\0');
    }
    return b;
}

// A Photoshop file whose header states width x height pixels.
QByteArray PsdStating(quint32 width, quint32 height) {
    QByteArray psd = Picture("PSD", 8, 8, 72);
    qToBigEndian(height, psd.data() + 14);
    qToBigEndian(width, psd.data() + 18);
    return psd;
}

QByteArray ProgressiveJpeg(int width, int height) {
    Magick::InitializeMagick(nullptr);
    Magick::Image image(Magick::Geometry(width, height), Magick::Color("red"));
    image.interlaceType(Magick::PlaneInterlace);
    image.magick("JPEG");
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

// What the user is told when a picture cannot be loaded: the file's name apart from the reason.
QString Refusal(const QString& name, const QString& reason) {
    return "Sorry - Can't load this picture - \u201c" + name + "\u201d: " + reason;
}

// What the user is told about an EPS that holds no preview picture to show.
QStringList NoPreview(const QString& name) {
    return {Refusal(name, "This EPS holds no preview picture to show.")};
}

} // namespace

TEST(BackdropReading, TextHeaderEpsComments) {
    const struct {
        const char* name;
        QByteArray body; // after the header line
        double x, y, w, h;
        QString title;
    } cases[] = {
        {"Letter", "%%BoundingBox: 0 0 612 792\n%%EOF\n", 0, 0, 215.9, 279.4, ""},
        {"Offset", "%%BoundingBox: 36 72 576 720\n%%EOF\n", 12.7, 25.4, 190.5, 228.6, ""},
        {"TwoBlanksShiftTheValues", "%%BoundingBox:  36 72 576 720\n%%EOF\n", 0, 12.7, 25.4, 190.5, ""},
        {"Word", "%%BoundingBox: (atend)\n%%EOF\n", 0, 0, 0, 0, ""},
        {"WordThenNumbers", "%%BoundingBox: (atend)\n%%BoundingBox: 36 72 576 720\n%%EOF\n", 12.7, 25.4,
         190.5, 228.6, ""},
        {"TitleWithBlank", "%%Title: Front page\n%%BoundingBox: 0 0 612 792\n%%EOF\n", 0, 0, 215.9, 279.4,
         "Front page"},
        {"TitleWithoutBlank", "%%Title:Front\n%%EOF\n", 0, 0, 111, 222, "ront"},
        {"StopsAtResource", "%%BoundingBox: 0 0 612 792\n%%BeginResource: procset\n%%BoundingBox: 1 1 2 2\n",
         0, 0, 215.9, 279.4, ""},
        {"NoBoundingBoxKeepsSize", "%%Creator: test\n%%EOF\n", 0, 0, 111, 222, ""},
        {"LastLineNeverExamined", "%%Title: A\n%%BoundingBox: 0 0 612 792\n", 0, 0, 111, 222, "A"},
        {"LastLineWithoutLineEnd", "%%Title: A\n%%BoundingBox: 0 0 612 792", 0, 0, 111, 222, "A"},
        {"WindowsLineEnds", "%%BoundingBox: 36 72 576 720\r\n%%EOF\r\n", 12.7, 25.4, 190.5, 228.6, ""},
        {"MacLineEnds", "%%BoundingBox: 36 72 576 720\r%%Title: M\r%%EOF\r", 12.7, 25.4, 190.5, 228.6, "M"},
        {"ExtremeValues", "%%BoundingBox: -99999999999 0 99999999999 1\n%%EOF\n",
         QVutils::PntTOmms(INT32_MIN), 0, QVutils::PntTOmms(INT32_MAX), QVutils::PntTOmms(1), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        EXPECT_TRUE(Open(Write("page.eps", kHeader + c.body)).isNull());
        EXPECT_TRUE(QVutils::EPS);
        ExpectBox(c.x, c.y, c.w, c.h);
        EXPECT_EQ(QVutils::EPStitle, c.title);
        EXPECT_EQ(Scripted().messages, NoPreview("page.eps"));
        Scripted().messages.clear();
    }
}

TEST(BackdropReading, DosEpsTiffPreviewLeavesNoTemporaryFile) {
    const QByteArray postScript = kHeader + "%%BoundingBox: 36 72 576 720\n%%Title: Card\n%%EOF\n";
    const QString tmp = TempDir() + "/tmp", work = TempDir() + "/work", oldWork = QDir::currentPath();
    QDir().mkpath(tmp), QDir().mkpath(work);
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.toUtf8());
    QDir::setCurrent(work);
    for (const bool namesTiff : {true, false}) {
        SCOPED_TRACE(namesTiff ? "TIFF section named" : "TIFF after the PostScript");
        PresetGlobals();
        const QImage picture =
            Open(Write("dos.eps", DosEps(postScript, Picture("TIFF", 40, 30, 300), namesTiff)));
        EXPECT_EQ(picture.size(), QSize(40, 30));
        EXPECT_TRUE(IsRed(picture.pixelColor(20, 15)));
        EXPECT_TRUE(QVutils::EPS);
        ExpectBox(12.7, 25.4, 190.5, 228.6);
        EXPECT_EQ(QVutils::EPStitle, "Card");
        EXPECT_EQ(QDir(TempDir()).entryList(QDir::Files), QStringList{"dos.eps"});
        EXPECT_TRUE(QDir(tmp).isEmpty() && QDir(work).isEmpty());
        EXPECT_TRUE(Scripted().messages.isEmpty());
    }
    QDir::setCurrent(oldWork);
    oldTmp.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTmp);
}

TEST(BackdropReading, LyingDosEpsHeaders) {
    const QByteArray good = DosEps(kLetter, Picture("TIFF", 4, 4, 300), true);
    const QByteArray untagged = DosEps(kLetter, Picture("TIFF", 4, 4, 300), false);
    enum Outcome { Nil, Preview, MemoryShort };
    const struct {
        const char* name;
        std::vector<std::pair<int, quint32>> fields; // little-endian header fields to overwrite
        QByteArray file;                             // instead of the good file, when not empty
        Outcome outcome;
    } cases[] = {
        {"NegativeStartTiffNamed", {{4, quint32(-1000)}}, {}, Preview},
        {"NegativeStart", {{4, quint32(-1000)}}, untagged, Nil},
        {"StartPastEnd", {{4, 0x7FFFFFF0}}, {}, Preview},
        {"LengthPastEnd", {{8, 0x7FFFFFFF}}, untagged, Nil},
        {"TiffAndLengthPastEnd", {{8, 0x7FFFFFFF}, {20, 0xFFFFFF00}}, {}, Nil},
        {"NegativeLength", {{8, quint32(-60)}}, untagged, Nil},
        {"SumWrapsRound", {{4, 0x7FFFFFFF}, {8, 0x7FFFFFFF}}, untagged, Nil},
        {"TiffLengthPastEnd", {{24, 0x7FFFFFFF}}, {}, Preview},
        {"TruncatedHeader", {}, good.left(10), Nil},
        {"MagicOnly", {}, good.left(4), Nil},
        {"AbsurdPreviewSize", {}, DosEps(kLetter, HugeJpeg(), true), MemoryShort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        QByteArray file = c.file.isEmpty() ? good : c.file;
        for (const auto& [at, value] : c.fields) {
            const quint32 le = qToLittleEndian(value);
            file.replace(at, 4, QByteArray(reinterpret_cast<const char*>(&le), 4));
        }
        EXPECT_EQ(Open(Write("lying.eps", file)).size(), c.outcome == Preview ? QSize(4, 4) : QSize(0, 0));
        EXPECT_TRUE(QVutils::EPS);
        EXPECT_EQ(Scripted().messages,
                  c.outcome == MemoryShort
                      ? QStringList{Refusal("lying.eps",
                                            "Memory short! The picture is too large (60000 x 60000 pixels).")}
                  : c.outcome == Nil ? NoPreview("lying.eps")
                                     : QStringList());
    }
}

TEST(BackdropReading, ResourceForkPreviewFromAppleDouble) {
    const QByteArray pict = Picture("PICT", 30, 20, 72).mid(512); // a PICT resource has no file header
    const struct {
        const char* name;
        QByteArray companion;
        QSize size;
    } cases[] = {
        {"Pict256", AppleDouble("PICT", 256, pict), QSize(30, 20)},
        {"OtherId", AppleDouble("PICT", 257, pict), QSize(0, 0)},
        {"OtherType", AppleDouble("ICON", 256, pict), QSize(0, 0)},
        {"NotAppleDouble", "plain text", QSize(0, 0)},
        {"NoCompanion", {}, QSize(0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        QFile::remove(TempDir() + "/._page.eps");
        if (!c.companion.isEmpty())
            Write("._page.eps", c.companion);
        const QImage picture = Open(Write("page.eps", kLetter));
        EXPECT_EQ(picture.size(), c.size);
        EXPECT_TRUE(picture.isNull() || IsRed(picture.pixelColor(15, 10)));
        ExpectBox(0, 0, 215.9, 279.4);
        EXPECT_EQ(Scripted().messages, c.size.isEmpty() ? NoPreview("page.eps") : QStringList());
    }
}

TEST(BackdropReading, PlainPictureSizes) {
    const struct {
        const char* name;
        QByteArray file;
        QSize pixels;
        int dpi; // 72 dpi is read as 200
    } cases[] = {
        {"Tiff300", Picture("TIFF", 2480, 8, 300), {2480, 8}, 300},
        {"Tiff72", Picture("TIFF", 1000, 8, 72), {1000, 8}, 200},
        {"Jpeg300", Picture("JPEG", 2480, 8, 300), {2480, 8}, 300},
        {"Jpeg72", Picture("JPEG", 1000, 8, 72), {1000, 8}, 200},
        {"JpegNoResolution", Picture("JPEG", 1000, 8, 0), {1000, 8}, 200},
        {"Bmp300", Picture("BMP", 2480, 8, 300), {2480, 8}, 300},
        {"Bmp72", Picture("BMP", 1000, 8, 72), {1000, 8}, 200},
        {"BmpNoResolution", Picture("BMP", 1000, 8, 72).replace(38, 8, QByteArray(8, '\0')), {1000, 8}, 200},
        {"Png150", Picture("PNG", 300, 8, 150), {300, 8}, 150},
        {"PngNoResolution", Picture("PNG", 1000, 8, 0), {1000, 8}, 200},
        {"Psd300", Picture("PSD", 2480, 8, 300), {2480, 8}, 300},
        {"Psd72", Picture("PSD", 1000, 8, 72), {1000, 8}, 200},
        {"Pict300", Picture("PICT", 2480, 8, 300), {2480, 8}, 300},
        {"Pict72", Picture("PICT", 1000, 8, 72), {1000, 8}, 200},
        {"PdfFirstPage", PdfPages(612, 792), {2550, 3300}, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        const auto picture = Read(Write(QString(c.name) + ".pic", c.file));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Image().size(), c.pixels);
        EXPECT_TRUE(IsRed(picture->Image().pixelColor(4, 4)));
        EXPECT_EQ(QSize(picture->HorizontalResolution(), picture->VerticalResolution()), QSize(c.dpi, c.dpi));
        EXPECT_FALSE(QVutils::EPS);
        ExpectBox(0, 0, c.pixels.width() * 25.4 / c.dpi, c.pixels.height() * 25.4 / c.dpi);
        EXPECT_EQ(QVutils::EPStitle, "");
        EXPECT_TRUE(Scripted().messages.isEmpty());
    }

    QVutils::EPSjpgResolution = 0; // not applied: the picture keeps 72 dpi and a finite size
    const auto picture = Read(Write("zero.tif", Picture("TIFF", 720, 8, 72)));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->HorizontalResolution(), 72);
    EXPECT_DOUBLE_EQ(QVutils::EPSbbWidth, 254);
}

TEST(BackdropReading, UnreadableFilesAreToldAndClearTheGlobals) {
    QDir().mkdir(TempDir() + "/folder.tif");
    const struct {
        const char* name;
        QString fileName;
        std::optional<QByteArray> bytes; // not written when absent
        QString reason;                  // the end of the message
    } cases[] = {
        {"NotAPicture", "photo.jpg", "hello", "This kind of picture cannot be read."},
        {"Empty", "empty.png", "", "This kind of picture cannot be read."},
        {"Missing", "gone.tif", {}, "The file does not exist."},
        {"Folder", "folder.tif", {}, "It is a folder, not a file."},
        {"Level2Eps", "old.eps", "%!PS-Adobe-2.0 EPSF-2.0\n%%BoundingBox: 0 0 10 10\n%%EOF\n",
         "This kind of picture cannot be read."},
        {"AbsurdSize", "huge.jpg", HugeJpeg(),
         "Memory short! The picture is too large (60000 x 60000 pixels)."},
        {"CutShortPng", "cut.png", Picture("PNG", 300, 300, 72).left(100),
         "The picture is damaged or incomplete."},
        {"CutShortPsd", "cut.psd", Picture("PSD", 300, 300, 72).left(2000),
         "The picture is damaged or incomplete."},
        // A top-down BMP of 16000 x 16000 with no rows, 1,054 bytes: a gigabyte of nothing if decoded.
        {"TopDownBmpWithoutRows", "empty.bmp",
         testing_support::Bmp(16000, -16000, 24, QByteArray(1000, '\0')),
         "The picture is damaged or incomplete."},
        {"BottomUpBmpWithHalfItsRows", "half.bmp", testing_support::Bmp(600, 400, 24, BmpRows(600, 200)),
         "The picture is damaged or incomplete."},
        {"TopDownBmpTooLarge", "large.bmp", testing_support::Bmp(30000, -30000, 24, QByteArray(1000, '\0')),
         "Memory short! The picture is too large (30000 x 30000 pixels)."},
        // Within the limits, but beyond what Qt's BMP reader takes (16384 x 16384 pixels).
        {"OneBitBmpBeyondTheReader", "wide.bmp", testing_support::Bmp(20000, 20000, 1, {}),
         "Memory short! The picture is too large (20000 x 20000 pixels)."},
        {"PsdTooLarge", "large.psd", PsdStating(20000, 20000),
         "Memory short! The picture is too large (20000 x 20000 pixels)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        EXPECT_TRUE(Open(c.bytes ? Write(c.fileName, *c.bytes) : TempDir() + "/" + c.fileName).isNull());
        EXPECT_EQ(Scripted().messages, QStringList{Refusal(c.fileName, c.reason)});
        EXPECT_FALSE(QVutils::EPS);
        ExpectBox(0, 0, 111, 222);
        EXPECT_EQ(QVutils::EPStitle, "");
    }
}

// A PICT file cut short anywhere is refused with one message in the program's words, never read as an
// empty or partial picture; so is a bare picture (the form a resource holds) kept in a file.
TEST(BackdropReading, TruncatedPictFiles) {
    const QByteArray pictures[] = {Picture("PICT", 30, 20, 72), OneBitPictV1()};
    for (const QByteArray& whole : pictures) {
        for (const QByteArray& file : {whole, whole.mid(512)}) {
            for (qsizetype n = 0; n <= file.size(); ++n) {
                PresetGlobals();
                const QImage image = Open(Write("cut.pct", file.left(n)));
                if (n == file.size()) {
                    EXPECT_FALSE(image.isNull());
                    EXPECT_TRUE(Scripted().messages.isEmpty());
                    continue;
                }
                ASSERT_TRUE(image.isNull()) << n;
                ASSERT_EQ(Scripted().messages.size(), 1) << n;
                const QString& message = Scripted().messages[0];
                ASSERT_TRUE(message == Refusal("cut.pct", "The picture is damaged or incomplete.") ||
                            message == Refusal("cut.pct", "This kind of picture cannot be read."))
                    << n << ": " << message.toStdString();
            }
        }
    }
}

// Every truncation is read within its bytes (the sanitizer build checks) and gives no resource; an EPS
// whose companion or preview picture is cut short has no preview, told as for any missing preview.
TEST(BackdropReading, TruncatedCompanions) {
    const QByteArray pict = Picture("PICT", 3, 2, 72).mid(512);
    const QByteArray companion = AppleDouble("PICT", 256, pict);
    Write("page.eps", kLetter);
    for (qsizetype n = 0; n <= companion.size(); ++n) {
        const QByteArray part = companion.left(n); // a copy of its own, so reads past n are caught
        const auto fork = backdrop::AppleDoubleResourceFork(part);
        ASSERT_EQ(fork && backdrop::FindResource(*fork, "PICT", 256), n == companion.size()) << n;
        if (n % 7 != 0 && n < companion.size() - 7)
            continue; // reading the whole EPS for a sample of the cuts is enough
        Scripted().messages.clear();
        Write("._page.eps", part);
        EXPECT_EQ(Open(TempDir() + "/page.eps").isNull(), n < companion.size()) << n;
        EXPECT_EQ(Scripted().messages, n < companion.size() ? NoPreview("page.eps") : QStringList()) << n;
    }
    for (qsizetype n = 0; n < pict.size(); ++n) {
        Scripted().messages.clear();
        Write("._page.eps", AppleDouble("PICT", 256, pict.left(n)));
        ASSERT_TRUE(Open(TempDir() + "/page.eps").isNull()) << n;
        ASSERT_EQ(Scripted().messages, NoPreview("page.eps")) << n;
    }
}

// A BMP or JPEG file cut short anywhere is refused with one message, never shown with its missing rows
// black or grey; whole, it opens with its first stored row where it belongs.
TEST(BackdropReading, PicturesMissingRowsAreRefused) {
    using testing_support::Bmp;
    // Three rows of four pixels in runs, the last ended by the end-of-picture code; two rows of four
    // pixels, the first given one by one.
    const QByteArray rle8 = QByteArray::fromHex("0401 0000 0402 0000 0403 0001");
    const QByteArray rle4 = QByteArray::fromHex("0004 1234 0000 0456 0001");
    enum Rows { TopFirst, BottomFirst, Unchecked };
    const struct {
        const char* name;
        QByteArray file;
        QSize size;
        Rows rows; // where the red first stored row shows
    } cases[] = {
        {"BottomUpBmp", Bmp(6, 4, 24, BmpRows(6, 4)), {6, 4}, BottomFirst},
        {"TopDownBmp", Bmp(6, -4, 24, BmpRows(6, 4)), {6, 4}, TopFirst},
        {"Rle8Bmp", Bmp(4, 3, 8, rle8, 1), {4, 3}, Unchecked},
        {"Rle4Bmp", Bmp(4, 2, 4, rle4, 2), {4, 2}, Unchecked},
        {"Jpeg", Picture("JPEG", 40, 30, 300), {40, 30}, Unchecked},
        {"ProgressiveJpeg", ProgressiveJpeg(40, 30), {40, 30}, Unchecked},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PresetGlobals();
        const QImage whole = Open(Write("whole.pic", c.file));
        ASSERT_EQ(whole.size(), c.size);
        EXPECT_TRUE(Scripted().messages.isEmpty());
        if (c.rows != Unchecked) {
            const int red = c.rows == TopFirst ? 0 : c.size.height() - 1;
            for (int y = 0; y < c.size.height(); ++y)
                EXPECT_EQ(IsRed(whole.pixelColor(2, y)), y == red) << y;
        }
        for (qsizetype n = 0; n < c.file.size(); ++n) {
            PresetGlobals();
            ASSERT_TRUE(Open(Write("cut.pic", c.file.left(n))).isNull()) << n;
            ASSERT_EQ(Scripted().messages.size(), 1) << n;
            const QString& message = Scripted().messages[0];
            ASSERT_TRUE(message == Refusal("cut.pic", "The picture is damaged or incomplete.") ||
                        message == Refusal("cut.pic", "This kind of picture cannot be read."))
                << n << ": " << message.toStdString();
        }
    }
}
