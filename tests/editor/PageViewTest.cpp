#include "TestSupport.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

constexpr QRgb White = 0xffffffff;

bool Ink(const QImage& image, int x, int y) {
    return image.pixel(x, y) != White;
}

// Bounding box of the pixels that are not white.
QRect InkBox(const QImage& image, QRect area = {}) {
    if (area.isNull())
        area = image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Ink(image, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

std::shared_ptr<Picture> Solid(int width, int height, int dpi, Color colour) {
    auto p = NewPicture(width, height, 32);
    p->Graphics().ForeColor = colour;
    p->Graphics().FillRect(0, 0, width, height);
    p->SetHorizontalResolution(dpi);
    p->SetVerticalResolution(dpi);
    return p;
}

class PageView : public ::testing::Test {
public:
    void SetUp() override {
        InitGlobals();
        FillModNames();
        AdocWidth = 210, AdocHeight = 297, PageResolution = 254;
        AstepR = AstepD = 1, Astart = 1, Aqty = 0;
        ScrollX = ScrollY = TotalObjects = 0, CurrentObject = -1;
        CurrentObjectWidth = CurrentObjectHeight = 0;
        FitToPage = EPSdirty = EPSredraw = false;
        EPSmaskX = EPSmaskY = EPSmaskWidth = EPSmaskHeight = 0;
        EPSscaleX = EPSscaleY = 100;
        QVutils::EPSBoundBoxX = QVutils::EPSBoundBoxY = 0;
    }
    // Later tests find no page, as at start-up, rather than whatever size a case left.
    void TearDown() override { AdocWidth = AdocHeight = 0; }

    void AddObject(double x, double y, std::int32_t pageIncrement) {
        const std::int32_t i = TotalObjects++;
        const Variant fields[] = {
            "Object",           x,  y, "", pageIncrement, std::int32_t(0), "Arial", "Normal", 14.0,
            "C000M000Y000K100", 0.0};
        for (int f = 0; f < 11; ++f)
            RecPos(i, f) = fields[f];
        RecPos(i, 14) = RGB(0, 0, 0);
    }

    // A blue backdrop behind the whole page.
    void BlueBackdrop() {
        w.Bdx = Solid(1000, 500, 200, RGB(0, 0, 255));
        EPSmaskWidth = AdocWidth, EPSmaskHeight = AdocHeight;
        EPSscaleX = AdocWidth * 20 / 25.4 + 1; // percent that make 1000 x 500 pixels at 200 dpi cover it
        EPSscaleY = AdocHeight * 40 / 25.4 + 1;
        EPSdirty = true;
    }

    // The canvas as the screen gets it, painted anew.
    QImage Painted(const char* name) {
        Canvas& c = *w.ControlNamed<Canvas>(name);
        c.Refresh(false);
        return c.Widget()->grab().toImage();
    }

    QRgb ViewBackground() const { return view.Widget()->palette().color(QPalette::Window).rgb(); }

    Window1& w = SharedInstance<Window1>();
    Canvas& view = *w.ControlNamed<Canvas>("Canvas1");
    ScrollBar& across = *w.ControlNamed<ScrollBar>("ScrollBar1");
    ScrollBar& down = *w.ControlNamed<ScrollBar>("ScrollBar2");
};

} // namespace

TEST_F(PageView, DrawPageBuildsThePicturesAndScrollRanges) {
    struct Case {
        const char* name;
        int dpi, width, height, viewWidth, viewHeight;
        // page width and height, ruler depth; across maximum, page and line step; down likewise
        QList<int> expected;
    } cases[] = {
        {"A4 at 254 dpi", 254, 210, 297, 750, 600, {2100, 2970, 200, 1350, 750, 15, 2370, 600, 12}},
        {"A4 at 100 dpi", 100, 210, 297, 734, 641, {826, 1169, 78, 92, 734, 14, 528, 641, 12}},
        {"page smaller than the view", 50, 100, 100, 734, 641, {196, 196, 39, 0, 734, 14, 0, 641, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageResolution = c.dpi;
        ScrollX = ScrollY = 33;
        EPSdirty = false;
        auto target = NewPicture(c.viewWidth, c.viewHeight, 32);
        w.DrawPage(target->Graphics(), c.width, c.height);
        ASSERT_TRUE(w.gx && w.gtx && w.glx);
        // the rulers as long as the page, the left one as wide as the top one is deep
        EXPECT_EQ(QSize(w.gtx->Width(), w.glx->Height()), QSize(w.gx->Width(), w.gx->Height()));
        EXPECT_EQ(w.glx->Width(), w.gtx->Height());
        EXPECT_EQ(
            QList<int>({w.gx->Width(), w.gx->Height(), w.gtx->Height(), across.Maximum(), across.PageStep(),
                        across.LineStep(), down.Maximum(), down.PageStep(), down.LineStep()}),
            c.expected);
        EXPECT_EQ(QPoint(ScrollX, ScrollY), QPoint(0, 0));
        EXPECT_TRUE(EPSdirty);
    }

    // A page too wide to hold: the rulers are replaced but left blank, and the cache is not made stale.
    EPSdirty = false;
    w.DrawPage(view.Graphics(), 1e9, 297);
    EXPECT_TRUE(w.gx == nullptr && w.gtx == nullptr);
    ASSERT_NE(w.glx, nullptr);
    EXPECT_TRUE(InkBox(w.glx->Image()).isEmpty());
    EXPECT_FALSE(EPSdirty);
}

TEST_F(PageView, RulerTicksStartWhereTheirLengthSays) {
    struct Case {
        const char* name;
        int dpi, mm;
        int start; // first row (or column) of the tick; -1 for no tick
    } cases[] = {
        {"10 mm at 254 dpi", 254, 10, 0}, {"5 mm at 254 dpi", 254, 5, 10}, {"1 mm at 254 dpi", 254, 1, 15},
        {"1 mm at 80 dpi", 80, 1, 15},    {"1 mm at 79 dpi", 79, 1, -1},   {"5 mm at 79 dpi", 79, 5, 10},
        {"3 mm at 50 dpi", 50, 3, -1},
    };
    for (const Case& c : cases) {
        PageResolution = c.dpi;
        w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
        const int at = Int(mms(c.mm));
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (horizontal ? ", top ruler" : ", left ruler"));
            const QImage ruler = (horizontal ? w.gtx : w.glx)->Image();
            auto ink = [&](int t) { return horizontal ? Ink(ruler, at, t) : Ink(ruler, t, at); };
            if (c.start < 0) {
                for (int t = 11; t < 20; ++t)
                    EXPECT_FALSE(ink(t)) << t;
                continue;
            }
            for (int t = c.start; t <= 20; ++t)
                EXPECT_TRUE(ink(t)) << t;
            if (c.start > 0)
                EXPECT_FALSE(ink(c.start - 1));
        }
    }
}

TEST_F(PageView, RulerLabelsSitOnTheirTicks) {
    w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
    // Top ruler: "10" centred on x = 100 above the baseline at y = 10.
    const QRect top = InkBox(w.gtx->Image(), QRect(80, 0, 41, 11));
    EXPECT_NEAR(top.center().x(), 100, 1.5);
    EXPECT_LE(top.bottom(), 10);
    // Left ruler: "10" from x = 2, its baseline on the tick at y = 100.
    const QRect left = InkBox(w.glx->Image(), QRect(0, 80, 15, 20));
    EXPECT_NEAR(left.left(), 3, 1);
    EXPECT_GE(left.bottom(), 95);

    // A page 210.5 mm wide has ticks up to 210 mm, none after.
    AdocWidth = 210.5;
    auto wide = NewPicture(2200, 200, 32);
    w.HorizRules(wide->Graphics());
    EXPECT_TRUE(Ink(wide->Image(), 2100, 5));
    for (int y = 11; y < 20; ++y)
        EXPECT_FALSE(Ink(wide->Image(), 2110, y));
}

TEST_F(PageView, CheckNupCountsNumbersPerPageAndSheets) {
    struct Case {
        const char* name;
        std::vector<int> increments;
        int across, down, quantity;
        int pageInc, sheets;
        const char* cells;
    } cases[] = {
        {"no objects", {}, 1, 1, 50, 1, 50, "1 up ="},
        {"largest increment plus one", {0, 1, 3}, 2, 5, 1000, 4, 100, "10 up ="},
        {"negative increments", {-2, -5}, 1, 1, 3, 1, 3, "1 up ="},
        {"quotient truncated", {}, 3, 1, 10, 1, 3, "3 up ="},
        {"counts below 1 count as 1", {}, 0, -4, 7, 1, 7, "1 up ="},
        {"counts that overflow 32 bits", {}, 100000, 100000, 5, 1, 0, "10000000000 up ="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TotalObjects = 0;
        for (int inc : c.increments)
            AddObject(10, 10, inc);
        AstepR = c.across, AstepD = c.down, Aqty = c.quantity;
        w.CheckNup();
        EXPECT_EQ(QList<std::int64_t>({APageInc, AnupQTY}), QList<std::int64_t>({c.pageInc, c.sheets}));
        EXPECT_EQ(w.ControlNamed<EditField>("EdNup")->Text(), QString::number(c.sheets));
        EXPECT_EQ(w.ControlNamed<Label>("StaticText11")->Text(), c.cells);
    }
}

TEST_F(PageView, FitToPageChoosesTheResolutionThatFitsTheView) {
    struct Case {
        const char* name;
        double width, height;
        int dpi;
    } cases[] = {
        {"square page", 254, 254, 64},
        {"A4 upright", 210, 297, 54},
        {"A4 on its side", 297, 210, 62},
        {"no width keeps the resolution", 0, 297, 123},
        {"negative height keeps it", 210, -5, 123},
        {"huge page, at least 1 dpi", 1e7, 1e7, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageResolution = 123, AdocWidth = c.width, AdocHeight = c.height;
        EPSdirty = false;
        w.FitToPageF();
        EXPECT_EQ(PageResolution, c.dpi);
        EXPECT_TRUE(EPSdirty);
        if (c.width > 0 && c.height > 0 && c.width < 1000) {
            ASSERT_NE(w.gx, nullptr);
            EXPECT_EQ(w.gx->Width(), Int(mms(c.width)));
            EXPECT_LE(w.gx->Width(), view.Width());
            EXPECT_LE(w.gx->Height(), view.Height());
        }
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, BackdropDrawnAtItsScaledSizeAndOffsetInsideTheMask) {
    // A 1000 x 500 picture at 200 dpi on a page at 100 dpi.
    struct Case {
        const char* name;
        double scaleX, scaleY, boxX, boxY, maskX, maskY, maskWidth;
        QRect drawn; // in the cache, in page pixels
    } cases[] = {
        {"scaled 100 % by 50 %", 100, 50, 0, 0, 0, 0, 200, {0, 0, 500, 125}},
        {"both 50 %", 50, 50, 0, 0, 0, 0, 200, {0, 0, 250, 125}},
        {"bounding box 10 mm moves it left", 100, 50, 10, 0, 0, 0, 200, {0, 0, 461, 125}},
        {"and up", 100, 50, 0, 10, 0, 0, 200, {0, 0, 500, 86}},
        {"mask 20 mm from the left edge", 100, 50, 10, 0, 20, 0, 200, {78, 0, 461, 125}},
        {"mask 30 mm from the top", 100, 50, 0, 0, 0, 30, 200, {0, 118, 500, 125}},
        {"mask cuts the picture off", 100, 50, 0, 0, 20, 0, 50, {78, 0, 196, 125}},
    };
    w.Bdx = Solid(1000, 500, 200, RGB(0, 0, 255));
    PageResolution = 100;
    auto target = NewPicture(10, 10, 32);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EPSscaleX = c.scaleX, EPSscaleY = c.scaleY;
        QVutils::EPSBoundBoxX = c.boxX, QVutils::EPSBoundBoxY = c.boxY;
        EPSmaskX = c.maskX, EPSmaskY = c.maskY, EPSmaskWidth = c.maskWidth, EPSmaskHeight = 100;
        EPSdirty = true;
        w.DrawBackDrop(w.Bdx, target->Graphics(), 0, 0);
        EXPECT_FALSE(EPSdirty);
        ASSERT_NE(w.cdx, nullptr);
        EXPECT_EQ(QSize(w.cdx->Width(), w.cdx->Height()), QSize(826, 1169));
        EXPECT_EQ(w.cdx->HorizontalResolution(), 200);
        EXPECT_EQ(InkBox(w.cdx->Image()), c.drawn);
        EXPECT_TRUE(InkBox(target->Image()).isEmpty()); // nothing drawn without EPSredraw
    }

    // The cache is drawn scaled to the page at the resolution of the moment, at the offset given in mm.
    const auto cache = w.cdx;
    PageResolution = 200;
    EPSredraw = true;
    auto page = NewPicture(1700, 2400, 32);
    w.DrawBackDrop(w.Bdx, page->Graphics(), 10, 0);
    EXPECT_FALSE(EPSredraw);
    EXPECT_EQ(w.cdx, cache);
    const QRect drawn = InkBox(page->Image()); // edges may blend into the next pixel
    EXPECT_NEAR(drawn.left(), 78 + 156, 1);
    EXPECT_EQ(drawn.top(), 0);
    EXPECT_NEAR(drawn.width(), 392, 2);
    EXPECT_NEAR(drawn.height(), 250, 2);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, BackdropFailuresAreToldAndNeverCrash) {
    const QString nil = NilObjectException().Message + "Drawing backdrop";
    struct Case {
        const char* name;
        std::function<void(PageView&)> setUp;
        QString message;
        bool dirty, redraw;
    } cases[] = {
        // Memory failures are told once and leave an empty cache, so a repaint does not tell them again.
        {"mask too large", [](PageView&) { EPSmaskWidth = 1e9; },
         "Error Creating Temp Offscreen Mask (1) - Memory short!", false, false},
        {"mask of no size", [](PageView&) { EPSmaskHeight = 0; }, "", false, false},
        {"page too large", [](PageView&) { AdocHeight = 1e9; },
         "Error Creating Temp Offscreen Page (2) - Memory short!", false, false},
        {"no picture", [](PageView& t) { t.w.Bdx = nullptr; }, nil, true, true},
        {"no cache to draw", [](PageView& t) { EPSdirty = false, t.w.cdx = nullptr; }, "", false, false},
        {"absurd scale", [](PageView&) { EPSscaleX = EPSscaleY = 1e12; }, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BlueBackdrop();
        EPSredraw = true;
        c.setUp(*this);
        Scripted().messages.clear();
        auto target = NewPicture(100, 100, 32);
        w.DrawBackDrop(w.Bdx, target->Graphics(), 0, 0);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(EPSdirty, c.dirty);
        EXPECT_EQ(EPSredraw, c.redraw);
        EPSredraw = true; // the next repaint
        w.DrawBackDrop(w.Bdx, target->Graphics(), 0, 0);
        EXPECT_LE(Scripted().messages.size(), c.message == nil ? 2 : 1) << "told again on the next repaint";
        AdocHeight = 297;
    }
}

TEST_F(PageView, StatusLineAndRenderingErrors) {
    Label& status = *w.ControlNamed<Label>("StatNumObj");
    CurrentObjectWidth = 12.5, CurrentObjectHeight = 4.25;
    w.UpdateViewer();
    EXPECT_EQ(status.Text(), "Props: 0 Obj - W=12.5 H=4.25");
    for (int k = 0; k < 3; ++k)
        AddObject(20 + 40 * k, 50, 0);
    CurrentObject = 1; // measured as it is drawn
    w.UpdateViewer();
    EXPECT_GT(CurrentObjectWidth, 1); // the text "1"
    EXPECT_EQ(status.Text(), "Props: 3 Obj - W=" + Format(CurrentObjectWidth, "###.###") +
                                 " H=" + Format(CurrentObjectHeight, "###.###"));
    EXPECT_TRUE(Scripted().messages.isEmpty());

    // No page picture to draw on: the paint goes on and shows no page.
    AdocWidth = 1e9;
    auto target = NewPicture(100, 100, 32);
    for (bool fit : {false, true}) {
        FitToPage = fit;
        w.Update(target->Graphics());
    }
    EXPECT_EQ(Scripted().messages, QStringList({"UpdateViewer error", "UpdateViewer error"}));
    EXPECT_EQ(target->Image().pixel(50, 50), ViewBackground());

    // Neither does a missing status line stop it.
    AdocWidth = 210;
    Scripted().messages.clear();
    status.Close();
    w.UpdateViewer();
    EXPECT_EQ(Scripted().messages, QStringList({"UpdateViewer error"}));
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
              QList<QRgb>({qRgb(200, 200, 200), qRgb(200, 200, 200), White}));
    EXPECT_EQ(w.updateCounter, before + 1);
    EXPECT_TRUE(across.Visible() && down.Visible());

    // A page narrower than the view: no scrolling, and the view's background beside the page.
    PageResolution = 50; // 413 x 584 pixels
    w.Update(target->Graphics());
    EXPECT_EQ(QPoint(ScrollX, ScrollY), QPoint(0, 0));
    const QImage narrow = target->Image();
    EXPECT_EQ(QList<QRgb>({narrow.pixel(400, 10), narrow.pixel(420, 10), narrow.pixel(10, 600)}),
              QList<QRgb>({White, ViewBackground(), ViewBackground()}));

    // Fit mode: the page at its fit resolution (54 dpi, 446 x 631) 1:1 from the corner, so that view
    // pixels are page pixels for the mouse; no scrolled copy.
    PageResolution = 54;
    FitToPage = true;
    BlueBackdrop();
    w.Update(target->Graphics());
    EXPECT_EQ(target->Image().pixel(440, 625), qRgb(0, 0, 255));
    EXPECT_EQ(target->Image().pixel(455, 320), ViewBackground());
    EXPECT_EQ(w.updateCounter, before + 2);
}

TEST_F(PageView, ScrollBarsAppearWhenThePageIsAPixelWiderThanTheView) {
    struct Case {
        const char* name;
        double mm; // at 254 dpi, 10 pixels per mm; the view is 734 x 641
        bool shown;
    } cases[] = {
        {"one pixel wider", 73.5, true},
        {"less than one pixel wider", 73.49, false},
        {"as wide", 73.4, false},
    };
    auto target = NewPicture(734, 734, 32);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AdocWidth = AdocHeight = c.mm;
        ScrollX = ScrollY = 1;
        w.Update(target->Graphics());
        EXPECT_EQ(QList<bool>({across.Visible(), down.Visible()}), QList<bool>({c.shown, c.shown}));
        EXPECT_EQ(QPoint(ScrollX, ScrollY), c.shown ? QPoint(1, 1) : QPoint(0, 0));
    }
}

TEST_F(PageView, OpeningFitsThePageAndRepaintsComposeTheBackdropOnce) {
    PageResolution = 100;
    BlueBackdrop();
    AddObject(50, 50, 0);
    w.Show();
    EXPECT_TRUE(FitToPage);
    EXPECT_EQ(PageResolution, 54) << "the resolution at which A4 fits the 734 x 641 view";
    EXPECT_FALSE(across.Visible() || down.Visible());
    EXPECT_EQ(QList<int>({across.Value(), across.Maximum(), w.updateCounter}), QList<int>({0, 0, 0}));
    EXPECT_TRUE(EPSdirty); // the buffers were built

    // The page, 446 x 631 pixels, whole in the 734 x 641 view: blue with the number on it.
    std::set<std::shared_ptr<Picture>> caches; // a cache composed anew is a new picture
    const QImage shown = Painted("Canvas1");
    caches.insert(w.cdx);
    EXPECT_EQ(QList<QRgb>({shown.pixel(200, 300), shown.pixel(600, 300)}),
              QList<QRgb>({qRgb(0, 0, 255), ViewBackground()}));
    bool dark = false; // the black number at page pixel (106, 106), drawn over the blue
    for (int y = 95; y < 107; ++y)
        for (int x = 95; x < 120; ++x)
            dark = dark || qBlue(shown.pixel(x, y)) < 100;
    EXPECT_TRUE(dark);
    for (int k = 0; k < 3; ++k) {
        Painted("Canvas1");
        caches.insert(w.cdx);
    }
    EXPECT_EQ(caches.size(), 1u);
    w.FitToPageF(); // made stale
    Painted("Canvas1");
    caches.insert(w.cdx);
    EXPECT_EQ(caches.size(), 2u);
    Painted("Canvas2");
    Painted("Canvas3");
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, OpeningWithNoPageShowsAnEmptyView) {
    AdocWidth = AdocHeight = 0; // the globals before any document
    w.Show();
    EXPECT_EQ(Painted("Canvas1").pixel(100, 100), ViewBackground());
    Painted("Canvas2");
    Painted("Canvas3");
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(PageView, ScrollingMovesThePageAndItsRulersAndResizingRebuilds) {
    w.Show(); // fits the page; the test then scrolls at 254 dpi
    FitToPage = false;
    PageResolution = 254;
    w.DrawPage(view.Graphics(), AdocWidth, AdocHeight);
    w.DrawSelection = true; // a grey frame at page pixels (300, 200) to (320, 220)
    w.CCurX = 300, w.CCurY = 200, w.EndX = 320, w.EndY = 220;
    across.SetValue(50), down.SetValue(50);
    EXPECT_EQ(QPoint(ScrollX, ScrollY), QPoint(50, 50));
    EXPECT_TRUE(EPSredraw);
    EXPECT_EQ(Painted("Canvas1").pixel(250, 150), qRgb(200, 200, 200));
    // At x = 100 the top ruler now shows 15 mm: a 5 mm tick, from y = 10.
    const QImage top = Painted("Canvas2"), left = Painted("Canvas3");
    EXPECT_EQ(QList<bool>({Ink(top, 100, 12), Ink(top, 100, 5), Ink(left, 12, 100), Ink(left, 5, 100)}),
              QList<bool>({true, false, true, false}));

    const auto before = w.gx;
    w.Widget()->resize(w.Widget()->width() + 200, w.Widget()->height() + 100);
    EXPECT_EQ(QList<int>({across.PageStep(), down.PageStep()}), QList<int>({934, 741}));
    EXPECT_NE(w.gx, before);
}
