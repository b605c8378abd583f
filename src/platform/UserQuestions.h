// The one seam for everything that asks the user outside the program's own windows: message boxes,
// open and save dialogs, page setup, the print dialog and opening a web address. The application
// installs QtQuestions; tests and benchmarks install ScriptedQuestions.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>

class QPrinter;

namespace platform {

// The answers to "save the changes to this document?".
enum class SaveChanges { Save, DontSave, Cancel };

class UserQuestions {
public:
    virtual ~UserQuestions() = default;
    virtual void Message(const QString& text) = 0;
    // Before a modified document would be closed or replaced.
    virtual SaveChanges AskSaveChanges(const QString& documentName) = 0;
    // A warning with a button to go on (its caption goOn) and Cancel; true to go on.
    virtual bool AskGoOn(const QString& text, const QString& goOn) = 0;
    // A path to an existing file, "" when cancelled. filter is a Qt name filter list; the dialog
    // starts in folder.
    virtual QString OpenFileName(const QString& filter, const QString& folder) = 0;
    // A path to save to as chosen, "" when cancelled; the dialog starts in folder and proposes
    // defaultName. It neither adds an extension nor asks before replacing a file: GetSaveFolderItem
    // does both for the name that will be written.
    virtual QString SaveFileName(const QString& filter, const QString& folder,
                                 const QString& defaultName) = 0;
    // Page setup and the print dialog: false when cancelled. The printer keeps the chosen settings but
    // the paper, which comes back in paper: on entry it is the printer's, which the dialog shows, and
    // the caller puts what comes back on the printer (an invalid one: the printer's stays). Qt's dialogs
    // on a system queue put the queue's default paper on the printer when accepted, whatever was shown
    // or chosen.
    virtual bool PageSetup(QPrinter& printer, QPageSize& paper) = 0;
    virtual bool PrintDialog(QPrinter& printer, QPageSize& paper) = 0;
    virtual void OpenUrl(const QString& url) = 0;
};

// Real Qt dialogs.
class QtQuestions : public UserQuestions {
public:
    void Message(const QString& text) override;
    SaveChanges AskSaveChanges(const QString& documentName) override;
    bool AskGoOn(const QString& text, const QString& goOn) override;
    QString OpenFileName(const QString& filter, const QString& folder) override;
    QString SaveFileName(const QString& filter, const QString& folder, const QString& defaultName) override;
    bool PageSetup(QPrinter& printer, QPageSize& paper) override;
    bool PrintDialog(QPrinter& printer, QPageSize& paper) override;
    void OpenUrl(const QString& url) override;
};

// Records every question and answers from queues; an empty queue answers "cancel"
// (except page setup, which is accepted unless told otherwise).
class ScriptedQuestions : public UserQuestions {
public:
    QStringList messages;         // every message text, in order
    QStringList urls;             // every address opened
    QStringList openFilters;      // the filter of every open dialog
    QStringList openFolders;      // the folder every open dialog started in
    QStringList saveFilters;      // the filter of every save dialog
    QStringList saveFolders;      // the folder every save dialog started in
    QStringList saveDefaults;     // the proposed name of every save dialog
    QStringList saveChangesAsked; // the document named by every save-changes question
    QStringList warnings;         // the text of every go-on-or-cancel question
    int pageSetupCount = 0;
    int printDialogCount = 0;

    std::deque<QString> fileAnswers;   // next open/save path; "" cancels
    std::deque<bool> pageSetupAnswers; // false cancels
    std::deque<QString> printAnswers;  // PDF file to print to; "" cancels
    // The page layout the user sets in the next accepted page setup dialog; none leaves it as shown.
    std::deque<std::optional<QPageLayout>> pageSetupLayouts;
    // The paper the user picks in the next accepted print dialog; none leaves it as shown.
    std::deque<std::optional<QPageSize>> printPapers;
    // Set, accepted dialogs put this paper on the printer, as Qt's do with a system queue's default.
    std::optional<QPageSize> queueDefaultPaper;
    std::deque<SaveChanges> saveChangesAnswers;
    std::deque<bool> goOnAnswers; // false cancels

    void Message(const QString& text) override { messages << text; }
    SaveChanges AskSaveChanges(const QString& documentName) override;
    bool AskGoOn(const QString& text, const QString& goOn) override;
    QString OpenFileName(const QString& filter, const QString& folder) override;
    QString SaveFileName(const QString& filter, const QString& folder, const QString& defaultName) override;
    bool PageSetup(QPrinter& printer, QPageSize& paper) override;
    bool PrintDialog(QPrinter& printer, QPageSize& paper) override;
    void OpenUrl(const QString& url) override { urls << url; }
};

UserQuestions& Questions();
// Installs the implementation that every question goes through from now on.
void SetQuestions(std::unique_ptr<UserQuestions> q);

// The framework's names for the questions.
void MsgBox(const QString& text);
void ShowURL(const QString& url);

} // namespace platform
