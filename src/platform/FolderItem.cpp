#include "platform/FolderItem.h"
#include "platform/UserQuestions.h"

#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>
#include <new>

namespace platform {

namespace {
// Large scans are ordinary backdrops here; Qt's own limit (128 MB) would refuse an A3 page at 600 dpi.
constexpr int ImageAllocationLimitMB = 1536;

// Qt gives images whose file holds no resolution the screen's default; the framework gives them 72.
int defaultDotsPerMeter() {
    static const int dpm = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    return dpm;
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

qint64 FolderItem::Length() const {
    const QFileInfo info(path_);
    return info.isFile() ? info.size() : 0;
}

std::shared_ptr<FolderItem> FolderItem::Parent() const {
    if (QDir(path_).isRoot())
        return nullptr;
    return std::make_shared<FolderItem>(QFileInfo(path_).absolutePath());
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

std::shared_ptr<TextInputStream> FolderItem::OpenAsTextFile() const {
    auto file = std::make_unique<QFile>(path_);
    if (Directory() || !file->open(QIODevice::ReadOnly))
        return nullptr;
    return std::make_shared<TextInputStream>(std::move(file));
}

std::shared_ptr<BinaryStream> FolderItem::OpenAsBinaryFile(bool readWrite) const {
    auto file = std::make_unique<QFile>(path_);
    if (Directory() || !file->exists() || !file->open(readWrite ? QIODevice::ReadWrite : QIODevice::ReadOnly))
        return nullptr;
    return std::make_shared<BinaryStream>(std::move(file), readWrite);
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const {
    if (Directory())
        return nullptr;
    try {
        QImageReader reader(path_);
        reader.setAllocationLimit(ImageAllocationLimitMB);
        QImage image = reader.read();
        if (image.isNull())
            return nullptr;
        const int dpm72 = qRound(DefaultResolution / 0.0254);
        if (image.dotsPerMeterX() == defaultDotsPerMeter())
            image.setDotsPerMeterX(dpm72);
        if (image.dotsPerMeterY() == defaultDotsPerMeter())
            image.setDotsPerMeterY(dpm72);
        auto pic = std::make_shared<Picture>(std::move(image));
        if (pic->Image().isNull())
            return nullptr;
        return pic;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
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

std::shared_ptr<FolderItem> GetOpenFolderItem(const FileType& type) {
    return GetFolderItem(Questions().OpenFileName(type.QtFilter()));
}

std::shared_ptr<FolderItem> GetSaveFolderItem(const FileType& type, const QString& defaultName) {
    return GetFolderItem(Questions().SaveFileName(type.QtFilter(), defaultName));
}

} // namespace platform
