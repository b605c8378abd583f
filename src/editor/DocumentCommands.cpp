#include "editor/DocumentCommands.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/FolderItem.h"
#include "platform/UserQuestions.h"

using namespace platform;

namespace Module1 {

namespace {
const QString ProposedName = QStringLiteral("RUZuv.avo");
} // namespace

void NewDoc() {
    Window1& w = SharedInstance<Window1>();
    w.MakeNumTool = false;
    w.NumSelTool = true;
    ClearDocument();
    w.DrawPage(w.Canvas1().Graphics(), AdocWidth, AdocHeight);
    SyncHead(false);
    SyncSel(false, 0);
}

bool SaveFile(bool saveAs) {
    std::shared_ptr<FolderItem> f;
    if (!Filename.isEmpty() && !saveAs)
        f = GetFolderItem(Filename);
    else
        f = GetSaveFolderItem(FileTypes::pTallio, ProposedName);
    if (!f)
        return false;
    Filename = f->AbsolutePath();
    AFileName = f->Name();
    SyncHead(false);
    SaveHead();
    if (!WriteDocument(*f))
        return false;
    DirtyFlag = false;
    return true;
}

bool OpenFile() {
    std::shared_ptr<FolderItem> f =
        Filename.isEmpty() ? GetOpenFolderItem(FileTypes::pTallio) : GetFolderItem(Filename);
    if (!f)
        return false;
    Filename = f->AbsolutePath();
    if (!ReadDocument(*f))
        return false;
    LoadHead(true);
    LoadSel(CurrentObject);
    return true;
}

} // namespace Module1
