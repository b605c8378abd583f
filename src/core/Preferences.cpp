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

void writePrefs(FolderItem& f, const QString& path, const QString& settings) {
    auto out = f.CreateTextFile();
    if (!out)
        return;
    f.SetMacCreator("ttxt");
    f.SetMacType("TEXT");
    out->WriteLine(""); // two reserved lines
    out->WriteLine("");
    out->WriteLine(path);
    out->WriteLine(settings);
    out->Close();
}
} // namespace

void ReadPrefs() {
    auto f = prefsFile();
    if (f && !f->Exists())
        writePrefs(*f, "", "");
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
    writePrefs(*f, Filename, PrintSettings);
}

} // namespace Module1
