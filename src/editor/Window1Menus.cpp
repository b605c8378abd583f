// The main window's menu commands: thin calls into the document file, the print run and the page view.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/BDropProps.h"
#include "dialogs/StepRpt.h"
#include "editor/DocumentCommands.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/PrinterSetup.h"
#include "platform/Text.h"
#include "platform/UserQuestions.h"

using namespace platform;
using namespace Module1;

void Window1::AddMenuHandlers() {
    // A value still being typed goes in first, as Return would put it, so that the command sees (and
    // saves, prints) it. A value refused there stops the command: the user has just been told that what
    // they typed is not in use, and a run or a save of the value before would not be what they asked for.
    auto bind = [this](const char* item, bool (Window1::*handler)()) {
        AddMenuHandler(item, [this, handler] {
            if (!CommitEdits())
                return false;
            return (this->*handler)();
        });
    };
    bind("FileCreate", &Window1::FileCreate_Action);
    bind("FileOpen", &Window1::FileOpen_Action);
    bind("FileSave", &Window1::FileSave_Action);
    bind("FileSaveAs", &Window1::FileSaveAs_Action);
    bind("EditStepRepeat", &Window1::EditStepRepeat_Action);
    bind("Viewupdatecount", &Window1::Viewupdatecount_Action);
    bind("PrintPreview", &Window1::PrintPreview_Action);
    bind("PrintSetup", &Window1::PrintSetup_Action);
    bind("PrintPrint", &Window1::PrintPrint_Action);
    bind("HelpAbout", &Window1::HelpAbout_Action);
    bind("BackDropOpen", &Window1::BackDropOpen_Action);
}

void Window1::RebuildPageView() {
    DrawPage(Canvas1().Graphics(), AdocWidth, AdocHeight);
}

// A modified document is offered to be saved first; Cancel keeps it as it is.
bool Window1::FileCreate_Action() {
    if (!OfferToSaveChanges())
        return false;
    const bool fitted = FitToPage;
    NewDoc();
    Filename.clear(); // the new document is untitled
    // The view keeps its mode: a fitted view fits the new page.
    FitToPage = FitToPage || fitted;
    RebuildPageView();
    Canvas1().Refresh(false);
    return false;
}

bool Window1::FileOpen_Action() {
    if (!OfferToSaveChanges())
        return false;
    // A cancelled or refused open leaves the document as it was, titled as before.
    const FileOutcome opened = OpenChosenDocument();
    if (opened.kind == FileOutcome::Failed)
        MsgBox(opened.message);
    if (opened.kind != FileOutcome::Done)
        return false;
    RebuildPageView();
    Canvas1().Refresh(false);
    return false;
}

namespace {
// A cancelled dialog says only that nothing was saved; a failed write also says why.
void TellUnsaved(const FileOutcome& outcome) {
    if (outcome.kind != FileOutcome::Done)
        MsgBox(outcome.kind == FileOutcome::Failed ? outcome.message : QStringLiteral("File not saved"));
}
} // namespace

bool Window1::FileSave_Action() {
    TellUnsaved(SaveDocument(false));
    return false;
}

bool Window1::FileSaveAs_Action() {
    TellUnsaved(SaveDocument(true));
    return false;
}

// The copies are made from the selected object, so with none there is nothing to repeat.
bool Window1::EditStepRepeat_Action() {
    if (CurrentObject < 0 || CurrentObject >= TotalObjects)
        MsgBox("Select a number object to step and repeat");
    else
        SharedInstance<StepRpt>().ShowModal();
    return false;
}

bool Window1::Viewupdatecount_Action() {
    MsgBox("UpdateCounter=" + Str(updateCounter));
    updateCounter = 0;
    return false;
}

bool Window1::PrintPreview_Action() {
    PrintPreview();
    return false;
}

bool Window1::PrintSetup_Action() {
    if (!ps)
        ps = std::make_shared<PrinterSetup>();
    if (Len(PrintSettings) > 0)
        ps->SetSetupString(PrintSettings);
    if (ps->PageSetupDialog())
        PrintSettings = ps->SetupString();
    return false;
}

bool Window1::PrintPrint_Action() {
    PrintStart();
    return false;
}

bool Window1::HelpAbout_Action() {
    SharedInstance<AboutWindow>().ShowModal();
    return false;
}

bool Window1::BackDropOpen_Action() {
    SharedInstance<BDropProps>().ShowModal();
    return false;
}
