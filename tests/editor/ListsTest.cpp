// The object and parameter lists and the fields beside them: typed values and dialog choices stored,
// the selection moved, and what cannot be refused.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using namespace testing_support;

namespace {

class Lists : public ::testing::Test {
public:
    void SetUp() override {
        FillModNames();
        w.Show();
        ui::Activate(w);
    }
    // A new document with objects named "Object k", each with its own colour and angle; `current` selected.
    void Objects(int count, int current) {
        NewDoc();
        for (int k = 0; k < count; ++k)
            AddObject({.name = "Object " + Str(k),
                       .x = 10.0 * k,
                       .y = 5,
                       .style = "Bold",
                       .size = 12,
                       .colour = "C0" + Str(10 + k) + "M000Y000K000",
                       .angle = 15.0 * k});
        CurrentObject = current;
        LoadSel(current);
    }

    Window1& w = SharedInstance<Window1>();
    ListBox& objects = w.ListBox1();
    ListBox& parameters = w.ListBox2();
};

} // namespace

TEST_F(Lists, ObjectRowsStoreTypedValuesAndDialogResults) {
    Objects(2, 1);
    const std::tuple<int, QString, QString, Variant, bool> cases[] = {
        // row, typed, shown, stored, changed
        {1, "12.50", "12.5", 12.5, true},
        {2, "abc", "5.0", 5.0, false}, // no number: refused, the value in use shows again
        {10, "-90", "-90", -90.0, true},
        {0, "Serial 12.50", "Serial 12.50", "Serial 12.50", true}};
    for (const auto& [row, typed, shown, stored, changed] : cases) {
        DirtyFlag = false;
        Scripted().messages.clear();
        ui::TypeInto(objects, row, typed);
        EXPECT_EQ(objects.Cell(row, 2), shown) << row;
        EXPECT_EQ(RecPos(1, row), stored) << row;
        EXPECT_EQ(DirtyFlag, changed) << row;
        EXPECT_EQ(Scripted().messages.size(), changed ? 0 : 1) << row;
    }
    // Font Style hands over the family above it; the font row ends deselected.
    ui::ClickCell(objects, 7, 2);
    EXPECT_EQ(w.CurrentFont + "/" + w.CurrentStyle, "Arial/Bold");
    EXPECT_EQ(objects.ListIndex(), -1);
    // Only a method chosen and accepted in the selector changes the cell and the document: cancelling,
    // closing it or OK with no row leave "3, Mod 9" alone, also after a choice made for another object.
    RecPos(1, 5) = "3, Mod 9";
    LoadSel(1);
    w.ModName = "7, EAN Mod 10 weighted"; // as an earlier choice for another object leaves it
    for (const char* end : {"Cancel1", "close box", "OK1"}) {
        DirtyFlag = false;
        OnNextModal([end](Window& d) {
            if (QString(end) == "close box")
                d.Widget()->close();
            else
                ui::Click(*d.FindControl(end), 20, 10);
        });
        ui::ClickCell(objects, 5, 1);
        EXPECT_EQ(objects.Cell(5, 2) + "/" + RecPos(1, 5).StringValue(), "3, Mod 9/3, Mod 9") << end;
        EXPECT_FALSE(DirtyFlag) << end;
    }
    OnNextModal([](Window& d) {
        ui::ClickCell(*d.ControlNamed<ListBox>("ListBox1"), 5, 1);
        ui::Click(*d.FindControl("OK1"), 20, 10);
    });
    ui::ClickCell(objects, 5, 1);
    EXPECT_EQ(objects.Cell(5, 2) + "/" + RecPos(1, 5).StringValue(), "5, Mod 10/5, Mod 10");
    EXPECT_TRUE(DirtyFlag);
    ui::ClickCell(objects, 9, 1);
    EXPECT_EQ(RecPos(1, 14).ColorValue(), CMY(0.11, 0, 0)); // the display colour follows the string
    EXPECT_EQ(RecPos(0, 0).StringValue(), "Object 0");      // the other object is untouched
}

TEST_F(Lists, StepCountsMakeTheSignature) {
    NewDoc();
    const std::pair<int, QString> typed[] = {{5, "3"}, {7, "2"}, {5, "1"}, {7, "0"}}; // below 1 is 1
    const QList<double> expected[] = {// across, its step, signature width; the same down
                                      {3, 210, 630, 1, 0, 297},
                                      {3, 210, 630, 2, 297, 594},
                                      {1, 0, 210, 2, 297, 594},
                                      {1, 0, 210, 1, 0, 297}};
    for (int i = 0; i < 4; ++i) {
        ui::TypeInto(parameters, typed[i].first, typed[i].second);
        EXPECT_EQ(QList<double>({double(AstepR), AstepRV, AsigWidth, double(AstepD), AstepDV, AsigHeight}),
                  expected[i]);
        QList<double> listed;
        for (int row : {5, 6, 3, 7, 8, 4})
            listed << Val(parameters.Cell(row, 2));
        EXPECT_EQ(listed, expected[i]) << i;
    }
    // A new width takes effect when another row is selected: the signature follows it.
    ui::TypeInto(parameters, 5, "3");
    ui::TypeInto(parameters, 1, "100");
    ui::ClickCell(parameters, 2, 1);
    EXPECT_EQ(QList<double>({AdocWidth, AstepRV, AsigWidth}), QList<double>({100, 100, 300}));
    EXPECT_EQ(Val(parameters.Cell(3, 2)), 300);
    // The rows that only show values take no clicks: the selection stays, and nothing is edited.
    for (int row : {0, 3, 4, 6, 8, 9}) {
        ui::ClickCell(parameters, row, 2);
        EXPECT_EQ(QList<int>({parameters.ListIndex(), parameters.ActiveEditor() != nullptr}),
                  QList<int>({2, 0}))
            << row;
    }
}

TEST_F(Lists, ScrollerAndDeleteMoveTheSelection) {
    auto& scroller = w.ListSelect();
    const std::array<int, 4> steps[] = {{3, 2, 1, 0}, {3, 0, 0, 2}, {0, -1, 1, -1}}; // objects, from, up, to
    for (const auto& [count, from, up, to] : steps) {
        Objects(count, from);
        up ? scroller.PushUp() : scroller.PushDown();
        EXPECT_EQ(CurrentObject, to);
        EXPECT_EQ(objects.Cell(0, 2), to >= 0 ? "Object " + Str(to) : "");
    }
    auto& remove = w.BtnDelObj();
    // The selected object before; the count and names left, and the one selected after (-1: none).
    const std::pair<int, QString> deletes[] = {{1, "2: Object 0,Object 2; Object 2"},
                                               {2, "2: Object 0,Object 1; Object 1"},
                                               {-1, "3: Object 0,Object 1,Object 2; -1"},
                                               {0, "0: ; -1"}};
    for (const auto& [current, left] : deletes) {
        Objects(left.startsWith("0:") ? 1 : 3, current);
        DirtyFlag = false;
        const QList<Variant> moved = {RecPos(2, 1), RecPos(2, 9), RecPos(2, 10)};
        remove.Push();
        EXPECT_EQ(DirtyFlag, current >= 0);
        QStringList names;
        for (int i = 0; i < TotalObjects; ++i)
            names << RecPos(i, 0).StringValue();
        EXPECT_EQ(QString("%1: %2; %3")
                      .arg(TotalObjects)
                      .arg(names.join(','), CurrentObject >= 0 ? RName : QString::number(CurrentObject)),
                  left);
        // The moved object keeps its whole record.
        EXPECT_TRUE(current != 1 || QList<Variant>({RecPos(1, 1), RecPos(1, 9), RecPos(1, 10)}) == moved);
    }
    // With the only object gone the list shows a new object's values but the deleted object's colour
    // and angle, also after a second press with no object; the next object placed takes them on.
    Objects(1, 0);
    RecPos(0, 10) = -37.5;
    LoadSel(0);
    for (int press = 1; press <= 2; ++press) {
        remove.Push();
        QStringList shown;
        for (int row = 0; row <= 10; ++row)
            shown << objects.Cell(row, 2);
        EXPECT_EQ(shown.join('|'), "|0|0||0|0|Arial|Normal|14.0|C010M000Y000K000|-37.5") << press;
        EXPECT_EQ(std::pair(TotalObjects, CurrentObject), std::pair(0, -1));
    }
    OnNextModal([](Window& d) { ui::Click(*d.FindControl("OK1"), 20, 10); });
    ui::Click(w.Numtool(), 15, 15);
    ui::Click(w.Canvas1().Widget(), {100, 100});
    ASSERT_EQ(TotalObjects, 1);
    EXPECT_EQ(std::tuple(RecPos(0, 9).StringValue(), RecPos(0, 10).DoubleValue(), RecPos(0, 14).ColorValue()),
              std::tuple(QString("C010M000Y000K000"), -37.5, DisplayColour(10, 0, 0, 0)));
}

TEST_F(Lists, LeavingTheQuantityMakesWholeSheetsWithoutOverflow) {
    struct Case {
        int across, down;
        QString typed, quantity;
    } cases[] = {{2, 3, "1000", "996"}, {0, 0, "7", "7"}, {1, 1, "2147483647", "2147483647"}};
    EditField& quantity = w.EdQty();
    for (const Case& c : cases) {
        AstepR = c.across, AstepD = c.down;
        ui::TypeOver(quantity, c.typed);
        parameters.SetFocus(); // leaving the field
        EXPECT_EQ(quantity.Text(), c.quantity) << c.across;
        EXPECT_EQ(Str(Aqty), c.quantity) << c.across;
    }
}

// A quantity typed and left shows the sheets it makes, marks the document modified and becomes whole
// sheets, up to the largest quantity.
TEST_F(Lists, TypingTheQuantityMarksTheDocumentAndLeavingItMakesWholeSheets) {
    NewDoc();
    EditField& quantity = w.EdQty();
    const struct {
        int across, down;
        QString typed, sheets, quantity;
    } cases[] = {{2, 3, "1000", "166", "996"},
                 {0, -1, "50", "50", "50"},
                 {1, 1, "2147483647", "2147483647", "2147483647"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        AstepR = c.across, AstepD = c.down, DirtyFlag = false;
        quantity.SetText("");
        quantity.SetFocus();
        ui::Type(quantity.Widget(), c.typed);
        w.EdStart().SetFocus();
        EXPECT_EQ(w.EdNup().Text(), c.sheets);
        EXPECT_EQ(quantity.Text(), c.quantity);
        EXPECT_TRUE(DirtyFlag);
    }
}

// A page size that is not above 0 mm, or no number at all, is refused with one message and the old one
// kept, so the page stays in view; a start number that number text cannot print is refused the same.
TEST_F(Lists, SizesAndStartNumbersThatCannotBeAreRefused) {
    NewDoc();
    for (const QString& typed : {QString("0"), QString("-5"), QString("abc"), QString("0.04")}) {
        SCOPED_TRACE(typed.toStdString());
        Scripted().messages.clear();
        ui::TypeInto(parameters, 1, typed);
        ui::ClickCell(parameters, 5, 2); // on to another row
        EXPECT_EQ(
            Scripted().messages,
            QStringList{
                "\u201cDocument Width\u201d must be a number of millimetres above 0 and at most 5000."});
        EXPECT_EQ(std::pair(AdocWidth, parameters.Cell(1, 2)), std::pair(210.0, QString("210.0")));
        EXPECT_NE(w.gx, nullptr);
    }
    EditField& start = w.EdStart();
    for (const auto& [typed, kept] :
         {std::pair("-5", "12"), std::pair("1234567890123456", "12"), std::pair("77", "77")}) {
        SCOPED_TRACE(typed);
        start.SetText("12");
        Astart = 12;
        start.Widget()->setFocus();
        Scripted().messages.clear();
        start.SelectAll();
        ui::Type(start.Widget(), typed);
        parameters.Widget()->setFocus(); // leaving the field
        EXPECT_EQ(start.Text(), kept);
        EXPECT_EQ(Astart, Val(kept));
        EXPECT_EQ(Scripted().messages.size(), QString(kept) == typed ? 0 : 1);
    }
}
