// Benchmark: repaints of the page view for an A4 page with 129 number objects and a 300-dpi A4 backdrop,
// fitted (54 dpi) and zoomed to 200 and 400 dpi on the current object, as the user reaches them.
// For each zoom: a repaint with nothing changed, a full repaint (the selection moves to another
// object), a repaint after one scroll step, and a repaint after each step of dragging one object by
// its handle; each the median of many, with the peak memory of the process (VmHWM) so far.
// Usage: page_render [repeats]   (default 200 per figure)
#include "DemoDocument.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Module1;

namespace {

QString PeakMemory() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).simplified());
    return "?";
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class Bench {
public:
    Bench(Window1& w, int repeats) : w_(w), view_(w.Canvas1()), repeats_(repeats) {}

    // The median time of step(k) followed by the repaint it causes, in milliseconds.
    double Median(const std::function<void(int)>& step) {
        std::vector<double> times;
        for (int k = -3; k < repeats_; ++k) { // three to warm up
            QElapsedTimer clock;
            clock.start();
            step(k);
            view_.Widget()->repaint();
            if (k >= 0)
                times.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        return times[times.size() / 2];
    }

    double FirstPaint() {
        QElapsedTimer clock;
        clock.start();
        view_.Widget()->repaint();
        return clock.nsecsElapsed() / 1e6;
    }

    void Report(const char* zoom, double first) {
        const double still = Median([&](int) { view_.Refresh(false); });

        // The selection moves between the current object and its neighbour, as a click does.
        const std::int32_t chosen = CurrentObject;
        const double full = Median([&](int k) {
            CurrentObject = k % 2 ? chosen : chosen + 1;
            view_.Refresh(false);
        });
        CurrentObject = chosen;
        view_.Widget()->repaint();

        // One line step of the horizontal bar, back and forth.
        auto& across = w_.ScrollBar1();
        double scroll = -1;
        if (across.Visible() && across.Maximum() > across.LineStep()) {
            const int at = std::min(across.Value(), across.Maximum() - across.LineStep());
            scroll = Median([&](int k) { across.SetValue(k % 2 ? at : at + across.LineStep()); });
            across.SetValue(at);
        }

        // The current object dragged by its handle, two pixels at a time, to and fro.
        LoadSel(CurrentObject);
        view_.Widget()->repaint();
        QWidget* page = view_.Widget();
        const QPoint handle(platform::Int(NHandleX) - ScrollX, platform::Int(NHandleY) - ScrollY);
        Mouse(page, QEvent::MouseButtonPress, handle, Qt::LeftButton, Qt::LeftButton);
        const bool onHandle = w_.Dragging;
        const double drag = Median([&](int k) {
            const QPoint p = handle + QPoint(k % 2 ? 0 : 2, k % 4 < 2 ? 0 : 2);
            Mouse(page, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        });
        Mouse(page, QEvent::MouseButtonRelease, handle, Qt::LeftButton, Qt::NoButton);

        std::printf("%-7s %3d dpi  still %6.2f  full %6.2f  scroll %s  drag %6.2f%s  (first paint %.1f)  "
                    "VmHWM %s\n",
                    zoom, PageResolution, still, full,
                    scroll < 0 ? "  n/a " : qPrintable(QString::asprintf("%6.2f", scroll)), drag,
                    onHandle ? "" : " (missed the handle)", first, qPrintable(PeakMemory()));
        std::fflush(stdout);
    }

private:
    Window1& w_;
    platform::Canvas& view_;
    int repeats_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(5, atoi(argv[1])) : 200;
    auto questions = std::make_unique<platform::ScriptedQuestions>();
    auto* asked = questions.get();
    platform::SetQuestions(std::move(questions));
    FileTypes::Init();

    demo::NewA4Document();
    demo::AddGridNumbers(129);
    Window1& w = platform::SharedInstance<Window1>();
    demo::UseBackdrop(w, demo::MakeTicketBackdrop());
    SyncHead(false);
    CurrentObject = 63; // in the middle of the page
    LoadSel(CurrentObject);
    w.Show(); // opens fitted
    QApplication::processEvents();
    auto& view = w.Canvas1();
    std::printf("page_render: A4 page, %d number objects, backdrop %d x %d px at %d dpi, view %d x %d px, "
                "median ms of %d\n",
                TotalObjects, TheBackdrop.Bdx->Width(), TheBackdrop.Bdx->Height(),
                TheBackdrop.Bdx->HorizontalResolution(), view.Width(), view.Height(), repeats);
    std::printf("still: nothing changed; full: the selection moved; scroll: one line step; drag: one step "
                "of the handle\n");

    Bench bench(w, repeats);
    w.BtFit_Action();
    bench.Report("fitted", bench.FirstPaint());
    for (int dpi : {200, 400}) {
        PageResolution = dpi / 2;
        w.MagEn_Action(); // zoomed in, centred on the current object
        bench.Report("zoomed", bench.FirstPaint());
    }

    for (const QString& m : asked->messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return asked->messages.isEmpty() ? 0 : 1;
}
