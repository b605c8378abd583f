// The print run, printed to a PDF and read back: cut-and-stack order, sheet counts, runs refused before
// any dialog, numbers off the paper, the printer dialogs, the backdrop under every cell, and numbers
// drawn as glyph runs reaching the PDF as the text layout's do.
#include "TestSupport.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "platform/FolderItem.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

using namespace Module1;
using namespace testing_support;

namespace {

// The page's numbers in cut-and-stack cell order: column by column, top to bottom.
QString CellOrder(std::vector<PdfWord> words) {
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
        const QPointF p = a.box.center(), q = b.box.center();
        return std::abs(p.x() - q.x()) > 20 ? p.x() < q.x() : p.y() < q.y();
    });
    QStringList out;
    for (const auto& w : words)
        out << w.text;
    return out.join(',');
}

// Cells of 105 x 99 mm, two across and three down on A4.
class PrintRun : public ::testing::Test {
protected:
    void SetUp() override {
        PageResolution = 100, CurrentObject = -1;
        AdocWidth = 105, AdocHeight = 99, AsigWidth = 210, AsigHeight = 297;
        AstepR = 2, AstepRV = 105, AstepD = 3, AstepDV = 99;
        Astart = 1, Aqty = 600;
    }
    void Print() {
        Scripted().printAnswers = {pdf};
        PrintStart();
    }
    const QString pdf = TempDir() + "/run.pdf";
};

} // namespace

TEST_F(PrintRun, CutAndStackOrderForwardAndBackward) {
    AddObject({.x = 20, .y = 30});
    const struct {
        bool back;
        int page;
        QString cells;
    } cases[] = {
        {false, 1, "1,101,201,301,401,501"},     {false, 2, "2,102,202,302,402,502"},
        {false, 100, "100,200,300,400,500,600"}, {true, 1, "100,200,300,400,500,600"},
        {true, 100, "1,101,201,301,401,501"},
    };
    for (bool back : {false, true}) {
        Aback = back;
        Print();
        ASSERT_EQ(PdfPages(pdf), 100) << "100 sheets, 99 page breaks";
        for (const auto& c : cases) {
            if (c.back != back)
                continue;
            EXPECT_EQ(CellOrder(PdfWords(pdf, c.page)), c.cells) << "back " << back << " page " << c.page;
        }
    }
    EXPECT_FALSE(PRN);

    // Objects with a page increment share the sheet's numbers.
    AstepR = AstepD = 1, AsigWidth = 105, AsigHeight = 99, Aqty = 3;
    AddObject({.x = 60, .y = 30, .increment = 1});
    for (bool back : {false, true}) {
        Aback = back;
        Print();
        ASSERT_EQ(PdfPages(pdf), 3);
        QStringList pages;
        for (int p = 1; p <= 3; ++p)
            pages << CellOrder(PdfWords(pdf, p));
        EXPECT_EQ(pages, back ? QStringList({"5,6", "3,4", "1,2"}) : QStringList({"1,2", "3,4", "5,6"}));
        // The preview shows the sheet printed first.
        PrintPreview();
        EXPECT_TRUE(PRNpreview);
        EXPECT_EQ(CurrentInc, back ? 4 : 0);
        PRNpreview = false;
    }
}

TEST_F(PrintRun, SheetCountAndNothingBelowOneSheet) {
    AddObject({.x = 20, .y = 30});
    Aqty = 601;
    Print();
    EXPECT_EQ(PdfPages(pdf), 100) << "the odd page is not printed";
    EXPECT_EQ(AnupQTY, 100);

    // Less than the six cells of one sheet: no page at all, and the user is told.
    QFile::remove(pdf);
    Aqty = 5;
    Print();
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
        AddObject({.x = 20, .y = 30});
        AddObject({.name = "Stub", .x = 60, .y = 30, .increment = double(c.increment)});
        Astart = c.start, Aback = c.back, Aqty = 600;
        Scripted().messages.clear();
        QFile::remove(pdf);
        const int dialogs = Scripted().printDialogCount;
        Print();
        if (c.number.isEmpty()) {
            EXPECT_TRUE(Scripted().messages.isEmpty());
            EXPECT_EQ(PdfPages(pdf), 100);
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
    AddObject({.x = 20, .y = 30});
    AstepR = 3, AsigWidth = 315, Aqty = 90; // three columns of 105 mm on A4: the third is off the paper
    Scripted().goOnAnswers = {false};
    Print();
    EXPECT_EQ(
        Scripted().warnings,
        QStringList{"3 of the 9 numbers of each sheet would be placed off the paper (210 x 297 mm) and not "
                    "be printed."});
    EXPECT_FALSE(QFile::exists(pdf));

    Scripted().goOnAnswers = {true};
    Print();
    ASSERT_EQ(PdfPages(pdf), 10);
    EXPECT_EQ(PdfWords(pdf, 1).size(), 6u) << "the two columns on the paper";

    AstepR = 2, AsigWidth = 210;
    Print();
    EXPECT_EQ(Scripted().warnings.size(), 2) << "a grid that fits asks nothing";
}

TEST_F(PrintRun, GridStartsAtThePaperCorner) {
    AddObject({.x = 20, .y = 30});
    Aqty = 6;
    Print();
    // A second job on the same printer, after one that ended with turned text, places its text alike.
    AddObject({.x = 90, .y = 80, .angle = 90});
    Print();
    TotalObjects = 1;
    Print();
    const auto words = PdfWords(pdf, 1);
    ASSERT_EQ(words.size(), 6u);
    // The printer's margins are taken off, so object positions are measured from the paper's corner.
    const QPointF first =
        std::min_element(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
            return a.box.left() + a.box.top() < b.box.left() + b.box.top();
        })->box.center();
    EXPECT_NEAR(first.x(), 20, 1.0);
    EXPECT_NEAR(first.y(), 30 - 1.5, 1.5); // the word's middle lies above its baseline
    EXPECT_LT(PixToMMs(ps->PageLeft()), 0) << "cell (1, 1) lies at the negative page margin";
}

TEST_F(PrintRun, DialogsAndStoredSetup) {
    AddObject({.x = 20, .y = 30});
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
    Print();
    EXPECT_EQ(Scripted().pageSetupCount, 2);
    EXPECT_EQ(PdfPages(pdf), 1);
}

// The backdrop reaches the printer once, at the picture's own resolution, and is drawn under every cell
// of every sheet: a picture drawn in the program, and a colour JPEG, which is held as its planes and stays
// so.
TEST_F(PrintRun, BackdropUnderEveryCellEmbeddedOnce) {
    AddObject({.x = 20, .y = 30});
    Aqty = 12;                                   // two sheets
    QImage blue(620, 585, QImage::Format_RGB32); // 105 x 99 mm at 150 dpi
    blue.fill(qRgb(0, 0, 255));
    blue.setDotsPerMeterX(5906), blue.setDotsPerMeterY(5906);
    const QString jpeg = TempDir() + "/blue.jpg";
    ASSERT_TRUE(blue.save(jpeg, "JPEG", 90));
    for (const bool planes : {false, true}) {
        SCOPED_TRACE(planes ? "a colour JPEG" : "a picture drawn in the program");
        std::shared_ptr<platform::Picture> picture;
        if (planes) {
            picture = QVutils::OpenAsEPSpict(platform::GetFolderItem(jpeg));
            ASSERT_NE(picture, nullptr);
            ASSERT_NE(picture->Planes(), nullptr);
        } else {
            picture = platform::NewPicture(620, 585, 32);
            picture->SetHorizontalResolution(150);
            picture->SetVerticalResolution(150);
            picture->Graphics().ForeColor = platform::RGB(0, 0, 255);
            picture->Graphics().FillRect(0, 0, 620, 585);
            picture->Graphics().End();
        }
        TheBackdrop.SetPicture(picture);
        EPSmaskWidth = 105, EPSmaskHeight = 99, EPSscaleX = EPSscaleY = 100;
        Print();
        ASSERT_EQ(PdfPages(pdf), 2);
        EXPECT_EQ(ImageResolution, 150);
        EXPECT_EQ(picture->Planes() != nullptr, planes);

        const auto images = PdfImages(pdf);
        ASSERT_EQ(images.size(), 12u) << "one drawing per cell";
        QSet<QString> objects;
        for (const auto& image : images) {
            objects.insert(image.object);
            EXPECT_EQ(std::tuple(image.width, image.height, image.xppi), std::tuple(620, 585, 150));
        }
        EXPECT_EQ(objects.size(), 1) << "the same picture embedded once";

        Output("pdftoppm", {"-r", "20", "-png", pdf, TempDir() + "/page"});
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
}

// The numbers a run draws as glyph runs reach the PDF as the same words in the same boxes as the ones
// drawn through the text layout: level, turned a quarter and by an odd angle, with check digits,
// shifted into letters, next to kerned letters, with a character the font has no glyph for, and starting
// in the paper's margin, left of the printable area's origin.
TEST_F(PrintRun, GlyphRunsReachThePdfAsTheTextLayoutDoes) {
    Aqty = 12;
    const std::pair<Object, QString> objects[] = {
        // with its text on the first sheet, first cell
        {{.x = 20, .y = 15, .picture = "/#######"}, "0000001"},
        {{.x = 20, .y = 30, .picture = "/######-#", .method = "1, Mod 7", .style = "Bold", .size = 12},
         "000001-1"},
        {{.x = 95, .y = 80, .picture = "/#######", .size = 10, .angle = 90}, "0000001"},
        {{.x = 55,
          .y = 70,
          .picture = "/#######",
          .font = "DejaVu Sans",
          .style = "Italic",
          .size = 11,
          .angle = 37},
         ""}, // read in pieces
        {{.x = 20, .y = 75, .picture = "/#########", .method = "7, EAN", .font = "DejaVu Sans", .size = 11},
         "000000017"},
        {{.x = 20,
          .y = 45,
          .picture = "/^A#######",
          .font = "Liberation Serif",
          .style = "BoldItalic",
          .size = 12},
         "AAAAAAB"},
        {{.x = 20, .y = 60, .picture = "AV-#####", .size = 12}, "AV-1"},
        {{.x = 60, .y = 15, .picture = "\u0180######", .size = 12}, "\u01801"},
        // 14-point digits, an odd width in 1/64 pixels, reaching from the margin past the printable origin
        {{.x = 10, .y = 90, .picture = "/#######"}, "0000001"},
    };
    for (const auto& [o, first] : objects)
        AddObject(o);
    Print();
    const auto runs = PdfWords(pdf);
    platform::Graphics::SetGlyphRuns(false);
    Print();
    platform::Graphics::SetGlyphRuns(true);
    EXPECT_EQ(runs, PdfWords(pdf));
    EXPECT_EQ(PdfPages(pdf), 2);
    QStringList texts;
    for (const auto& w : runs)
        texts << w.text;
    for (const auto& [o, first] : objects)
        EXPECT_TRUE(first.isEmpty() || texts.contains(first)) << first.toStdString();
}

namespace {

// A test card in one of the depths pictures are kept in: fine stripes and steps that any loss or
// resampling would change, and no white pixel, so that its ink fills whatever shows of it.
QImage Card(QImage::Format format, int width, int height) {
    QImage card(width, height, format == QImage::Format_Mono ? QImage::Format_Mono : QImage::Format_RGB32);
    if (format == QImage::Format_Mono)
        card.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int level = (x * 7 + y * 3) % 200;
            if (format == QImage::Format_Mono)
                card.setPixel(x, y, (x / 2 + y / 3) % 3 != 0);
            else
                card.setPixel(x, y,
                              format == QImage::Format_Grayscale8 ? qRgb(level, level, level)
                                                                  : qRgb(level / 2, level, 255 - level));
        }
    return format == QImage::Format_Grayscale8 ? card.convertToFormat(QImage::Format_Grayscale8) : card;
}

} // namespace

// One-bit and grey backdrops reach the PDF as they are, one bit and eight bits of grey without loss,
// colour ones as JPEG as before; each embedded once for a run of several cells and sheets, cut to the
// mask and placed by its offsets in every cell.
TEST_F(PrintRun, BackdropsReachThePdfInTheirOwnDepthOnce) {
    const struct {
        const char* name;
        QImage::Format format;
        QString colour;
        int bits;
        QString encoding;
    } cases[] = {
        {"one-bit", QImage::Format_Mono, "gray", 1, "image"},
        {"grey", QImage::Format_Grayscale8, "gray", 8, "image"},
        {"colour", QImage::Format_RGB32, "rgb", 8, "jpeg"},
    };
    AddObject({.x = 90, .y = 90});
    Aqty = 12; // two sheets of six cells
    EPSmaskX = 10, EPSmaskY = 20, EPSmaskWidth = 50, EPSmaskHeight = 40, EPSscaleX = EPSscaleY = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage card = Card(c.format, 620, 585); // 105 x 99 mm at 150 dpi
        auto picture = platform::PictureFromImage(card);
        ASSERT_NE(picture, nullptr);
        picture->SetHorizontalResolution(150);
        picture->SetVerticalResolution(150);
        TheBackdrop.SetPicture(picture);
        QVutils::EPSBoundBoxX = 5, QVutils::EPSBoundBoxY = 8;
        Print();
        ASSERT_EQ(PdfPages(pdf), 2);

        const auto images = PdfImages(pdf);
        ASSERT_EQ(images.size(), 12u) << "one drawing per cell";
        for (const auto& image : images) {
            EXPECT_EQ(image.object, images[0].object) << "the picture embedded once";
            EXPECT_EQ(std::tuple(image.width, image.height, image.xppi), std::tuple(620, 585, 150));
            EXPECT_EQ(std::tuple(image.colour, image.bits, image.encoding),
                      std::tuple(c.colour, c.bits, c.encoding));
        }
        if (c.encoding == "image") {
            const auto read = PdfPageImages(pdf, 2);
            ASSERT_FALSE(read.empty());
            ASSERT_EQ(read[0].size(), card.size());
            int differing = 0;
            for (int y = 0; y < card.height(); ++y)
                for (int x = 0; x < card.width(); ++x)
                    differing += qGray(read[0].pixel(x, y)) != qGray(card.pixel(x, y));
            EXPECT_EQ(differing, 0) << "pixels read back";
        }

        // Every cell of the second sheet shows the picture exactly in its mask, the number aside.
        const QImage page = RenderedPdfPage(pdf, 2, 50);
        ASSERT_FALSE(page.isNull());
        const double px = 50 / 25.4;
        for (int r = 0; r < 2; ++r)
            for (int d = 0; d < 3; ++d) {
                const QRect cell(qRound(r * 105 * px), qRound(d * 99 * px), qRound(80 * px), qRound(80 * px));
                const QRect ink = InkBox(page, cell);
                const QRectF mask((r * 105 + 10) * px, (d * 99 + 20) * px, 50 * px, 40 * px);
                EXPECT_LE(std::abs(ink.left() - mask.left()), 1.0) << r << "," << d;
                EXPECT_LE(std::abs(ink.top() - mask.top()), 1.0) << r << "," << d;
                EXPECT_LE(std::abs(ink.right() + 1 - mask.right()), 1.0) << r << "," << d;
                EXPECT_LE(std::abs(ink.bottom() + 1 - mask.bottom()), 1.0) << r << "," << d;
            }
    }
}

// glibc fits its thresholds for mapping and trimming to the large blocks a program frees, until the
// program sets one itself; from then on they stay put. A run leaves them adjusting as it found them.
TEST_F(PrintRun, AllocatorAdjustsItselfAfterARun) {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "glibc's own allocator only";
#else
    AddObject({.x = 20, .y = 30});
    Aqty = 12;
    Print();
    ASSERT_EQ(PdfPages(pdf), 2);
    // A freed block of 24 MiB raises the mapping threshold past its size, so the next one is taken
    // from the heap, not mapped on its own.
    constexpr std::size_t size = std::size_t(24) << 20;
    void* volatile first = std::malloc(size);
    std::free(first);
    const auto mapped = mallinfo2().hblks;
    void* volatile second = std::malloc(size);
    EXPECT_EQ(mallinfo2().hblks, mapped);
    std::free(second);
    malloc_trim(0);
#endif
}
