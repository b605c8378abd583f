#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace platform {

namespace {
std::optional<QStringList> gTestFonts;

// Asked once: the font selector asks for every name in turn, and fonts installed while the program
// runs are not expected to show until the next start.
const QStringList& families() {
    static const QStringList installed = QFontDatabase::families();
    return gTestFonts ? *gTestFonts : installed;
}
} // namespace

void SetFontListForTests(std::optional<QStringList> list) {
    gTestFonts = std::move(list);
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
