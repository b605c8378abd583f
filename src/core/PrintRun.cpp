#include "core/Module1.h"

#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"
#include "platform/ProcessMemory.h"
#include "platform/Text.h"
#include "platform/Window.h"

#include <algorithm>

using namespace platform;

namespace Module1 {

namespace {
// PRN is true exactly while a print run is under way, also when drawing fails part way.
struct PrintingFlag {
    PrintingFlag() { PRN = true; }
    ~PrintingFlag() { PRN = false; }
};
} // namespace

void PrintStart() {
    PrintingFlag printing;
    if (!ps)
        ps = std::make_shared<PrinterSetup>();
    if (Len(PrintSettings) == 0) {
        if (!ps->PageSetupDialog())
            return;
        PrintSettings = ps->SetupString();
    } else {
        ps->SetSetupString(PrintSettings);
    }

    const std::int32_t savedResolution = PageResolution;
    std::unique_ptr<Graphics> g = OpenPrinterDialog(*ps);
    PageResolution = ps->HorizontalResolution();
    Window1& w = SharedInstance<Window1>();
    if (w.Bdx) {
        EPSdirty = true; // composed afresh, once, for the whole run
        if (w.Bdx->HorizontalResolution() > 0)
            ImageResolution = w.Bdx->HorizontalResolution();
    }
    PrintSettings = ps->SetupString();
    w.CheckNup();
    CurrentInc = Aback ? (AnupQTY - 1) * APageInc : 0;

    if (g) {
        KeepFreedMemory keep; // the pages' buffers are reused from sheet to sheet, not given back
        for (std::int32_t k = 1; k <= AnupQTY; ++k) {
            PrintPage(*g);
            if (k < AnupQTY)
                g->NextPage();
            CurrentInc += Aback ? -APageInc : APageInc;
        }
        g->End();
    }
    PageResolution = savedResolution;
    w.FitToPageF();
}

void PrintPage(Graphics& g) {
    Window1& w = SharedInstance<Window1>();
    double x = PRN ? PixToMMs(ps->PageLeft()) : 0;
    double n = Astart + CurrentInc;

    if (EPSdirty && w.Bdx) {
        // Compose the backdrop once at the picture's own resolution; every cell then only places it.
        const std::int32_t saved = PageResolution;
        PageResolution = ImageResolution;
        EPSredraw = false;
        w.DrawBackDrop(w.Bdx, g, x, 0);
        PageResolution = saved;
    }

    // Numbers step down a column, then on to the head of the next one: cut-and-stack order.
    const double sheetStep = double(std::int64_t(AnupQTY) * APageInc);
    for (std::int32_t r = 1; r <= AstepR; ++r) {
        double y = PRN ? PixToMMs(ps->PageTop()) : 0;
        for (std::int32_t d = 1; d <= AstepD; ++d) {
            if (w.Bdx) {
                EPSredraw = true;
                w.DrawBackDrop(w.Bdx, g, x, y);
            }
            for (std::int32_t j = 0; j < TotalObjects; ++j)
                DrawNumber2d(g, j, n, x, y);
            y += AstepDV;
            n += sheetStep;
        }
        x += AstepRV;
    }
}

void PrintPreview() {
    PRNpreview = true;
    Window1& w = SharedInstance<Window1>();
    Canvas& canvas = *w.ControlNamed<Canvas>("Canvas1");
    if (AsigWidth > 0 && AsigHeight > 0)
        PageResolution =
            Int(25.4 * std::min(double(canvas.Width()) / AsigWidth, double(canvas.Height()) / AsigHeight));
    w.DrawPage(canvas.Graphics(), AsigWidth, AsigHeight);
    auto pic = NewPicture(Int(mms(AsigWidth)), Int(mms(AsigHeight)), 32);
    w.CheckNup();
    CurrentInc = Aback ? (AnupQTY - 1) * APageInc : 0;
    if (!pic)
        return; // no room for the sheet's picture: the page view keeps its ordinary rendering
    PrintPage(pic->Graphics());
    canvas.Graphics().DrawPicture(pic, 0, 0);
}

} // namespace Module1
