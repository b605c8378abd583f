#include "platform/FileType.h"

namespace platform {

QStringList FileType::ExtensionList() const {
    QStringList out;
    for (QString e : Extensions.split(';', Qt::SkipEmptyParts)) {
        e = e.trimmed();
        if (e.startsWith('.'))
            e.remove(0, 1);
        if (!e.isEmpty())
            out << e;
    }
    return out;
}

QString FileType::QtFilter() const {
    QStringList patterns;
    for (const QString& e : ExtensionList())
        patterns << "*." + e;
    if (patterns.isEmpty())
        patterns << "*";
    return Name + " (" + patterns.join(' ') + ")";
}

} // namespace platform
