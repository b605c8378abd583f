// The whole backdrop reader, QVutils::OpenAsEPSpict, on a file and (when the input asks for one) its
// AppleDouble companion "._NAME" in a folder of the run's own. A file that is not an EPS gives a picture
// or exactly one message; no message carries ImageMagick's own text.
#include "FuzzSupport.h"
#include "core/QVutils.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"

#include <QFile>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        fuzz::Broken("the work folder takes the file", path);
}

void Run(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const QString path = fuzz::WorkFolder() + "/page.eps", companion = fuzz::WorkFolder() + "/._page.eps";
    if (input.ConsumeBool())
        WriteFile(companion, input.ConsumeRandomLengthString(size));
    else
        QFile::remove(companion);
    WriteFile(path, input.ConsumeRemainingBytesAsString());

    fuzz::Questions().messages.clear();
    const auto picture = QVutils::OpenAsEPSpict(platform::GetFolderItem(path));
    const QStringList& messages = fuzz::Questions().messages;
    if (messages.size() > 1)
        fuzz::Broken("at most one message", messages.join('\n'));
    if (!QVutils::EPS && !picture && messages.isEmpty())
        fuzz::Broken("a plain picture that cannot be read is told");
    if (picture && (picture->Width() < 1 || picture->Height() < 1 || !messages.isEmpty()))
        fuzz::Broken("a picture has pixels and comes without a message");
    if (!messages.isEmpty() && (messages[0].contains("error/") || messages[0].contains(" @ ")))
        fuzz::Broken("messages are in the program's words", messages[0]);
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
