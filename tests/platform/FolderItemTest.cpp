#include "platform/FolderItem.h"
#include "TestSupport.h"
#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::TempDir;

namespace {
void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(FolderItem, NamesAndPlaces) {
    const QString dir = TempDir();
    auto folder = GetFolderItem(dir);
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->Exists() && folder->Directory());

    auto file = folder->Child("doc.num");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(QStringList({file->Name(), file->AbsolutePath(), file->Parent()->AbsolutePath()}),
              QStringList({"doc.num", dir + "/doc.num", dir}));
    EXPECT_FALSE(file->Exists());
    EXPECT_EQ(folder->Child(""), nullptr);
    EXPECT_EQ(folder->Child("a/b"), nullptr);
    EXPECT_EQ(GetFolderItem(""), nullptr);
    EXPECT_EQ(GetFolderItem("/")->Parent(), nullptr);
    EXPECT_EQ(GetFolderItem("temp.tmp")->AbsolutePath(), QDir::current().absoluteFilePath("temp.tmp"));

    writeBytes(file->AbsolutePath(), "12345");
    EXPECT_TRUE(file->Exists() && !file->Directory());
    EXPECT_EQ(file->Length(), 5);
    EXPECT_TRUE(file->Delete());
    EXPECT_FALSE(file->Exists());
    EXPECT_FALSE(file->Delete());
}

TEST(FolderItem, TextRoundTripAndEveryLineEnd) {
    const QString path = TempDir() + "/lines.txt";
    auto out = GetFolderItem(path)->CreateTextFile();
    ASSERT_NE(out, nullptr);
    out->WriteLine("first");
    out->WriteLine("");
    out->Write("Zürich ");
    out->WriteLine("€ 12,50");
    EXPECT_TRUE(out->Close());
    EXPECT_EQ(readBytes(path), QByteArray("first\n\nZürich € 12,50\n"));

    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"unix", "a\nb\n\nc"},
        {"windows", "a\r\nb\r\n\r\nc"},
        {"old mac", "a\rb\r\rc"},
        {"mixed", "a\r\nb\n\rc\n"},
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        auto in = GetFolderItem(path)->OpenAsTextFile();
        QStringList lines;
        while (!in->Eof())
            lines << in->ReadLine();
        EXPECT_EQ(lines, QStringList({"a", "b", "", "c"})) << c.name;
        EXPECT_EQ(in->ReadLine(), "") << c.name << ": past the end";
    }
}

TEST(FolderItem, TextPositionsAndTheRest) {
    const QString path = TempDir() + "/prefs.txt";
    writeBytes(path, "\n\n/home/a.num\nsetup;one\nsetup two\n");
    auto in = GetFolderItem(path)->OpenAsTextFile();
    EXPECT_EQ(in->ReadLine() + in->ReadLine(), "");
    EXPECT_EQ(in->PositionB(), 2);
    EXPECT_EQ(in->ReadLine(), "/home/a.num");
    EXPECT_EQ(in->ReadAll(), "setup;one\nsetup two\n");
    EXPECT_TRUE(in->Eof());

    in->SetPositionB(3);
    EXPECT_EQ(in->ReadLine(), "home/a.num");
    EXPECT_FALSE(in->Eof());

    writeBytes(path, "");
    EXPECT_TRUE(GetFolderItem(path)->OpenAsTextFile()->Eof());
    EXPECT_EQ(GetFolderItem(TempDir() + "/missing.txt")->OpenAsTextFile(), nullptr);
    EXPECT_EQ(GetFolderItem(TempDir())->OpenAsTextFile(), nullptr);
}

TEST(FolderItem, HugeLinesAndBinaryContentAreReadSafely) {
    const QString path = TempDir() + "/odd.bin";
    QByteArray bytes(3 * 1024 * 1024, 'x');
    bytes += "\nnext\n";
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    writeBytes(path, bytes);
    auto in = GetFolderItem(path)->OpenAsTextFile();
    EXPECT_EQ(in->ReadLine().size(), 3 * 1024 * 1024);
    EXPECT_EQ(in->ReadLine(), "next");
    int lines = 0;
    while (!in->Eof()) {
        in->ReadLine();
        ++lines;
    }
    EXPECT_EQ(lines, 3); // the binary tail holds a \n (10) and a \r (13)

    // A \r\n split between two reads of the file is still one line end.
    writeBytes(path, QByteArray(64 * 1024 - 1, 'a') + "\r\nb");
    in = GetFolderItem(path)->OpenAsTextFile();
    EXPECT_EQ(in->ReadLine().size(), 64 * 1024 - 1);
    EXPECT_EQ(in->ReadLine(), "b");
    EXPECT_TRUE(in->Eof());
}

TEST(FolderItem, AFailedWriteKeepsTheOldFile) {
    const QString path = TempDir() + "/doc.num";
    writeBytes(path, "old\n");

    // Dropped while an exception passes: the old file stays.
    try {
        auto out = GetFolderItem(path)->CreateTextFile();
        out->WriteLine("half");
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(readBytes(path), QByteArray("old\n"));

    // Dropped without Close in the ordinary way: written, as the stream would be on closing.
    GetFolderItem(path)->CreateTextFile()->WriteLine("new");
    EXPECT_EQ(readBytes(path), QByteArray("new\n"));

    // Places that cannot take a file give no stream.
    QDir(TempDir()).mkdir("folder");
    EXPECT_EQ(GetFolderItem(TempDir() + "/folder")->CreateTextFile(), nullptr);
    EXPECT_EQ(GetFolderItem(TempDir() + "/no/such/folder/doc.num")->CreateTextFile(), nullptr);
    EXPECT_TRUE(GetFolderItem(TempDir() + "/folder")->Directory());
}

TEST(FolderItem, AnUnwritableFolderKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const QString dir = TempDir() + "/locked";
    QDir().mkdir(dir);
    writeBytes(dir + "/doc.num", "old\n");
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    auto out = GetFolderItem(dir + "/doc.num")->CreateTextFile();
    if (out) {
        out->WriteLine("new");
        EXPECT_FALSE(out->Close());
    }
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readBytes(dir + "/doc.num"), QByteArray("old\n"));
}

TEST(BinaryStream, ReadsNumbersInEitherByteOrder) {
    const QString path = TempDir() + "/dos.eps";
    auto out = GetFolderItem(path)->CreateBinaryFile("ImageTiff");
    ASSERT_NE(out, nullptr);
    out->Write(QByteArray::fromHex("C5D0D3C61E000000FEFF80"));
    EXPECT_TRUE(out->Close());

    auto in = GetFolderItem(path)->OpenAsBinaryFile();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Length(), 11);
    for (bool little : {true, false}) {
        in->LittleEndian = little;
        in->SetPosition(0);
        const std::int64_t magic = std::uint32_t(in->ReadLong()), thirty = in->ReadLong(),
                           twoBytes = in->ReadShort();
        EXPECT_EQ(QList<std::int64_t>({magic, thirty, twoBytes, in->ReadByte()}),
                  little ? QList<std::int64_t>({0xC6D3D0C5, 30, -2, 128})
                         : QList<std::int64_t>({0xC5D0D3C6, 0x1E000000, -257, 128}));
        EXPECT_TRUE(in->Eof());
    }

    // Past the end: what is there, and 0 for missing bytes of a number.
    in->SetPosition(9);
    EXPECT_EQ(in->Read(100), QByteArray::fromHex("FF80"));
    EXPECT_EQ(in->Read(4), QByteArray());
    in->SetPosition(10);
    EXPECT_EQ(in->ReadShort(), std::int16_t(0x8000));
    in->SetPosition(1000);
    EXPECT_EQ(in->ReadLong(), 0);

    in->Write("ignored"); // opened read-only
    EXPECT_TRUE(in->Close());
    EXPECT_EQ(QFile(path).size(), 11);
    EXPECT_EQ(GetFolderItem(TempDir() + "/none")->OpenAsBinaryFile(), nullptr);
}

TEST(FolderItem, OpensPicturesWithTheirResolution) {
    struct Case {
        const char* name;
        const char* format;
        int dpi; // 0: the file gives none
        int expected;
    } cases[] = {{"tiff at 600 dpi", "TIFF", 600, 600}, {"png without", "PNG", 0, 72}};
    for (const auto& c : cases) {
        QImage img(30, 20, QImage::Format_RGB32);
        img.fill(Qt::blue);
        if (c.dpi) {
            img.setDotsPerMeterX(qRound(c.dpi / 0.0254));
            img.setDotsPerMeterY(qRound(c.dpi / 0.0254));
        }
        const QString path = TempDir() + "/pic." + QString(c.format).toLower();
        ASSERT_TRUE(img.save(path, c.format)) << c.name;
        if (!c.dpi) { // strip the resolution Qt wrote: the chunk named pHYs
            QByteArray bytes = readBytes(path);
            const qsizetype at = bytes.indexOf("pHYs");
            if (at > 4)
                bytes.remove(at - 4, 4 + 4 + 9 + 4);
            ASSERT_FALSE(bytes.contains("pHYs"));
            writeBytes(path, bytes);
        }
        auto pic = GetFolderItem(path)->OpenAsPicture();
        ASSERT_NE(pic, nullptr) << c.name;
        EXPECT_EQ(QSize(pic->Width(), pic->Height()), QSize(30, 20)) << c.name;
        EXPECT_EQ(QSize(pic->HorizontalResolution(), pic->VerticalResolution()),
                  QSize(c.expected, c.expected))
            << c.name;
    }
    writeBytes(TempDir() + "/bad.jpg", "not a picture");
    EXPECT_EQ(GetFolderItem(TempDir() + "/bad.jpg")->OpenAsPicture(), nullptr);
    EXPECT_EQ(GetFolderItem(TempDir())->OpenAsPicture(), nullptr);
}

TEST(FolderItem, PreferencesAndTemporaryFolders) {
    auto prefs = PreferencesFolder();
    ASSERT_NE(prefs, nullptr);
    EXPECT_TRUE(prefs->Directory());
    EXPECT_EQ(prefs->AbsolutePath(), TempDir() + "/config"); // made on first use
    EXPECT_TRUE(TemporaryFolder()->Directory());
}
