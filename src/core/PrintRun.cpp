// The sheet drawing that the page view, the preview and the print run share: one document page with
// its backdrop and numbers, a sheet of the step-and-repeat grid in cut-and-stack order, and the run of
// sheets onto a printer.
#include "core/Module1.h"

#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/PrinterSetup.h"
#include "platform/ProcessMemory.h"

#include <algorithm>
#include <limits>

using namespace platform;

namespace Module1 {

std::int64_t CountSheets() {
    std::int32_t most = 0;
    for (std::int32_t i = 0; i < TotalObjects; ++i)
        most = std::max(most, RecPos(i, 4).Int32Value());
    APageInc = most < std::numeric_limits<std::int32_t>::max() ? most + 1 : most;
    // A grid has at least one cell each way, whatever the counts say.
    const std::int64_t cells = std::int64_t(std::max(AstepR, 1)) * std::max(AstepD, 1);
    AnupQTY = Int(double(Aqty) / double(cells));
    return cells;
}

QString RunNumbersProblem() {
    const std::int64_t cells = CountSheets();
    if (AnupQTY < 1)
        return {};
    // The numbers of the run, before each object's page increment: from the start of the first sheet's
    // first cell to the last sheet's last cell.
    const double lastBase = Astart + double(AnupQTY - 1) * APageInc + double(cells - 1) * AnupQTY * APageInc;
    for (std::int32_t j = 0; j < TotalObjects; ++j) {
        const double increment = RecPos(j, 4).DoubleValue();
        for (const double v : {Astart + increment, lastBase + increment}) {
            if (v >= 0 && v <= LargestNumber)
                continue;
            const QString why = v < 0 ? QStringLiteral("which is below 0")
                                      : QStringLiteral("which has more than fifteen digits");
            return "Number object \u201c" + RecPos(j, 0).StringValue() + "\u201d would print the number " +
                   QString::number(v, 'f', 0) + ", " + why + ".";
        }
    }
    return {};
}

std::int64_t NumbersOffPaper(double paperWidth, double paperHeight) {
    std::int64_t off = 0;
    for (std::int32_t r = 0; r < std::max(AstepR, 1); ++r)
        for (std::int32_t d = 0; d < std::max(AstepD, 1); ++d)
            for (std::int32_t j = 0; j < TotalObjects; ++j) {
                const double x = r * AstepRV + RecPos(j, 1).DoubleValue();
                const double y = d * AstepDV + RecPos(j, 2).DoubleValue();
                off += !(x >= 0 && x <= paperWidth && y >= 0 && y <= paperHeight);
            }
    return off;
}

void DrawPageCell(Graphics& g, double n, double x, double y, const QRectF& shown) {
    if (TheBackdrop.Bdx)
        TheBackdrop.Draw(g, x, y);
    DrawPageNumbers(g, n, x, y, shown);
}

void DrawPageNumbers(Graphics& g, double n, double x, double y, const QRectF& shown) {
    for (std::int32_t j = 0; j < TotalObjects; ++j)
        if (shown.isNull() || j == CurrentObject || NumberBounds(g, j, n, x, y).intersects(shown))
            DrawNumber2d(g, j, n, x, y);
}

void PrintPage(Graphics& g) {
    const bool margins = PRN && ps;
    double x = margins ? PixToMMs(ps->PageLeft()) : 0;
    double n = Astart + CurrentInc;

    if (EPSdirty && TheBackdrop.Bdx && !g.IsPrinter()) {
        // Compose the backdrop once at the picture's own resolution; every cell then only places it. A
        // printer takes the picture itself.
        const std::int32_t saved = PageResolution;
        PageResolution = ImageResolution;
        TheBackdrop.ComposeIfDirty();
        PageResolution = saved;
    }

    // Numbers step down a column, then on to the head of the next one: cut-and-stack order.
    const double sheetStep = double(std::int64_t(AnupQTY) * APageInc);
    for (std::int32_t r = 1; r <= AstepR; ++r) {
        double y = margins ? PixToMMs(ps->PageTop()) : 0;
        for (std::int32_t d = 1; d <= AstepD; ++d) {
            DrawPageCell(g, n, x, y);
            y += AstepDV;
            n += sheetStep;
        }
        x += AstepRV;
    }
}

void PrintSheets(Graphics& g) {
    // Every page takes and frees the same large buffers: kept in the process for the run, given back
    // at its end.
    KeepFreedMemory keep;
    for (std::int32_t k = 1; k <= AnupQTY; ++k) {
        PrintPage(g);
        if (k < AnupQTY)
            g.NextPage();
        CurrentInc += Aback ? -APageInc : APageInc;
    }
}

} // namespace Module1
