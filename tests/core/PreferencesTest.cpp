#include "TestSupport.h"
#include "core/Module1.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Module1;
using testing_support::Scripted;

namespace {
QString prefsPath() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tallio.txt";
}

QByteArray prefsBytes() {
    QFile f(prefsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writePrefsBytes(const QByteArray& bytes) {
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    QFile f(prefsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(Preferences, FirstStartCreatesFourEmptyLines) {
    Filename.clear();
    PrintSettings.clear();
    ReadPrefs();
    EXPECT_EQ(prefsBytes(), "\n\n\n\n");
    EXPECT_EQ(Filename, "");
    EXPECT_EQ(PrintSettings, "");
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
    EXPECT_TRUE(prefsBytes().startsWith("\n\n/docs/run 7.num\n"));
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
    for (const auto& c : cases) {
        writePrefsBytes(c.bytes);
        Filename = "keep";
        PrintSettings = "keep";
        ReadPrefs();
        EXPECT_EQ(Filename, c.filename) << c.name;
        EXPECT_EQ(PrintSettings, c.settings) << c.name;
    }
}

TEST(Preferences, NoPreferencesFolder) {
    // A plain file where the configuration folder should be: no folder can be had.
    QFile blocker(testing_support::TempDir() + "/notafolder");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", (testing_support::TempDir() + "/notafolder").toUtf8());
    Filename = "/x.num";
    ReadPrefs();
    SavePrefs();
    EXPECT_EQ(Scripted().messages, QStringList({"No Preferences Folder", "No Preferences Folder"}));
    EXPECT_EQ(Filename, "/x.num");
}
