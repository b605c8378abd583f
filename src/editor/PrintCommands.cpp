// The window side of printing: the printer dialogs around the run of sheets, and the preview of the
// first sheet in the page view.
#include "editor/DocumentCommands.h"

#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"
#include "platform/Text.h"

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
    if (const auto& picture = TheBackdrop.Bdx) {
        EPSdirty = true; // composed afresh, once, for the whole run
        if (picture->HorizontalResolution() > 0)
            ImageResolution = picture->HorizontalResolution();
    }
    PrintSettings = ps->SetupString();
    Window1& w = SharedInstance<Window1>();
    w.CheckNup();
    CurrentInc = Aback ? (AnupQTY - 1) * APageInc : 0;

    if (g) {
        PrintSheets(*g);
        g->End();
    }
    PageResolution = savedResolution;
    w.FitToPageF();
}

void PrintPreview() {
    PRNpreview = true;
    Window1& w = SharedInstance<Window1>();
    Canvas& canvas = w.Canvas1();
    if (AsigWidth > 0 && AsigHeight > 0)
        PageResolution =
            Int(25.4 * std::min(double(canvas.Width()) / AsigWidth, double(canvas.Height()) / AsigHeight));
    w.DrawPage(canvas.Graphics(), AsigWidth, AsigHeight);
    w.PreviewSheet = NewPicture(Int(mms(AsigWidth)), Int(mms(AsigHeight)), 32);
    w.CheckNup();
    CurrentInc = Aback ? (AnupQTY - 1) * APageInc : 0;
    // With no room for the sheet's picture the page view keeps its ordinary rendering.
    if (w.PreviewSheet) {
        PrintPage(w.PreviewSheet->Graphics());
        w.PreviewSheet->Graphics().End();
    }
    canvas.Refresh(false);
}

} // namespace Module1
