// The real Qt file dialogs behind the question seam: they start in the folder they are given, and the
// save dialog gives back the name as typed without a question of its own, so that the one question
// about replacing a file is asked for the name that will be written ("job.v2" is saved as
// "job.v2.num").
#include "TestSupport.h"
#include "platform/UserQuestions.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct Seen {
    bool dialog = false;
    QString startedIn;
    bool questionOfItsOwn = false;
};

// Acts on the file dialog once its own event loop runs. A message box it opens over itself is noted
// and closed, and the dialog with it, so that the test never waits for an answer.
void OnFileDialog(Seen& seen, std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, [&seen, act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        seen.dialog = true;
        seen.startedIn = dialog->directory().absolutePath();
        // Cancelled with the dialog if it closes first.
        QTimer::singleShot(0, dialog, [&seen, dialog] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen.questionOfItsOwn = true;
                box->reject();
            }
            dialog->reject();
        });
        act(*dialog);
    });
}

} // namespace

TEST(FileDialogs, StartInTheFolderGivenAndLeaveTheReplaceQuestionToTheCaller) {
    // A folder of each case's own: the dialogs would otherwise start where the last one left off.
    const QString opened = TempDir() + "/opened", typed = TempDir() + "/typed", num = TempDir() + "/num";
    for (const QString& folder : {opened, typed, num}) {
        QDir().mkpath(folder);
        WriteBytes(folder + "/job.v2", "a note\n");
        WriteBytes(folder + "/job.v2.num", "an older job\n");
    }
    platform::QtQuestions qt;
    const QString filter = "Numbers (*.num)";
    const struct {
        const char* name;
        std::function<QString()> ask;
        QString folder;
        QString typed;  // "" cancels
        QString result; // what the dialog gives back
    } cases[] = {
        {"open, cancelled", [&] { return qt.OpenFileName(filter, opened); }, opened, "", ""},
        {"save, a name whose file exists as typed",
         [&] { return qt.SaveFileName(filter, typed, "Untitled.num"); }, typed, "job.v2", typed + "/job.v2"},
        {"save, an existing document", [&] { return qt.SaveFileName(filter, num, "Untitled.num"); }, num,
         "job.v2.num", num + "/job.v2.num"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Seen seen;
        OnFileDialog(seen, [&c](QFileDialog& d) {
            if (c.typed.isEmpty()) {
                d.reject();
                return;
            }
            d.findChild<QLineEdit*>("fileNameEdit")->setText(c.typed);
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        EXPECT_EQ(c.ask(), c.result);
        EXPECT_TRUE(seen.dialog);
        EXPECT_EQ(seen.startedIn, c.folder);
        EXPECT_FALSE(seen.questionOfItsOwn);
        EXPECT_EQ(testing_support::ReadBytes(c.folder + "/job.v2"), "a note\n");
    }
}
