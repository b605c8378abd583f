// The framework's file type: a named set of extensions that the open and save dialogs filter by.
// Mac type and creator codes are carried as given and used for nothing on this platform.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

struct FileType {
    QString Name;
    QString Extensions; // ".eps;.tif" (blanks after the semicolons are allowed)
    QString MacType;
    QString MacCreator;

    // The extensions without dots and blanks: {"eps", "tif"}.
    QStringList ExtensionList() const;
    // A Qt name filter: "Numbers (*.num)"; a type without extensions matches every file.
    QString QtFilter() const;
};

} // namespace platform
