// Benchmark: one full repaint of the page view (page picture rendered anew, backdrop cache copied,
// every number object drawn, visible part copied to the canvas) for an A4 page with 129 number objects
// and a 300-dpi A4 backdrop, at the resolution that fits the view and at 400 dpi.
#include "DemoDocument.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>

using namespace Module1;

namespace {

struct Timing {
    double first;  // ms, the repaint that composes the backdrop cache
    double repeat; // ms per repaint afterwards
};

// Sets the resolution as the zoom commands and the Fit button do, then times repaints.
Timing Measure(Window1& w, platform::Canvas& view, int repeats) {
    auto repaint = [&] {
        view.Refresh(false);
        view.Widget()->repaint();
    };
    QElapsedTimer clock;
    clock.start();
    repaint();
    const double first = clock.nsecsElapsed() / 1e6;
    repaint(); // warm caches
    const int before = w.updateCounter;
    clock.restart();
    for (int k = 0; k < repeats; ++k)
        repaint();
    const double total = clock.nsecsElapsed() / 1e6;
    if (w.updateCounter - before != repeats)
        std::fprintf(stderr, "warning: %d of %d repaints reached the page view\n", w.updateCounter - before,
                     repeats);
    return {first, total / repeats};
}

void Report(const char* what, const Timing& t) {
    std::printf("%-28s %4d dpi  page %4d x %4d px  %8.2f ms per repaint  (first, composing the backdrop: "
                "%.1f ms)\n",
                what, PageResolution, platform::Int(mms(AdocWidth)), platform::Int(mms(AdocHeight)), t.repeat,
                t.first);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto questions = std::make_unique<platform::ScriptedQuestions>();
    auto* asked = questions.get();
    platform::SetQuestions(std::move(questions));
    FileTypes::Init();

    demo::NewA4Document();
    demo::AddGridNumbers(129);
    Window1& w = platform::SharedInstance<Window1>();
    demo::UseBackdrop(w, demo::MakeTicketBackdrop());
    w.Show();
    QApplication::processEvents();
    auto& view = w.Canvas1();
    std::printf("page_render: A4 page, %d number objects, backdrop %d x %d px at %d dpi, view %d x %d px\n",
                TotalObjects, Module1::TheBackdrop.Bdx->Width(), Module1::TheBackdrop.Bdx->Height(),
                Module1::TheBackdrop.Bdx->HorizontalResolution(), view.Width(), view.Height());

    FitToPage = false; // the ordinary view, scrolled copy
    w.FitToPageF();
    Report("fitted (Fit button)", Measure(w, view, 200));

    PageResolution = 400; // as zooming in does
    w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
    EPSdirty = true;
    Report("zoomed in", Measure(w, view, 20));

    for (const QString& m : asked->messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return asked->messages.isEmpty() ? 0 : 1;
}
