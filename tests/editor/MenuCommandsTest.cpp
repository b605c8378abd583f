// The Print menu's commands chosen from the main window's menu bar, and what the page view shows
// after the event loop has run.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/MenuBar1.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using namespace testing_support;

namespace {

class MenuCommands : public ::testing::Test {
protected:
    void SetUp() override {
        FillModNames();
        NewDoc(); // as the application opens
        // Four pages of 105 x 148.5 mm, two across and two down on A4; eight pages make two sheets.
        AdocWidth = 105, AdocHeight = 148.5, AsigWidth = 210, AsigHeight = 297;
        AstepR = 2, AstepRV = 105, AstepD = 2, AstepDV = 148.5;
        Astart = 1, Aqty = 8;
        AddObject({.x = 30, .y = 80, .font = "Liberation Sans", .style = "Bold", .size = 60});
        w.Show();
    }

    void Choose(const char* item) {
        SharedMenuBar<MenuBar1>().FindItem(item)->Action()->trigger();
        QApplication::processEvents();
    }

    Window1& w = SharedInstance<Window1>();
};

// The part of image inside the page cell (r, d) of the sheet, at the current resolution.
QImage Cell(const QImage& image, int r, int d) {
    return image.copy(Int(mms(r * 105.0)), Int(mms(d * 148.5)), Int(mms(105)), Int(mms(148.5)));
}

bool HasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

// The preview shows the sheet printed first, fitted, until the next press in the page view.
TEST_F(MenuCommands, PreviewStaysOnScreenWithEveryCellInCutAndStackOrder) {
    for (bool back : {false, true}) {
        SCOPED_TRACE(back ? "backward" : "forward");
        Aback = back;
        Choose("PrintPreview");
        ASSERT_TRUE(PRNpreview);
        Canvas& view = w.Canvas1();
        EXPECT_EQ(PageResolution, int(25.4 * std::min(view.Width() / 210.0, view.Height() / 297.0)));
        // Cell k of the first sheet shows 1 + k x 2 sheets (1 and 3 down the first column, 5 and 7 down
        // the second); printed backward, the second sheet comes first.
        auto expected = NewPicture(Int(mms(210)), Int(mms(297)), 32);
        for (int k = 0; k < 4; ++k)
            DrawNumber2d(expected->Graphics(), 0, 1 + back + 2 * k, k / 2 * 105.0, k % 2 * 148.5);
        const QImage sheet = expected->Image().convertToFormat(QImage::Format_RGB32);
        for (int repaint = 0; repaint < 2; ++repaint) {
            if (repaint)
                view.Refresh(true); // a later repaint keeps the preview
            const QImage shown = ui::Shown(view);
            for (int k = 0; k < 4; ++k) {
                EXPECT_TRUE(HasInk(Cell(shown, k / 2, k % 2))) << k;
                EXPECT_EQ(Cell(shown, k / 2, k % 2), Cell(sheet, k / 2, k % 2)) << k;
            }
        }

        // The next press in the page view ends the preview and shows the page again, fitted.
        ui::Click(view.Widget(), {10, 10});
        EXPECT_FALSE(PRNpreview);
        EXPECT_EQ(w.PreviewSheet, nullptr);
        const QImage page = ui::Shown(view);
        EXPECT_TRUE(HasInk(Cell(page, 0, 0)));
        const QRect rightOfPage = QRect(Int(mms(105)), 0, page.width(), page.height()) & page.rect();
        EXPECT_FALSE(HasInk(page.copy(rightOfPage))) << "the page alone, no second column";
    }
}

// Print > Setup stores the confirmed page setup; Print > Print then asks only the print dialog.
TEST_F(MenuCommands, SetupThenPrint) {
    Scripted().pageSetupAnswers = {false};
    Choose("PrintSetup");
    EXPECT_TRUE(PrintSettings.isEmpty());
    Choose("PrintSetup");
    ASSERT_FALSE(PrintSettings.isEmpty());

    const QString pdf = TempDir() + "/run.pdf";
    Scripted().printAnswers = {pdf};
    Choose("PrintPrint");
    EXPECT_EQ(Scripted().pageSetupCount, 2);
    EXPECT_EQ(PdfPages(pdf), 2);
}

// The paper chosen in Print > Setup (or in the print dialog) is the one the run prints on and the one
// stored, although the dialogs put a system queue's default paper on the printer when accepted.
TEST_F(MenuCommands, ThePaperChosenIsThePaperPrintedOn) {
    const auto layout = [](QPageSize::PageSizeId id, QPageLayout::Orientation orientation, double margin) {
        return QPageLayout(QPageSize(id), orientation, QMarginsF(margin, margin, margin, margin),
                           QPageLayout::Millimeter);
    };
    const QString a5Warning =
        "2 of the 4 numbers of each sheet would be placed off the paper (210 x 148 mm) and not be printed.";
    const struct {
        const char* name;
        QPageLayout setup;
        QString afterSetup;
        std::optional<QPageSize> picked; // in the print dialog
        QSize paper;                     // mm
        QString afterPrint, warning;
    } cases[] = {
        {"A3 landscape",
         layout(QPageSize::A3, QPageLayout::Landscape, 15),
         "paper=A3;orientation=landscape;margins=15 15 15 15 mm",
         std::nullopt,
         {420, 297},
         "paper=A3;orientation=landscape;margins=15 15 15 15 mm",
         ""},
        {"A3 portrait",
         layout(QPageSize::A3, QPageLayout::Portrait, 10),
         "paper=A3;orientation=portrait;margins=10 10 10 10 mm",
         std::nullopt,
         {297, 420},
         "paper=A3;orientation=portrait;margins=10 10 10 10 mm",
         ""},
        {"A5 picked in the print dialog",
         layout(QPageSize::A3, QPageLayout::Landscape, 5),
         "paper=A3;orientation=landscape;margins=5 5 5 5 mm",
         QPageSize(QPageSize::A5),
         {210, 148},
         "paper=A5;orientation=landscape;margins=5 5 5 5 mm",
         a5Warning},
    };
    Scripted().queueDefaultPaper = QPageSize(QPageSize::A4);
    const QString pdf = TempDir() + "/run.pdf";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ps.reset(), PrintSettings.clear(); // as at the first start
        Scripted().pageSetupLayouts = {c.setup};
        Choose("PrintSetup");
        EXPECT_EQ(PrintSettings.section(';', 1, 3), c.afterSetup);
        for (int start = 0; start < 2; ++start) {
            SCOPED_TRACE(start ? "after a restart, Setup confirmed as shown" : "the first print");
            if (start) {
                ps.reset();
                Choose("PrintSetup");
            }
            QFile::remove(pdf);
            Scripted().warnings.clear();
            Scripted().printAnswers = {pdf};
            Scripted().printPapers = {start ? std::nullopt : c.picked};
            Scripted().goOnAnswers = {true};
            Choose("PrintPrint");
            EXPECT_EQ(PdfPageSize(pdf), c.paper);
            EXPECT_EQ(PrintSettings.section(';', 1, 3), c.afterPrint);
            EXPECT_EQ(Scripted().warnings.join('\n'), c.warning);
        }
    }
}
