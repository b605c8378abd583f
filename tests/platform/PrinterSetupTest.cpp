// The page setup's text, kept as the preferences' print settings: handed back exactly, or refused whole.
// Printing itself is checked through the print run's PDFs.
#include "platform/PrinterSetup.h"
#include "TestSupport.h"

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
