// The inputs kept from fuzzing (tests/data/fuzz/TARGET/, the fuzz targets' own input form) read through
// the same parts of the program as their targets, with the same rules: nothing crashes, a picture is
// handed back or refused with one reason in the program's words.
#include "TestSupport.h"
#include "core/EpsFile.h"
#include "core/MacResources.h"
#include "core/Module1.h"
#include "core/PictOpcodes.h"
#include "core/PictureDecoders.h"
#include "core/QVutils.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using testing_support::DataFile;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool InOurWords(const QString& reason) {
    return !reason.contains("error/") && !reason.contains(" @ ");
}

void ExpectPictureOrReason(const backdrop::DecodedPicture& d) {
    EXPECT_EQ(d.Decoded(), d.error.isEmpty());
    EXPECT_TRUE(InOurWords(d.error)) << d.error.toStdString();
    if (!d.Decoded())
        return;
    if (d.planes.IsValid())
        EXPECT_TRUE(platform::PictureFits(d.planes.width, d.planes.height, 8) &&
                    d.planes.Bytes() <= platform::MaxPictureBytes)
            << d.planes.width << " x " << d.planes.height;
    else
        EXPECT_TRUE(platform::PictureFits(d.image.width(), d.image.height(), d.image.depth()))
            << d.image.width() << " x " << d.image.height();
    EXPECT_GE(std::min(d.horizontalResolution, d.verticalResolution), 1);
}

// The backdrop target's input: its last byte says whether a companion comes first (its backslashes
// doubled, ended by a backslash and any other character); the rest is the file.
std::pair<QByteArray, std::optional<QByteArray>> SplitBackdropInput(QByteArray input) {
    if (input.isEmpty())
        return {{}, std::nullopt};
    const bool hasCompanion = input.back() & 1;
    input.chop(1);
    if (!hasCompanion)
        return {input, std::nullopt};
    QByteArray companion;
    qsizetype at = 0;
    while (at < input.size()) {
        char next = input[at++];
        if (next == '\\' && at < input.size()) {
            next = input[at++];
            if (next != '\\')
                break;
        }
        companion += next;
    }
    return {input.mid(at), companion};
}

void Backdrop(const QByteArray& input) {
    const auto [file, companion] = SplitBackdropInput(input);
    const QString path = TempDir() + "/page.eps";
    Write(path, file);
    QFile::remove(TempDir() + "/._page.eps");
    if (companion)
        Write(TempDir() + "/._page.eps", *companion);
    Scripted().messages.clear();
    const auto picture = QVutils::OpenAsEPSpict(platform::GetFolderItem(path));
    const QStringList& messages = Scripted().messages;
    EXPECT_LE(messages.size(), 1);
    EXPECT_TRUE(picture || QVutils::EPS || messages.size() == 1);
    EXPECT_TRUE(!picture || (picture->Width() > 0 && messages.isEmpty()));
    EXPECT_TRUE(messages.isEmpty() || InOurWords(messages[0])) << messages.join('\n').toStdString();
}

void Containers(const QByteArray& bytes) {
    backdrop::HasEpsTextHeader(bytes);
    backdrop::ScanStructuringComments(bytes, 0);
    if (const auto dos = backdrop::ReadDosEpsHeader(bytes)) {
        backdrop::DosEpsPreview(bytes, *dos);
        backdrop::ScanStructuringComments(bytes, dos->postScriptStart);
    }
    if (const auto fork = backdrop::AppleDoubleResourceFork(bytes))
        backdrop::FindResource(*fork, "PICT", 256);
    backdrop::FindResource(bytes, "PICT", 256);
    if (backdrop::LooksLikePict(bytes))
        backdrop::PictRunsToEnd(QByteArrayView(bytes).sliced(backdrop::PictDataOffset(bytes)));
}

void Prefs(const QByteArray& bytes) {
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    Write(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tallio.txt", bytes);
    Module1::ReadPrefs();
    EXPECT_FALSE(Module1::Filename.contains('\n') || Module1::Filename.contains('\r'));
}

void SetupString(const QByteArray& bytes) {
    platform::PrinterSetup setup;
    const QString before = setup.SetupString(), text = QString::fromUtf8(bytes);
    setup.SetSetupString(text);
    EXPECT_TRUE(setup.SetupString() == text || setup.SetupString() == before);
}

} // namespace

TEST(FuzzRegressions, KeptInputsReadCleanly) {
    const std::pair<const char*, std::function<void(const QByteArray&)>> targets[] = {
        {"picture", [](const QByteArray& b) { ExpectPictureOrReason(backdrop::DecodePicture(b)); }},
        {"pict", [](const QByteArray& b) { ExpectPictureOrReason(backdrop::DecodePict(b)); }},
        {"backdrop", Backdrop},
        {"containers", Containers},
        {"prefs", Prefs},
        {"setup", SetupString},
    };
    int inputs = 0;
    for (const auto& [target, read] : targets) {
        const QDir folder(DataFile(QString("fuzz/") + target));
        for (const QString& name : folder.entryList(QDir::Files)) {
            SCOPED_TRACE((QString(target) + "/" + name).toStdString());
            read(ReadAll(folder.filePath(name)));
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no inputs under " << DataFile("fuzz").toStdString();
}
