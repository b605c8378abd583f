#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

class PageInteraction : public ::testing::Test {
public:
    void SetUp() override {
        NewDoc();
        PRNpreview = false; // a preview test elsewhere may leave it on
    }
    void TearDown() override { AdocWidth = AdocHeight = 0; }

    // An object at (x, y) mm, made current and drawn so that its handle is known.
    void Select(double x, double y) {
        CurrentObject = TotalObjects++;
        RName = "Object" + QString::number(TotalObjects);
        Rxloc = x, Ryloc = y;
        SyncSel(false, CurrentObject);
        w.UpdateViewer();
    }
    void Click(const char* tool) { ui::Click(*w.ControlNamed<BevelButton>(tool), 15, 15); }
    QWidget* Page() const { return w.ControlNamed<Canvas>("Canvas1")->Widget(); }
    QString Shown(int row) const { return list.Cell(row, 2); }

    Window1& w = SharedInstance<Window1>();
    ListBox& list = *w.ControlNamed<ListBox>("ListBox1");
};

} // namespace

TEST_F(PageInteraction, AddToolPlacesOneObjectWithTheCurrentDefaults) {
    w.CurrentFont = "Liberation Serif", w.CurrentStyle = "Bold";
    Rpic = "/0000", RFontSize = 18;
    Click("Numtool");
    EXPECT_TRUE(w.MakeNumTool && !w.NumSelTool);
    EXPECT_EQ(w.ContentWidget()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_TRUE(w.ControlNamed<BevelButton>("Numtool")->Value());
    EXPECT_FALSE(w.ControlNamed<BevelButton>("TextTool")->Value());

    ScrollX = 200;
    ui::Click(Page(), {50, 100});
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({1, 0}));
    EXPECT_EQ(QStringList({Shown(0), Shown(1), Shown(2), Shown(3), Shown(6), Shown(7), Shown(8)}),
              QStringList({"Object1", "63.5", "25.4", "/0000", "Liberation Serif", "Bold", "18.0"}));
    EXPECT_DOUBLE_EQ(RecPos(0, 1).DoubleValue(), 63.5);
    EXPECT_TRUE(DirtyFlag);
    EXPECT_TRUE(!w.MakeNumTool && w.NumSelTool);
    EXPECT_EQ(w.ContentWidget()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w.ControlNamed<BevelButton>("TextTool")->Value());
    EXPECT_FALSE(w.ControlNamed<BevelButton>("Numtool")->Value());
    EXPECT_FALSE(w.DrawSelection); // the press started no rubber band

    // The table is full at 129 objects: the 130th is refused and the select tool comes back.
    TotalObjects = 129;
    Click("Numtool");
    ui::Click(Page(), {50, 100});
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({129, 0}));
    EXPECT_EQ(Scripted().messages, QStringList({"No more objects: a document holds at most 129."}));
    EXPECT_FALSE(w.MakeNumTool);
}

TEST_F(PageInteraction, HandleDragMovesTheObjectAndTheListFollows) {
    PageResolution = 200;
    Select(20, 30);
    EXPECT_FALSE(DirtyFlag);
    const QPoint handle(Int(NHandleX), Int(NHandleY));
    ui::Press(Page(), handle);
    EXPECT_TRUE(w.Dragging);
    ui::Drag(Page(), handle + QPoint(4, 0));
    ui::Drag(Page(), handle + QPoint(10, 0));
    EXPECT_EQ(Shown(1), "21.3"); // 21.27 shown with one decimal
    EXPECT_NEAR(RecPos(0, 1).DoubleValue(), 21.27, 1e-9);
    EXPECT_TRUE(DirtyFlag);
    ui::Release(Page(), handle + QPoint(10, 0));
    EXPECT_FALSE(w.Dragging);
    EXPECT_DOUBLE_EQ(RecPos(0, 2).DoubleValue(), 30);
    EXPECT_EQ(CurrentObject, 0);
}

TEST_F(PageInteraction, RubberBandSelectsTheFirstObjectWithinIt) {
    struct Case {
        const char* name;
        QPoint from, to; // canvas pixels at 100 dpi, about 4 pixels a mm
        int selected;
    } cases[] = {
        {"click on empty page keeps the selection", {600, 600}, {600, 600}, 2},
        {"click within 10 mm of an object", {70, 70}, {70, 70}, 0},
        {"band around the second object", {300, 300}, {500, 500}, 1},
        {"band drawn backwards tests its corners in that order", {500, 500}, {300, 300}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TotalObjects = 0;
        Select(10, 10), Select(100, 100), Select(170, 170); // the last one is current
        list.SetListIndex(4);
        list.SetCellType(4, 2, ListBox::TypeEditable);
        ui::Press(Page(), c.from);
        EXPECT_EQ(list.ListIndex(), -1);
        EXPECT_EQ(list.CellType(4, 2), ListBox::TypeDefault);
        ui::Drag(Page(), c.to);
        EXPECT_TRUE(w.DrawSelection);
        ui::Release(Page(), c.to);
        EXPECT_EQ(CurrentObject, c.selected);
        EXPECT_EQ(Shown(0), RecPos(c.selected, 0).StringValue());
        EXPECT_FALSE(w.DrawSelection);
    }
}

TEST_F(PageInteraction, PressDuringAPreviewOnlyEndsIt) {
    PRNpreview = true;
    PageResolution = 300;
    Click("Numtool");
    ui::Click(Page(), {50, 50});
    EXPECT_FALSE(PRNpreview);
    EXPECT_EQ(PageResolution, 54); // fitted again
    EXPECT_EQ(TotalObjects, 0);
    EXPECT_TRUE(w.MakeNumTool); // the tool is still armed for the next press
}

TEST_F(PageInteraction, PointerReadOutIsThePagePositionInMillimetres) {
    PageResolution = 254;
    ScrollX = 100, ScrollY = 5;
    ui::Move(Page(), {27, 249}); // page pixels (127, 254)
    EXPECT_EQ(w.ControlNamed<EditField>("CurX")->Text(), "12.7");
    EXPECT_EQ(w.ControlNamed<EditField>("CurY")->Text(), "25.4");
}

TEST_F(PageInteraction, ZoomStaysWithinItsStepsAndCentresTheCurrentObject) {
    struct Case {
        const char* name;
        const char* button;
        int from, to;
        bool rebuilt;
    } cases[] = {
        {"in from 100", "MagEn", 100, 200, true},
        {"in at 400 does nothing", "MagEn", 400, 400, false},
        {"in from a fitted 300", "MagEn", 300, 400, true},
        {"in from a fitted 600", "MagEn", 600, 400, true},
        {"in from no resolution", "MagEn", 0, 50, true},
        {"out from 75", "MagR1", 75, 50, true},
        {"out at 50 still rebuilds", "MagR1", 50, 50, true},
        {"out from a fitted 900", "MagR1", 900, 450, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageResolution = c.from;
        const auto page = w.gx;
        Click(c.button);
        EXPECT_EQ(PageResolution, c.to);
        EXPECT_EQ(w.gx != page, c.rebuilt);
    }

    // The current object at X = 100 mm, zoomed from 100 to 200 dpi in a 734-pixel view: 787.4 - 367.
    PageResolution = 100;
    Select(100, 10);
    Click("MagEn");
    EXPECT_EQ(w.ControlNamed<ScrollBar>("ScrollBar1")->Value(), 420);
    EXPECT_EQ(ScrollX, 420);

    // A page too long to picture at twice the resolution keeps the one it has.
    AdocWidth = 10000, AdocHeight = 10;
    PageResolution = 200;
    Click("MagEn");
    EXPECT_EQ(PageResolution, 200);
    EXPECT_NE(w.gx, nullptr);
}
