#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;

namespace {

class Lists : public ::testing::Test {
public:
    void SetUp() override {
        InitGlobals();
        w.Show();
        ui::Activate(w);
    }
    void TearDown() override { AdocWidth = AdocHeight = 0; }

    // A new document with objects named "Object k", each with its own colour and angle; `current` selected.
    void Objects(int count, int current) {
        NewDoc();
        for (int k = 0; k < count; ++k) {
            const Variant fields[] = {"Object " + Str(k), 10.0 * k, 5.0,    "",  0,
                                      "0, None",          "Arial",  "Bold", 12.0};
            for (int f = 0; f < 9; ++f)
                RecPos(k, f) = fields[f];
            RecPos(k, 9) = "C0" + Str(10 + k) + "M000Y000K000", RecPos(k, 10) = 15.0 * k;
        }
        TotalObjects = count;
        CurrentObject = current;
        LoadSel(current);
    }

    // Clicks a value cell, types over it and confirms with Return.
    void TypeInto(ListBox& list, int row, const QString& text) {
        ui::ClickCell(list, row, 2);
        auto* editor = qobject_cast<QLineEdit*>(list.ActiveEditor());
        ASSERT_NE(editor, nullptr) << row;
        editor->selectAll();
        ui::Type(editor, text);
        ui::Key(editor, Qt::Key_Return, "\r");
    }

    Window1& w = SharedInstance<Window1>();
    ListBox& objects = *w.ControlNamed<ListBox>("ListBox1");
    ListBox& parameters = *w.ControlNamed<ListBox>("ListBox2");
};

} // namespace

TEST_F(Lists, ObjectListWritesTypedValuesAndSelectorResultsIntoTheObject) {
    Objects(2, 1);
    struct Case {
        int row;
        QString typed, shown;
        Variant stored;
    } cases[] = {{1, "12.50", "12.5", 12.5},
                 {2, "abc", "0", 0.0},
                 {10, "-90", "-90", -90.0},
                 {0, "Serial 12.50", "Serial 12.50", "Serial 12.50"}};
    for (const Case& c : cases) {
        DirtyFlag = false;
        TypeInto(objects, c.row, c.typed);
        EXPECT_EQ(objects.Cell(c.row, 2), c.shown) << c.row;
        EXPECT_EQ(RecPos(1, c.row), c.stored) << c.row;
        EXPECT_TRUE(DirtyFlag);
    }

    // Font Style hands over the family above it; the font and colour rows end deselected, Mod Type not.
    ui::ClickCell(objects, 7, 2);
    EXPECT_EQ(QStringList({w.CurrentFont, w.CurrentStyle}), QStringList({"Arial", "Bold"}));
    EXPECT_EQ(QList<int>({objects.ListIndex(), objects.ActiveEditor() != nullptr}), QList<int>({-1, 0}));
    w.ModName = "3, Mod 9";
    DirtyFlag = false;
    ui::ClickCell(objects, 5, 1);
    EXPECT_EQ(QList<QString>({objects.Cell(5, 2), RecPos(1, 5).StringValue()}), QStringList(2, "3, Mod 9"));
    EXPECT_TRUE(DirtyFlag) << "a value chosen in a dialog is a change to save";
    ui::ClickCell(objects, 9, 1);
    EXPECT_EQ(RecPos(1, 14).ColorValue(), CMY(0.11, 0, 0)); // the display colour follows the string
    EXPECT_EQ(RecPos(0, 0).StringValue(), "Object 0");      // the other object is untouched
}

TEST_F(Lists, StepCountsAndPageSizeMakeTheSignature) {
    NewDoc();
    struct Case {
        int row;
        QString typed;
        QList<double> expected; // across, its step and the signature width; the same down
    } cases[] = {
        {5, "3", {3, 210, 630, 1, 0, 297}},
        {7, "2", {3, 210, 630, 2, 297, 594}},
        {5, "1", {1, 0, 210, 2, 297, 594}},
        {7, "0", {1, 0, 210, 1, 0, 297}}, // a count below 1 is 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        TypeInto(parameters, c.row, c.typed);
        EXPECT_EQ(QList<double>({double(AstepR), AstepRV, AsigWidth, double(AstepD), AstepDV, AsigHeight}),
                  c.expected);
        QList<double> listed;
        for (int row : {5, 6, 3, 7, 8, 4})
            listed << Val(parameters.Cell(row, 2));
        EXPECT_EQ(listed, c.expected);
    }
    // A new width takes effect when another row is selected; value-only rows take no clicks.
    TypeInto(parameters, 5, "3");
    TypeInto(parameters, 1, "100");
    ui::ClickCell(parameters, 2, 1);
    EXPECT_EQ(QList<double>({AdocWidth, AstepRV, AsigWidth}), QList<double>({100, 100, 300}));
    EXPECT_EQ(w.gx->Width(), Int(mms(100)));
    ui::ClickCell(parameters, 6, 2);
    EXPECT_EQ(QList<int>({parameters.ListIndex(), parameters.ActiveEditor() != nullptr}), QList<int>({2, 0}));
}

TEST_F(Lists, QuantityBecomesWholeSheets) {
    NewDoc();
    EditField& quantity = *w.ControlNamed<EditField>("EdQty");
    struct Case {
        std::int32_t across, down;
        QString typed;
        std::int32_t sheets, quantity;
    } cases[] = {
        {2, 3, "1000", 166, 996}, {0, -1, "50", 50, 50}, {1, 1, "9999999999", 2147483647, 2147483647}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        AstepR = c.across, AstepD = c.down;
        quantity.SetText("");
        quantity.SetFocus();
        ui::Type(quantity.Widget(), c.typed);
        EXPECT_EQ(Val(w.ControlNamed<EditField>("EdNup")->Text()), c.sheets);
        w.ControlNamed<EditField>("EdStart")->SetFocus();
        EXPECT_EQ(quantity.Text(), Str(c.quantity));
        EXPECT_TRUE(DirtyFlag);
    }
}

TEST_F(Lists, ScrollerAndDeleteMoveTheSelection) {
    auto& scroller = *w.ControlNamed<LittleArrows>("ListSelect");
    struct Step {
        int objects, from, up, to;
    } steps[] = {{3, 2, 1, 0}, {3, 0, 0, 2}, {0, -1, 1, -1}};
    for (const Step& s : steps) {
        Objects(s.objects, s.from);
        s.up ? scroller.PushUp() : scroller.PushDown();
        EXPECT_EQ(CurrentObject, s.to) << s.objects << s.from << s.up;
        EXPECT_EQ(objects.Cell(0, 2), s.to >= 0 ? "Object " + Str(s.to) : "");
    }

    auto& remove = *w.ControlNamed<BevelButton>("BtnDelObj");
    struct Delete {
        int objects, current;
        QString left; // names left, and the one current
    } deletes[] = {{3, 1, "Object 0,Object 2;Object 2"},
                   {3, 2, "Object 0,Object 1;Object 1"},
                   {3, -1, "Object 0,Object 1,Object 2;"}};
    for (const Delete& d : deletes) {
        Objects(d.objects, d.current);
        DirtyFlag = false;
        const QList<Variant> moved = {RecPos(2, 1), RecPos(2, 9), RecPos(2, 10)};
        remove.Push();
        EXPECT_EQ(DirtyFlag, d.current >= 0) << "a deletion is a change to save";
        QStringList left;
        for (int i = 0; i < TotalObjects; ++i)
            left << RecPos(i, 0).StringValue();
        EXPECT_EQ(left.join(',') + ";" + (CurrentObject >= 0 ? RName : ""), d.left);
        if (d.current == 1) // the moved object keeps its whole record
            EXPECT_EQ(QList<Variant>({RecPos(1, 1), RecPos(1, 9), RecPos(1, 10)}), moved);
    }
    // The only object: defaults, with its colour and angle kept for the next object placed.
    Objects(2, 0);
    remove.Push();
    remove.Push();
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({0, -1}));
    QStringList shown;
    for (int r = 0; r < objects.ListCount(); ++r)
        shown << objects.Cell(r, 2);
    EXPECT_EQ(shown, QStringList({"", "0", "0", "", "0", "0", "Arial", "Normal", "14.0", "C011M000Y000K000",
                                  "15.0"}));
}
