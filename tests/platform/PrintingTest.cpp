#include "TestSupport.h"
#include "platform/Graphics.h"
#include "platform/PrinterSetup.h"
#include "platform/Shapes.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {
QString Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

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
        {"another version", "tallio-page-setup/2;paper=A4", false},
        {"unknown paper", "tallio-page-setup/1;paper=A99", false},
        {"negative paper", "tallio-page-setup/1;paper=custom -1x5 mm", false},
        {"three margins", "tallio-page-setup/1;paper=A4;margins=1 2 3 mm", false},
        {"unknown unit", "tallio-page-setup/1;paper=A4;margins=1 2 3 4 furlong", false},
        {"huge", QString(100000, 'x'), false},
    };
    for (const auto& c : cases) {
        PrinterSetup p;
        p.SetSetupString(c.text);
        EXPECT_EQ(p.SetupString(), c.valid ? c.text : initial) << c.name;
    }
}

TEST(Printing, PagesAndTextReachThePdf) {
    const QString pdf = TempDir() + "/run.pdf";
    PrinterSetup ps;
    Scripted().printAnswers = {pdf};
    {
        auto g = OpenPrinterDialog(ps);
        ASSERT_NE(g, nullptr);
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
    const QString info = Output("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
    const QStringList pages = Output("pdftotext", {"-layout", pdf, "-"}).split('\f');
    ASSERT_GE(pages.size(), 3);
    for (int page = 1; page <= 3; ++page) {
        const QString& text = pages[page - 1];
        EXPECT_TRUE(text.contains(QString("Sheet %1").arg(page))) << text.toStdString();
        // Turned text (page 2) is not read as a line.
        EXPECT_TRUE(page == 2 || text.contains(QString("No %1").arg(page * 1000 + 1))) << text.toStdString();
    }
}
