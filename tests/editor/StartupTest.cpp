#include "TestSupport.h"
#include "core/Module1.h"
#include "dialogs/Help1.h"
#include "editor/App.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Module1;
using platform::ListBox;
using platform::SharedInstance;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {

QString prefsPath() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tallio.txt";
}

void writePrefs(const QByteArray& bytes) {
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    QFile f(prefsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList column(const QString& list, int col) {
    auto& box = *SharedInstance<Window1>().ControlNamed<ListBox>(list);
    QStringList out;
    for (int r = 0; r < box.ListCount(); ++r)
        out << box.Cell(r, col);
    return out;
}

bool choose(const QString& item) {
    return SharedInstance<Window1>().MenuItemNamed(item).Trigger();
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        Filename.clear();
        PrintSettings.clear();
        quits = 0;
        platform::SetQuitAction([] { ++quits; }); // outlives the test: windows close after it
    }
    static inline int quits = 0;
};

} // namespace

TEST_F(Startup, FirstStartShowsANewFittedPage) {
    App::Instance().Start();
    EXPECT_TRUE(QFile::exists(prefsPath()));
    EXPECT_TRUE(Scripted().messages.isEmpty());
    EXPECT_EQ(column("ListBox2", 2).mid(1),
              QStringList({"210.0", "297.0", "210.0", "297.0", "1.0", "0", "1.0", "0", "0"}));
    EXPECT_EQ(column("ListBox1", 2).mid(6, 4), QStringList({"Arial", "Normal", "14.0", "C000M000Y000K100"}));
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({0, -1}));
    EXPECT_EQ(FindObject(-100, -100, 100, 100), -1) << "row 0 holds the defaults, but there are no objects";
    // The default colour is black on screen too, not the colour parts' leftovers.
    EXPECT_EQ(RecPos(0, 14).ColorValue(), platform::RGB(0, 0, 0));
}

// A last document that cannot be opened is told with the reason, as File > Open tells it, and start-up
// goes on with a new, untitled page: saving it asks for a name and never writes over the refused file.
TEST_F(Startup, LastDocumentThatCannotBeOpened) {
    const QString pipe = TempDir() + "/pipe.num", note = TempDir() + "/note.txt",
                  folder = TempDir() + "/jobs";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QByteArray noteText = "Ring the bindery\nabout the raffle tickets\n";
    testing_support::WriteBytes(note, noteText);
    QDir().mkdir(folder);
    const QString notOrdinary = "it is not an ordinary file (a device or a pipe cannot be opened)";
    const struct {
        QString last, reason;
    } cases[] = {
        {note, "it is not a Tallio document"},
        {TempDir() + "/gone/doc.num", "the file does not exist"},
        {folder, "it is a folder, not a file"},
        {"/dev/zero", notOrdinary},
        {pipe, notOrdinary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last.toStdString());
        Scripted().messages.clear();
        Scripted().saveDefaults.clear();
        writePrefs("\n\n" + c.last.toUtf8() + "\nsetup\n");
        App::Instance().Start();
        EXPECT_EQ(Scripted().messages,
                  QStringList({"\u201c" + c.last + "\u201d was not opened: " + c.reason + "."}));
        EXPECT_EQ(std::tuple(Filename, AdocWidth, PrintSettings),
                  std::tuple(QString(), 210.0, QString("setup")));

        // File > Save asks for a name; cancelled, nothing is written anywhere. Tried only inside the test's
        // folder: a save that did not ask would replace the file at the path, a device included.
        if (!c.last.startsWith(TempDir()))
            continue;
        Scripted().messages.clear();
        Scripted().fileAnswers = {QString()};
        choose("FileSave");
        EXPECT_EQ(Scripted().saveDefaults.size(), 1);
        EXPECT_EQ(Scripted().messages, QStringList({"File not saved"}));
        EXPECT_EQ(testing_support::ReadBytes(note), noteText);
        EXPECT_EQ(QDir(TempDir()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
                  QStringList({"note.txt", "pipe.num"}));
    }
    // Quitting keeps no refused name for the next start.
    App::Instance().Event_Close();
    EXPECT_EQ(testing_support::ReadBytes(prefsPath()), "\n\n\nsetup\n");
}

// File > Open of something that is no ordinary file says what it is, with the name apart from the reason.
TEST_F(Startup, FileOpenTellsWhyAFileIsNotOpened) {
    const QString pipe = TempDir() + "/pipe.num", folder = TempDir() + "/jobs.num";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QDir().mkdir(folder);
    App::Instance().Start();
    const QString notOrdinary = "it is not an ordinary file (a device or a pipe cannot be opened)";
    const std::pair<QString, QString> cases[] = {
        {"/dev/zero", notOrdinary},
        {pipe, notOrdinary},
        {folder, "it is a folder, not a file"},
        {TempDir() + "/gone.num", "the file does not exist"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path.toStdString());
        Scripted().messages.clear();
        Scripted().fileAnswers = {path};
        choose("FileOpen");
        EXPECT_EQ(Scripted().messages,
                  QStringList({"\u201c" + path + "\u201d was not opened: " + reason + "."}));
        EXPECT_EQ(AdocWidth, 210);
    }
}

TEST_F(Startup, HelpPicturesOpensTheHelpWindowWithoutBlocking) {
    App::Instance().Start();
    EXPECT_FALSE(choose("HelpHelpPictures"));
    EXPECT_FALSE(choose("HelpHelpPictures"));
    int helpWindows = 0;
    for (int i = 0; platform::WindowAt(i); ++i)
        helpWindows += dynamic_cast<Help1*>(platform::WindowAt(i)) != nullptr;
    EXPECT_EQ(helpWindows, 1);
}

// Closing the window, and so quitting, with unsaved changes asks Save / Don't Save / Cancel: only a
// save that happened or Don't Save lets the program end.
TEST_F(Startup, ClosingAsksAboutUnsavedChanges) {
    using platform::SaveChanges;
    const struct {
        const char* name;
        SaveChanges answer;
        QString file; // the save dialog's answer, "" for cancelled
        bool quits, saved;
    } cases[] = {
        {"cancel", SaveChanges::Cancel, {}, false, false},
        {"save, dialog cancelled", SaveChanges::Save, {}, false, false},
        {"don't save", SaveChanges::DontSave, {}, true, false},
        {"save", SaveChanges::Save, "kept.num", true, true},
    };
    App::Instance().Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window1& w = SharedInstance<Window1>();
        DirtyFlag = true;
        quits = 0;
        Scripted().saveChangesAnswers = {c.answer};
        Scripted().fileAnswers = {c.file.isEmpty() ? QString() : TempDir() + "/" + c.file};
        w.Close();
        EXPECT_EQ(Scripted().saveChangesAsked.takeLast(), "Untitled");
        EXPECT_EQ(quits, int(c.quits));
        EXPECT_EQ(platform::WindowAt(0) == &w, !c.quits);
        EXPECT_EQ(QFile::exists(TempDir() + "/kept.num"), c.saved);
        EXPECT_EQ(DirtyFlag, !c.saved);
    }
    App::Instance().Event_Close();
    QFile prefs(prefsPath());
    ASSERT_TRUE(prefs.open(QIODevice::ReadOnly));
    EXPECT_EQ(prefs.readAll(), "\n\n" + (TempDir() + "/kept.num").toUtf8() + "\n\n");
    // With nothing to save, closing asks nothing.
    App::Instance().Start();
    SharedInstance<Window1>().Close();
    EXPECT_TRUE(Scripted().saveChangesAsked.isEmpty());
    EXPECT_EQ(quits, 2);
}

TEST_F(Startup, FileCommands) {
    App::Instance().Start();
    choose("FileSave"); // untitled: asks, and cancelling says so
    EXPECT_EQ(Scripted().messages, QStringList({"File not saved"}));
    Filename = TempDir() + "/titled.num";
    TotalObjects = 1;
    choose("FileOpen"); // cancelled: the document stays as it was, titled
    EXPECT_EQ(QList<QVariant>({Filename, TotalObjects}), QList<QVariant>({TempDir() + "/titled.num", 1}));
    choose("FileCreate");
    EXPECT_EQ(QList<QVariant>({Filename, TotalObjects, DirtyFlag}), QList<QVariant>({"", 0, false}));
}
