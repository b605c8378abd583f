// The sheet drawing that the page view, the preview and the print run share: one document page with
// its backdrop and numbers, a sheet of the step-and-repeat grid in cut-and-stack order, and the run of
// sheets onto a printer.
#include "core/Module1.h"

#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/PrinterSetup.h"

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

void DrawPageCell(Graphics& g, double n, double x, double y, const QRectF& shown) {
    if (TheBackdrop.Bdx)
        TheBackdrop.Draw(g, x, y);
    for (std::int32_t j = 0; j < TotalObjects; ++j)
        if (shown.isNull() || j == CurrentObject || NumberBounds(g, j, n, x, y).intersects(shown))
            DrawNumber2d(g, j, n, x, y);
}

void PrintPage(Graphics& g) {
    const bool margins = PRN && ps;
    double x = margins ? PixToMMs(ps->PageLeft()) : 0;
    double n = Astart + CurrentInc;

    if (EPSdirty && TheBackdrop.Bdx) {
        // Compose the backdrop once at the picture's own resolution; every cell then only places it.
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
    for (std::int32_t k = 1; k <= AnupQTY; ++k) {
        PrintPage(g);
        if (k < AnupQTY)
            g.NextPage();
        CurrentInc += Aback ? -APageInc : APageInc;
    }
}

} // namespace Module1
