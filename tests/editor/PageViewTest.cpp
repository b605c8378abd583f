#include "TestSupport.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <set>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

constexpr QRgb White = 0xffffffff, Grey = 0xffc8c8c8, Blue = 0xff0000ff;

bool Ink(const QImage& image, int x, int y) {
    return image.pixel(x, y) != White;
}

// Bounding box of the pixels that are not white.
QRect InkBox(const QImage& image, QRect area = {}) {
    QRect box;
    area = area.isNull() ? image.rect() : area;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            box |= Ink(image, x, y) ? QRect(x, y, 1, 1) : QRect();
    return box;
}

class PageView : public ::testing::Test {
public:
    void SetUp() override {
        InitGlobals();
        FillModNames();
        AdocWidth = 210, AdocHeight = 297, PageResolution = 254;
        AstepR = AstepD = Astart = 1, Aqty = ScrollX = ScrollY = TotalObjects = 0, CurrentObject = -1;
        CurrentObjectWidth = CurrentObjectHeight = EPSmaskX = EPSmaskY = EPSmaskWidth = EPSmaskHeight = 0;
        FitToPage = EPSdirty = EPSredraw = false;
        EPSscaleX = EPSscaleY = 100;
        QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 0;
    }
    void TearDown() override { AdocWidth = AdocHeight = 0; } // later tests find no page, as at start-up

    void AddObject(double x, double y, std::int32_t pageIncrement) {
        const Variant fields[] = {"Object",        x,       y,        "",   pageIncrement,
                                  std::int32_t(0), "Arial", "Normal", 14.0, "C000M000Y000K100"};
        for (int f = 0; f < 10; ++f)
            RecPos(TotalObjects, f) = fields[f];
        RecPos(TotalObjects++, 14) = RGB(0, 0, 0);
    }

    // A blue 1000 x 500 picture at 200 dpi, scaled to cover the whole page.
    void BlueBackdrop() {
        Module1::TheBackdrop.Bdx = NewPicture(1000, 500, 32);
        Module1::TheBackdrop.Bdx->Graphics().ForeColor = RGB(0, 0, 255);
        Module1::TheBackdrop.Bdx->Graphics().FillRect(0, 0, 1000, 500);
        Module1::TheBackdrop.Bdx->SetHorizontalResolution(200),
            Module1::TheBackdrop.Bdx->SetVerticalResolution(200);
        EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight;
        EPSscaleX = AdocWidth * 20 / 25.4 + 1, EPSscaleY = AdocHeight * 40 / 25.4 + 1;
        EPSdirty = true;
    }

    QImage Painted(const char* name) {
        Canvas& c = *w.ControlNamed<Canvas>(name);
        c.Refresh(false);
        return c.Widget()->grab().toImage();
    }
    QRgb Background() const { return view.Widget()->palette().color(QPalette::Window).rgb(); }

    Window1& w = SharedInstance<Window1>();
    Canvas& view = w.Canvas1();
    ScrollBar& across = w.ScrollBar1();
    ScrollBar& down = w.ScrollBar2();
};

} // namespace

TEST_F(PageView, DrawPageBuildsThePicturesAndScrollRanges) {
    const struct {
        int dpi, width, height, viewWidth, viewHeight;
        // page width and height, ruler depth; across maximum, page and line step; down likewise
        QList<int> expected;
    } cases[] = {
        {254, 210, 297, 750, 600, {2100, 2970, 200, 1350, 750, 15, 2370, 600, 12}},
        {100, 210, 297, 734, 641, {826, 1169, 78, 92, 734, 14, 528, 641, 12}},
        {50, 100, 100, 734, 641, {196, 196, 39, 0, 734, 14, 0, 641, 12}},
    };
    across.SetMaximum(2000), across.SetValue(1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        PageResolution = c.dpi, ScrollX = ScrollY = 33, EPSdirty = false;
        w.DrawPage(NewPicture(c.viewWidth, c.viewHeight, 32)->Graphics(), c.width, c.height);
        ASSERT_TRUE(w.gx && w.gtx && w.glx);
        EXPECT_EQ(w.glx->Width(), w.gtx->Height());
        EXPECT_EQ(
            QList<int>({w.gtx->Width(), w.glx->Height(), w.gtx->Height(), across.Maximum(), across.PageStep(),
                        across.LineStep(), down.Maximum(), down.PageStep(), down.LineStep()}),
            c.expected);
        // The view's picture holds what the view shows: the scroll bars' values, kept within range.
        EXPECT_EQ(QSize(w.gx->Width(), w.gx->Height()), QSize(view.Width(), view.Height()));
        EXPECT_EQ(QPoint(ScrollX, ScrollY), QPoint(across.Value(), down.Value()));
        EXPECT_TRUE(EPSdirty);
    }
}

TEST_F(PageView, RulerTicksAndLabels) {
    const struct {
        int dpi, mm;
        int start; // first row (or column) of the tick; -1 for none; a label covers the top of 0
    } cases[] = {{54, 10, 0},  {79, 1, -1},  {79, 5, 10}, {80, 1, 15},
                 {254, 1, 15}, {254, 5, 10}, {254, 10, 0}};
    for (const auto& c : cases) {
        PageResolution = c.dpi;
        w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        const int at = Int(mms(c.mm));
        for (bool top : {true, false}) {
            SCOPED_TRACE(
                QString("%1 mm at %2 dpi, %3").arg(c.mm).arg(c.dpi).arg(top ? "top" : "left").toStdString());
            const QImage ruler = (top ? w.gtx : w.glx)->Image();
            auto ink = [&](int t) { return top ? Ink(ruler, at, t) : Ink(ruler, t, at); };
            for (int t = 11; t < 20; ++t)
                EXPECT_EQ(ink(t), c.start >= 0 && t >= c.start) << t;
            // On the top ruler a labelled tick (every 10 mm at 254 dpi, every 20 mm at 54) runs up to
            // its label; on the left one the label stands on it.
            EXPECT_EQ(ink(0), c.start == 0 && (c.dpi == 54 || !top));
            EXPECT_EQ(ink(10), c.start == 0 || c.start == 10);
        }
    }
    const QRect top = InkBox(w.gtx->Image(), QRect(80, 0, 41, 11)); // "10" centred over x = 100
    EXPECT_NEAR(top.center().x(), 100, 1.5);
    EXPECT_LE(top.bottom(), 10);
    const QRect left = InkBox(w.glx->Image(), QRect(0, 80, 15, 20)); // "10" from x = 2, on y = 100
    EXPECT_NEAR(left.left(), 3, 1);
    EXPECT_GE(left.bottom(), 95);
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
            AddObject(10, 10, inc);
        AstepR = c.across, AstepD = c.down, Aqty = c.quantity;
        w.CheckNup();
        EXPECT_EQ(QList<std::int64_t>({APageInc, AnupQTY}), QList<std::int64_t>({c.pageInc, c.sheets}));
        EXPECT_EQ(w.EdNup().Text(), QString::number(c.sheets));
        EXPECT_EQ(w.StaticText11().Text(), c.cells);
    }
}

TEST_F(PageView, FitToPageChoosesTheResolutionThatFitsTheView) {
    const struct {
        double width, height;
        int dpi;
    } cases[] = {{254, 254, 64}, {210, 297, 54}, {297, 210, 62},
                 {0, 297, 123},  {210, -5, 123}, {1e7, 1e7, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 x %2").arg(c.width).arg(c.height).toStdString());
        PageResolution = 123, AdocWidth = c.width, AdocHeight = c.height, EPSdirty = false;
        w.FitToPageF();
        EXPECT_EQ(PageResolution, c.dpi);
        EXPECT_TRUE(EPSdirty);
        const bool fitted = c.dpi != 123 && c.dpi > 1;
        EXPECT_TRUE(!fitted || (Int(mms(c.width)) <= view.Width() && Int(mms(c.height)) <= view.Height()));
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
    PageResolution = 100;
    auto target = NewPicture(10, 10, 32);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.drawn));
        EPSscaleX = c.scaleX, EPSscaleY = c.scaleY;
        QVutils::EPSBoundBoxX = c.boxX, QVutils::EPSBoundBoxY = c.boxY;
        EPSmaskX = c.maskX, EPSmaskY = c.maskY, EPSmaskWidth = c.maskWidth, EPSmaskHeight = 100;
        EPSdirty = true;
        w.DrawBackDrop(Module1::TheBackdrop.Bdx, target->Graphics(), 0, 0);
        EXPECT_FALSE(EPSdirty);
        ASSERT_NE(Module1::TheBackdrop.cdx, nullptr);
        EXPECT_EQ(QSize(Module1::TheBackdrop.cdx->Width(), Module1::TheBackdrop.cdx->Height()),
                  QSize(826, 1169));
        EXPECT_EQ(InkBox(Module1::TheBackdrop.cdx->Image()), c.drawn);
        EXPECT_TRUE(InkBox(target->Image()).isEmpty()); // nothing drawn without EPSredraw
    }

    // Drawn scaled to the resolution of the moment, at the offset given in mm.
    const auto cache = Module1::TheBackdrop.cdx;
    PageResolution = 200, EPSredraw = true;
    auto page = NewPicture(1700, 2400, 32);
    w.DrawBackDrop(Module1::TheBackdrop.Bdx, page->Graphics(), 10, 0);
    EXPECT_FALSE(EPSredraw);
    EXPECT_EQ(Module1::TheBackdrop.cdx, cache);
    const QRect drawn = InkBox(page->Image()), expected(78 + 156, 0, 392, 250); // edges may blend
    EXPECT_TRUE(drawn.contains(expected.adjusted(1, 0, -1, -1)) &&
                expected.adjusted(-1, 0, 1, 1).contains(drawn))
        << testing::PrintToString(drawn);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, BackdropFailuresAreToldOnce) {
    const QString nil = NilObjectException().Message + "Drawing backdrop";
    const struct {
        const char* name;
        std::function<void(PageView&)> setUp;
        QString message;
        bool dirty, redraw;
    } cases[] = {
        {"mask too large", [](PageView&) { EPSmaskWidth = 1e9; },
         "Error Creating Temp Offscreen Mask (1) - Memory short!", false, false},
        {"mask of no size", [](PageView&) { EPSmaskHeight = 0; }, "", false, false},
        {"page too large", [](PageView&) { AdocHeight = 1e9; },
         "Error Creating Temp Offscreen Page (2) - Memory short!", false, false},
        {"no picture", [](PageView&) { Module1::TheBackdrop.Bdx = nullptr; }, nil, true, true},
        {"absurd scale", [](PageView&) { EPSscaleX = EPSscaleY = 1e12; }, "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BlueBackdrop();
        EPSredraw = true;
        c.setUp(*this);
        Scripted().messages.clear();
        auto target = NewPicture(100, 100, 32);
        w.DrawBackDrop(Module1::TheBackdrop.Bdx, target->Graphics(), 0, 0);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(QList<bool>({EPSdirty, EPSredraw}), QList<bool>({c.dirty, c.redraw}));
        EPSredraw = true; // the next repaint
        w.DrawBackDrop(Module1::TheBackdrop.Bdx, target->Graphics(), 0, 0);
        EXPECT_LE(Scripted().messages.size(), c.message == nil ? 2 : 1) << "told again on the next repaint";
        AdocHeight = 297;
    }
}

TEST_F(PageView, StatusLine) {
    Label& status = w.StatNumObj();
    CurrentObjectWidth = 12.5, CurrentObjectHeight = 4.25;
    w.UpdateViewer();
    EXPECT_EQ(status.Text(), "Props: 0 Obj - W=12.5 H=4.25");
    for (int k = 0; k < 3; ++k)
        AddObject(20 + 40 * k, 50, 0);
    CurrentObject = 1; // measured as it is drawn
    w.UpdateViewer();
    EXPECT_GT(CurrentObjectWidth, 1);
    EXPECT_EQ(status.Text(), "Props: 3 Obj - W=" + Format(CurrentObjectWidth, "###.###") +
                                 " H=" + Format(CurrentObjectHeight, "###.###"));
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, ScrolledAndFittedCopies) {
    w.DrawSelection = true; // a grey frame at page pixels (1000, 1500) to (1100, 1600)
    w.CCurX = 1000, w.CCurY = 1500, w.EndX = 1100, w.EndY = 1600;
    ScrollX = 950, ScrollY = 1450;
    auto target = NewPicture(734, 641, 32);
    const int before = w.updateCounter;
    w.Update(target->Graphics());
    const QImage shown = target->Image();
    EXPECT_EQ(QList<QRgb>({shown.pixel(50, 50), shown.pixel(149, 149), shown.pixel(100, 100)}),
              QList<QRgb>({Grey, Grey, White}));
    EXPECT_TRUE(across.Visible() && down.Visible());

    PageResolution = 50; // 413 x 584 pixels: no scrolling, the background beside the page
    w.Update(target->Graphics());
    EXPECT_EQ(QPoint(ScrollX, ScrollY), QPoint(0, 0));
    const QImage narrow = target->Image();
    EXPECT_EQ(QList<QRgb>({narrow.pixel(400, 10), narrow.pixel(420, 10), narrow.pixel(10, 600)}),
              QList<QRgb>({White, Background(), Background()}));

    PageResolution = 54, FitToPage = true; // 446 x 631 pixels 1:1 from the corner, so clicks land on them
    BlueBackdrop();
    w.Update(target->Graphics());
    EXPECT_EQ(QList<QRgb>({target->Image().pixel(440, 625), target->Image().pixel(455, 320)}),
              QList<QRgb>({Blue, Background()}));
    EXPECT_EQ(w.updateCounter, before + 2); // the scrolled copies only
}

TEST_F(PageView, ScrollBarsAppearWhenThePageIsAPixelWiderThanTheView) {
    auto target = NewPicture(734, 734, 32);
    for (auto [mm, shown] : {std::pair{73.5, true}, {73.49, false}, {73.4, false}}) { // 10 pixels a mm
        SCOPED_TRACE(mm);
        AdocWidth = AdocHeight = mm, ScrollX = ScrollY = 1;
        w.Update(target->Graphics());
        EXPECT_EQ(QList<bool>({across.Visible(), down.Visible()}), QList<bool>({shown, shown}));
        EXPECT_EQ(QPoint(ScrollX, ScrollY), shown ? QPoint(1, 1) : QPoint(0, 0));
    }
}

TEST_F(PageView, OpeningFitsThePageAndRepaintsComposeTheBackdropOnce) {
    PageResolution = 100;
    BlueBackdrop();
    AddObject(50, 50, 0);
    w.Show();
    EXPECT_TRUE(FitToPage);
    EXPECT_EQ(PageResolution, 54);
    EXPECT_FALSE(across.Visible() || down.Visible());

    std::set<std::shared_ptr<Picture>> caches; // a cache composed anew is a new picture
    const QImage shown = Painted("Canvas1");
    EXPECT_EQ(QList<QRgb>({shown.pixel(200, 300), shown.pixel(600, 300)}), QList<QRgb>({Blue, Background()}));
    bool dark = false; // the black number at page pixel (106, 106), over the blue
    for (int y = 95; y < 107; ++y)
        for (int x = 95; x < 120; ++x)
            dark = dark || qBlue(shown.pixel(x, y)) < 100;
    EXPECT_TRUE(dark);
    for (int k = 0; k < 3; ++k) {
        Painted("Canvas1");
        caches.insert(Module1::TheBackdrop.cdx);
    }
    EXPECT_EQ(caches.size(), 1u);
    w.FitToPageF(); // made stale, but nothing it shows has changed: kept
    Painted("Canvas1");
    caches.insert(Module1::TheBackdrop.cdx);
    EXPECT_EQ(caches.size(), 1u);
    EPSmaskX = 5, EPSdirty = true; // as the backdrop dialog's edits do
    Painted("Canvas1");
    caches.insert(Module1::TheBackdrop.cdx);
    EXPECT_EQ(caches.size(), 2u);
    Painted("Canvas2"), Painted("Canvas3");
    EXPECT_TRUE(Scripted().messages.isEmpty());

    AdocWidth = AdocHeight = 0; // no document: an empty view
    EXPECT_EQ(Painted("Canvas1").pixel(100, 100), Background());
}
