// The document file reader, Module1::ReadDocument, on any content of a .num file in a folder of the run's
// own. What it accepts is saved, opened and saved again: the two saved files are the same bytes.
#include "FuzzSupport.h"
#include "core/Module1.h"
#include "platform/FolderItem.h"

#include <QFile>

namespace {

QByteArray Saved(const QString& path) {
    platform::FolderItem f(path);
    Module1::HeaderRecordFromMirror();
    if (!Module1::WriteDocument(f))
        fuzz::Broken("the work folder takes the document", path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::Broken("a saved document can be read", path);
    return file.readAll();
}

void Run(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzz::WorkFolder() + "/input.num";
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(fuzz::Bytes(data, size)) != qint64(size))
            fuzz::Broken("the work folder takes the file");
    }
    Module1::ResetGlobals();
    fuzz::Questions().messages.clear();
    platform::FolderItem f(input);
    QString why;
    if (!Module1::ReadDocument(f, &why)) {
        if (why.isEmpty())
            fuzz::Broken("a refused document says why");
        return;
    }
    if (Module1::TotalObjects < 0 || Module1::TotalObjects > 129 || Module1::AstepR < 1 ||
        Module1::AstepD < 1)
        fuzz::Broken("what is read stays within the table and the grid");

    const QByteArray first = Saved(fuzz::WorkFolder() + "/first.num");
    platform::FolderItem again(fuzz::WorkFolder() + "/first.num");
    if (!Module1::ReadDocument(again, &why))
        fuzz::Broken("a saved document opens", why);
    if (Saved(fuzz::WorkFolder() + "/second.num") != first)
        fuzz::Broken("save, open and save again gives the same bytes", QString::fromUtf8(first));
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
