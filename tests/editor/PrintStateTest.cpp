// Print runs and previews one after another in one session, chosen from the menu bar: each prints every
// number in its own colour, whatever the run before it drew last. Colours are read back from the PDF's
// rendered pages.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using ui::Choose;
using namespace testing_support;

namespace {

enum class Ink { Black, Blue, Red };

const char* Name(Ink ink) {
    return ink == Ink::Black ? "black" : ink == Ink::Blue ? "blue" : "red";
}

// The ink of one number: how many of its pixels are dark, and how many of those are of each colour.
struct InkCount {
    int all = 0, black = 0, blue = 0, red = 0;
    int of(Ink ink) const { return ink == Ink::Black ? black : ink == Ink::Blue ? blue : red; }
};

// Counts the ink within width x height mm around the point (x, y) mm of an image at dpi.
InkCount CountInk(const QImage& image, double dpi, double x, double y) {
    const auto px = [dpi](double mm) { return int(mm * dpi / 25.4); };
    const QRect area = QRect(px(x - 22), px(y - 10), px(44), px(13)) & image.rect();
    InkCount count;
    for (int j = area.top(); j <= area.bottom(); ++j)
        for (int i = area.left(); i <= area.right(); ++i) {
            const QColor c = image.pixelColor(i, j);
            if (std::min({c.red(), c.green(), c.blue()}) >= 160)
                continue;
            ++count.all;
            if (c.blue() - std::max(c.red(), c.green()) > 60)
                ++count.blue;
            else if (c.red() - std::max(c.green(), c.blue()) > 60)
                ++count.red;
            else
                ++count.black;
        }
    return count;
}

// Two pages of 105 x 148.5 mm across and two down on A4; twelve pages make three sheets.
class PrintState : public ::testing::Test {
protected:
    void SetUp() override {
        FillModNames();
        NewDoc();
        AdocWidth = 105, AdocHeight = 148.5, AsigWidth = 210, AsigHeight = 297;
        AstepR = 2, AstepRV = 105, AstepD = 2, AstepDV = 148.5;
        Astart = 1, Aqty = 12;
        // The first number drawn is black, QPainter's default pen; the last one of every run is not.
        AddObject({.x = 25, .y = 40, .picture = "/#######", .size = 24});
        AddObject({.x = 25,
                   .y = 100,
                   .picture = "/#######",
                   .size = 24,
                   .colour = "C100M100Y000K000",
                   .display = RGB(0, 0, 255)});
        w.Show();
    }

    // Every number of every cell of image (at dpi, the sheet's corner at its top left) is in its colour.
    void ExpectColours(const QImage& image, double dpi, const std::vector<Ink>& inks, const QString& what) {
        ASSERT_FALSE(image.isNull()) << what.toStdString();
        for (int cell = 0; cell < 4; ++cell)
            for (int j = 0; j < int(inks.size()); ++j) {
                const InkCount count = CountInk(image, dpi, cell / 2 * 105 + RecPos(j, 1).DoubleValue(),
                                                cell % 2 * 148.5 + RecPos(j, 2).DoubleValue());
                EXPECT_GT(count.all, 30) << what.toStdString() << ", cell " << cell << ", number " << j;
                EXPECT_GE(count.of(inks[size_t(j)]), count.all * 9 / 10)
                    << what.toStdString() << ", cell " << cell << ", number " << j << " should be "
                    << Name(inks[size_t(j)]) << ": " << count.black << " black, " << count.blue << " blue, "
                    << count.red << " red of " << count.all;
            }
    }

    // Prints the run through the menu and checks the colours of its first and last sheet.
    void PrintAndCheck(const QString& name, const std::vector<Ink>& inks) {
        SCOPED_TRACE(name.toStdString());
        const QString pdf = TempDir() + "/" + name + ".pdf";
        Scripted().printAnswers = {pdf};
        Choose("PrintPrint");
        ASSERT_EQ(PdfPages(pdf), 3);
        for (int page : {1, 3})
            ExpectColours(RenderedPdfPage(pdf, page, 50), 50, inks, name + " page " + QString::number(page));
    }

    Window1& w = SharedInstance<Window1>();
};

} // namespace

TEST_F(PrintState, EveryRunAndPreviewDrawsEachNumberInItsOwnColour) {
    PrintAndCheck("first", {Ink::Black, Ink::Blue});
    PrintAndCheck("second", {Ink::Black, Ink::Blue});

    Choose("PrintPreview");
    ASSERT_TRUE(PRNpreview);
    ASSERT_NE(w.PreviewSheet, nullptr);
    ExpectColours(w.PreviewSheet->Image(), PageResolution, {Ink::Black, Ink::Blue}, "preview");
    ui::Click(w.Canvas1().Widget(), {10, 10}); // ends the preview
    PrintAndCheck("after the preview", {Ink::Black, Ink::Blue});

    RecPos(1, 9) = "C000M100Y100K000";
    RecPos(1, 14) = RGB(255, 0, 0);
    PrintAndCheck("after a change of colour", {Ink::Black, Ink::Red});
}
