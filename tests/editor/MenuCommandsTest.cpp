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

// Print > Setup stores the confirmed page setup, and opens on the one stored (as the preferences give
// it); Print > Print then asks only the print dialog and prints on that setup's paper.
TEST_F(MenuCommands, SetupThenPrint) {
    Scripted().pageSetupAnswers = {false};
    Choose("PrintSetup");
    EXPECT_TRUE(PrintSettings.isEmpty());
    Choose("PrintSetup");
    ASSERT_FALSE(PrintSettings.isEmpty());

    const QString stored =
        "tallio-page-setup/1;paper=A3;orientation=landscape;margins=5 5 5 5 mm;printer=;file=";
    PrintSettings = stored;
    Choose("PrintSetup"); // confirmed as it opened
    EXPECT_EQ(PrintSettings, stored);

    ps.reset(); // as after a restart, with only the stored text left
    const QString pdf = TempDir() + "/run.pdf";
    Scripted().printAnswers = {pdf};
    Choose("PrintPrint");
    EXPECT_EQ(Scripted().pageSetupCount, 3);
    EXPECT_EQ(PdfPages(pdf), 2);
    EXPECT_TRUE(Output("pdfinfo", {pdf}).contains("Page size:       1191 x 842 pts (A3)"))
        << Output("pdfinfo", {pdf}).toStdString(); // A3 on its side
}
