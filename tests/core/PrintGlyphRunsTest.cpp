#include "TestSupport.h"
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "platform/Graphics.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;

namespace {

// Every word of every page with its box, as pdftotext reads them.
QStringList WordBoxes(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    p.waitForFinished();
    QStringList words;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.contains("<word") || line.contains("<page"))
            words << line.trimmed();
    return words;
}

QString Print(const QString& name, bool glyphRuns) {
    const QString pdf = TempDir() + "/" + name;
    platform::Graphics::SetGlyphRuns(glyphRuns);
    Scripted().printAnswers = {pdf};
    PrintStart();
    platform::Graphics::SetGlyphRuns(true);
    return pdf;
}

} // namespace

// The numbers a run draws as glyph runs reach the PDF as the same words in the same boxes as the ones
// drawn through the text layout: level, turned a quarter and by an odd angle, with check digits,
// shifted into letters, next to kerned letters, and with a character the font has no glyph for.
TEST(PrintGlyphRuns, PdfHoldsTheSameWordsInTheSameBoxesAsTheTextLayout) {
    InitGlobals();
    FileTypes::Init();
    ps.reset();
    PrintSettings.clear();
    PageResolution = 100;
    AdocWidth = 105, AdocHeight = 99, AsigWidth = 210, AsigHeight = 297;
    AstepR = 2, AstepRV = 105, AstepD = 3, AstepDV = 99;
    Astart = 1, Aqty = 12, Aback = false, CurrentObject = -1;
    struct Object {
        double x, y;
        QString picture;
        const char* method;
        const char* font;
        const char* style;
        double size, angle;
        QString first; // its text on the first sheet, first cell
    } objects[] = {
        {20, 15, "/#######", "0, None", "Arial", "Normal", 14, 0, "0000001"},
        {20, 30, "/######-#", "1, Mod 7", "Arial", "Bold", 12, 0, "000001-1"},
        {95, 80, "/#######", "0, None", "Arial", "Normal", 10, 90, "0000001"},
        {55, 70, "/#######", "0, None", "DejaVu Sans", "Italic", 11, 37, ""}, // read in pieces
        {20, 75, "/#########", "7, EAN", "DejaVu Sans", "Normal", 11, 0, "000000017"},
        {20, 45, "/^A#######", "0, None", "Liberation Serif", "BoldItalic", 12, 0, "AAAAAAB"},
        {20, 60, "AV-#####", "0, None", "Arial", "Normal", 12, 0, "AV-1"},
        {60, 15, "\u0180######", "0, None", "Arial", "Normal", 12, 0, "\u01801"},
    };
    TotalObjects = 0;
    for (const Object& o : objects) {
        const platform::Variant fields[] = {"n",    o.x,     o.y,    o.picture,          0.0,    o.method,
                                            o.font, o.style, o.size, "C000M000Y000K100", o.angle};
        for (int f = 0; f < 11; ++f)
            RecPos(TotalObjects, f) = fields[f];
        RecPos(TotalObjects++, 14) = platform::RGB(0, 0, 0);
    }

    const QStringList runs = WordBoxes(Print("runs.pdf", true));
    const QStringList layout = WordBoxes(Print("layout.pdf", false));
    EXPECT_EQ(runs, layout);
    EXPECT_EQ(runs.filter("<page").size(), 2);
    for (const Object& o : objects)
        EXPECT_TRUE(o.first.isEmpty() || runs.join('\n').contains(">" + o.first + "</word>")) << o.first.toStdString();
}
