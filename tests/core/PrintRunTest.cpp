#include "TestSupport.h"
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>

using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {

struct Word {
    QString text;
    double xMm, yMm; // centre of the word on the paper
};

int pageCount(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished();
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The words of one page with their positions, through pdftotext's bounding boxes.
std::vector<Word> wordsOf(const QString& pdf, int page) {
    QProcess p;
    p.start("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    p.waitForFinished();
    std::vector<Word> words;
    static const QRegularExpression re(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    auto it = re.globalMatch(QString::fromUtf8(p.readAllStandardOutput()));
    constexpr double mmPerPt = 25.4 / 72;
    while (it.hasNext()) {
        const auto m = it.next();
        words.push_back({m.captured(5), (m.captured(1).toDouble() + m.captured(3).toDouble()) / 2 * mmPerPt,
                         (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2 * mmPerPt});
    }
    return words;
}

// The page's numbers in cut-and-stack cell order: column by column, top to bottom.
QStringList cellOrder(std::vector<Word> words) {
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        if (std::abs(a.xMm - b.xMm) > 20)
            return a.xMm < b.xMm;
        return a.yMm < b.yMm;
    });
    QStringList out;
    for (const auto& w : words)
        out << w.text;
    return out;
}

void addObject(double x, double y, double increment) {
    const platform::Variant fields[] = {"n",     x,        y,    "", increment, "0, None",
                                        "Arial", "Normal", 12.0, {}, 0.0};
    for (int f = 0; f < 11; ++f)
        RecPos(TotalObjects, f) = fields[f];
    RecPos(TotalObjects++, 14) = platform::RGB(0, 0, 0);
}

class PrintRun : public ::testing::Test {
protected:
    void SetUp() override {
        InitGlobals();
        FileTypes::Init();
        ps.reset();
        PrintSettings.clear();
        PageResolution = 100;
        AdocWidth = 105, AdocHeight = 99, AsigWidth = 210, AsigHeight = 297; // a 2 x 3 grid on A4
        AstepR = 2, AstepRV = 105, AstepD = 3, AstepDV = 99;
        Astart = 1, Aqty = 600, Aback = false, TotalObjects = 0, CurrentObject = -1;
        Module1::TheBackdrop.Bdx = nullptr;
        pdf = TempDir() + "/run.pdf";
    }
    void print() {
        Scripted().printAnswers = {pdf};
        PrintStart();
    }
    QString pdf;
};

} // namespace

TEST_F(PrintRun, CutAndStackOrderForwardAndBackward) {
    addObject(20, 30, 0);
    struct Case {
        bool back;
        int page;
        QStringList cells;
    } cases[] = {
        {false, 1, {"1", "101", "201", "301", "401", "501"}},
        {false, 2, {"2", "102", "202", "302", "402", "502"}},
        {false, 100, {"100", "200", "300", "400", "500", "600"}},
        {true, 1, {"100", "200", "300", "400", "500", "600"}},
        {true, 100, {"1", "101", "201", "301", "401", "501"}},
    };
    for (bool back : {false, true}) {
        Aback = back;
        print();
        ASSERT_EQ(pageCount(pdf), 100) << "100 sheets, 99 page breaks";
        for (const auto& c : cases) {
            if (c.back != back)
                continue;
            EXPECT_EQ(cellOrder(wordsOf(pdf, c.page)), c.cells) << "back " << back << " page " << c.page;
        }
    }
    EXPECT_FALSE(PRN);
}

TEST_F(PrintRun, PageIncrementsShareTheSheetsNumbers) {
    AstepR = AstepD = 1, AsigWidth = 105, AsigHeight = 99, Aqty = 3;
    addObject(20, 30, 0);
    addObject(60, 30, 1);
    for (bool back : {false, true}) {
        Aback = back;
        print();
        ASSERT_EQ(pageCount(pdf), 3);
        QStringList pages;
        for (int p = 1; p <= 3; ++p)
            pages << cellOrder(wordsOf(pdf, p)).join(",");
        EXPECT_EQ(pages, back ? QStringList({"5,6", "3,4", "1,2"}) : QStringList({"1,2", "3,4", "5,6"}));
    }
}

TEST_F(PrintRun, SheetCountAndNothingBelowOneSheet) {
    addObject(20, 30, 0);
    Aqty = 601;
    print();
    EXPECT_EQ(pageCount(pdf), 100) << "the odd page is not printed";
    EXPECT_EQ(AnupQTY, 100);

    // Less than the six cells of one sheet: no page at all, and the user is told.
    QFile::remove(pdf);
    Aqty = 5;
    print();
    EXPECT_EQ(Scripted().printDialogCount, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(Scripted().messages,
              QStringList{"Nothing to print: the quantity 5 does not fill one sheet of 6 pages."});
}

// A run whose numbers leave what number text can print (below 0, past fifteen digits) would print
// duplicates and wrong check digits: it is refused before any dialog, naming the object and number.
TEST_F(PrintRun, RunsWhoseNumbersCannotBePrintedArePrintedNot) {
    const struct {
        const char* name;
        double start;
        int increment;
        bool back;
        QString number; // the number told; "" for a run that prints
    } cases[] = {
        {"start below 0", -5, 0, false, "-5, which is below 0"},
        {"backward from below 0", -5, 0, true, "-5, which is below 0"},
        {"increment below 0", 0, -1, false, "-1, which is below 0"},
        {"start past fifteen digits", 1234567890123456789.0, 0, false, "which has more than fifteen digits"},
        {"last number past fifteen digits", 999999999999401.0, 0, false, "1000000000000000"},
        {"last number has fifteen digits", 999999999999400.0, 0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TotalObjects = 0;
        addObject(20, 30, 0);
        addObject(60, 30, c.increment);
        RecPos(1, 0) = "Stub";
        Astart = c.start, Aback = c.back, Aqty = 600;
        Scripted().messages.clear();
        QFile::remove(pdf);
        const int dialogs = Scripted().printDialogCount;
        print();
        if (c.number.isEmpty()) {
            EXPECT_TRUE(Scripted().messages.isEmpty());
            EXPECT_EQ(pageCount(pdf), 100);
            continue;
        }
        ASSERT_EQ(Scripted().messages.size(), 1);
        EXPECT_TRUE(Scripted().messages[0].startsWith("Nothing was printed."));
        EXPECT_TRUE(Scripted().messages[0].contains(c.increment < 0 ? "Stub" : "n"));
        EXPECT_TRUE(Scripted().messages[0].contains(c.number)) << Scripted().messages[0].toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_EQ(Scripted().printDialogCount, dialogs);
        // The preview refuses it alike.
        PrintPreview();
        EXPECT_FALSE(PRNpreview);
        EXPECT_EQ(Scripted().messages.size(), 2);
    }
}

// Cells whose numbers fall off the chosen paper are not printed: the user is told how many and may
// print anyway or cancel; a grid that fits asks nothing.
TEST_F(PrintRun, NumbersOffThePaperAreToldFirst) {
    addObject(20, 30, 0);
    AstepR = 3, AsigWidth = 315, Aqty = 90; // three columns of 105 mm on A4: the third is off the paper
    QFile::remove(pdf);
    Scripted().goOnAnswers = {false};
    print();
    EXPECT_EQ(
        Scripted().warnings,
        QStringList{"3 of the 9 numbers of each sheet would be placed off the paper (210 x 297 mm) and not "
                    "be printed."});
    EXPECT_FALSE(QFile::exists(pdf));

    Scripted().goOnAnswers = {true};
    print();
    ASSERT_EQ(pageCount(pdf), 10);
    EXPECT_EQ(wordsOf(pdf, 1).size(), 6u) << "the two columns on the paper";

    AstepR = 2, AsigWidth = 210;
    print();
    EXPECT_EQ(Scripted().warnings.size(), 2) << "a grid that fits asks nothing";
}

TEST_F(PrintRun, GridStartsAtThePaperCorner) {
    addObject(20, 30, 0);
    Aqty = 6;
    print();
    // A second job on the same printer, after one that ended with turned text, places its text alike.
    addObject(90, 80, 0);
    RecPos(1, 10) = 90.0;
    print();
    TotalObjects = 1;
    print();
    const auto words = wordsOf(pdf, 1);
    ASSERT_EQ(words.size(), 6u);
    // The printer's margins are taken off, so object positions are measured from the paper's corner.
    const auto first = std::min_element(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return a.xMm + a.yMm < b.xMm + b.yMm;
    });
    EXPECT_NEAR(first->xMm, 20, 1.0);
    EXPECT_NEAR(first->yMm, 30 - 1.5, 1.5); // the word's middle lies above its baseline
    EXPECT_LT(PixToMMs(ps->PageLeft()), 0) << "cell (1, 1) lies at the negative page margin";
}

TEST_F(PrintRun, DialogsAndStoredSetup) {
    addObject(20, 30, 0);
    Aqty = 6;
    // Cancelled page setup: no print dialog, the view as it was.
    Scripted().pageSetupAnswers = {false};
    PageResolution = 77;
    PrintStart();
    EXPECT_EQ(std::tuple(Scripted().printDialogCount, PageResolution, PRN, PrintSettings),
              std::tuple(0, 77, false, ""));

    // Cancelled print dialog: nothing printed, but the setup is kept and the view refitted.
    Scripted().printAnswers = {""};
    PrintStart();
    EXPECT_EQ(Scripted().pageSetupCount, 2);
    EXPECT_FALSE(PrintSettings.isEmpty());
    EXPECT_NE(PageResolution, 77);
    EXPECT_FALSE(QFile::exists(pdf));

    // A stored setup string skips page setup.
    print();
    EXPECT_EQ(Scripted().pageSetupCount, 2);
    EXPECT_EQ(pageCount(pdf), 1);
}

TEST_F(PrintRun, PreviewDrawsTheFirstSheetOnThePageView) {
    AstepR = AstepD = 1, Aqty = 3;
    addObject(20, 30, 0);
    addObject(60, 30, 1);
    Window1& w = platform::SharedInstance<Window1>();
    auto& canvas = w.Canvas1();
    for (bool back : {false, true}) {
        Aback = back;
        PrintPreview();
        EXPECT_TRUE(PRNpreview);
        EXPECT_EQ(CurrentInc, back ? 4 : 0) << "the sheet printed first";
        EXPECT_EQ(PageResolution, int(25.4 * std::min(canvas.Width() / 210.0, canvas.Height() / 297.0)));
    }
}

// The backdrop is composed once, at the picture's own resolution, embedded once and drawn under every
// cell of every sheet.
TEST_F(PrintRun, BackdropUnderEveryCellComposedOnce) {
    addObject(20, 30, 0);
    Aqty = 12;                                         // two sheets
    auto picture = platform::NewPicture(620, 585, 32); // 105 x 99 mm at 150 dpi
    picture->SetHorizontalResolution(150);
    picture->SetVerticalResolution(150);
    picture->Graphics().ForeColor = platform::RGB(0, 0, 255);
    picture->Graphics().FillRect(0, 0, 620, 585);
    picture->Graphics().End();
    TheBackdrop.SetPicture(picture);
    EPSmaskWidth = 105, EPSmaskHeight = 99, EPSscaleX = EPSscaleY = 100;
    print();
    ASSERT_EQ(pageCount(pdf), 2);
    EXPECT_EQ(ImageResolution, 150);
    // Composed at 150 dpi: the cache holds the page at the picture's own resolution.
    ASSERT_NE(TheBackdrop.cdx, nullptr);
    EXPECT_EQ(QSize(TheBackdrop.cdx->Width(), TheBackdrop.cdx->Height()), QSize(620, 584));

    QProcess images;
    images.start("pdfimages", {"-list", pdf});
    images.waitForFinished();
    const QStringList rows =
        QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 2 + 12) << "a listing of one image per cell";
    QSet<QString> objects; // the PDF object each drawing refers to
    for (const QString& row : rows.mid(2))
        objects.insert(row.simplified().section(' ', 10, 11));
    EXPECT_EQ(objects.size(), 1) << "the same picture embedded once";

    QProcess render;
    render.start("pdftoppm", {"-r", "20", "-png", pdf, TempDir() + "/page"});
    render.waitForFinished();
    for (const char* page : {"/page-1.png", "/page-2.png"}) {
        const QImage image(TempDir() + page);
        ASSERT_FALSE(image.isNull()) << page;
        const double pxPerMm = image.width() / 210.0;
        for (int r = 0; r < 2; ++r)
            for (int d = 0; d < 3; ++d) {
                // Inside each cell, away from its number: the backdrop's blue.
                const QColor c =
                    image.pixelColor(int((r * 105 + 80) * pxPerMm), int((d * 99 + 70) * pxPerMm));
                EXPECT_TRUE(c.blue() > 200 && c.red() < 60) << page << " cell " << r << "," << d;
            }
    }
}
