// Benchmark: frames of the page view for an A4 page with 129 number objects over an A4 backdrop read
// from a file as the program reads it (a 300-dpi colour JPEG, a 600-dpi one-bit TIFF and a 600-dpi
// colour JPEG), fitted (54 dpi) and zoomed to 200 and 400 dpi on the current object, as the user
// reaches them. For each zoom, from the user's action until its frame is painted (rulers and bars
// included): a zoom step to it, Fit (fitted only), placing the backdrop as the backdrop dialog does
// (file read excluded), a repaint with nothing changed, a full repaint (the selection moves to another
// object), one scroll step and each step of dragging one object by its handle; each the median of
// many, with the peak memory of the process (VmHWM) so far. Each backdrop is measured in a fresh process
// of its own (the program started again). On a real display (QT_QPA_PLATFORM=xcb) it measures only once
// the window is shown.
// Usage: page_render [repeats [keep]]   (default 100 per figure; a second argument keeps the backdrop
// files and tells where they are; page_render --measure file repeats measures one of them)
#include "DemoDocument.h"
#include "OwnProcess.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/FolderItem.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/UserQuestions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Module1;

namespace {

QString PeakMemory() {
    const long peak = bench::StatusKiB("VmHWM:");
    return peak < 0 ? "?" : QString("%1 kB").arg(peak);
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Everything the last action asked to be painted, painted and handed to the display.
void Frame() {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

class Bench {
public:
    Bench(Window1& w, std::shared_ptr<platform::Picture> backdrop, int repeats)
        : w_(w), view_(w.Canvas1()), backdrop_(std::move(backdrop)), repeats_(repeats) {}

    // The median time of act(k) and the frame it causes, in milliseconds; prepare(k), with its own
    // frame, goes before each and is not counted.
    double Median(const std::function<void(int)>& act, const std::function<void(int)>& prepare = {}) {
        std::vector<double> times;
        for (int k = -3; k < repeats_; ++k) { // three to warm up
            if (prepare) {
                prepare(k);
                Frame();
            }
            QElapsedTimer clock;
            clock.start();
            act(k);
            Frame();
            if (k >= 0)
                times.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        return times[times.size() / 2];
    }

    // The backdrop placed over the whole page, as the backdrop dialog places a picture it has read.
    void Place() {
        TheBackdrop.SetPicture(backdrop_);
        w_.DrawPage(view_.Graphics(), AdocWidth, AdocHeight);
        EPSmaskX = EPSmaskY = 0;
        EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight;
        EPSscaleX = EPSscaleY = 100;
        QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 0;
    }
    void Remove() {
        TheBackdrop.SetPicture(nullptr);
        view_.Refresh(true);
    }

    // dpi 0: fitted.
    void Report(int dpi) {
        auto reach = [&] {
            if (dpi == 0) {
                w_.BtFit_Action();
            } else {
                PageResolution = dpi / 2;
                w_.MagEn_Action(); // zoomed in, centred on the current object
            }
        };
        reach();
        Frame();
        // The zoom step to this zoom: in from half of it (out from twice the fitted one).
        const double zoom = dpi == 0
                                ? Median([&](int) { w_.MagR1_Action(); },
                                         [&](int) {
                                             w_.BtFit_Action();
                                             w_.MagEn_Action();
                                         })
                                : Median([&](int) { w_.MagEn_Action(); }, [&](int) { w_.MagR1_Action(); });
        double fit = -1;
        if (dpi == 0)
            fit = Median([&](int) { w_.BtFit_Action(); }, [&](int) { w_.MagEn_Action(); });
        reach();
        Frame();
        const double place = Median([&](int) { Place(); }, [&](int) { Remove(); });

        const double still = Median([&](int) { view_.Refresh(false); });
        // The selection moves between the current object and its neighbour, as a click does.
        const std::int32_t chosen = CurrentObject;
        const double full = Median([&](int k) {
            CurrentObject = k % 2 ? chosen : chosen + 1;
            view_.Refresh(false);
        });
        CurrentObject = chosen;
        Frame();

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
        view_.Refresh(false);
        Frame();
        QWidget* page = view_.Widget();
        const QPoint handle(platform::Int(NHandleX) - ScrollX, platform::Int(NHandleY) - ScrollY);
        Mouse(page, QEvent::MouseButtonPress, handle, Qt::LeftButton, Qt::LeftButton);
        const bool onHandle = w_.Dragging;
        const double drag = Median([&](int k) {
            const QPoint p = handle + QPoint(k % 2 ? 0 : 2, k % 4 < 2 ? 0 : 2);
            Mouse(page, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        });
        Mouse(page, QEvent::MouseButtonRelease, handle, Qt::LeftButton, Qt::NoButton);

        auto figure = [](double ms) { return ms < 0 ? QString("  n/a ") : QString::asprintf("%6.2f", ms); };
        std::printf("  %-7s %3d dpi  zoom %s  fit %s  place %s  still %s  full %s  scroll %s  drag %s%s  "
                    "VmHWM %s\n",
                    dpi ? "zoomed" : "fitted", PageResolution, qPrintable(figure(zoom)),
                    qPrintable(figure(fit)), qPrintable(figure(place)), qPrintable(figure(still)),
                    qPrintable(figure(full)), qPrintable(figure(scroll)), qPrintable(figure(drag)),
                    onHandle ? "" : " (missed the handle)", qPrintable(PeakMemory()));
        std::fflush(stdout);
    }

private:
    Window1& w_;
    platform::Canvas& view_;
    std::shared_ptr<platform::Picture> backdrop_;
    int repeats_;
};

// One measured process: the document, the window shown, the backdrop read from file and placed.
int Measure(const QString& file, int repeats) {
    auto questions = std::make_unique<platform::ScriptedQuestions>();
    auto* asked = questions.get();
    platform::SetQuestions(std::move(questions));
    FileTypes::Init();

    demo::NewA4Document();
    demo::AddGridNumbers(129);
    Window1& w = platform::SharedInstance<Window1>();
    SyncHead(false);
    CurrentObject = 63; // in the middle of the page
    LoadSel(CurrentObject);
    w.Show(); // opens fitted
    // Nothing is painted on a real display before the window is shown there.
    QWindow* window = w.Widget()->window()->windowHandle();
    QElapsedTimer waited;
    waited.start();
    while (!(window && window->isExposed()) && waited.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        window = w.Widget()->window()->windowHandle();
    }
    if (!window || !window->isExposed()) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    Frame();

    QElapsedTimer reading;
    reading.start();
    auto picture = QVutils::OpenAsEPSpict(platform::GetFolderItem(file));
    const double read = reading.nsecsElapsed() / 1e6;
    if (!picture) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
        return 1;
    }
    const auto& view = w.Canvas1();
    std::printf("%s: %d x %d px at %d dpi, %d bits, read in %.0f ms; view %d x %d px, %s, median ms of %d\n",
                qPrintable(QFileInfo(file).fileName()), picture->Width(), picture->Height(),
                picture->HorizontalResolution(), picture->Depth(), read, view.Width(), view.Height(),
                qPrintable(QGuiApplication::platformName()), repeats);
    Bench bench(w, std::move(picture), repeats);
    bench.Place();
    Frame();
    for (int dpi : {0, 200, 400})
        bench.Report(dpi);

    for (const QString& m : asked->messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return asked->messages.isEmpty() ? 0 : 1;
}

// The backdrop files, written as a scanner would: the ticket form in colour as JPEG, one-bit as TIFF.
QStringList WriteBackdrops(const QTemporaryDir& dir) {
    QStringList files;
    for (const auto& [dpi, oneBit] : {std::pair{300, false}, {600, true}, {600, false}}) {
        QImage image = demo::MakeTicketBackdrop(dpi)->Image();
        const QString file = dir.filePath(QString("ticket-%1dpi-%2.%3")
                                              .arg(dpi)
                                              .arg(oneBit ? "one-bit" : "colour")
                                              .arg(oneBit ? "tif" : "jpg"));
        QImageWriter writer(file);
        if (oneBit) {
            image = image.convertToFormat(QImage::Format_Mono,
                                          Qt::DiffuseDither); // tints as a scanner dithers them
            writer.setCompression(1);
        } else {
            writer.setQuality(90);
        }
        if (!writer.write(image)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            std::exit(1);
        }
        files << file;
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--measure")
        return Measure(argv[2], std::max(5, atoi(argv[3])));
    const int repeats = argc > 1 ? std::max(5, atoi(argv[1])) : 100;

    QTemporaryDir dir;
    dir.setAutoRemove(argc <= 2);
    const QStringList files = WriteBackdrops(dir);
    if (argc > 2)
        std::printf("backdrop files in %s\n", qPrintable(dir.path()));
    std::printf("page_render: A4 page, 129 number objects; zoom: the step to the zoom; fit: Fit; place: the "
                "backdrop placed; still: nothing changed; full: the selection moved; scroll: one line step; "
                "drag: one step of the handle\n");
    std::fflush(stdout);
    int failed = 0;
    for (const QString& file : files)
        failed += !bench::MeasureInFreshProcess({file, QString::number(repeats)});
    return failed ? 1 : 0;
}
