// The Print menu's commands chosen from the main window's menu bar, and what the page view shows
// after the event loop has run.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <QFile>
#include <QPageLayout>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using ui::Choose;
using namespace testing_support;

namespace {

class MenuCommands : public ::testing::Test {
protected:
    void SetUp() override {
        FillModNames();
        NewDoc(); // as the application opens
        Document();
        w.Show();
    }

    // Four pages of 105 x 148.5 mm, two across and two down on A4; eight pages make two sheets.
    static void Document() {
        AdocWidth = 105, AdocHeight = 148.5, AsigWidth = 210, AsigHeight = 297;
        AstepR = 2, AstepRV = 105, AstepD = 2, AstepDV = 148.5;
        Astart = 1, Aqty = 8;
        TotalObjects = 0;
        AddObject({.x = 30, .y = 80, .font = "Liberation Sans", .style = "Bold", .size = 60});
    }

    // The first sheet as the preview shows it at the current resolution.
    static QImage Sheet(bool back) {
        auto expected = NewPicture(Int(mms(210)), Int(mms(297)), 32);
        // Cell k of the first sheet shows 1 + k x 2 sheets (1 and 3 down the first column, 5 and 7 down
        // the second); printed backward, the second sheet comes first.
        for (int k = 0; k < 4; ++k)
            DrawNumber2d(expected->Graphics(), 0, 1 + back + 2 * k, k / 2 * 105.0, k % 2 * 148.5);
        return expected->Image().convertToFormat(QImage::Format_RGB32);
    }

    Window1& w = SharedInstance<Window1>();
};

// The part of image inside the page cell (r, d) of the sheet, at the current resolution.
QImage Cell(const QImage& image, int r, int d) {
    return image.copy(Int(mms(r * 105.0)), Int(mms(d * 148.5)), Int(mms(105)), Int(mms(148.5)));
}

// Whether a ruler canvas shows its picture from the scroll offset along it, where the two meet.
bool ShowsRuler(const QImage& shown, const QImage& ruler, QPoint from) {
    const QRect part = QRect(from, shown.size()) & ruler.rect();
    return !part.isEmpty() && shown.copy(part.translated(-from)).convertToFormat(QImage::Format_RGB32) ==
                                  ruler.copy(part).convertToFormat(QImage::Format_RGB32);
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
        const QImage sheet = Sheet(back);
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

// The preview shows the sheet of the document it was made from: a new or opened document ends it, and
// so do a zoom and Fit, which act on the page; a larger window shows the sheet fitted anew. While it
// shows, the rulers measure the sheet from its corner and there is nothing to scroll.
TEST_F(MenuCommands, PreviewEndsWithItsDocumentAndItsRulersMeasureTheSheet) {
    const QString empty = TempDir() + "/empty.num"; // the same page with no number on it
    {
        TotalObjects = 0;
        ASSERT_TRUE(WriteDocumentFile(empty));
        TotalObjects = 1;
    }
    auto click = [](BevelButton& b) { ui::Click(b, 15, 15); };
    Canvas& view = w.Canvas1();
    ScrollBar &across = w.ScrollBar1(), &down = w.ScrollBar2();
    const struct {
        const char* name;
        std::function<void()> before, during;
        bool previewing;
        int dpi; // after it ends: 0 fitted, else zoomed to twice the fitted resolution
    } cases[] = {
        {"zoomed in before", [&] { click(w.MagEn()), click(w.MagEn()); }, [] {}, true},
        {"the window made larger", [] {}, [&] { w.SetSize(1300, 950); }, true},
        {"zoomed in", [] {}, [&] { click(w.MagEn()); }, false, 2},
        {"Fit", [] {}, [&] { click(w.BtFit()); }, false},
        {"File > New", [] {}, [&] { Choose("FileCreate"); }, false},
        {"File > Open", [] {},
         [&] {
             Scripted().fileAnswers = {empty};
             Choose("FileOpen");
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.SetSize(1024, 710);
        Document();
        w.FitToPageF();
        const std::int32_t fitted = PageResolution;
        c.before();
        ui::Shown(view);
        if (!FitToPage) {
            ASSERT_TRUE(across.Visible() && down.Visible()) << "zoomed, with scroll bars, before the preview";
        }
        Choose("PrintPreview");
        ASSERT_TRUE(PRNpreview);
        DirtyFlag = false; // nothing to ask about before a new or opened document
        c.during();

        const QImage shown = ui::Shown(view);
        const QImage top = ui::Shown(w.Canvas2());
        EXPECT_EQ(PRNpreview, c.previewing);
        EXPECT_EQ(w.PreviewSheet != nullptr, c.previewing);
        const QSizeF measured = c.previewing ? QSizeF(210, 297) : QSizeF(AdocWidth, AdocHeight);
        ASSERT_TRUE(w.gtx && w.glx);
        EXPECT_EQ(QSize(w.gtx->Width(), w.glx->Height()),
                  QSize(Int(mms(measured.width())), Int(mms(measured.height()))));
        if (c.previewing) {
            EXPECT_EQ(PageResolution, int(25.4 * std::min(view.Width() / 210.0, view.Height() / 297.0)));
            EXPECT_EQ(Cell(shown, 1, 1), Cell(Sheet(false), 1, 1));
            EXPECT_TRUE(HasInk(Cell(shown, 1, 1)));
            EXPECT_FALSE(across.Visible() || down.Visible());
            EXPECT_TRUE(ShowsRuler(top, w.gtx->Image(), {}));
            continue;
        }
        // The page again, with the status line of the document now in the window.
        EXPECT_TRUE(w.StatNumObj().Text().startsWith("Props: " + Str(TotalObjects) + " Obj"))
            << w.StatNumObj().Text().toStdString();
        EXPECT_EQ(FitToPage, c.dpi == 0);
        if (c.dpi) {
            EXPECT_EQ(PageResolution, 2 * fitted);
        }
        EXPECT_EQ(across.Visible(), Int(mms(AdocWidth)) > view.Width());
        EXPECT_EQ(down.Visible(), Int(mms(AdocHeight)) > view.Height());
        const QRect beside =
            QRect(Int(mms(AdocWidth)) - ScrollX, 0, view.Width(), view.Height()) & shown.rect();
        EXPECT_EQ(beside.isEmpty(), c.dpi != 0) << "a fitted page has the view's background beside it";
        if (!beside.isEmpty()) {
            EXPECT_FALSE(HasInk(shown.copy(beside))) << "the sheet's second column still shown";
        }
        EXPECT_TRUE(ShowsRuler(top, w.gtx->Image(), {ScrollX, 0}));
    }
}

// A sheet far larger than the view, as step and repeat can make it, previews at 1 dpi or more from its
// corner; one that cannot be pictured at all, or has no size, is told and changes nothing.
TEST_F(MenuCommands, PreviewOfSheetsTooLargeForTheView) {
    Canvas& view = w.Canvas1();
    const struct {
        double width;
        bool shown;
    } cases[] = {{52500, true}, {1e12, false}, {0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        Scripted().messages.clear();
        w.FitToPageF();
        const std::int32_t before = PageResolution;
        AsigWidth = c.width;
        Choose("PrintPreview");
        const QImage shown = ui::Shown(view);
        EXPECT_EQ(PRNpreview, c.shown);
        if (c.shown) {
            EXPECT_EQ(PageResolution, 1);
            EXPECT_TRUE(Scripted().messages.isEmpty());
            ASSERT_TRUE(w.gtx && w.glx);
            EXPECT_EQ(QSize(w.gtx->Width(), w.glx->Height()), QSize(Int(mms(c.width)), Int(mms(297))));
            EXPECT_TRUE(ShowsRuler(ui::Shown(w.Canvas2()), w.gtx->Image(), {}));
            EXPECT_EQ(shown.pixel(view.Width() - 1, 5), qRgb(255, 255, 255)) << "the sheet across the view";
            ui::Click(view.Widget(), {10, 10});
        } else {
            EXPECT_EQ(Scripted().messages, QStringList("No preview is shown. A sheet of " + Str(c.width) +
                                                       " x 297 mm cannot be shown on screen."));
            EXPECT_EQ(PageResolution, before);
            EXPECT_TRUE(FitToPage);
            EXPECT_EQ(w.gtx->Width(), Int(mms(AdocWidth)));
        }
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
