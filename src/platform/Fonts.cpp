#include "platform/Fonts.h"

#include "platform/ProcessState.h"
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace platform {

namespace {
std::optional<QStringList> gTestFonts;
std::optional<QStringList> gInstalled;

// The names users know: the font database tells a family that several foundries make as
// "Nimbus Mono PS [urw]"; it is listed once, by its family name, which finds it all the same.
QStringList familyNames() {
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        const QString name = FamilyName(family);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

// Asked once: the font selector asks for every name in turn, and fonts installed while the program
// runs are not expected to show until the next start.
const QStringList& families() {
    if (gTestFonts)
        return *gTestFonts;
    if (!gInstalled)
        gInstalled = familyNames();
    return *gInstalled;
}
} // namespace

QString FamilyName(const QString& family) {
    const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
    return bracket > 0 && family.endsWith(QLatin1Char(']')) ? family.left(bracket) : family;
}

void SetFontListForTests(std::optional<QStringList> list) {
    gTestFonts = std::move(list);
}

void ResetFontList() {
    gTestFonts.reset();
    gInstalled.reset();
}

int FontCount() {
    return int(families().size());
}

QString Font(int i) {
    const QStringList& list = families();
    return i >= 0 && i < list.size() ? list[i] : QString();
}

QFont SystemFont() {
    QFont f = QGuiApplication::font();
    f.setFamilies({QStringLiteral("Liberation Sans"), f.family()});
    return f;
}

} // namespace platform
