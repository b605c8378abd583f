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
    AddMenuHandler("FileCreate", [this] { return FileCreate_Action(); });
    AddMenuHandler("FileOpen", [this] { return FileOpen_Action(); });
    AddMenuHandler("FileSave", [this] { return FileSave_Action(); });
    AddMenuHandler("FileSaveAs", [this] { return FileSaveAs_Action(); });
    AddMenuHandler("EditStepRepeat", [this] { return EditStepRepeat_Action(); });
    AddMenuHandler("Viewupdatecount", [this] { return Viewupdatecount_Action(); });
    AddMenuHandler("PrintPreview", [this] { return PrintPreview_Action(); });
    AddMenuHandler("PrintSetup", [this] { return PrintSetup_Action(); });
    AddMenuHandler("PrintPrint", [this] { return PrintPrint_Action(); });
    AddMenuHandler("HelpAbout", [this] { return HelpAbout_Action(); });
    AddMenuHandler("BackDropOpen", [this] { return BackDropOpen_Action(); });
}

void Window1::RebuildPageView() {
    DrawPage(Canvas1().Graphics(), AdocWidth, AdocHeight);
}

bool Window1::FileCreate_Action() {
    NewDoc();
    Filename.clear(); // the new document is untitled
    RebuildPageView();
    Canvas1().Refresh(false);
    return false;
}

bool Window1::FileOpen_Action() {
    Filename.clear(); // so that the open dialog always shows
    OpenFile();
    RebuildPageView();
    Canvas1().Refresh(false);
    return false;
}

bool Window1::FileSave_Action() {
    if (!SaveFile(false))
        MsgBox("File not saved");
    return false;
}

bool Window1::FileSaveAs_Action() {
    if (!SaveFile(true))
        MsgBox("File not saved");
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
