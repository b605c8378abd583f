#include "platform/FolderItem.h"
#include "platform/UserQuestions.h"

#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// Qt gives images whose file holds no resolution the screen's default; the framework gives them 72.
int defaultDotsPerMeter() {
    return QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
}

// The regular file at path opened for reading (or reading and writing); null with the reason in *why
// for anything else. It is opened without waiting, so that a named pipe with no writer is refused at
// once, and checked on the open descriptor, so that it cannot be swapped in between.
std::unique_ptr<QFile> openRegular(const QString& path, bool readWrite, QString* why) {
    auto fail = [why](const char* reason) {
        if (why)
            *why = QString::fromLatin1(reason);
        return nullptr;
    };
    const int fd = ::open(QFile::encodeName(path).constData(),
                          (readWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return fail("The file does not exist.");
        if (errno == EISDIR)
            return fail("It is a folder, not a file.");
        return fail(errno == EACCES ? "There is no permission to open the file."
                                    : "The file cannot be opened.");
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        return fail(folder ? "It is a folder, not a file."
                           : "It is not an ordinary file (a device or a pipe cannot be opened).");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>(path);
    if (!file->open(fd, readWrite ? QIODevice::ReadWrite : QIODevice::ReadOnly,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail("The file cannot be opened.");
    }
    return file;
}
} // namespace

FolderItem::FolderItem(const QString& path)
    : path_(QDir::cleanPath(QDir::current().absoluteFilePath(path))) {}

bool FolderItem::Exists() const {
    return QFileInfo::exists(path_);
}

bool FolderItem::Directory() const {
    return QFileInfo(path_).isDir();
}

QString FolderItem::Name() const {
    return QFileInfo(path_).fileName();
}

std::shared_ptr<FolderItem> FolderItem::Child(const QString& name) const {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return nullptr;
    return std::make_shared<FolderItem>(path_ + QLatin1Char('/') + name);
}

bool FolderItem::Delete() {
    const QFileInfo info(path_);
    if (info.isDir() && !info.isSymLink())
        return QDir().rmdir(path_);
    return QFile::remove(path_);
}

std::shared_ptr<TextOutputStream> FolderItem::CreateTextFile() const {
    auto file = std::make_unique<QSaveFile>(path_);
    if (Directory() || !file->open(QIODevice::WriteOnly)) {
        error_ = Directory() ? QStringLiteral("it is a folder") : file->errorString();
        return nullptr;
    }
    return std::make_shared<TextOutputStream>(std::move(file));
}

std::shared_ptr<TextInputStream> FolderItem::OpenAsTextFile(QString* why) const {
    auto file = openRegular(path_, false, why);
    return file ? std::make_shared<TextInputStream>(std::move(file)) : nullptr;
}

std::shared_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool readWrite) const {
    auto file = openRegular(path_, readWrite, nullptr);
    return file ? std::make_shared<BinaryStream>(std::move(file), readWrite) : nullptr;
}

std::shared_ptr<const FileBytes> FolderItem::OpenAsBytes(QString* why) const {
    auto file = openRegular(path_, false, why);
    if (!file)
        return nullptr;
    auto bytes = std::make_shared<FileBytes>();
    const qint64 size = file->size();
    if (const uchar* mapped = size > 0 ? file->map(0, size) : nullptr) {
        bytes->view_ = QByteArrayView(mapped, size);
    } else {
        try {
            bytes->copy_ = file->readAll();
        } catch (const std::bad_alloc&) {
            bytes->copy_.clear();
        }
        if (bytes->copy_.size() != size) {
            if (why)
                *why = QStringLiteral("The file cannot be read.");
            return nullptr;
        }
        bytes->view_ = bytes->copy_;
    }
    bytes->file_ = std::move(file);
    return bytes;
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const {
    auto file = openRegular(path_, false, nullptr);
    if (!file)
        return nullptr;
    QImageReader reader(file.get());
    QImage image = ReadWithinLimits(reader, nullptr);
    if (image.isNull())
        return nullptr;
    const int dpm72 = qRound(DefaultResolution / 0.0254);
    if (image.dotsPerMeterX() == defaultDotsPerMeter())
        image.setDotsPerMeterX(dpm72);
    if (image.dotsPerMeterY() == defaultDotsPerMeter())
        image.setDotsPerMeterY(dpm72);
    return PictureFromImage(std::move(image));
}

std::shared_ptr<FolderItem> GetFolderItem(const QString& path) {
    if (path.isEmpty())
        return nullptr;
    return std::make_shared<FolderItem>(path);
}

std::shared_ptr<FolderItem> PreferencesFolder() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (path.isEmpty() || !QDir().mkpath(path))
        return nullptr;
    return std::make_shared<FolderItem>(path);
}

QString DialogFolderFor(const QString& path) {
    if (!path.isEmpty()) {
        const QFileInfo folder(QFileInfo(path).absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

std::shared_ptr<FolderItem> GetOpenFolderItem(const FileType& type, const QString& folder) {
    return GetFolderItem(Questions().OpenFileName(type.QtFilter(), folder));
}

std::shared_ptr<FolderItem> GetSaveFolderItem(const FileType& type, const QString& folder,
                                              const QString& defaultName) {
    const QStringList extensions = type.ExtensionList();
    QString startIn = folder, proposed = defaultName;
    for (;;) {
        QString path = Questions().SaveFileName(type.QtFilter(), startIn, proposed);
        if (path.isEmpty())
            return nullptr;
        const QString suffix = QFileInfo(path).suffix();
        if (!extensions.isEmpty() && !extensions.contains(suffix, Qt::CaseInsensitive))
            path += '.' + extensions.first();
        // The question is asked here, not by the dialog, because only here is the name known that
        // will be written ("job.v2" becomes "job.v2.num").
        const QFileInfo chosen(path);
        if (!chosen.exists() ||
            Questions().AskGoOn(QString::fromUtf8("\u201c%1\u201d already exists. Do you want to replace it?")
                                    .arg(chosen.fileName()),
                                QStringLiteral("Replace")))
            return GetFolderItem(path);
        startIn = chosen.absolutePath();
        proposed = chosen.fileName();
    }
}

} // namespace platform
