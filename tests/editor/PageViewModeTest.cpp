// The page view's modes as the user meets them: fit mode from the Fit button until the next zoom, and
// pages too long to picture at any zoom, as a document file can bring them. What the view, its rulers
// and its scroll bars show is checked after the event loop has run.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <QApplication>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;
using ui::Choose;

namespace {

class PageViewMode : public ::testing::Test {
public:
    void SetUp() override {
        FillModNames();
        NewDoc();
        w.Show();
        ui::Activate(w);
    }
    void TearDown() override { w.SetSize(1024, 710); }

    // A document file of one page of width x height mm with a number near its top-left corner.
    static QString SavedDocument(double width, double height) {
        const QString path = testing_support::TempDir() + QString("/%1x%2.num").arg(width).arg(height);
        const double before[] = {AdocWidth, AdocHeight, AsigWidth, AsigHeight};
        const std::int32_t objects = TotalObjects;
        AdocWidth = AsigWidth = width, AdocHeight = AsigHeight = height;
        TotalObjects = 0;
        testing_support::AddObject({.x = 20, .y = 40, .font = "Liberation Sans", .size = 30});
        EXPECT_TRUE(testing_support::WriteDocumentFile(path));
        AdocWidth = before[0], AdocHeight = before[1], AsigWidth = before[2], AsigHeight = before[3];
        TotalObjects = objects;
        SyncHead(false);
        return path;
    }

    void Open(const QString& file) {
        Scripted().fileAnswers = {file};
        DirtyFlag = false; // nothing to ask about first
        Choose("FileOpen");
    }
    void Click(BevelButton& b) { ui::Click(b, 15, 15); }

    // What of the view is not the page where the scroll offsets put it (white, for a page whose only
    // number lies near its corner) with the background beside it.
    QString PageArea() {
        const QImage shown = ui::Shown(view);
        const QRgb back = view.Widget()->palette().color(QPalette::Window).rgb();
        const QRect page(-ScrollX, -ScrollY, Int(mms(AdocWidth)), Int(mms(AdocHeight)));
        const QRect number(QPoint(Int(mms(10)), Int(mms(25))) - QPoint(ScrollX, ScrollY),
                           QPoint(Int(mms(60)), Int(mms(45))) - QPoint(ScrollX, ScrollY));
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                if (number.contains(x, y) && page.contains(x, y))
                    continue;
                const QRgb want = page.contains(x, y) ? qRgb(255, 255, 255) : back;
                if (shown.pixel(x, y) != want)
                    return QString("%1, %2 is %3").arg(x).arg(y).arg(shown.pixel(x, y), 0, 16);
            }
        return {};
    }

    // What keeps the rulers from measuring the page on screen: each ruler canvas shows its picture, drawn
    // for the page at the view's resolution, from the scroll offset, and has ticks.
    QString RulerFaults() {
        QString faults;
        const struct {
            const char* name;
            Canvas& canvas;
            std::shared_ptr<Picture> picture;
            double length;
            bool across;
        } rulers[] = {{"top", w.Canvas2(), w.gtx, AdocWidth, true},
                      {"left", w.Canvas3(), w.glx, AdocHeight, false}};
        for (const auto& r : rulers) {
            const QImage shown = ui::Shown(r.canvas).convertToFormat(QImage::Format_RGB32);
            if (!r.picture) {
                faults += QString(" no %1 ruler;").arg(r.name);
                continue;
            }
            const int along = r.across ? r.picture->Width() : r.picture->Height();
            if (along != std::min<qint64>(Int(mms(r.length)), MaxPictureSide))
                faults += QString(" %1 ruler %2 pixels long;").arg(r.name).arg(along);
            const QPoint from = r.across ? QPoint(ScrollX, 0) : QPoint(0, ScrollY);
            const QImage part =
                r.picture->Image().copy(QRect(from, shown.size())).convertToFormat(QImage::Format_RGB32);
            if (testing_support::InkBox(part).isEmpty())
                faults += QString(" %1 ruler blank;").arg(r.name);
            const QRect within =
                QRect(QPoint(), shown.size()) & QRect(QPoint(), r.picture->Image().size()).translated(-from);
            if (shown.copy(within) != part.copy(within))
                faults += QString(" %1 ruler not its picture;").arg(r.name);
        }
        return faults;
    }

    // Fit mode, the whole page in view, and one more dot per inch would not fit it.
    void ExpectFitted() {
        EXPECT_TRUE(FitToPage);
        EXPECT_TRUE(Int(mms(AdocWidth)) <= view.Width() && Int(mms(AdocHeight)) <= view.Height())
            << PageResolution;
        EXPECT_TRUE(PageResolution + 1 >
                    std::min(25.4 * view.Width() / AdocWidth, 25.4 * view.Height() / AdocHeight));
        EXPECT_FALSE(across.Visible() || down.Visible());
    }

    Window1& w = SharedInstance<Window1>();
    Canvas& view = w.Canvas1();
    ScrollBar& across = w.ScrollBar1();
    ScrollBar& down = w.ScrollBar2();
};

} // namespace

// Fit enters fit mode, which lasts until the next zoom: a new page size, another document, a new
// document and a new window size all fit the page again.
TEST_F(PageViewMode, FitEntersFitModeUntilTheNextZoom) {
    const QString other = SavedDocument(594, 420);
    ListBox& parameters = w.ListBox2();
    const struct {
        const char* name;
        std::function<void()> act;
        bool fitted;
        int dpi; // when not fitted
    } cases[] = {
        {"a wider page typed", [&] { ui::TypeInto(parameters, 1, "420"), ui::ClickCell(parameters, 5, 2); },
         true},
        {"another document opened", [&] { Open(other); }, true},
        {"File > New", [&] { Choose("FileCreate"); }, true},
        {"the window made larger", [&] { w.SetSize(1300, 900); }, true},
        {"zoomed out after Fit, then a taller page typed",
         [&] { Click(w.MagR1()), ui::TypeInto(parameters, 2, "600"), ui::ClickCell(parameters, 5, 2); },
         false, 50},
        {"zoomed out after Fit, then File > New", [&] { Click(w.MagR1()), Choose("FileCreate"); }, false,
         100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirtyFlag = false, Filename.clear();
        NewDoc(); // A4, not zoomed yet
        w.SetSize(1024, 710);
        Click(w.MagEn());
        ASSERT_FALSE(FitToPage);
        Click(w.BtFit());
        c.act();
        EXPECT_EQ(PageArea(), "");
        EXPECT_EQ(RulerFaults(), "");
        if (c.fitted) {
            ExpectFitted();
        } else {
            EXPECT_FALSE(FitToPage);
            EXPECT_EQ(PageResolution, c.dpi);
        }
    }
}

// A page too long to picture at the zoom (kilometres, or 1e12 mm) leaves the view fitted at 1 dpi or
// more with its rulers and a scroll bar to reach what does not fit; a page of ordinary size afterwards
// shows fitted again. Files and typing refuse such sizes, but the view does not rely on it: the sizes
// are put into the document here as a reader would, and the view rebuilt as after an open.
TEST_F(PageViewMode, PagesTooLongToPictureLeaveTheViewUsable) {
    const auto page = [&](double width, double height) {
        return [&w = w, width, height] {
            AdocWidth = AsigWidth = width, AdocHeight = AsigHeight = height;
            SyncHead(false), SaveHead();
            w.DrawPage(w.Canvas1().Graphics(), AdocWidth, AdocHeight);
            w.Canvas1().Refresh(false);
            QApplication::processEvents();
        };
    };
    const auto wide = page(20000, 297), wider = page(100000, 297), widest = page(1e12, 297),
               tallest = page(210, 1e12);
    const QString ordinary = SavedDocument(105, 297);
    const struct {
        const char* name;
        std::function<void()> act;
        bool fitted;
        int dpi; // 0: fitted, with the whole page in view
    } steps[] = {
        {"a page 20 m wide", wide, true, 1},
        {"zoomed in on it", [&] { Click(w.MagEn()); }, false, 50},
        {"a page 100 m wide while zoomed", wider, true, 1},
        {"zoomed in on that: too long to picture, nothing changes", [&] { Click(w.MagEn()); }, true, 1},
        {"an ordinary page after it", [&] { Open(ordinary); }, true, 0},
        {"a page 1e12 mm wide", widest, true, 1},
        {"scrolled as far as it goes", [&] { across.SetValue(across.Maximum()); }, true, 1},
        {"a page 1e12 mm high", tallest, true, 1},
        {"scrolled down as far as it goes", [&] { down.SetValue(down.Maximum()); }, true, 1},
        {"an ordinary page again", [&] { Open(ordinary); }, true, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_GE(PageResolution, 1);
        if (step.dpi)
            EXPECT_EQ(PageResolution, step.dpi);
        else
            ExpectFitted();
        EXPECT_EQ(FitToPage, step.fitted);
        EXPECT_EQ(RulerFaults(), "");
        EXPECT_EQ(PageArea(), "");
        // The bars reach what does not fit, and the view shows where they say.
        EXPECT_EQ(across.Visible(), Int(mms(AdocWidth)) > view.Width());
        EXPECT_EQ(down.Visible(), Int(mms(AdocHeight)) > view.Height());
        EXPECT_EQ(QPoint(ScrollX, ScrollY),
                  QPoint(across.Visible() ? across.Value() : 0, down.Visible() ? down.Value() : 0));
        // The pointer reads the page position it is over (to the hundredth).
        ui::Move(view.Widget(), {100, 5});
        EXPECT_NEAR(Val(w.CurX().Text()), PixToMMs(100 + ScrollX), 0.006);
        EXPECT_NEAR(Val(w.CurY().Text()), PixToMMs(5 + ScrollY), 0.006);
    }
    EXPECT_TRUE(Scripted().messages.isEmpty()) << Scripted().messages.join("; ").toStdString();
}

// Ruler ticks stay one pixel wide and apart at every resolution, down to 1 dpi, where every 5 or 10 mm
// would run together into a black band: what cannot be told apart is left out. (The left ruler's ticks
// follow the same steps; its labels stand on them, so the top ruler is the one measured.)
TEST_F(PageViewMode, RulerTicksStayApartAtEveryResolution) {
    AdocWidth = AdocHeight = 3000;
    for (int dpi : {1, 2, 5, 8, 10, 15, 16, 30, 54, 79}) {
        SCOPED_TRACE(dpi);
        FitToPage = false, PageResolution = dpi;
        w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        ASSERT_EQ(PageResolution, dpi);
        const QImage ruler = ui::Shown(w.Canvas2());
        const int along = std::min(ruler.width(), Int(mms(AdocWidth)));
        // Rows 11 to 19 hold nothing but ticks, the labels standing above them.
        auto ink = [&](int x, int y) { return qGray(ruler.pixel(x, y)) < 160; };
        int ticks = 0;
        for (int x = 0; x < along; ++x) {
            ticks += ink(x, 19);
            for (int y = 11; y < 20 && x + 1 < along; ++y)
                ASSERT_FALSE(ink(x, y) && ink(x + 1, y)) << "ticks run together at " << x << ", " << y;
        }
        EXPECT_GE(ticks, 2);
    }
}
