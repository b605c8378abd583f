#include "editor/DocumentCommands.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/FolderItem.h"
#include "platform/UserQuestions.h"

#include <QFileInfo>

using namespace platform;

namespace Module1 {

namespace {

// What the save dialog proposes: the document's own file name when it has one, else an untitled name.
QString ProposedName() {
    if (!Filename.isEmpty())
        return QFileInfo(Filename).fileName();
    return AFileName.isEmpty() ? QStringLiteral("Untitled.num") : AFileName;
}

QString Quoted(const QString& name) {
    return QString::fromUtf8("\u201c") + name + QString::fromUtf8("\u201d");
}

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

FileOutcome SaveDocument(bool saveAs) {
    std::shared_ptr<FolderItem> f;
    if (!Filename.isEmpty() && !saveAs) {
        f = GetFolderItem(Filename);
    } else {
        // A saved document always gets the document type's extension, so the open dialog lists it.
        f = GetSaveFolderItem(FileTypes::pTallio, DialogFolderFor(Filename), ProposedName());
    }
    if (!f)
        return {};

    // The header as it stands, to put back if the file cannot be written.
    const VariantArray record = RecHd;
    HeaderRecordFromMirror();
    const VariantArray mirror = RecHd;
    RecHd = record;
    const QString oldFilename = Filename;

    Filename = f->AbsolutePath();
    AFileName = f->Name();
    SyncHead(false);
    SaveHead();
    QString why;
    if (WriteDocument(*f, &why)) {
        DirtyFlag = false;
        return {FileOutcome::Done, {}};
    }
    Filename = oldFilename;
    RecHd = mirror;
    HeaderMirrorFromRecord();
    SyncHead(false);
    RecHd = record;
    return {FileOutcome::Failed,
            "File not saved - " + Quoted(f->AbsolutePath()) + " could not be written: " + why};
}

bool SaveFile(bool saveAs) {
    return SaveDocument(saveAs).kind == FileOutcome::Done;
}

namespace {
// A file that cannot be read or is no document changes nothing, Filename included.
FileOutcome ReadChosen(const std::shared_ptr<FolderItem>& f) {
    if (!f)
        return {};
    QString why;
    if (!ReadDocument(*f, &why))
        return {FileOutcome::Failed, Quoted(f->AbsolutePath()) + " was not opened: " + why + "."};
    Filename = f->AbsolutePath();
    // The document just read has no changes of its own.
    DirtyFlag = false;
    LoadHead(true);
    LoadSel(CurrentObject);
    return {FileOutcome::Done, {}};
}
} // namespace

FileOutcome OpenDocument() {
    return Filename.isEmpty() ? OpenChosenDocument() : ReadChosen(GetFolderItem(Filename));
}

FileOutcome OpenChosenDocument() {
    return ReadChosen(GetOpenFolderItem(FileTypes::pTallio, DialogFolderFor(Filename)));
}

bool OpenFile() {
    return OpenDocument().kind == FileOutcome::Done;
}

bool OfferToSaveChanges() {
    if (!DirtyFlag)
        return true;
    const QString name = AFileName.isEmpty() ? QStringLiteral("Untitled") : AFileName;
    switch (Questions().AskSaveChanges(name)) {
    case SaveChanges::DontSave:
        return true;
    case SaveChanges::Cancel:
        return false;
    case SaveChanges::Save:
        break;
    }
    const FileOutcome saved = SaveDocument(false);
    if (saved.kind == FileOutcome::Failed)
        MsgBox(saved.message);
    return saved.kind == FileOutcome::Done;
}

} // namespace Module1
