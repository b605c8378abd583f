// The document file: one value per line, saved and opened again exactly, damaged and odd files read
// without harm, and saves that cannot be written not reported as done.
#include "TestSupport.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "editor/Window1.h"
#include "platform/FolderItem.h"
#include "platform/ListBox.h"
#include "platform/Picture.h"
#include "platform/Window.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace Module1;
using namespace testing_support;

namespace {

QStringList linesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {"<missing>"};
    QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the last line ends with a line end too
    return lines;
}

void threeObjects() {
    AddObject({"Serial", 20.5, 30.25, "/#######", 0, "5, Mod 10", "Arial", "Bold"});
    AddObject({"Stub", 150, 280.125, "A-####", 1, "7, EAN Mod 10 weighted", "Arial", "BoldItalic", 12.5,
               "C010M020Y030K040", 90});
    AddObject({"", 0.1, 0.2, "", 0, "0, None", "Arial", "Normal", 8, "C100M000Y000K000", -45});
}

// An empty, untitled A4 document on a one-cell sheet.
class DocumentFile : public ::testing::Test {
protected:
    void SetUp() override {
        FillModNames();
        NewDoc();
    }
    QString path(const QString& leaf) const { return TempDir() + "/" + leaf; }
    bool save(const QString& leaf) {
        Filename = path(leaf);
        return SaveFile(false);
    }
    // Opens the file in a fresh, empty document.
    bool reopen(const QString& leaf) {
        NewDoc();
        Filename = path(leaf);
        return OpenFile();
    }
};

} // namespace

TEST_F(DocumentFile, WritesOneValuePerLine) {
    ASSERT_TRUE(save("empty.num"));
    EXPECT_EQ(linesOf(Filename).size(), 23);

    threeObjects();
    Astart = 1234567890123, Aqty = 6000, AstepR = 2, AstepRV = 105, EPSuseForms = true;
    ASSERT_TRUE(save("three.num"));
    const QStringList l = linesOf(Filename);
    ASSERT_EQ(l.size(), 56);
    QStringList picked; // line number, then its text
    for (int n : {1, 2, 6, 7, 11, 12, 13, 18, 22, 23, 24, 25, 29, 33, 37, 43, 45, 56})
        picked << QString::number(n) + ":" + l[n - 1];
    EXPECT_EQ(picked.join(' '),
              "1:three.num 2:210 6:2 7:105 11:1234567890123 12:6000 13: 18:100 22:true 23:3 "
              "24:Serial 25:20.5 29:5, Mod 10 33:C000M000Y000K100 37:280.125 43:12.5 45:90 56:-45");
    EXPECT_FALSE(DirtyFlag);
}

// Saved, opened and saved again, a document is the same to the byte. Opened straight over it, a document
// with no backdrop leaves none: the picture, its cache, its name and offsets go.
TEST_F(DocumentFile, RoundTripRestoresEveryValue) {
    ASSERT_TRUE(save("plain.num"));
    QImage backdrop(300, 200, QImage::Format_RGB32);
    backdrop.fill(Qt::gray);
    backdrop.setDotsPerMeterX(11811); // 300 dpi
    backdrop.setDotsPerMeterY(11811);
    ASSERT_TRUE(backdrop.save(path("scan.png")));

    threeObjects();
    Astart = 999999, Aqty = 1200, AdocWidth = 105.5, AstepD = 3, AstepDV = 99.25, AinTag = 4;
    EPSpathName = path("scan.png");
    EPSmaskX = 1.5, EPSmaskWidth = 100, EPSmaskHeight = 150.75, EPSscaleX = 50;
    QVutils::EPSBoundBoxX = 3.25, QVutils::EPSBoundBoxY = -2;
    ASSERT_TRUE(save("a.num"));

    ASSERT_TRUE(reopen("a.num"));
    EXPECT_EQ(std::tuple(TotalObjects, CurrentObject, RName), std::tuple(3, 0, "Serial"));
    EXPECT_EQ(AstepDV, 99.3) << "header values keep the precision the parameter list shows";
    EXPECT_EQ(RecPos(1, 14).ColorValue(), DisplayColour(10, 20, 30, 40));
    EXPECT_EQ(EPSfilename, "scan.png");
    EXPECT_NE(Module1::TheBackdrop.Bdx, nullptr);
    // The offsets come from the file, not from the picture's own origin.
    EXPECT_EQ(std::pair(QVutils::EPSBoundBoxX, QVutils::EPSBoundBoxY), std::pair(3.25, -2.0));

    ASSERT_TRUE(save("b.num"));
    QByteArray a = ReadBytes(path("a.num")), b = ReadBytes(path("b.num"));
    a.replace("a.num", "b.num");
    EXPECT_EQ(a, b);

    EPSdirty = true;
    ASSERT_TRUE(TheBackdrop.ComposeIfDirty());
    ASSERT_NE(TheBackdrop.cdx, nullptr);
    platform::FolderItem plain(path("plain.num"));
    ASSERT_TRUE(ReadDocument(plain));
    EXPECT_EQ(std::tuple(TheBackdrop.Bdx, TheBackdrop.cdx, EPSfilename, EPSpathName, QVutils::EPSBoundBoxX),
              std::tuple(nullptr, nullptr, QString(), QString(), 0.0));
}

TEST_F(DocumentFile, MissingBackdropIsKeptSilently) {
    EPSpathName = path("gone.tif");
    ASSERT_TRUE(save("d.num"));
    ASSERT_TRUE(reopen("d.num"));
    EXPECT_TRUE(Scripted().messages.isEmpty());
    EXPECT_EQ(Module1::TheBackdrop.Bdx, nullptr);
    EXPECT_EQ(EPSpathName, path("gone.tif"));
    ASSERT_TRUE(SaveFile(false));
    EXPECT_EQ(linesOf(Filename)[12], path("gone.tif"));
}

TEST_F(DocumentFile, ReadsDamagedFilesWithoutHarm) {
    const QByteArray header = "doc\n210\n297\n210\n297\n1\n0\n1\n0\n0\n5\n10\n\n0\n0\n0\n0\n100\n100\n0\n0\n";
    const QByteArray object = "n\n10\n20\n\n0\n0, None\nArial\nNormal\n14\nC000M000Y000K100\n0\n";
    struct Case {
        const char* name;
        QByteArray bytes;
        int objects;
        bool forms;
    } cases[] = {
        {"ends after line 22", header + "true\n", 0, true},
        {"count above the table", header + "yes\n500\n" + object.repeated(500), 129, false},
        {"negative count", header + "false\n-3\n" + object, 0, false},
        {"last line without its line end", header + "TRUE\n2\n" + object + object.chopped(1), 2, true},
    };
    // Step counts below 1 count as 1, as typed ones do: a grid has at least one cell each way.
    QByteArray noCells = header;
    noCells.replace("\n1\n0\n1\n0\n", "\n0\n0\n-2\n0\n");
    WriteBytes(path("x.num"), noCells + "false\n0\n");
    ASSERT_TRUE(reopen("x.num"));
    EXPECT_EQ(std::tuple(AstepR, AstepD, RecHd(5).DoubleValue()), std::tuple(1, 1, 1.0));
    // A page or sheet of no size is no document that can be shown.
    QByteArray noPage = header;
    noPage.replace("doc\n210\n", "doc\n0\n");
    WriteBytes(path("x.num"), noPage + "false\n0\n");
    EXPECT_FALSE(reopen("x.num"));
    for (const auto& c : cases) {
        WriteBytes(path("x.num"), c.bytes);
        ASSERT_TRUE(reopen("x.num")) << c.name;
        EXPECT_EQ(std::tuple(TotalObjects, CurrentObject, EPSuseForms),
                  std::tuple(c.objects, c.objects > 0 ? 0 : -1, c.forms))
            << c.name;
    }
    EXPECT_EQ(std::tuple(RecPos(1, 6).StringValue(), RecPos(1, 8).DoubleValue(), RecPos(1, 10).DoubleValue()),
              std::tuple("Arial", 14.0, 0.0));
}

// A document whose object table ends early, inside an object or before all the objects it counts, is
// refused as damaged and the document open stays as it was; the next save writes that one, not damage.
TEST_F(DocumentFile, TableCutShortIsRefusedAsDamaged) {
    AddObject({"First", 10, 20, "#####", 0, "0, None", "Liberation Sans", "Bold", 24, "C000M100Y000K000", 0});
    AddObject(
        {"Second", 80, 20, "A####", 1, "5, Mod 10", "Liberation Sans", "Italic", 18, "C100M000Y000K000", 90});
    ASSERT_TRUE(save("two.num"));
    const QByteArray two = ReadBytes(path("two.num"));
    const qsizetype table = two.indexOf("\n2\nFirst\n") + 3; // the first byte of the first object
    QByteArray countsThree = two;
    countsThree.replace("\n2\nFirst\n", "\n3\nFirst\n");
    QByteArray counts500 = two;
    counts500.replace("\n2\nFirst\n", "\n500\nFirst\n");
    const std::pair<const char*, QByteArray> cases[] = {
        {"the first 160 bytes", two.left(160)},
        {"ends after the count", two.left(table)},
        {"ends inside the first object", two.left(table + 10)},
        {"the last line missing", two.left(two.lastIndexOf('\n', two.size() - 2) + 1)},
        {"counts three, holds two", countsThree},
        {"counts more than the table, holds two", counts500},
    };
    ASSERT_GT(table, 23);
    ASSERT_LT(160, two.size());
    NewDoc();
    threeObjects();
    Filename = path("current.num");
    ASSERT_TRUE(SaveFile(false));
    const QByteArray current = ReadBytes(Filename);
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        WriteBytes(path("cut.num"), bytes);
        Scripted().fileAnswers = {path("cut.num")};
        const FileOutcome opened = OpenChosenDocument();
        EXPECT_EQ(opened.kind, FileOutcome::Failed);
        EXPECT_TRUE(opened.message.contains("damaged")) << opened.message.toStdString();
        EXPECT_EQ(std::tuple(TotalObjects, CurrentObject, RecPos(1, 0).StringValue(),
                             RecPos(1, 6).StringValue(), RecPos(1, 9).StringValue(), Filename),
                  std::tuple(3, -1, QString("Stub"), QString("Arial"), QString("C010M020Y030K040"),
                             path("current.num")));
        ASSERT_TRUE(SaveFile(false));
        EXPECT_EQ(ReadBytes(Filename), current);
    }
    // The whole file opens, also without the line end of its last line.
    for (const QByteArray& bytes : {two, two.chopped(1)}) {
        WriteBytes(path("cut.num"), bytes);
        Scripted().fileAnswers = {path("cut.num")};
        ASSERT_EQ(OpenChosenDocument().kind, FileOutcome::Done);
        EXPECT_EQ(std::tuple(TotalObjects, RecPos(1, 6).StringValue(), RecPos(1, 8).DoubleValue(),
                             RecPos(1, 9).StringValue(), RecPos(1, 10).DoubleValue()),
                  std::tuple(2, QString("Liberation Sans"), 18.0, QString("C100M000Y000K000"), 90.0));
    }
}

TEST_F(DocumentFile, LineEndsInTextsKeepTheLayout) {
    AddObject({"two\nlines", 1, 2, "A\r\n###"});
    EPSpathName = "/some\rwhere.tif";
    ASSERT_TRUE(save("e.num"));
    EXPECT_EQ(linesOf(Filename).size(), 34);
    ASSERT_TRUE(reopen("e.num"));
    EXPECT_EQ(std::tuple(RecPos(0, 0).StringValue(), RecPos(0, 3).StringValue(), RecPos(0, 8).DoubleValue()),
              std::tuple("two lines", "A ###", 14.0));
}

TEST_F(DocumentFile, UnwritableTargetIsNotReportedAsSaved) {
    DirtyFlag = true;
    Filename = TempDir() + "/no/such/folder/f.num";
    EXPECT_FALSE(SaveFile(false));
    EXPECT_TRUE(DirtyFlag);
    Filename.clear();
    EXPECT_FALSE(OpenFile()) << "cancelled open dialog";
    EXPECT_EQ(Scripted().openFilters, QStringList({"Numbers (*.num)"}));
}
