// The installed font families, in the order the font database lists them, and the "System" font.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The family's name without the foundry the font database may add ("C059 [UKWN]" is "C059").
QString FamilyName(const QString& family);

int FontCount();
// The name of font i (from 0); "" outside 0 .. FontCount() - 1.
QString Font(int i);
// Test hook: FontCount and Font list these families instead of the installed ones; nullopt goes back
// to the installed fonts.
void SetFontListForTests(std::optional<QStringList> families);

// The font that "System" (or an empty family) names in controls and drawing: Liberation Sans, the
// metric twin of Arial, so captions measure the same on every machine; the application's font when it
// is not installed. Size and style are the caller's.
QFont SystemFont();

} // namespace platform
