#include "platform/UserQuestions.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
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

// Qt's page setup, alone and in the print dialog's Properties window, lists the system queue's papers
// in this combo box, each with its QPageSize, and starts at the queue's default paper rather than the
// printer's.
QComboBox* PaperList(QWidget& dialog) {
    return dialog.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
}

std::optional<QPageSize> ListedPaper(const QComboBox& papers) {
    const QVariant data = papers.currentData();
    if (data.metaType() != QMetaType::fromType<QPageSize>() || !data.value<QPageSize>().isValid())
        return std::nullopt;
    return data.value<QPageSize>();
}

void ShowPaper(QComboBox& papers, const QPageSize& paper) {
    for (int i = 0; i < papers.count(); ++i) {
        const QVariant data = papers.itemData(i);
        if (data.metaType() == QMetaType::fromType<QPageSize>() &&
            data.value<QPageSize>().isEquivalentTo(paper)) {
            papers.setCurrentIndex(i);
            return;
        }
    }
}

// Watches for the print dialog's Properties window: shows it the paper when it opens and takes its
// paper when it is accepted.
class PropertiesPaper : public QObject {
public:
    PropertiesPaper(QDialog& printDialog, QPageSize& paper) : printDialog_(printDialog), paper_(paper) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !window || window == &printDialog_ || !within(*window))
            return false;
        QComboBox* papers = PaperList(*window);
        if (!papers)
            return false;
        ShowPaper(*papers, paper_);
        if (!window->property(Watched).toBool()) {
            window->setProperty(Watched, true);
            // A size of its own, not in the list, is left to the dialog.
            connect(window, &QDialog::accepted, this, [this, papers = QPointer<QComboBox>(papers)] {
                if (papers)
                    paper_ = ListedPaper(*papers).value_or(QPageSize());
            });
        }
        return false;
    }

private:
    static constexpr const char* Watched = "tallioPaperWatched";
    bool within(const QObject& window) const {
        for (const QObject* o = window.parent(); o; o = o->parent())
            if (o == &printDialog_)
                return true;
        return false;
    }
    QDialog& printDialog_;
    QPageSize& paper_;
};

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

bool QtQuestions::PageSetup(QPrinter& printer, QPageSize& paper) {
    QPageSetupDialog dialog(&printer);
    QComboBox* papers = PaperList(dialog);
    if (papers)
        ShowPaper(*papers, paper);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // A paper of the list is the one chosen; otherwise (a custom size, no list) the dialog set it.
    paper = papers ? ListedPaper(*papers).value_or(printer.pageLayout().pageSize())
                   : printer.pageLayout().pageSize();
    return true;
}

bool QtQuestions::PrintDialog(QPrinter& printer, QPageSize& paper) {
    QPrintDialog dialog(&printer);
    // The paper is chosen in the dialog's Properties window, made when it is first asked for: it is
    // shown the paper too, and when accepted, its paper is the one chosen.
    PropertiesPaper watch(dialog, paper);
    qApp->installEventFilter(&watch);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    qApp->removeEventFilter(&watch);
    return accepted;
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

bool ScriptedQuestions::PageSetup(QPrinter& printer, QPageSize& paper) {
    ++pageSetupCount;
    if (!takeFront(pageSetupAnswers, true))
        return false;
    if (const auto layout = takeFront(pageSetupLayouts, std::optional<QPageLayout>())) {
        printer.setPageLayout(*layout);
        paper = layout->pageSize();
    }
    if (queueDefaultPaper)
        printer.setPageSize(*queueDefaultPaper);
    return true;
}

bool ScriptedQuestions::PrintDialog(QPrinter& printer, QPageSize& paper) {
    ++printDialogCount;
    const QString path = takeFront(printAnswers, QString());
    if (path.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (const auto picked = takeFront(printPapers, std::optional<QPageSize>()))
        paper = *picked;
    if (queueDefaultPaper)
        printer.setPageSize(*queueDefaultPaper);
    return true;
}

} // namespace platform
