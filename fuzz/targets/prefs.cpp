// The preferences file: Module1::ReadPrefs on any content of Tallio.txt in a configuration folder of the
// run's own. What was read is written back by SavePrefs and read again unchanged.
#include "FuzzSupport.h"
#include "core/Module1.h"

#include <QDir>
#include <QFile>

namespace {

void Run(const std::uint8_t* data, std::size_t size) {
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    QDir().mkpath(folder);
    QFile file(folder + "/Tallio.txt");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(fuzz::Bytes(data, size)) != qint64(size))
        fuzz::Broken("the configuration folder takes the file");
    file.close();

    Module1::Filename.clear();
    Module1::PrintSettings.clear();
    Module1::ReadPrefs();
    const QString filename = Module1::Filename, settings = Module1::PrintSettings;
    if (filename.contains('\n') || filename.contains('\r'))
        fuzz::Broken("the last document's path is one line", filename);

    Module1::SavePrefs();
    Module1::Filename.clear();
    Module1::PrintSettings.clear();
    Module1::ReadPrefs();
    // A setup string that itself ends in a carriage return loses it (the file's own line end is read as
    // CR LF); setup strings are one line of our own text and never do.
    if (Module1::Filename != filename || (Module1::PrintSettings != settings && !settings.endsWith('\r')))
        fuzz::Broken("preferences read back as written", filename + "\n" + settings);
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
