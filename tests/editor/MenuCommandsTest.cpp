// The Print, Setup, Preview and Save As commands chosen from the main window's menu bar, and what the
// page view shows after the event loop has run.
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
#include <QProcess>
#include <QRegularExpression>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;

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
        const Variant fields[] = {"n",    30.0, 80.0, "", 0.0, "0, None", "Liberation Sans",
                                  "Bold", 60.0, "",   0.0};
        for (int f = 0; f < 11; ++f)
            RecPos(0, f) = fields[f];
        RecPos(0, 14) = RGB(0, 0, 0);
        TotalObjects = 1, CurrentObject = -1;
        w.Show();
    }

    void Choose(const char* item) {
        SharedMenuBar<MenuBar1>().FindItem(item)->Action()->trigger();
        QApplication::processEvents();
    }

    // The page view as it is on screen once every pending repaint has run.
    QImage Shown() {
        QApplication::processEvents();
        return w.Canvas1().Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
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

TEST_F(MenuCommands, PreviewStaysOnScreenWithEveryCellInCutAndStackOrder) {
    Choose("PrintPreview");
    ASSERT_TRUE(PRNpreview);
    for (int repaint = 0; repaint < 2; ++repaint) {
        if (repaint)
            w.Canvas1().Refresh(true); // a later repaint keeps the preview
        const QImage shown = Shown();
        // Cell k of the first sheet shows 1 + k x 2 sheets: 1 and 3 down the first column, 5 and 7
        // down the second.
        auto expected = NewPicture(Int(mms(210)), Int(mms(297)), 32);
        for (int k = 0; k < 4; ++k)
            DrawNumber2d(expected->Graphics(), 0, 1 + 2 * k, k / 2 * 105.0, k % 2 * 148.5);
        const QImage sheet = expected->Image().convertToFormat(QImage::Format_RGB32);
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k);
            EXPECT_TRUE(HasInk(Cell(shown, k / 2, k % 2)));
            EXPECT_EQ(Cell(shown, k / 2, k % 2), Cell(sheet, k / 2, k % 2));
        }
    }

    // The next press in the page view ends the preview and shows the page again, fitted.
    ui::Click(w.Canvas1().Widget(), {10, 10});
    EXPECT_FALSE(PRNpreview);
    EXPECT_EQ(w.PreviewSheet, nullptr);
    const QImage page = Shown();
    EXPECT_TRUE(HasInk(Cell(page, 0, 0)));
    const QRect rightOfPage = QRect(Int(mms(105)), 0, page.width(), page.height()) & page.rect();
    EXPECT_FALSE(HasInk(page.copy(rightOfPage))) << "the page alone, no second column";
}

TEST_F(MenuCommands, SetupPrintAndSaveAs) {
    // Print > Setup stores the confirmed page setup; a cancelled one changes nothing.
    Scripted().pageSetupAnswers = {false};
    Choose("PrintSetup");
    EXPECT_TRUE(PrintSettings.isEmpty());
    Choose("PrintSetup");
    ASSERT_FALSE(PrintSettings.isEmpty());

    // Print > Print with a stored setup asks only the print dialog and prints both sheets.
    const QString pdf = TempDir() + "/run.pdf";
    Scripted().printAnswers = {pdf};
    Choose("PrintPrint");
    EXPECT_EQ(Scripted().pageSetupCount, 2);
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    text.waitForFinished();
    const QStringList words =
        QString::fromUtf8(text.readAllStandardOutput()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    EXPECT_EQ(words, QStringList({"1", "5", "3", "7", "2", "6", "4", "8"}));
    EXPECT_TRUE(FitToPage || PageResolution > 0);

    // File > Save As writes the chosen file and names the document after it.
    const QString path = TempDir() + "/job.num";
    Scripted().fileAnswers = {path};
    DirtyFlag = true;
    Choose("FileSaveAs");
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(std::tuple(Filename, AFileName, DirtyFlag), std::tuple(path, QString("job.num"), false));
    // Cancelling it says the file was not saved and keeps the name.
    Choose("FileSaveAs");
    EXPECT_EQ(Scripted().messages, QStringList{"File not saved"});
    EXPECT_EQ(Filename, path);
}
