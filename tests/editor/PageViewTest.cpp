// The page view: its pictures, rulers, scroll ranges, sheet counts and backdrop, and what it shows on
// screen as the user zooms, scrolls, selects, drags, resizes and changes the page: the canvas, grabbed
// after the event loop has run, against the whole page drawn at once.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QApplication>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::AddObject;
using testing_support::InkBox;
using testing_support::Scripted;

namespace {

// A new A4 document at 100 dpi in the main window, not yet shown.
class PageView : public ::testing::Test {
public:
    void SetUp() override {
        FillModNames();
        NewDoc();
    }

    // A blue 1000 x 500 picture at 200 dpi, scaled to cover the whole page.
    static void BlueBackdrop() {
        auto blue = NewPicture(1000, 500, 32);
        blue->Graphics().ForeColor = RGB(0, 0, 255);
        blue->Graphics().FillRect(0, 0, 1000, 500);
        blue->SetHorizontalResolution(200), blue->SetVerticalResolution(200);
        TheBackdrop.SetPicture(blue);
        EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight;
        EPSscaleX = AdocWidth * 20 / 25.4 + 1, EPSscaleY = AdocHeight * 40 / 25.4 + 1;
        EPSdirty = true;
    }

    QRgb Background() const { return view.Widget()->palette().color(QPalette::Window).rgb(); }

    Window1& w = SharedInstance<Window1>();
    Canvas& view = w.Canvas1();
    ScrollBar& across = w.ScrollBar1();
    ScrollBar& down = w.ScrollBar2();
};

// The window shown (fitted, as it opens) and active.
class PageViewShown : public PageView {
public:
    void SetUp() override {
        PageView::SetUp();
        w.Show();
        ui::Activate(w);
    }

    // Objects all over an A4 page, some turned, one alone near the top-left and the bottom-right
    // corners; a striped backdrop.
    void Document() {
        for (int k = 0; k < 40; ++k)
            AddObject({.x = 15.0 + k % 5 * 40,
                       .y = 30.0 + k / 5 * 30,
                       .increment = double(k % 3),
                       .font = "Liberation Sans",
                       .style = k % 3 ? "Bold" : "Italic",
                       .size = 10.0 + k % 4 * 6,
                       .angle = k % 6 == 0   ? 35.0
                                : k % 7 == 0 ? 90
                                             : 0,
                       .display = k % 2 ? RGB(0, 0, 160) : RGB(150, 0, 0)});
        AddObject({.x = 5, .y = 5, .font = "Liberation Sans", .size = 12});
        AddObject({.x = 196, .y = 290, .font = "Liberation Sans", .style = "Bold", .size = 16});
        auto stripes = NewPicture(413, 584, 32); // A4 at 50 dpi
        Graphics& g = stripes->Graphics();
        g.PenWidth = g.PenHeight = 5;
        for (int x = -584; x < 413; x += 12) {
            g.ForeColor = x % 24 ? RGB(255, 230, 200) : RGB(200, 230, 255);
            g.DrawLine(x, 0, x + 584, 584);
        }
        stripes->SetHorizontalResolution(50), stripes->SetVerticalResolution(50);
        TheBackdrop.SetPicture(stripes);
        EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight, EPSscaleX = EPSscaleY = 100;
        CurrentObject = 0;
        LoadSel(0);
        view.Refresh(false);
    }

    // Pixels of the view that differ from the whole page drawn at once (with the rubber band) at the
    // scroll offsets, and what lies beside the page drawn in anything but the background. Large turned
    // or slanted text may be smoothed a little differently when drawn in parts.
    QString Mismatch() {
        const QImage shown = ui::Shown(view);
        EPSdirty = true; // the backdrop composed for the whole page at once
        TheBackdrop.ComposeIfDirty();
        auto whole = NewPicture(Int(mms(AdocWidth)), Int(mms(AdocHeight)), 32);
        Graphics& g = whole->Graphics();
        DrawPageCell(g, Astart, 0, 0);
        if (w.DrawSelection) {
            g.ForeColor = RGB(200, 200, 200);
            g.PenWidth = g.PenHeight = 2;
            g.DrawRect(w.CCurX, w.CCurY, w.EndX - w.CCurX, w.EndY - w.CCurY);
        }
        const QImage page = whole->Image().convertToFormat(QImage::Format_RGB32);
        const QRect part(0, 0, std::min(page.width() - ScrollX, shown.width()),
                         std::min(page.height() - ScrollY, shown.height()));
        auto near = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) <= 16 && std::abs(qGreen(a) - qGreen(b)) <= 16 &&
                   std::abs(qBlue(a) - qBlue(b)) <= 16;
        };
        int wrong = 0;
        QPoint first;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const bool onPage = part.contains(x, y); // beside it, the background exactly
                const QRgb want = onPage ? page.pixel(x + ScrollX, y + ScrollY) : Background();
                if (!(onPage ? near(shown.pixel(x, y), want) : shown.pixel(x, y) == want) && !wrong++)
                    first = QPoint(x, y);
            }
        return wrong ? QString("%1 pixels, the first at %2, %3").arg(wrong).arg(first.x()).arg(first.y())
                     : QString();
    }

    // The view pixel where object i's anchor shows.
    QPoint Anchor(int i) const {
        return QPoint(Int(mms(RecPos(i, 1).DoubleValue())) - ScrollX,
                      Int(mms(RecPos(i, 2).DoubleValue())) - ScrollY);
    }
    void Click(BevelButton& b) { ui::Click(b, 15, 15); }
    QWidget* Page() const { return view.Widget(); }
};

// What keeps the labels of a top ruler picture from reading as they should: each of labels (mm) whole
// and centred on its tick (or kept within the ruler at its ends), nothing within three columns of it;
// elsewhere in the label band nothing but single tick lines.
QString LabelFaults(const QImage& ruler, int width, const QList<int>& labels) {
    const auto scratch = NewPicture(10, 10, 32);
    Graphics& measure = scratch->Graphics();
    measure.TextFont = "Arial", measure.TextSize = 10;
    auto ink = [&](int x) {
        for (int y = 1; y <= 8; ++y)
            if (x >= 0 && x < width && qGray(ruler.pixel(x, y)) < 160)
                return true;
        return false;
    };
    QString faults;
    QList<bool> label(width, false);
    for (int mm : labels) {
        const double size = measure.StringWidth(Str(mm));
        const double left = std::max(0.0, std::min<double>(Int(mms(mm) - size / 2), width - size));
        const int from = int(std::floor(left)), to = int(std::ceil(left + size)) - 1;
        int first = -1, last = -1;
        for (int x = from; x <= to; ++x)
            if (ink(x))
                first = first < 0 ? x : first, last = x;
        if (first < 0 || last - first < size - 3)
            faults += QString(" %1 cut or missing;").arg(mm);
        for (int d = 2; d <= 3; ++d) // a column of smoothing either side is the label's own
            if (ink(from - d) || ink(to + d))
                faults += QString(" %1 touched;").arg(mm);
        for (int x = from - 1; x <= to + 1; ++x)
            if (x >= 0 && x < width)
                label[x] = true;
    }
    for (int x = 0; x + 1 < width; ++x)
        if (!label[x] && ink(x) && ink(x + 1) && !label[x + 1])
            return faults + QString(" more than a tick at %1;").arg(x);
    return faults;
}

} // namespace

TEST_F(PageView, ScrollRangesReachThePageEdges) {
    const struct {
        int dpi, width, height, viewWidth, viewHeight;
        QList<int> expected; // across maximum, page and line step; down likewise
    } cases[] = {
        {254, 210, 297, 750, 600, {1350, 750, 15, 2370, 600, 12}},
        {100, 210, 297, 734, 641, {92, 734, 14, 528, 641, 12}},
    };
    across.SetMaximum(2000), across.SetValue(1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        PageResolution = c.dpi, ScrollX = ScrollY = 33, EPSdirty = false;
        w.DrawPage(NewPicture(c.viewWidth, c.viewHeight, 32)->Graphics(), c.width, c.height);
        EXPECT_EQ(QList<int>({across.Maximum(), across.PageStep(), across.LineStep(), down.Maximum(),
                              down.PageStep(), down.LineStep()}),
                  c.expected);
        // The view's picture holds what the view shows: the scroll bars' values, kept within range.
        EXPECT_EQ(QSize(w.gx->Width(), w.gx->Height()), QSize(view.Width(), view.Height()));
        EXPECT_EQ(QPoint(ScrollX, ScrollY), QPoint(across.Value(), down.Value()));
        EXPECT_TRUE(EPSdirty); // the backdrop is composed again at the new resolution
    }
    // The bars appear when the page is a pixel wider than the view.
    auto target = NewPicture(734, 734, 32);
    PageResolution = 254; // 10 pixels a mm
    for (auto [mm, shown] : {std::pair{73.5, true}, {73.49, false}}) {
        SCOPED_TRACE(mm);
        AdocWidth = AdocHeight = mm, ScrollX = ScrollY = 1;
        w.Update(target->Graphics());
        EXPECT_EQ(QList<bool>({across.Visible(), down.Visible()}), QList<bool>({shown, shown}));
        EXPECT_EQ(QPoint(ScrollX, ScrollY), shown ? QPoint(1, 1) : QPoint(0, 0));
    }
}

TEST_F(PageView, CheckNupCountsNumbersPerPageAndSheets) {
    const struct {
        std::vector<int> increments;
        int across, down, quantity, pageInc, sheets;
        const char* cells;
    } cases[] = {
        {{}, 1, 1, 50, 1, 50, "1 up ="},
        {{0, 1, 3}, 2, 5, 1000, 4, 100, "10 up ="},
        {{-2, -5}, 3, 1, 10, 1, 3, "3 up ="},
        {{}, 0, -4, 7, 1, 7, "1 up ="},
        {{}, 100000, 100000, 5, 1, 0, "10000000000 up ="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cells);
        TotalObjects = 0;
        for (int inc : c.increments)
            AddObject({.x = 10, .y = 10, .increment = double(inc)});
        AstepR = c.across, AstepD = c.down, Aqty = c.quantity;
        w.CheckNup();
        EXPECT_EQ(QList<std::int64_t>({APageInc, AnupQTY}), QList<std::int64_t>({c.pageInc, c.sheets}));
        EXPECT_EQ(w.EdNup().Text(), QString::number(c.sheets));
        EXPECT_EQ(w.StaticText11().Text(), c.cells);
    }
    // The status line counts the objects and gives the current one's size as last drawn.
    AddObject({.x = 20, .y = 50});
    CurrentObject = -1, CurrentObjectWidth = 12.5, CurrentObjectHeight = 4.25;
    w.UpdateViewer();
    EXPECT_EQ(w.StatNumObj().Text(), "Props: 1 Obj - W=12.5 H=4.25");
    // The current object is measured as it is drawn, also into a view picture not made yet.
    for (int k = 1; k < 3; ++k)
        AddObject({.x = 20.0 + 40 * k, .y = 50});
    CurrentObject = 1, w.gx = nullptr;
    w.UpdateViewer();
    EXPECT_GT(CurrentObjectWidth, 1); // the text "1"
    EXPECT_EQ(w.StatNumObj().Text(), "Props: 3 Obj - W=" + Format(CurrentObjectWidth, "###.###") +
                                         " H=" + Format(CurrentObjectHeight, "###.###"));
    ASSERT_NE(w.gx, nullptr);
    EXPECT_EQ(QSize(w.gx->Width(), w.gx->Height()), QSize(view.Width(), view.Height()));
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// The window opens fitted, scrolled to the corner and with no scroll bars, before anything is painted.
TEST_F(PageView, OpeningFitsThePageWithNoScrollBars) {
    PageResolution = 100, FitToPage = false;
    across.SetMaximum(500), down.SetMaximum(500);
    across.SetValue(40), down.SetValue(30), ScrollX = 40, ScrollY = 30;
    across.SetVisible(true), down.SetVisible(true);
    w.Show();
    EXPECT_TRUE(FitToPage);
    EXPECT_EQ(PageResolution, 54) << "the resolution at which A4 fits the 734 x 641 view";
    EXPECT_FALSE(across.Visible() || down.Visible());
    EXPECT_EQ(QList<int>({across.Value(), down.Value(), ScrollX, ScrollY, w.updateCounter}),
              QList<int>({0, 0, 0, 0, 0}));
}

TEST_F(PageView, FitToPageChoosesTheResolutionThatFitsTheView) {
    const struct {
        double width, height;
        int dpi;
    } cases[] = {{210, 297, 54}, {297, 210, 62}, {0, 297, 123}, {210, -5, 123}, {1e7, 1e7, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 x %2").arg(c.width).arg(c.height).toStdString());
        PageResolution = 123, AdocWidth = c.width, AdocHeight = c.height, EPSdirty = false;
        w.FitToPageF();
        EXPECT_EQ(PageResolution, c.dpi);
        EXPECT_TRUE(EPSdirty);
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, BackdropDrawnAtItsScaledSizeAndOffsetInsideTheMask) {
    const struct {
        double scaleX, scaleY, boxX, boxY, maskX, maskY, maskWidth;
        QRect drawn; // in the cache, in page pixels at 100 dpi
    } cases[] = {
        {100, 50, 0, 0, 0, 0, 200, {0, 0, 500, 125}},    {50, 50, 0, 0, 0, 0, 200, {0, 0, 250, 125}},
        {100, 50, 10, 0, 0, 0, 200, {0, 0, 461, 125}},   {100, 50, 0, 10, 0, 0, 200, {0, 0, 500, 86}},
        {100, 50, 10, 0, 20, 0, 200, {78, 0, 461, 125}}, {100, 50, 0, 0, 0, 30, 200, {0, 118, 500, 125}},
        {100, 50, 0, 0, 20, 0, 50, {78, 0, 196, 125}},
    };
    BlueBackdrop();
    auto target = NewPicture(10, 10, 32);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.drawn));
        EPSscaleX = c.scaleX, EPSscaleY = c.scaleY;
        QVutils::EPSBoundBoxX = c.boxX, QVutils::EPSBoundBoxY = c.boxY;
        EPSmaskX = c.maskX, EPSmaskY = c.maskY, EPSmaskWidth = c.maskWidth, EPSmaskHeight = 100;
        EPSdirty = true;
        w.DrawBackDrop(TheBackdrop.Bdx, target->Graphics(), 0, 0);
        EXPECT_FALSE(EPSdirty);
        ASSERT_NE(TheBackdrop.cdx, nullptr);
        EXPECT_EQ(QSize(TheBackdrop.cdx->Width(), TheBackdrop.cdx->Height()), QSize(826, 1169));
        EXPECT_EQ(InkBox(TheBackdrop.cdx->Image()), c.drawn);
        EXPECT_TRUE(InkBox(target->Image()).isEmpty()); // nothing drawn without EPSredraw
    }

    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, BackdropFailuresAreToldOnce) {
    const QString nil = NilObjectException().Message + "Drawing backdrop";
    const struct {
        const char* name;
        std::function<void()> setUp;
        QString message;
        bool dirty, redraw;
    } cases[] = {
        {"mask larger than any picture: cut by the page alone", [] { EPSmaskWidth = 1e9; }, "", false, false},
        {"mask of no size", [] { EPSmaskHeight = 0; }, "", false, false},
        {"page too large", [] { AdocHeight = 1e9; }, "Error Creating Temp Offscreen Page (2) - Memory short!",
         false, false},
        {"no picture", [] { TheBackdrop.Bdx = nullptr; }, nil, true, true},
        {"absurd scale", [] { EPSscaleX = EPSscaleY = 1e12; }, "", false, false},
        {"no scale", [] { EPSscaleX = 0; }, "", false, false},
        {"negative scale", [] { EPSscaleY = -50; }, "", false, false},
        {"negative mask", [] { EPSmaskHeight = -10; }, "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AdocHeight = 297;
        BlueBackdrop();
        EPSredraw = true;
        c.setUp();
        Scripted().messages.clear();
        auto target = NewPicture(100, 100, 32);
        w.DrawBackDrop(TheBackdrop.Bdx, target->Graphics(), 0, 0);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(QList<bool>({EPSdirty, EPSredraw}), QList<bool>({c.dirty, c.redraw}));
        EPSredraw = true; // the next repaint
        w.DrawBackDrop(TheBackdrop.Bdx, target->Graphics(), 0, 0);
        EXPECT_LE(Scripted().messages.size(), c.message == nil ? 2 : 1) << "told again on the next repaint";
    }
}

// The page view composes its backdrop only where it shows and only once: a repaint composes what it has
// not composed before at this zoom and placement, never the whole page; the page-sized cache is the
// preview's and the print run's, composed again only when what it shows changes.
TEST_F(PageView, RepaintsComposeTheBackdropOnlyWhereAndWhenItChanges) {
    BlueBackdrop();
    AddObject({.x = 50, .y = 50});
    w.Show(); // fitted: the whole page in view
    ui::Shown(view);
    const std::int64_t viewArea = std::int64_t(view.Width()) * view.Height();
    auto composed = [&](const std::function<void()>& act) {
        const std::int64_t before = TheBackdrop.TilePixelsComposed();
        act();
        ui::Shown(view);
        return TheBackdrop.TilePixelsComposed() - before;
    };
    const struct {
        const char* name;
        std::function<void()> act;
        std::int64_t least, most; // pixels composed
    } cases[] = {
        {"a repaint with nothing changed", [&] { view.Refresh(false); }, 0, 0},
        {"another object selected", [&] { CurrentObject = 0, view.Refresh(false); }, 0, 0},
        {"fitted again at the same zoom", [&] { w.FitToPageF(); }, 0, 0},
        {"zoomed in: the view, not the page", [&] { ui::Click(w.MagEn(), 15, 15); }, viewArea / 2, viewArea},
        {"a line step right: the strip uncovered",
         [&] { w.ScrollBar1().SetValue(w.ScrollBar1().Value() + w.ScrollBar1().LineStep()); }, 1,
         std::int64_t(w.ScrollBar1().LineStep()) * view.Height()},
        {"and back: kept",
         [&] { w.ScrollBar1().SetValue(w.ScrollBar1().Value() - w.ScrollBar1().LineStep()); }, 0, 0},
        {"the mask moved, as the backdrop dialog does",
         [&] { EPSmaskX = 5, EPSdirty = true, view.Refresh(true); }, viewArea / 2, viewArea},
        {"zoomed out to the page: all of it", [&] { w.BtFit_Action(); },
         std::int64_t(Int(mms(AdocWidth))) * Int(mms(AdocHeight)),
         std::int64_t(Int(mms(AdocWidth))) * Int(mms(AdocHeight))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int64_t pixels = composed(c.act);
        EXPECT_GE(pixels, c.least);
        EXPECT_LE(pixels, c.most);
    }
    EXPECT_EQ(TheBackdrop.cdx, nullptr); // the view makes no page-sized picture

    // The cache is composed when asked for, and kept while nothing it shows changes.
    EPSdirty = true;
    ASSERT_TRUE(TheBackdrop.ComposeIfDirty());
    const std::shared_ptr<Picture> cache = TheBackdrop.cdx;
    w.FitToPageF(); // made stale, but nothing it shows has changed: kept
    ASSERT_TRUE(TheBackdrop.ComposeIfDirty());
    EXPECT_EQ(TheBackdrop.cdx, cache);
    EPSmaskX = 7, EPSdirty = true;
    ASSERT_TRUE(TheBackdrop.ComposeIfDirty());
    EXPECT_NE(TheBackdrop.cdx, cache);
    EXPECT_TRUE(Scripted().messages.isEmpty());

    AdocWidth = AdocHeight = 0; // no document: an empty view
    view.Refresh(false);
    EXPECT_EQ(ui::Shown(view).pixel(100, 100), Background());
}

// The view is drawn only where it shows and kept between repaints; whatever the user does, it shows
// the page exactly as drawn whole, where the scroll bars say, and the bars take keyboard focus.
TEST_F(PageViewShown, ShowsThePageWhereTheBarsSayWhateverTheUserDoes) {
    Document();
    // The bar takes the keyboard focus when the user tabs to it from the pointer read-out, past the
    // other bar when that shows; the key then goes where the focus is.
    auto key = [this](ScrollBar& bar, Qt::Key k) {
        w.CurY().SetFocus();
        for (int tab = 0; tab < 2 && QApplication::focusWidget() != bar.Widget(); ++tab)
            ui::Key(QApplication::focusWidget(), Qt::Key_Tab, "\t");
        QWidget* focus = QApplication::focusWidget();
        ASSERT_EQ(focus, bar.Widget());
        ui::Key(focus, k);
    };
    const struct {
        const char* name;
        std::function<void()> act;
    } steps[] = {
        {"opened fitted", [] {}},
        {"zoomed in twice on the current object", [&] { Click(w.MagEn()), Click(w.MagEn()); }},
        {"a line to the right with the keyboard", [&] { key(across, Qt::Key_Right); }},
        {"a line down with the keyboard", [&] { key(down, Qt::Key_Down); }},
        {"a page down with the keyboard", [&] { key(down, Qt::Key_PageDown); }},
        {"both thumbs to the bottom-right corner",
         [&] { across.SetValue(across.Maximum()), down.SetValue(down.Maximum()); }},
        {"the corner object selected with a click", [&] { ui::Click(Page(), Anchor(41)); }},
        {"the corner object dragged up and left by its handle",
         [&] {
             const QPoint handle = Anchor(41);
             ui::Press(Page(), handle);
             ui::Drag(Page(), handle - QPoint(40, 25));
             ui::Release(Page(), handle - QPoint(40, 25));
         }},
        {"a rubber band being drawn",
         [&] {
             ui::Press(Page(), {100, 100}), ui::Drag(Page(), {300, 250});
         }},
        {"the rubber band let go",
         [&] {
             ui::Release(Page(), {300, 250});
         }},
        {"half a view back up", [&] { down.SetValue(down.Value() - 320); }},
        {"a new start number typed",
         [&] {
             ui::TypeOver(w.EdStart(), "4711");
             ui::Key(w.EdStart().Widget(), Qt::Key_Return, "\r");
             ASSERT_EQ(Astart, 4711);
         }},
        {"the window made larger", [&] { w.SetSize(1224, 810); }},
        {"zoomed out with no object selected", [&] { CurrentObject = -1, Click(w.MagR1()); }},
        {"a line up with no object selected", [&] { key(down, Qt::Key_Up); }},
        {"zoomed in with no object selected", [&] { Click(w.MagEn()); }},
        {"the window made smaller", [&] { w.SetSize(1024, 710); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(Mismatch(), "");
        if (!FitToPage) {
            EXPECT_EQ(QPoint(ScrollX, ScrollY),
                      QPoint(across.Visible() ? across.Value() : 0, down.Visible() ? down.Value() : 0));
        }
    }
    EXPECT_EQ(PageResolution, 216);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// The left ruler's labels stand on their ticks, the first ("0") moved down to stay whole, and none is
// drawn over by the next at any zoom, the small fitted ones of a small window included: each reads as
// it would drawn alone, and there are some every hundred millimetres.
TEST_F(PageViewShown, LeftRulerLabelsStayWholeAtEveryZoom) {
    auto whole = [&](const QImage& ruler, int mm) {
        auto alone = NewPicture(ruler.width(), ruler.height(), ruler.depth());
        Graphics& g = alone->Graphics();
        g.TextFont = "Arial", g.TextSize = 10;
        const double ascent = g.TextAscent(), width = g.StringWidth(Str(mm));
        const double baseline = std::max<double>(Int(mms(mm)), std::ceil(ascent));
        g.ClearRect(1, baseline - ascent, width + 2, ascent);
        g.DrawString(Str(mm), 2, baseline);
        const QImage label = alone->Image();
        // The pixels wholly within the label's patch of white.
        const QRect patch(QPoint(2, int(std::ceil(baseline - ascent))),
                          QPoint(int(std::floor(3 + width)) - 1, int(std::floor(baseline)) - 1));
        for (int y = patch.top(); y <= patch.bottom(); ++y)
            for (int x = patch.left(); x <= patch.right(); ++x)
                if (ruler.pixel(x, y) != label.pixel(x, y))
                    return false;
        return true;
    };
    const struct {
        const char* name;
        int dpi;     // 0: fitted
        QSizeF page; // mm
    } cases[] = {
        {"A3 fitted", 0, {297, 420}},
        {"a taller page fitted", 0, {300, 460}},
        {"a shorter page fitted", 0, {220, 360}},
        {"A4 fitted", 0, {210, 297}},
        {"zoomed to 20 dpi", 20, {210, 297}},
        {"zoomed to 100 dpi", 100, {210, 297}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AdocWidth = c.page.width(), AdocHeight = c.page.height();
        if (c.dpi) {
            FitToPage = false, PageResolution = c.dpi;
            w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        } else {
            w.FitToPageF();
        }
        ASSERT_TRUE(w.glx);
        const QImage ruler = w.glx->Image();
        EXPECT_TRUE(whole(ruler, 0)) << PageResolution << " dpi";
        int shown = 0;
        for (int mm = 10; mm <= 100; mm += 10)
            shown += whole(ruler, mm);
        EXPECT_GE(shown, 1) << PageResolution << " dpi";
    }
}

// The scroll bars' keys move the page the way they say: Right shows more of it to the right and Left
// more to the left, on the horizontal bar; Down and Page Down more of it below, Up and Page Up above, on
// the vertical one. What stays in view moves over by the step.
TEST_F(PageViewShown, ScrollKeysMoveThePageTheWayTheySay) {
    Document();
    Click(w.MagEn()), Click(w.MagEn());
    across.SetValue(across.Maximum() / 2), down.SetValue(down.Maximum() / 2);
    const struct {
        const char* name;
        ScrollBar& bar;
        Qt::Key key;
        int steps; // line steps, or page steps when pages
        bool pages;
    } cases[] = {
        {"Right", across, Qt::Key_Right, 1, false},     {"Left", across, Qt::Key_Left, -1, false},
        {"Down", down, Qt::Key_Down, 1, false},         {"Up", down, Qt::Key_Up, -1, false},
        {"Page Down", down, Qt::Key_PageDown, 1, true}, {"Page Up", down, Qt::Key_PageUp, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage before = ui::Shown(view);
        const QPoint from(ScrollX, ScrollY);
        c.bar.SetFocus();
        ui::Key(c.bar.Widget(), c.key);
        const QImage after = ui::Shown(view);
        const int step = c.steps * (c.pages ? c.bar.PageStep() : c.bar.LineStep());
        const QPoint moved = &c.bar == &across ? QPoint(step, 0) : QPoint(0, step);
        EXPECT_EQ(QPoint(ScrollX, ScrollY), from + moved);
        EXPECT_EQ(QPoint(across.Value(), down.Value()), QPoint(ScrollX, ScrollY));
        // The page pixel at a view pixel now was step pixels further on before.
        int wrong = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const QPoint was = QPoint(x, y) + moved;
                wrong += before.rect().contains(was) && after.pixel(x, y) != before.pixel(was);
            }
        EXPECT_EQ(wrong, 0);
    }
}

// In fit mode the page always fits the view: a larger page, another document or a new window size
// fit it again, with no scroll bars.
TEST_F(PageViewShown, FitModeFitsAgain) {
    const QString file = testing_support::TempDir() + "/large.num";
    {
        AdocWidth = AsigWidth = 594, AdocHeight = AsigHeight = 841;
        AddObject({.x = 580, .y = 830, .style = "Bold", .size = 20});
        ASSERT_TRUE(testing_support::WriteDocumentFile(file));
        AdocWidth = AsigWidth = 210, AdocHeight = AsigHeight = 297, TotalObjects = 0;
        SyncHead(false);
        w.FitToPageF(); // still in the fit mode the window opened in
    }
    ListBox& parameters = w.ListBox2();
    const struct {
        const char* name;
        std::function<void()> act;
        QSizeF page; // mm
    } cases[] = {
        {"page made wider",
         [&] { ui::TypeInto(parameters, 1, "420"), ui::ClickCell(parameters, 5, 2); },
         {420, 297}},
        {"page made taller, then another row chosen",
         [&] { ui::TypeInto(parameters, 2, "594"), ui::ClickCell(parameters, 7, 2); },
         {420, 594}},
        {"another document opened",
         [&] {
             Scripted().fileAnswers = {file};
             DirtyFlag = false; // nothing to ask about first
             w.FileOpen_Action();
         },
         {594, 841}},
        {"window made larger", [&] { w.SetSize(1400, 1000); }, {594, 841}},
        {"window made smaller again", [&] { w.SetSize(1024, 710); }, {594, 841}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        EXPECT_EQ(Mismatch(), ""); // the whole page, its far corner included, and the background beside it
        EXPECT_TRUE(FitToPage);
        EXPECT_EQ(QSizeF(AdocWidth, AdocHeight), c.page);
        const QSize page(Int(mms(AdocWidth)), Int(mms(AdocHeight)));
        EXPECT_TRUE(page.width() <= view.Width() && page.height() <= view.Height()) << PageResolution;
        // Fitted: one more dot per inch would no longer fit.
        EXPECT_TRUE(PageResolution + 1 >
                    std::min(25.4 * view.Width() / AdocWidth, 25.4 * view.Height() / AdocHeight));
        EXPECT_FALSE(across.Visible() || down.Visible());
    }
}

// Zooming out at the lowest zoom still brings the current object to the middle of the view, every time.
TEST_F(PageViewShown, ZoomOutAtTheLowestZoomRecentres) {
    AdocWidth = 594, AdocHeight = 841; // A1: larger than the view even at 50 dpi
    w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
    AddObject({.x = 300, .y = 400, .font = "Liberation Sans", .style = "Bold", .size = 24});
    CurrentObject = 0;
    LoadSel(0);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        if (k == 2) // scrolled away by the user first
            across.SetValue(0), down.SetValue(0);
        Click(w.MagR1());
        const QImage shown = ui::Shown(view);
        EXPECT_EQ(PageResolution, 50);
        EXPECT_EQ(QPoint(across.Value(), down.Value()), QPoint(ScrollX, ScrollY));
        const QPoint handle = QPoint(Int(NHandleX), Int(NHandleY)) - QPoint(ScrollX, ScrollY);
        EXPECT_LE((handle - QPoint(view.Width() / 2, view.Height() / 2)).manhattanLength(), 2);
        EXPECT_EQ(qRed(shown.pixel(handle)), 128); // the grey handle, where the view says it is
        EXPECT_EQ(Mismatch(), "");
    }
}

// Ruler labels stay apart at any zoom, whole at both ends of the ruler; ticks are drawn every
// millimetre, every 5 mm or every 10 mm, as the zoom leaves room for them.
TEST_F(PageViewShown, RulerTicksAndLabelsStayReadable) {
    const struct {
        int dpi;           // 0: fitted
        QList<int> labels; // mm
    } cases[] = {
        {0, {0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200}},
        {100,
         {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210}},
        {20, {0, 50, 100, 150, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        if (c.dpi)
            FitToPage = false, PageResolution = c.dpi, w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        else
            w.FitToPageF();
        ASSERT_EQ(PageResolution, c.dpi ? c.dpi : 54);
        const QImage top = w.gtx->Image();
        EXPECT_EQ(LabelFaults(top, top.width(), c.labels), "");
        // The left ruler's "0" stands below the top edge.
        EXPECT_FALSE(InkBox(w.glx->Image(), QRect(0, 1, 10, 9)).isEmpty());
    }
    w.FitToPageF(); // the fitted view on screen
    EXPECT_EQ(LabelFaults(ui::Shown(w.Canvas2()), Int(mms(AdocWidth)), cases[0].labels), "");
    {
        // A page 20 m long at 1 dpi: the last label, kept whole at the ruler's end, would touch the one
        // before, which gives way.
        SCOPED_TRACE("20 m at 1 dpi");
        AdocWidth = 20000, FitToPage = false, PageResolution = 1;
        w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        QList<int> labels;
        for (int mm = 0; mm <= 18000; mm += 1000)
            labels << mm;
        ASSERT_TRUE(w.gtx);
        EXPECT_EQ(LabelFaults(w.gtx->Image(), w.gtx->Width(), labels << 20000), "");
        AdocWidth = 210;
    }

    const struct {
        int dpi, mm;
        int start; // first row (or column) of the tick; -1 for none; a label covers the top of 0
    } ticks[] = {{54, 10, 0},  {79, 1, -1},  {79, 5, 10}, {80, 1, 15},
                 {254, 1, 15}, {254, 5, 10}, {254, 10, 0}};
    for (const auto& c : ticks) {
        FitToPage = false, PageResolution = c.dpi;
        w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        const int at = Int(mms(c.mm));
        for (bool top : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << c.mm << " mm at " << c.dpi << " dpi, " << (top ? "top" : "left"));
            const QImage ruler = (top ? w.gtx : w.glx)->Image();
            auto ink = [&](int t) { return (top ? ruler.pixel(at, t) : ruler.pixel(t, at)) != 0xffffffff; };
            for (int t = 11; t < 20; ++t)
                EXPECT_EQ(ink(t), c.start >= 0 && t >= c.start) << t;
            // On the top ruler a labelled tick (every 10 mm at 254 dpi, every 20 mm at 54) runs up to
            // its label; on the left one the label stands on it.
            EXPECT_EQ(ink(0), c.start == 0 && (c.dpi == 54 || !top));
            EXPECT_EQ(ink(10), c.start == 0 || c.start == 10);
        }
    }
    // A page 210.5 mm wide has ticks up to 210 mm, none after.
    FitToPage = false, PageResolution = 254, AdocWidth = 210.5;
    auto wide = NewPicture(2200, 200, 32);
    w.HorizRules(wide->Graphics(), AdocWidth);
    EXPECT_NE(wide->Image().pixel(2100, 15), 0xffffffff);
    for (int y = 11; y < 20; ++y)
        EXPECT_EQ(wide->Image().pixel(2110, y), 0xffffffff) << y;
}
