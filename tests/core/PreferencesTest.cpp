#include "TestSupport.h"
#include "core/Module1.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Module1;
using namespace testing_support;

TEST(Preferences, FirstStartCreatesFourEmptyLines) {
    ReadPrefs();
    EXPECT_EQ(ReadBytes(PrefsPath()), "\n\n\n\n");
    EXPECT_EQ(Filename + PrintSettings, "");
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST(Preferences, SetupStringWithLineEndsSurvivesManyRuns) {
    const QString settings = "paper=A4\nmargins=1 2 3 4\r\n\nprinter=Laser \"3\"\n";
    Filename = "/docs/run 7.num";
    PrintSettings = settings;
    for (int run = 0; run < 4; ++run) {
        SavePrefs();
        Filename.clear();
        PrintSettings.clear();
        ReadPrefs();
        ASSERT_EQ(Filename, "/docs/run 7.num") << run;
        ASSERT_EQ(PrintSettings, settings) << run;
    }
    EXPECT_TRUE(ReadBytes(PrefsPath()).startsWith("\n\n/docs/run 7.num\n"));
}

TEST(Preferences, ReadsWhatOtherFilesHold) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString filename, settings;
    } cases[] = {
        {"empty file keeps the values", "", "keep", "keep"},
        {"reserved lines ignored", "x\ny\n/a.num\nS\n", "/a.num", "S"},
        {"two lines only", "x\ny\n", "", ""},
        {"no final line end", "\n\n/b.num\nS", "/b.num", "S"},
        {"windows line ends", "\r\n\r\n/c.num\r\nS\r\n", "/c.num", "S"},
    };
    ReadPrefs(); // creates the folder
    for (const auto& c : cases) {
        WriteBytes(PrefsPath(), c.bytes);
        Filename = "keep";
        PrintSettings = "keep";
        ReadPrefs();
        EXPECT_EQ(Filename, c.filename) << c.name;
        EXPECT_EQ(PrintSettings, c.settings) << c.name;
    }
}

TEST(Preferences, NoPreferencesFolder) {
    // A plain file where the configuration folder should be: no folder can be had.
    WriteBytes(TempDir() + "/notafolder", "");
    qputenv("XDG_CONFIG_HOME", (TempDir() + "/notafolder").toUtf8());
    Filename = "/x.num";
    ReadPrefs();
    SavePrefs();
    EXPECT_EQ(Scripted().messages, QStringList({"No Preferences Folder", "No Preferences Folder"}));
    EXPECT_EQ(Filename, "/x.num");
}
