// The user's work is never lost: saves that fail say so and change nothing, a modified document is
// offered to be saved before it goes, a value being typed is kept, what is saved can be found again,
// and a file that is no document is refused.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/MenuBar1.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace platform;
using namespace Module1;
using namespace testing_support;

namespace {

// Files may grow to `bytes` and no further while it lives: a write past that fails as on a full disk
// (the signal a process gets for it is ignored, as the program would see only the failed write).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit old_{};
    void (*handler_)(int) = nullptr;
};

class KeepingWork : public ::testing::Test {
protected:
    void SetUp() override {
        FillModNames();
        NewDoc();
        w.Show();
        ui::Activate(w);
    }

    // Two objects, the second selected, in a document saved as job.num.
    void TwoObjects() {
        TotalObjects = 0;
        for (int k = 0; k < 2; ++k)
            AddObject({.name = "Object" + Str(k + 1),
                       .x = 20.0 + 60 * k,
                       .y = 30,
                       .font = "Liberation Sans",
                       .size = 24});
        CurrentObject = 1;
        LoadSel(1);
        Filename = TempDir() + "/job.num";
        ASSERT_TRUE(SaveFile(false));
    }

    bool Choose(const char* item) { return w.MenuItemNamed(item).Trigger(); }

    Window1& w = SharedInstance<Window1>();
};

} // namespace

// A save that cannot be written (the disk full when the buffered lines go out) leaves the old file
// byte for byte, says so with the file's name, and leaves the document modified with its names.
TEST_F(KeepingWork, FullDiskSavesChangeNothingAndSaySo) {
    TwoObjects();
    const QString job = TempDir() + "/job.num", other = TempDir() + "/other.num";
    WriteBytes(other, "an older document\n");
    const QByteArray jobBefore = ReadBytes(job);
    const QString rowBefore = w.ListBox2().Cell(0, 2);
    const struct {
        const char* name;
        std::function<void()> act;
        QString file;
    } cases[] = {
        {"save", [this] { Choose("FileSave"); }, job},
        {"save as",
         [&] {
             Scripted().fileAnswers = {other};
             Choose("FileSaveAs");
         },
         other},
        {"close with changes",
         [&] {
             Scripted().saveChangesAnswers = {SaveChanges::Save};
             w.Close();
         },
         job},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray before = ReadBytes(c.file);
        DirtyFlag = true;
        Scripted().messages.clear();
        {
            FileSizeLimit full(16);
            c.act();
        }
        EXPECT_EQ(ReadBytes(c.file), before);
        ASSERT_EQ(Scripted().messages.size(), 1);
        EXPECT_TRUE(Scripted().messages[0].startsWith("File not saved"))
            << Scripted().messages[0].toStdString();
        EXPECT_TRUE(Scripted().messages[0].contains(c.file));
        EXPECT_EQ(std::tuple(DirtyFlag, Filename, AFileName, w.ListBox2().Cell(0, 2)),
                  std::tuple(true, job, QString("job.num"), rowBefore));
        EXPECT_EQ(WindowAt(0), &w) << "the window stays open";
        EXPECT_EQ(QDir(TempDir()).entryList(QDir::Files), QStringList({"job.num", "other.num"}));
    }
    EXPECT_EQ(ReadBytes(job), jobBefore);

    // The preferences file likewise keeps what it held, and the failure is told once.
    SavePrefs();
    const QString prefs = PrefsPath();
    const QByteArray prefsBefore = ReadBytes(prefs);
    Filename = TempDir() + "/a/much/longer/path/to/a/document/with/a/long/name.num";
    Scripted().messages.clear();
    {
        FileSizeLimit full(8);
        SavePrefs();
    }
    EXPECT_EQ(ReadBytes(prefs), prefsBefore);
    ASSERT_EQ(Scripted().messages.size(), 1);
    EXPECT_TRUE(Scripted().messages[0].startsWith("Preferences not saved"))
        << Scripted().messages[0].toStdString();
}

// New and Open ask before a modified document goes: Save saves it (Save As when untitled), Don't Save
// drops it, Cancel changes nothing.
TEST_F(KeepingWork, NewAndOpenAskBeforeDroppingChanges) {
    TwoObjects();
    const QString other = TempDir() + "/other.num";
    QFile::copy(TempDir() + "/job.num", other);
    for (const char* command : {"FileCreate", "FileOpen"}) {
        for (SaveChanges answer : {SaveChanges::Cancel, SaveChanges::DontSave, SaveChanges::Save}) {
            SCOPED_TRACE(std::string(command) + " " + std::to_string(int(answer)));
            TwoObjects();
            RecPos(1, 0) = "Changed";
            DirtyFlag = true;
            Scripted().saveChangesAnswers = {answer};
            Scripted().fileAnswers = {other};
            Choose(command);
            EXPECT_EQ(Scripted().saveChangesAsked.takeLast(), "job.num");
            const bool gone = answer != SaveChanges::Cancel;
            EXPECT_EQ(TotalObjects, gone && QString(command) == "FileCreate" ? 0 : 2);
            EXPECT_EQ(RecPos(1, 0).StringValue(),
                      gone && QString(command) == "FileOpen" ? "Object2" : "Changed");
            // Only Save wrote the change into its file.
            EXPECT_EQ(ReadBytes(TempDir() + "/job.num").contains("Changed"), answer == SaveChanges::Save);
            EXPECT_EQ(DirtyFlag, !gone);
        }
    }
    // An unmodified document goes without a question.
    DirtyFlag = false;
    Choose("FileCreate");
    EXPECT_TRUE(Scripted().saveChangesAsked.isEmpty());
}

// A value being typed into a list goes into the object (or the header) it was typed for, as Return
// would, before the selection moves, a menu command runs or the page view takes a click.
TEST_F(KeepingWork, TypedValuesAreCommittedBeforeTheSelectionMoves) {
    TwoObjects();
    const struct {
        const char* name;
        std::function<void()> move;
    } cases[] = {
        {"page click on Object1",
         [this] {
             ui::Click(w.Canvas1().Widget(), {Int(mms(20)), Int(mms(30))});
         }},
        {"object scroller", [this] { w.ListSelect().PushUp(); }},
        {"menu command", [this] { Choose("Viewupdatecount"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CurrentObject = 1;
        LoadSel(1);
        RecPos(1, 1) = 80.0;
        ASSERT_NE(ui::StartTyping(w.ListBox1(), 1, "99"), nullptr);
        c.move();
        EXPECT_EQ(RecPos(1, 1).DoubleValue(), 99.0);
        EXPECT_EQ(RecPos(0, 1).DoubleValue(), 20.0);
        EXPECT_EQ(w.ListBox1().ActiveEditor(), nullptr);
    }
    // A step count typed into the parameter list takes effect before a print preview.
    ASSERT_NE(ui::StartTyping(w.ListBox2(), 5, "2"), nullptr);
    Choose("PrintPreview");
    EXPECT_EQ(std::pair(AstepR, AsigWidth), std::pair(2, 2 * AdocWidth));
}

// The font selector opens on the current family and style, shown among the rows in view, and OK with
// no new choice keeps them: a placed object's family is never empty.
TEST_F(KeepingWork, FontSelectorShowsTheCurrentFamilyAndNeverGivesAnEmptyOne) {
    QStringList families;
    for (int k = 0; k < 39; ++k)
        families << QString("Family %1").arg(k, 2, 10, QChar('0'));
    families[30] = "Liberation Sans";
    families << "C059"; // the font database's "C059 [UKWN]" as users know it
    SetFontListForTests(families);
    for (const QString& current : {QString("Liberation Sans"), QString("C059 [UKWN]")}) {
        SCOPED_TRACE(current.toStdString());
        Rfontfam = current, RfontStyle = "Italic";
        bool visible = false;
        QString selected;
        OnNextModal([&](Window& d) {
            auto& list = *d.ControlNamed<ListBox>("ListBox1");
            auto* table = static_cast<QTableWidget*>(list.Widget());
            selected = list.Text();
            const QRect row = table->visualRect(table->model()->index(list.ListIndex(), 0));
            visible = row.top() >= 0 && row.bottom() <= table->viewport()->rect().bottom();
            ui::Click(*d.FindControl("OK1"), 20, 10);
        });
        ui::Click(w.Numtool(), 15, 15);
        ui::Click(w.Canvas1().Widget(), {100, 100});
        EXPECT_EQ(selected, FamilyName(current));
        EXPECT_TRUE(visible);
        EXPECT_EQ(RecPos(CurrentObject, 6).StringValue(), FamilyName(current));
        EXPECT_EQ(RecPos(CurrentObject, 7).StringValue(), "Italic");
    }
    // With no family at all (a damaged document), OK without a choice still gives one.
    Rfontfam.clear();
    OnNextModal([](Window& d) { ui::Click(*d.FindControl("OK1"), 20, 10); });
    ui::Click(w.Numtool(), 15, 15);
    ui::Click(w.Canvas1().Widget(), {150, 150});
    EXPECT_FALSE(RecPos(CurrentObject, 6).StringValue().isEmpty());
}

// What is saved is found by File > Open: the name gets the document type's extension, the dialog
// proposes the document's own file and the list shows its name. A titled document saves with no
// dialog; a cancelled Save As says so and keeps everything.
TEST_F(KeepingWork, SavedDocumentsAreListedByOpen) {
    for (const QString& typed : {QString("raffle"), QString("Tickets.NUM"), QString("draw.num")}) {
        Scripted().fileAnswers = {TempDir() + "/" + typed};
        Choose("FileSaveAs");
    }
    EXPECT_EQ(Scripted().saveFilters.first(), "Numbers (*.num)");
    EXPECT_EQ(QDir(TempDir()).entryList({"*.num"}, QDir::Files, QDir::Name | QDir::IgnoreCase),
              QStringList({"draw.num", "raffle.num", "Tickets.NUM"}));
    EXPECT_EQ(Scripted().saveDefaults,
              QStringList({"Untitled.num", TempDir() + "/raffle.num", TempDir() + "/Tickets.NUM"}));
    EXPECT_EQ(w.ListBox2().Cell(0, 2), "draw.num");

    DirtyFlag = true;
    Choose("FileSave");
    EXPECT_EQ(Scripted().saveDefaults.size(), 3);
    EXPECT_FALSE(DirtyFlag);
    DirtyFlag = true;
    Choose("FileSaveAs");
    EXPECT_EQ(Scripted().messages, QStringList{"File not saved"});
    EXPECT_EQ(std::pair(Filename, DirtyFlag), std::pair(TempDir() + "/draw.num", true));
}

// A file that is plainly no document is refused with its name, and the document open stays as it was;
// every kind of line end and a number written with an exponent still open exactly.
TEST_F(KeepingWork, WhatIsNoDocumentIsRefused) {
    TwoObjects();
    QByteArray random(3000, 0);
    for (int k = 0; k < random.size(); ++k)
        random[k] = char((k * 7919 + 13) % 251);
    const std::pair<const char*, QByteArray> refused[] = {
        {"note", "Shopping list\neggs\nmilk\nbread\n"},
        {"random bytes", random},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : refused) {
        SCOPED_TRACE(name);
        WriteBytes(TempDir() + "/bad.num", bytes);
        Scripted().messages.clear();
        Scripted().fileAnswers = {TempDir() + "/bad.num"};
        Choose("FileOpen");
        ASSERT_EQ(Scripted().messages.size(), 1);
        EXPECT_TRUE(Scripted().messages[0].contains(TempDir() + "/bad.num"));
        EXPECT_TRUE(Scripted().messages[0].contains("not a Tallio document"));
        EXPECT_EQ(std::tuple(TotalObjects, RecPos(1, 0).StringValue(), AdocWidth),
                  std::tuple(2, QString("Object2"), 210.0));
    }

    const QByteArray job = ReadBytes(TempDir() + "/job.num");
    QByteArray exponent = job;
    exponent.replace("\n210\n", "\n2.1e+2\n");
    const std::pair<const char*, QByteArray> opened[] = {
        {"CR LF", QByteArray(job).replace("\n", "\r\n")},
        {"CR", QByteArray(job).replace("\n", "\r")},
        {"exponent", exponent},
    };
    for (const auto& [name, bytes] : opened) {
        SCOPED_TRACE(name);
        NewDoc();
        WriteBytes(TempDir() + "/ok.num", bytes);
        Scripted().messages.clear();
        Scripted().fileAnswers = {TempDir() + "/ok.num"};
        Choose("FileOpen");
        EXPECT_TRUE(Scripted().messages.isEmpty());
        EXPECT_EQ(std::tuple(TotalObjects, RecPos(1, 0).StringValue(), RecPos(1, 1).DoubleValue(), AdocWidth),
                  std::tuple(2, QString("Object2"), 80.0, 210.0));
    }
}

// Fields the program fills show the start of their text, so a long number shows its sign and first
// digits; the Edit menu's items act on the field that has the focus and only when there is something
// to act on.
TEST_F(KeepingWork, FieldsShowTheirStartAndTheEditMenuActsOnTheFocusedField) {
    EditField& start = w.EdStart();
    start.SetText("-31.1946428571428571");
    auto* line = static_cast<QLineEdit*>(start.Widget());
    EXPECT_EQ(line->cursorPosition(), 0);

    MenuItem& edit = *SharedMenuBar<MenuBar1>().FindItem("EditMenu");
    auto enabled = [&edit] {
        emit edit.Action()->menu()->aboutToShow();
        QString s;
        for (const char* name : {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear"})
            s += edit.FindItem(name)->Enabled() ? "1" : "0";
        return s;
    };
    // As the user does it: the menu opens (and sets its items), then the item is chosen.
    auto use = [&](const char* name) {
        emit edit.Action()->menu()->aboutToShow();
        Choose(name);
    };
    w.Canvas1().Widget()->setFocus(); // nothing to edit
    QApplication::clipboard()->setText("12");
    EXPECT_EQ(enabled(), "00000");

    line->setFocus();
    start.SetText("1500");
    line->setSelection(0, 2);
    EXPECT_EQ(enabled(), "01111"); // a selection, and text to paste; no typing yet to undo
    use("EditCut");
    EXPECT_EQ(std::pair(line->text(), QApplication::clipboard()->text()),
              std::pair(QString("00"), QString("15")));
    use("EditPaste");
    EXPECT_EQ(line->text(), "1500");
    EXPECT_EQ(enabled().left(1), "1");
    use("EditUndo");
    EXPECT_EQ(line->text(), "00");
    line->selectAll();
    use("EditClear");
    EXPECT_EQ(line->text(), "");
}
