#include "platform/UserQuestions.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
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

UserQuestions& Questions() { return *current(); }
void SetQuestions(std::unique_ptr<UserQuestions> q) { current() = std::move(q); }

void MsgBox(const QString& text) { Questions().Message(text); }
void ShowURL(const QString& url) { Questions().OpenUrl(url); }

void QtQuestions::Message(const QString& text) { QMessageBox::information(nullptr, QString(), text); }

QString QtQuestions::OpenFileName(const QString& filter) {
    return QFileDialog::getOpenFileName(nullptr, QString(), QString(), filter);
}

QString QtQuestions::SaveFileName(const QString& filter, const QString& defaultName) {
    return QFileDialog::getSaveFileName(nullptr, QString(), defaultName, filter);
}

bool QtQuestions::PageSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer);
    return dialog.exec() == QDialog::Accepted;
}

bool QtQuestions::PrintDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer);
    return dialog.exec() == QDialog::Accepted;
}

void QtQuestions::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

QString ScriptedQuestions::OpenFileName(const QString& filter) {
    openFilters << filter;
    return takeFront(fileAnswers, QString());
}

QString ScriptedQuestions::SaveFileName(const QString& filter, const QString& defaultName) {
    saveFilters << filter;
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
