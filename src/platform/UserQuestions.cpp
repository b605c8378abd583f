#include "platform/UserQuestions.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace platform {

namespace {
std::unique_ptr<UserQuestions>& current() {
    static std::unique_ptr<UserQuestions> q = std::make_unique<QtQuestions>();
    return q;
}

template <typename T> T takeFront(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty())
        return whenEmpty;
    T v = queue.front();
    queue.pop_front();
    return v;
}
} // namespace

UserQuestions& Questions() {
    return *current();
}
void SetQuestions(std::unique_ptr<UserQuestions> q) {
    current() = std::move(q);
}

void MsgBox(const QString& text) {
    Questions().Message(text);
}
void ShowURL(const QString& url) {
    Questions().OpenUrl(url);
}

void QtQuestions::Message(const QString& text) {
    QMessageBox::information(nullptr, QString(), text);
}

SaveChanges QtQuestions::AskSaveChanges(const QString& documentName) {
    QMessageBox box(QMessageBox::Warning, QString(),
                    QString("Do you want to save the changes you made to \u201c%1\u201d?").arg(documentName));
    box.setInformativeText("Your changes will be lost if you don't save them.");
    QPushButton* save = box.addButton("Save", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Don't Save", QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChanges::Save;
    return box.clickedButton() == discard ? SaveChanges::DontSave : SaveChanges::Cancel;
}

bool QtQuestions::AskGoOn(const QString& text, const QString& goOn) {
    QMessageBox box(QMessageBox::Warning, QString(), text);
    QPushButton* go = box.addButton(goOn, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == go;
}

QString QtQuestions::OpenFileName(const QString& filter, const QString& folder) {
    return QFileDialog::getOpenFileName(nullptr, QString(), folder, filter);
}

QString QtQuestions::SaveFileName(const QString& filter, const QString& folder, const QString& defaultName) {
    QFileDialog dialog(nullptr, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog would ask about the name as typed, and "job.v2" is saved as "job.v2.num": the caller
    // adds the extension and asks about the file it will write.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool QtQuestions::PageSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer);
    return dialog.exec() == QDialog::Accepted;
}

bool QtQuestions::PrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer);
    return dialog.exec() == QDialog::Accepted;
}

void QtQuestions::OpenUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

SaveChanges ScriptedQuestions::AskSaveChanges(const QString& documentName) {
    saveChangesAsked << documentName;
    return takeFront(saveChangesAnswers, SaveChanges::Cancel);
}

bool ScriptedQuestions::AskGoOn(const QString& text, const QString&) {
    warnings << text;
    return takeFront(goOnAnswers, false);
}

QString ScriptedQuestions::OpenFileName(const QString& filter, const QString& folder) {
    openFilters << filter;
    openFolders << folder;
    return takeFront(fileAnswers, QString());
}

QString ScriptedQuestions::SaveFileName(const QString& filter, const QString& folder,
                                        const QString& defaultName) {
    saveFilters << filter;
    saveFolders << folder;
    saveDefaults << defaultName;
    return takeFront(fileAnswers, QString());
}

bool ScriptedQuestions::PageSetup(QPrinter&) {
    ++pageSetupCount;
    return takeFront(pageSetupAnswers, true);
}

bool ScriptedQuestions::PrintDialog(QPrinter& printer) {
    ++printDialogCount;
    const QString path = takeFront(printAnswers, QString());
    if (path.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

} // namespace platform
