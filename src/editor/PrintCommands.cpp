// The window side of printing: the printer dialogs around the run of sheets, and the preview of the
// first sheet in the page view.
#include "editor/DocumentCommands.h"

#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/PrinterSetup.h"
#include "platform/Text.h"
#include "platform/UserQuestions.h"

#include <algorithm>
#include <cmath>

using namespace platform;

namespace Module1 {

namespace {
// PRN is true exactly while a print run is under way, also when drawing fails part way.
struct PrintingFlag {
    PrintingFlag() { PRN = true; }
    ~PrintingFlag() { PRN = false; }
};

// With numbers of some cells off the chosen paper, asks whether to print all the same.
bool OffPaperAccepted() {
    const double dpi = ps->HorizontalResolution();
    const double width = ps->Width() / dpi * 25.4, height = ps->Height() / dpi * 25.4;
    const std::int64_t off = NumbersOffPaper(width, height);
    if (off == 0)
        return true;
    const std::int64_t all = std::int64_t(std::max(AstepR, 1)) * std::max(AstepD, 1) * TotalObjects;
    return Questions().AskGoOn(QString("%1 of the %2 numbers of each sheet would be placed off the paper "
                                       "(%3 x %4 mm) and not be printed.")
                                   .arg(off)
                                   .arg(all)
                                   .arg(std::round(width))
                                   .arg(std::round(height)),
                               QStringLiteral("Print Anyway"));
}
} // namespace

void PrintStart() {
    // A run that would print wrong numbers, or no sheet at all, is refused before anything is asked.
    if (const QString problem = RunNumbersProblem(); !problem.isEmpty()) {
        MsgBox("Nothing was printed. " + problem);
        return;
    }
    if (AnupQTY < 1) {
        const std::int64_t cells = CountSheets();
        MsgBox(QString("Nothing to print: the quantity %1 does not fill one sheet of %2 pages.")
                   .arg(Aqty)
                   .arg(cells));
        return;
    }
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
    const bool confirmed = ShowPrintDialog(*ps);
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

    // The document starts only now, so that a run cancelled here leaves no file and feeds no paper.
    if (confirmed && OffPaperAccepted()) {
        if (std::unique_ptr<Graphics> g = StartPrinting(*ps)) {
            PrintSheets(*g);
            g->End();
        }
    }
    PageResolution = savedResolution;
    w.FitToPageF();
}

void PrintPreview() {
    if (const QString problem = RunNumbersProblem(); !problem.isEmpty()) {
        MsgBox("No preview is shown. " + problem);
        return;
    }
    if (!SharedInstance<Window1>().ShowPreview())
        MsgBox(QString("No preview is shown. A sheet of %1 x %2 mm cannot be shown on screen.")
                   .arg(Str(AsigWidth), Str(AsigHeight)));
}

} // namespace Module1
