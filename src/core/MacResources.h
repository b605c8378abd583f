// Mac resource forks kept on other file systems: the AppleDouble companion "._NAME" that holds a file's
// resource fork, and the resources inside a fork.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace backdrop {

// Path of the AppleDouble companion of the file at path: "._NAME" in the same folder.
QString AppleDoublePath(const QString& path);

// The resource fork held in AppleDouble bytes; nothing when the bytes are not AppleDouble, hold no
// resource fork, or place it outside themselves.
std::optional<QByteArrayView> AppleDoubleResourceFork(QByteArrayView appleDouble);

// The data of the resource of this four-character type and id; nothing when absent or the fork is damaged.
std::optional<QByteArrayView> FindResource(QByteArrayView fork, QByteArrayView type, int id);

} // namespace backdrop
