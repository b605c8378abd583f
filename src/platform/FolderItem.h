// Files and folders by path: existence, names, deletion, and text, binary, byte and picture opening; the
// user's preferences folder and the temporary folder.
#pragma once

#include "platform/FileType.h"
#include "platform/Streams.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <memory>

namespace platform {

class Picture;

// A whole file's bytes for reading in place: mapped rather than copied where the system allows.
class FileBytes {
public:
    QByteArrayView Bytes() const { return view_; }

private:
    friend class FolderItem;
    std::unique_ptr<QFile> file_;
    QByteArray copy_;
    QByteArrayView view_;
};

// Failures give null streams or pictures (or false) rather than exceptions; callers check. Only regular
// files are opened for reading: a device such as /dev/zero never ends and a named pipe waits for a writer.
class FolderItem {
public:
    // A relative path is taken from the current folder.
    explicit FolderItem(const QString& path);

    bool Exists() const;
    bool Directory() const;
    QString Name() const;
    QString AbsolutePath() const { return path_; }
    // The item called name inside this folder; null for an empty name or one holding "/".
    std::shared_ptr<FolderItem> Child(const QString& name) const;
    // Removes a file or an empty folder; false when nothing was removed.
    bool Delete();

    // Type and creator codes belong to another file system; they are accepted and kept nowhere.
    QString MacType() const { return {}; }
    QString MacCreator() const { return {}; }
    void SetMacType(const QString&) {}
    void SetMacCreator(const QString&) {}

    // A new text file that replaces this one when the stream is closed; null when it cannot be made.
    std::shared_ptr<TextOutputStream> CreateTextFile() const;
    // Why the last CreateTextFile failed, in the system's words.
    QString ErrorString() const { return error_; }
    // Null when the file cannot be opened, with the reason in the program's words in *why.
    std::shared_ptr<TextInputStream> OpenAsTextFile(QString* why = nullptr) const;
    std::shared_ptr<BinaryStream> OpenAsBinaryFile(bool readWrite = false) const;
    // The whole file's bytes; null when it cannot be read, with the reason in the program's words in *why.
    std::shared_ptr<const FileBytes> OpenAsBytes(QString* why = nullptr) const;
    // The picture in the file through Qt's image readers, with the file's resolution (72 dpi when
    // the file gives none); null when it cannot be read or passes the picture limits (Picture.h).
    std::shared_ptr<Picture> OpenAsPicture() const;

private:
    QString path_;
    mutable QString error_;
};

// Null for an empty path.
std::shared_ptr<FolderItem> GetFolderItem(const QString& path);
// The user's configuration folder (XDG), made when missing; null when it cannot be had.
std::shared_ptr<FolderItem> PreferencesFolder();

// The folder a file dialog starts in for the file at path: the folder that holds it when that folder
// exists, else the user's documents folder (the home folder when there is none).
QString DialogFolderFor(const QString& path);

// The open dialog, filtered to one file type and starting in folder; null when cancelled.
std::shared_ptr<FolderItem> GetOpenFolderItem(const FileType& type, const QString& folder);
// The save dialog, filtered to one file type, starting in folder and proposing defaultName; null when
// cancelled. A name chosen without one of the type's extensions gets its first one, and a file of the
// name that will be written is replaced only when the user says so (declined, the dialog shows again).
std::shared_ptr<FolderItem> GetSaveFolderItem(const FileType& type, const QString& folder,
                                              const QString& defaultName);

} // namespace platform
