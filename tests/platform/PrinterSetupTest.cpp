// The page setup's text, kept as the preferences' print settings: handed back exactly, or refused whole;
// the paper and margins it sets, and the dialogs around it, Qt's own on a system queue too. Printing
// itself is checked through the print run's PDFs.
#include "platform/PrinterSetup.h"
#include "TestSupport.h"
#include "platform/Graphics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

TEST(PrinterSetup, SetupStringRoundTripsAndCorruptOnesChangeNothing) {
    const QString initial = PrinterSetup().SetupString();
    EXPECT_FALSE(initial.contains('\n'));
    struct Case {
        const char* name;
        QString text;
        bool valid;
    } cases[] = {
        {"a4 landscape",
         "tallio-page-setup/1;paper=A4;orientation=landscape;margins=10 12.5 10 20 mm;printer=;file=", true},
        {"a file name with separators",
         "tallio-page-setup/1;paper=Letter;orientation=portrait;margins=0 0 0 0 pt;printer=;"
         "file=/tmp/a%3Bb 100%25.pdf",
         true},
        {"custom paper",
         "tallio-page-setup/1;paper=custom 320x450 mm;orientation=portrait;margins=5 5 5 5 mm;printer=;file=",
         true},
        {"a printer this machine lacks",
         "tallio-page-setup/1;paper=A3;orientation=portrait;margins=1 1 1 1 in;printer=Shop Laser;file=",
         true},
        {"empty", "", false},
        {"not ours", "garbage", false},
        {"the header alone", "tallio-page-setup/1", false},
        {"another version", "tallio-page-setup/2;paper=A4", false},
        {"unknown paper", "tallio-page-setup/1;paper=A99", false},
        {"a field without a value", "tallio-page-setup/1;paper", false},
        {"a value without a name", "tallio-page-setup/1;=A4", false},
        {"sideways", "tallio-page-setup/1;paper=A4;orientation=sideways", false},
        {"negative paper", "tallio-page-setup/1;paper=custom -1x5 mm", false},
        {"three margins", "tallio-page-setup/1;paper=A4;margins=1 2 3 mm", false},
        {"a margin that is no number", "tallio-page-setup/1;paper=A4;margins=1 2 3 x mm", false},
        {"unknown unit", "tallio-page-setup/1;paper=A4;margins=1 2 3 4 furlong", false},
        {"huge", QString(100000, 'x'), false},
    };
    for (const auto& c : cases) {
        PrinterSetup p;
        p.SetSetupString(c.text);
        EXPECT_EQ(p.SetupString(), c.valid ? c.text : initial) << c.name;
    }
}

namespace {
// Runs action inside the next modal dialog once it shows.
void InNextDialog(std::function<void(QDialog&)> action) {
    QTimer::singleShot(0, [action] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            action(*dialog);
    });
}

QString ShownPaper(QDialog& dialog) {
    auto* papers = dialog.findChild<QComboBox*>("pageSizeCombo");
    return papers ? papers->currentText() : "<no paper list>";
}
} // namespace

// Qt's own page setup and print dialogs on a system print queue, where the machine has one (with CUPS, a
// PDF-writing queue will do): they show the paper that was set and hand it back when confirmed, or the
// one picked in the print dialog's Properties window. Nothing is printed.
TEST(PrinterSetup, QtDialogsOnASystemQueueKeepThePaper) {
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (queue.isNull())
        GTEST_SKIP() << "no system print queue";
    SetQuestions(std::make_unique<QtQuestions>());
    PrinterSetup ps;
    ASSERT_EQ(ps.Printer().outputFormat(), QPrinter::NativeFormat);
    // Two papers of the queue other than its default.
    QList<QPageSize> papers;
    for (const QPageSize& paper : queue.supportedPageSizes())
        if (!paper.isEquivalentTo(queue.defaultPageSize()) && paper.id() != QPageSize::Custom)
            papers << paper;
    ASSERT_GE(papers.size(), 2);
    ps.Printer().setPageOrientation(QPageLayout::Landscape);
    ps.Printer().setPageSize(papers[0]);

    QString shown;
    InNextDialog([&](QDialog& d) {
        shown = ShownPaper(d);
        d.accept();
    });
    ASSERT_TRUE(ps.PageSetupDialog());
    EXPECT_EQ(shown, papers[0].name());
    EXPECT_TRUE(ps.Printer().pageLayout().pageSize().isEquivalentTo(papers[0]));

    InNextDialog([](QDialog& d) { d.accept(); });
    ASSERT_TRUE(ShowPrintDialog(ps));
    EXPECT_TRUE(ps.Printer().pageLayout().pageSize().isEquivalentTo(papers[0]));

    // Properties shows the paper too; another one picked there is the one printed on.
    InNextDialog([&](QDialog& d) {
        InNextDialog([&](QDialog& properties) {
            shown = ShownPaper(properties);
            auto* list = properties.findChild<QComboBox*>("pageSizeCombo");
            list->setCurrentIndex(list->findText(papers[1].name()));
            properties.accept();
        });
        d.findChild<QAbstractButton*>("properties")->click();
        d.accept();
    });
    ASSERT_TRUE(ShowPrintDialog(ps));
    EXPECT_EQ(shown, papers[0].name());
    EXPECT_TRUE(ps.Printer().pageLayout().pageSize().isEquivalentTo(papers[1]));
    EXPECT_EQ(ps.Printer().pageLayout().orientation(), QPageLayout::Landscape);
}

// A setup string that was set is the printer's setup: its paper, orientation and margins, in printer
// pixels as the print run places its cells; a change made since is described anew.
TEST(PrinterSetup, TheSetupIsThePrintersPaperAndMargins) {
    PrinterSetup ps;
    ps.SetSetupString(
        "tallio-page-setup/1;paper=A4;orientation=landscape;margins=10 12.5 10 20 mm;printer=;file=");
    const QPageLayout layout = ps.Printer().pageLayout();
    EXPECT_EQ(layout.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
    EXPECT_NEAR(layout.margins(QPageLayout::Millimeter).top(), 12.5, 1e-9);
    ps.Printer().setPageOrientation(QPageLayout::Portrait);
    EXPECT_TRUE(ps.SetupString().contains(";orientation=portrait;")) << ps.SetupString().toStdString();

    ps.SetSetupString(
        "tallio-page-setup/1;paper=A4;orientation=portrait;margins=10 20 10 20 mm;printer=;file=");
    const int dpi = ps.HorizontalResolution();
    EXPECT_GE(dpi, 300);
    auto px = [dpi](double mm) { return mm / 25.4 * dpi; };
    const double pt = dpi / 72.0; // Qt lays pages out in whole points
    EXPECT_NEAR(ps.Width(), px(210), pt);
    EXPECT_NEAR(ps.Height(), px(297), pt);
    EXPECT_NEAR(ps.PageLeft(), -px(10), pt);
    EXPECT_NEAR(ps.PageTop(), -px(20), pt);
}

// The page setup and print dialogs are questions to the user: answered, cancelled, or an output that
// cannot be written, which starts no printing.
TEST(PrinterSetup, DialogsGoThroughTheQuestionSeam) {
    auto& scripted = testing_support::Scripted();
    PrinterSetup ps;
    scripted.pageSetupAnswers = {true, false};
    EXPECT_TRUE(ps.PageSetupDialog());
    EXPECT_FALSE(ps.PageSetupDialog());
    EXPECT_EQ(scripted.pageSetupCount, 2);
    EXPECT_FALSE(ShowPrintDialog(ps)); // no answer: cancelled
    EXPECT_EQ(scripted.printDialogCount, 1);
    scripted.printAnswers = {testing_support::TempDir() + "/no/such/folder/run.pdf"};
    ASSERT_TRUE(ShowPrintDialog(ps));
    EXPECT_EQ(StartPrinting(ps), nullptr);
}
