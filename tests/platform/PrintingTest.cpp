#include "TestSupport.h"
#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/PrinterSetup.h"
#include "platform/Shapes.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

TEST(PrinterSetup, SetupStringRoundTrips) {
    const QString initial = PrinterSetup().SetupString();
    EXPECT_FALSE(initial.contains('\n')); // kept as one line of the preferences

    struct Case {
        const char* name;
        QString text;
    } cases[] = {
        {"a4 landscape",
         "tallio-page-setup/1;paper=A4;orientation=landscape;margins=10 12.5 10 20 mm;printer=;file="},
        {"letter to a file with odd characters",
         "tallio-page-setup/1;paper=Letter;orientation=portrait;margins=0 0 0 0 pt;printer=;"
         "file=/tmp/a%3Bb 100%25.pdf"},
        {"custom paper",
         "tallio-page-setup/1;paper=custom 320x450 mm;orientation=portrait;margins=5 5 5 5 mm;"
         "printer=;file="},
        {"a printer this machine lacks",
         "tallio-page-setup/1;paper=A3;orientation=portrait;margins=1 1 1 1 in;printer=Shop Laser;file="},
    };
    for (const auto& c : cases) {
        PrinterSetup p;
        p.SetSetupString(c.text);
        EXPECT_EQ(p.SetupString(), c.text) << c.name;
    }

    PrinterSetup p;
    p.SetSetupString(cases[0].text);
    const QPageLayout layout = p.Printer().pageLayout();
    EXPECT_EQ(layout.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
    EXPECT_NEAR(layout.margins(QPageLayout::Millimeter).top(), 12.5, 1e-9);

    // A change after setting is described anew.
    p.Printer().setPageOrientation(QPageLayout::Portrait);
    EXPECT_TRUE(p.SetupString().contains("orientation=portrait"));
}

TEST(PrinterSetup, CorruptStringsChangeNothing) {
    const QString bad[] = {
        "",
        "garbage",
        "tallio-page-setup/1",
        "tallio-page-setup/2;paper=A4",
        "tallio-page-setup/1;paper=A99",
        "tallio-page-setup/1;paper=A4;orientation=sideways",
        "tallio-page-setup/1;paper=custom -1x5 mm",
        "tallio-page-setup/1;paper=A4;margins=1 2 3 mm",
        "tallio-page-setup/1;paper=A4;margins=1 2 3 x mm",
        "tallio-page-setup/1;paper=A4;margins=1 2 3 4 furlong",
        "tallio-page-setup/1;paper",
        QString(100000, 'x'),
    };
    for (const QString& text : bad) {
        PrinterSetup ps;
        const QString before = ps.SetupString();
        ps.SetSetupString(text);
        EXPECT_EQ(ps.SetupString(), before) << text.left(60).toStdString();
    }
}

TEST(PrinterSetup, PageGeometryInPrinterPixels) {
    PrinterSetup ps;
    ps.SetSetupString(
        "tallio-page-setup/1;paper=A4;orientation=portrait;margins=10 20 10 20 mm;printer=;file=");
    const int dpi = ps.HorizontalResolution();
    EXPECT_GE(dpi, 300);
    EXPECT_EQ(ps.VerticalResolution(), dpi);
    // Qt lays pages out in whole points, so allow one point either way.
    auto px = [dpi](double mm) { return mm / 25.4 * dpi; };
    const double pt = dpi / 72.0;
    EXPECT_NEAR(ps.Width(), px(210), pt);
    EXPECT_NEAR(ps.Height(), px(297), pt);
    EXPECT_NEAR(ps.PageLeft(), -px(10), pt);
    EXPECT_NEAR(ps.PageTop(), -px(20), pt);
    EXPECT_NEAR(ps.PageWidth(), px(190), 2 * pt);
    EXPECT_NEAR(ps.PageHeight(), px(257), 2 * pt);
}

TEST(PrinterSetup, DialogsGoThroughTheQuestionSeam) {
    PrinterSetup ps;
    Scripted().pageSetupAnswers = {true, false};
    EXPECT_TRUE(ps.PageSetupDialog());
    EXPECT_FALSE(ps.PageSetupDialog());
    EXPECT_EQ(Scripted().pageSetupCount, 2);

    EXPECT_EQ(OpenPrinterDialog(ps), nullptr); // no answer: cancelled
    EXPECT_EQ(Scripted().printDialogCount, 1);
    Scripted().printAnswers = {TempDir() + "/no/such/folder/run.pdf"}; // an output that cannot be written
    EXPECT_EQ(OpenPrinterDialog(ps), nullptr);
}

TEST(Printing, PagesAndTextReachThePdf) {
    const QString pdf = TempDir() + "/run.pdf";
    PrinterSetup ps;
    Scripted().printAnswers = {pdf};
    {
        auto g = OpenPrinterDialog(ps);
        ASSERT_NE(g, nullptr);
        EXPECT_TRUE(g->IsPrinter());
        EXPECT_EQ(g->Width(), ps.PageWidth());
        const double px = ps.HorizontalResolution() / 72.0; // pixels per point
        for (int page = 1; page <= 3; ++page) {
            StringShape s;
            s.Text = QString("No %1").arg(page * 1000 + 1);
            s.TextFont = "Arial";
            s.TextSize = 24 * px;
            s.Rotation = page == 2 ? 1.5714285 : 0;
            g->DrawObject(s, g->Width() / 2, g->Height() / 3);
            g->TextFont = "Arial";
            g->TextSize = 12 * px;
            g->DrawString(QString("Sheet %1").arg(page), ps.PageLeft() + 20 * px, 40 * px);
            if (page < 3)
                g->NextPage();
        }
    }
    EXPECT_TRUE(ps.SetupString().contains("file=" + pdf));
    const QString info = run("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
    const QString text = run("pdftotext", {"-layout", pdf, "-"});
    const QStringList pages = text.split('\f');
    ASSERT_GE(pages.size(), 3) << text.toStdString();
    for (int page = 1; page <= 3; ++page) {
        EXPECT_TRUE(pages[page - 1].contains(QString("Sheet %1").arg(page))) << pages[page - 1].toStdString();
        if (page != 2) // turned text is not read as a line
            EXPECT_TRUE(pages[page - 1].contains(QString("No %1").arg(page * 1000 + 1)))
                << pages[page - 1].toStdString();
    }
}

TEST(Fonts, ListTheInstalledFamilies) {
    QStringList names;
    for (int i = 0; i < FontCount(); ++i)
        names << Font(i);
    EXPECT_TRUE(names.contains("Liberation Sans"));
    EXPECT_EQ(Font(-1) + Font(FontCount()), "");
}
