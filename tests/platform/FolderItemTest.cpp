#include "platform/FolderItem.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// Items are named and placed by their path; a child's name is one name; Delete removes a file once;
// the preferences folder is the configuration folder, made on first use.
TEST(FolderItem, NamesPlacesAndThePreferencesFolder) {
    const QString dir = TempDir();
    auto folder = GetFolderItem(dir);
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->Exists() && folder->Directory());
    auto file = folder->Child("doc.num");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(QStringList({file->Name(), file->AbsolutePath()}), QStringList({"doc.num", dir + "/doc.num"}));
    EXPECT_FALSE(file->Exists());
    EXPECT_EQ(folder->Child(""), nullptr);
    EXPECT_EQ(folder->Child("a/b"), nullptr);
    EXPECT_EQ(GetFolderItem(""), nullptr);
    WriteBytes(file->AbsolutePath(), "12345");
    EXPECT_TRUE(file->Exists() && !file->Directory());
    EXPECT_TRUE(file->Delete());
    EXPECT_FALSE(file->Exists());
    EXPECT_FALSE(file->Delete());

    EXPECT_FALSE(QDir(dir + "/config").exists());
    auto prefs = PreferencesFolder();
    ASSERT_NE(prefs, nullptr);
    EXPECT_EQ(prefs->AbsolutePath(), dir + "/config");
    EXPECT_TRUE(prefs->Directory());
}

TEST(FolderItem, ReadsEveryLineEnd) {
    const QString huge(3 * 1024 * 1024, 'x'), nearBuffer(64 * 1024 - 1, 'a');
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"unix", "a\nb\n\nc", {"a", "b", "", "c"}},
        {"windows", "a\r\nb\r\n\r\nc", {"a", "b", "", "c"}},
        {"old mac", "a\rb\r\rc", {"a", "b", "", "c"}},
        {"mixed", "a\r\nb\n\rc\n", {"a", "b", "", "c"}},
        {"huge line", huge.toLatin1() + "\nnext\n", {huge, "next"}},
        {"\\r\\n across a buffer edge", nearBuffer.toLatin1() + "\r\nb", {nearBuffer, "b"}},
        {"empty", "", {}},
    };
    const QString path = TempDir() + "/lines.txt";
    for (const auto& c : cases) {
        WriteBytes(path, c.bytes);
        auto in = GetFolderItem(path)->OpenAsTextFile();
        ASSERT_NE(in, nullptr) << c.name;
        QStringList lines;
        while (!in->Eof())
            lines << in->ReadLine();
        EXPECT_TRUE(lines == c.lines) << c.name << ": " << lines.size() << " lines";
        EXPECT_EQ(in->ReadLine(), "") << c.name;
    }
    EXPECT_EQ(GetFolderItem(TempDir() + "/missing.txt")->OpenAsTextFile(), nullptr);
}

TEST(FolderItem, AFailedWriteKeepsTheOldFile) {
    const QString path = TempDir() + "/doc.num";
    WriteBytes(path, "old\n");
    try {
        auto out = GetFolderItem(path)->CreateTextFile();
        out->WriteLine("half");
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("old\n"));

    auto out = GetFolderItem(path)->CreateTextFile();
    out->Write("Zürich ");
    out->WriteLine("€ 12,50");
    EXPECT_TRUE(out->Close());
    EXPECT_EQ(ReadBytes(path), QByteArray("Zürich € 12,50\n"));
    EXPECT_EQ(GetFolderItem(TempDir() + "/no/such/folder/doc.num")->CreateTextFile(), nullptr);

    if (geteuid() == 0)
        return; // permissions do not bind the superuser
    const QString dir = TempDir() + "/locked";
    QDir().mkdir(dir);
    WriteBytes(dir + "/doc.num", "old\n");
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (auto locked = GetFolderItem(dir + "/doc.num")->CreateTextFile()) {
        locked->WriteLine("new");
        EXPECT_FALSE(locked->Close());
    }
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadBytes(dir + "/doc.num"), QByteArray("old\n"));
}

TEST(BinaryStream, ReadsNumbersInEitherByteOrder) {
    const QString path = TempDir() + "/dos.eps";
    WriteBytes(path, QByteArray::fromHex("C5D0D3C61E000000FEFF80"));
    auto in = GetFolderItem(path)->OpenAsBinaryFile();
    ASSERT_NE(in, nullptr);
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
    in->SetPosition(10); // a number cut short by the end reads 0 for the missing bytes
    EXPECT_EQ(in->ReadShort(), std::int16_t(0x8000));
    in->SetPosition(1000);
    EXPECT_EQ(in->ReadLong(), 0);
}

// Devices never end and named pipes wait for a writer: only regular files are opened for reading, at once.
TEST(FolderItem, OpensOnlyRegularFilesForReading) {
    const QString fifo = TempDir() + "/pipe", folder = TempDir() + "/folder", file = TempDir() + "/plain.txt";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkdir(folder);
    WriteBytes(file, "line\n");
    const struct {
        QString path;
        QString why; // empty: opened
    } cases[] = {
        {"/dev/zero", "It is not an ordinary file (a device or a pipe cannot be opened)."},
        {fifo, "It is not an ordinary file (a device or a pipe cannot be opened)."},
        {folder, "It is a folder, not a file."},
        {TempDir() + "/missing.txt", "The file does not exist."},
        {file, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const FolderItem item(c.path);
        const bool opens = c.why.isEmpty();
        QString textWhy;
        EXPECT_EQ(item.OpenAsTextFile(&textWhy) != nullptr, opens);
        EXPECT_EQ(textWhy, c.why);
        EXPECT_EQ(item.OpenAsBinaryFile() != nullptr, opens);
        EXPECT_EQ(item.OpenAsBinaryFile(true) != nullptr, opens);
        EXPECT_EQ(item.OpenAsPicture(), nullptr);
        QString why;
        const auto bytes = item.OpenAsBytes(&why);
        EXPECT_EQ(bytes != nullptr, opens);
        EXPECT_EQ(why, c.why);
        EXPECT_TRUE(!bytes || bytes->Bytes() == QByteArrayView("line\n"));
    }
}
