// The page view's tools: adding, selecting, dragging and zooming with real mouse events, and the
// pointer read-out.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

class PageInteraction : public ::testing::Test {
public:
    void SetUp() override { NewDoc(); }

    // An object at (x, y) mm, made current and drawn so that its handle is known.
    void Select(double x, double y) {
        CurrentObject = TotalObjects++;
        RName = "Object" + QString::number(TotalObjects), Rxloc = x, Ryloc = y;
        SyncSel(false, CurrentObject);
        w.UpdateViewer();
    }
    void Click(const char* button) { ui::Click(*w.ControlNamed<BevelButton>(button), 15, 15); }
    bool Down(const char* tool) { return w.ControlNamed<BevelButton>(tool)->Value(); }
    QWidget* Page() const { return w.Canvas1().Widget(); }
    QString Shown(int row) const { return list.Cell(row, 2); }

    Window1& w = SharedInstance<Window1>();
    ListBox& list = w.ListBox1();
};

} // namespace

TEST_F(PageInteraction, AddToolPlacesOneObjectWithTheCurrentDefaults) {
    Rfontfam = "Liberation Serif", RfontStyle = "Bold", Rpic = "/0000", RFontSize = 18;
    Click("Numtool");
    EXPECT_TRUE(w.MakeNumTool && Down("Numtool") && !Down("TextTool"));
    ScrollX = 200;
    ui::Click(Page(), {50, 100});
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({1, 0}));
    EXPECT_EQ(QStringList({Shown(0), Shown(1), Shown(2), Shown(3), Shown(6), Shown(8)}),
              QStringList({"Object1", "63.5", "25.4", "/0000", "Liberation Serif", "18.0"}));
    EXPECT_TRUE(DirtyFlag && w.NumSelTool && !w.MakeNumTool && Down("TextTool") && !Down("Numtool"));

    // A full table refuses the 130th object, and the select tool comes back.
    TotalObjects = 129;
    Click("Numtool");
    ui::Click(Page(), {50, 100});
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({129, 0}));
    EXPECT_EQ(Scripted().messages, QStringList({"No more objects: a document holds at most 129."}));
    EXPECT_FALSE(w.MakeNumTool);
}

TEST_F(PageInteraction, HandleDragMovesTheObjectAndThePointerIsReadInMillimetres) {
    PageResolution = 200;
    Select(20, 30);
    const QPoint handle{int(NHandleX), int(NHandleY)};
    ui::Press(Page(), handle);
    ui::Drag(Page(), handle + QPoint(4, 0));
    ui::Drag(Page(), handle + QPoint(10, 0));
    EXPECT_EQ(Shown(1) + " " + Str(RecPos(0, 1).DoubleValue()), "21.3 21.27"); // shown during the drag
    ui::Release(Page(), handle + QPoint(10, 0));
    EXPECT_EQ(QList<int>({w.Dragging, CurrentObject, DirtyFlag}), QList<int>({0, 0, 1}));

    PageResolution = 254, ScrollX = 100, ScrollY = 5;
    ui::Move(Page(), {27, 249}); // page pixels (127, 254)
    EXPECT_EQ(w.CurX().Text() + " " + w.CurY().Text(), "12.7 25.4");
    PageResolution = 54; // 0.47 mm a pixel: the read-out keeps to hundredths, short enough for its field
    ui::Move(Page(), {0, 0});
    EXPECT_EQ(w.CurX().Text(), "47.04");
}

TEST_F(PageInteraction, RubberBandSelectsTheFirstObjectWithinIt) {
    struct Case {
        const char* name;
        QPoint from, to; // canvas pixels at 100 dpi, about 4 a mm
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
        Select(10, 10), Select(100, 100), Select(170, 170);
        list.SetListIndex(4), list.SetCellType(4, 2, ListBox::TypeEditable);
        ui::Press(Page(), c.from);
        EXPECT_EQ(QList<int>({list.ListIndex(), list.CellType(4, 2)}),
                  QList<int>({-1, ListBox::TypeDefault}));
        ui::Drag(Page(), c.to);
        ui::Release(Page(), c.to);
        EXPECT_EQ(QList<int>({CurrentObject, w.DrawSelection}), QList<int>({c.selected, 0}));
        EXPECT_EQ(Shown(0), "Object" + QString::number(c.selected + 1));
    }
}

TEST_F(PageInteraction, ZoomStaysWithinItsStepsAndCentresTheCurrentObject) {
    struct Case {
        const char* button;
        int from, to;
        bool rebuilt;
    } cases[] = {
        {"MagEn", 100, 200, true}, {"MagEn", 400, 400, false}, {"MagEn", 600, 400, true},
        {"MagEn", 0, 50, true},    {"MagR1", 75, 50, true},    {"MagR1", 50, 50, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " from " + std::to_string(c.from));
        PageResolution = c.from;
        const auto ruler = w.gtx; // made anew by every rebuild
        Click(c.button);
        EXPECT_EQ(QList<int>({PageResolution, w.gtx != ruler}), QList<int>({c.to, c.rebuilt}));
    }
    // The object at X = 100 mm, zoomed from 100 to 200 dpi in a 734-pixel view: 787.4 - 734 + 367.
    PageResolution = 100;
    Select(100, 10);
    Click("MagEn");
    EXPECT_EQ(QList<int>({w.ScrollBar1().Value(), ScrollX}), QList<int>({420, 420}));

    // A page too long to picture at twice the resolution keeps the one it has.
    AdocWidth = 10000, AdocHeight = 10, PageResolution = 200;
    Click("MagEn");
    EXPECT_TRUE(PageResolution == 200 && w.gx);
}

TEST_F(PageInteraction, InTheFittedViewAClickPlacesTheNumberWhereItIsSeen) {
    w.Show(); // opens fitted
    ASSERT_TRUE(FitToPage);
    Click("Numtool");
    ui::Click(Page(), {300, 200});
    ASSERT_EQ(TotalObjects, 1);
    // The new object's handle is drawn at the pressed view pixel.
    w.Canvas1().Refresh(false);
    const QImage shown = ui::Shown(w.Canvas1());
    double sumX = 0, sumY = 0, count = 0; // the grey disc of the handle
    for (int y = 180; y < 220; ++y)
        for (int x = 280; x < 330; ++x) {
            const QRgb p = shown.pixel(x, y);
            if (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) > 110 && qRed(p) < 150)
                sumX += x, sumY += y, ++count;
        }
    ASSERT_GT(count, 4);
    EXPECT_NEAR(sumX / count, 300, 1.0);
    EXPECT_NEAR(sumY / count, 200, 1.0);
}
