#include "TestSupport.h"
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/ListBox.h"
#include "platform/Picture.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;

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

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

platform::ListBox& parameterList() { return *platform::SharedInstance<Window1>().ControlNamed<platform::ListBox>("ListBox2"); }

// An empty, untitled A4 document on a one-cell sheet.
void emptyDocument() {
    InitGlobals();
    FileTypes::Init();
    FillModNames();
    NewDoc();
    Filename.clear();
}

void addObject(const QString& name, double x, double y, const QString& picture, double inc, const QString& method,
               const QString& style, double size, const QString& colour, double angle) {
    const int i = TotalObjects++;
    RecPos(i, 0) = name;
    RecPos(i, 1) = x;
    RecPos(i, 2) = y;
    RecPos(i, 3) = picture;
    RecPos(i, 4) = inc;
    RecPos(i, 5) = method;
    RecPos(i, 6) = "Arial";
    RecPos(i, 7) = style;
    RecPos(i, 8) = size;
    RecPos(i, 9) = colour;
    RecPos(i, 10) = angle;
}

void threeObjects() {
    addObject("Serial", 20.5, 30.25, "/#######", 0, "5, Mod 10", "Bold", 14, "C000M000Y000K100", 0);
    addObject("Stub", 150, 280.125, "A-####", 1, "7, EAN Mod 10 weighted", "BoldItalic", 12.5, "C010M020Y030K040", 90);
    addObject("", 0.1, 0.2, "", 0, "0, None", "Normal", 8, "C100M000Y000K000", -45);
}

class DocumentFile : public ::testing::Test {
protected:
    void SetUp() override { emptyDocument(); }
    QString path(const QString& leaf) const { return TempDir() + "/" + leaf; }
};

} // namespace

TEST_F(DocumentFile, WritesOneValuePerLine) {
    Filename = path("empty.num");
    ASSERT_TRUE(SaveFile(false));
    EXPECT_EQ(linesOf(Filename).size(), 23);

    threeObjects();
    Astart = 1234567890123;
    Aqty = 6000;
    AstepR = 2;
    AstepRV = 105;
    EPSuseForms = true;
    Filename = path("three.num");
    ASSERT_TRUE(SaveFile(false));
    const QStringList l = linesOf(Filename);
    ASSERT_EQ(l.size(), 56);
    struct Line {
        int number;
        QString text;
    } expected[] = {
        {1, "three.num"}, {2, "210"}, {3, "297"}, {6, "2"}, {7, "105"}, {11, "1234567890123"}, {12, "6000"},
        {13, ""}, {18, "100"}, {22, "true"}, {23, "3"}, {24, "Serial"}, {25, "20.5"}, {26, "30.25"},
        {27, "/#######"}, {29, "5, Mod 10"}, {30, "Arial"}, {31, "Bold"}, {32, "14"}, {33, "C000M000Y000K100"},
        {34, "0"}, {36, "150"}, {37, "280.125"}, {43, "12.5"}, {44, "C010M020Y030K040"}, {45, "90"}, {56, "-45"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(l[e.number - 1], e.text) << "line " << e.number;
    EXPECT_FALSE(DirtyFlag);
}

TEST_F(DocumentFile, SaveDialogForUntitledAndSaveAs) {
    DirtyFlag = true;
    Scripted().fileAnswers = {path("first.num")};
    ASSERT_TRUE(SaveFile(false));
    EXPECT_EQ(Scripted().saveDefaults, QStringList({"RUZuv.avo"}));
    EXPECT_EQ(Scripted().saveFilters, QStringList({"Numbers (*.num)"}));
    EXPECT_EQ(Filename, path("first.num"));
    EXPECT_EQ(parameterList().Cell(0, 2), "first.num");
    EXPECT_FALSE(DirtyFlag);

    ASSERT_TRUE(SaveFile(false)); // titled: no dialog
    EXPECT_EQ(Scripted().saveDefaults.size(), 1);

    DirtyFlag = true;
    EXPECT_FALSE(SaveFile(true)); // Save As always asks; cancelled changes nothing
    EXPECT_EQ(Scripted().saveDefaults, QStringList({"RUZuv.avo", "RUZuv.avo"}));
    EXPECT_TRUE(DirtyFlag);
    EXPECT_EQ(Filename, path("first.num"));
}

TEST_F(DocumentFile, RoundTripRestoresEveryValue) {
    QImage backdrop(300, 200, QImage::Format_RGB32);
    backdrop.fill(Qt::gray);
    backdrop.setDotsPerMeterX(11811); // 300 dpi
    backdrop.setDotsPerMeterY(11811);
    ASSERT_TRUE(backdrop.save(path("scan.png")));

    threeObjects();
    Astart = 999999;
    Aqty = 1200;
    AdocWidth = 105.5;
    AstepD = 3;
    AstepDV = 99.25;
    AinTag = 4;
    EPSpathName = path("scan.png");
    EPSmaskX = 1.5;
    EPSmaskWidth = 100;
    EPSmaskHeight = 150.75;
    EPSscaleX = 50;
    QVutils::EPSBoundBoxX = 3.25;
    QVutils::EPSBoundBoxY = -2;
    Filename = path("a.num");
    ASSERT_TRUE(SaveFile(false));

    emptyDocument();
    DirtyFlag = true;
    Filename = path("a.num");
    ASSERT_TRUE(OpenFile());
    EXPECT_TRUE(DirtyFlag) << "opening leaves the modified flag alone";
    EXPECT_EQ(TotalObjects, 3);
    EXPECT_EQ(CurrentObject, 0);
    EXPECT_EQ(RName, "Serial");
    EXPECT_EQ(Astart, 999999);
    EXPECT_EQ(AdocWidth, 105.5);
    EXPECT_EQ(AstepDV, 99.3) << "header values keep the precision the parameter list shows";
    EXPECT_EQ(RecPos(1, 2).DoubleValue(), 280.125);
    EXPECT_EQ(RecPos(1, 5).StringValue(), "7, EAN Mod 10 weighted");
    EXPECT_EQ(RecPos(1, 14).ColorValue(), DisplayColour(10, 20, 30, 40));
    EXPECT_EQ(EPSmaskHeight, 150.75);
    EXPECT_EQ(EPSfilename, "scan.png");
    EXPECT_NE(platform::SharedInstance<Window1>().Bdx, nullptr);
    // The offsets come from the file, not from the picture's own origin.
    EXPECT_EQ(QVutils::EPSBoundBoxX, 3.25);
    EXPECT_EQ(QVutils::EPSBoundBoxY, -2);

    Filename = path("b.num");
    ASSERT_TRUE(SaveFile(false));
    QByteArray a = bytesOf(path("a.num")), b = bytesOf(path("b.num"));
    a.replace("a.num", "b.num");
    EXPECT_EQ(a, b);
}

TEST_F(DocumentFile, MissingBackdropIsKeptSilently) {
    EPSpathName = path("gone.tif");
    Filename = path("d.num");
    ASSERT_TRUE(SaveFile(false));
    emptyDocument();
    Filename = path("d.num");
    ASSERT_TRUE(OpenFile());
    EXPECT_TRUE(Scripted().messages.isEmpty());
    EXPECT_EQ(platform::SharedInstance<Window1>().Bdx, nullptr);
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
        {"cut inside an object", header + "TRUE\n2\n" + object + "m\n7\n", 2, true},
        {"count above the table", header + "yes\n500\n" + object, 129, false},
        {"negative count", header + "false\n-3\n" + object, 0, false},
        {"empty file", "", 0, false},
        {"binary", QByteArray("\x00\xff\xfe\x01\r\r\n\x80", 8).repeated(1000), 0, false},
        {"huge line", QByteArray(4 << 20, 'x') + "\n", 0, false},
    };
    for (const auto& c : cases) {
        emptyDocument();
        writeFile(path("x.num"), c.bytes);
        Filename = path("x.num");
        ASSERT_TRUE(OpenFile()) << c.name;
        EXPECT_EQ(TotalObjects, c.objects) << c.name;
        EXPECT_EQ(CurrentObject, c.objects > 0 ? 0 : -1) << c.name;
        EXPECT_EQ(EPSuseForms, c.forms) << c.name;
    }
    // The object cut short keeps what it had and reads the rest as empty text and 0.
    writeFile(path("x.num"), header + "true\n2\n" + object + "m\n7\n");
    Filename = path("x.num");
    ASSERT_TRUE(OpenFile());
    EXPECT_EQ(RecPos(1, 0).StringValue(), "m");
    EXPECT_EQ(RecPos(1, 1).DoubleValue(), 7);
    EXPECT_EQ(RecPos(1, 6).StringValue(), "");
    EXPECT_EQ(RecPos(1, 8).DoubleValue(), 0);
}

TEST_F(DocumentFile, LineEndsInTextsKeepTheLayout) {
    addObject("two\nlines", 1, 2, "A\r\n###", 0, "0, None", "Normal", 14, "C000M000Y000K100", 0);
    EPSpathName = "/some\rwhere.tif";
    Filename = path("e.num");
    ASSERT_TRUE(SaveFile(false));
    EXPECT_EQ(linesOf(Filename).size(), 34);
    emptyDocument();
    Filename = path("e.num");
    ASSERT_TRUE(OpenFile());
    EXPECT_EQ(RecPos(0, 0).StringValue(), "two lines");
    EXPECT_EQ(RecPos(0, 3).StringValue(), "A ###");
    EXPECT_EQ(RecPos(0, 8).DoubleValue(), 14);
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
