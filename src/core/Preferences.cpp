#include "core/Module1.h"

#include "platform/FolderItem.h"
#include "platform/UserQuestions.h"

using namespace platform;

namespace Module1 {

namespace {
const QString PrefsName = QStringLiteral("Tallio.txt");

std::shared_ptr<FolderItem> prefsFile() {
    auto folder = PreferencesFolder();
    return folder ? folder->Child(PrefsName) : nullptr;
}

// False, with the system's reason, when the file could not be written; the old one then stays.
bool writePrefs(FolderItem& f, const QString& path, const QString& settings, QString& why) {
    auto out = f.CreateTextFile();
    if (!out) {
        why = f.ErrorString();
        return false;
    }
    f.SetMacCreator("ttxt");
    f.SetMacType("TEXT");
    out->WriteLine(""); // two reserved lines
    out->WriteLine("");
    out->WriteLine(path);
    out->WriteLine(settings);
    if (out->Close())
        return true;
    why = out->ErrorString();
    return false;
}
} // namespace

void ReadPrefs() {
    auto f = prefsFile();
    QString why;
    if (f && !f->Exists())
        writePrefs(*f, "", "", why); // made now so that it is there; saving tells of a failure
    f = prefsFile();
    if (!f) {
        MsgBox("No Preferences Folder");
        return;
    }
    auto in = f->OpenAsTextFile();
    if (!in || in->Eof())
        return;
    in->ReadLine();
    in->ReadLine();
    Filename = in->ReadLine();
    // The setup string runs to the end of the file and may hold line ends of its own; only the one
    // that ends the file is not part of it.
    QString settings = in->ReadAll();
    if (settings.endsWith("\r\n"))
        settings.chop(2);
    else if (settings.endsWith('\n'))
        settings.chop(1);
    else if (settings.endsWith('\r'))
        settings.chop(1);
    PrintSettings = settings;
    in->Close();
}

void SavePrefs() {
    auto f = prefsFile();
    if (!f) {
        MsgBox("No Preferences Folder");
        return;
    }
    QString why;
    if (!writePrefs(*f, Filename, PrintSettings, why))
        MsgBox("Preferences not saved - \u201c" + f->AbsolutePath() + "\u201d could not be written: " + why);
}

} // namespace Module1
