#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"

#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

QLineEdit* Editor(ListBox& list) {
    return qobject_cast<QLineEdit*>(list.ActiveEditor());
}

// The value cells of a list, as shown.
QStringList Values(ListBox& list) {
    QStringList values;
    for (int r = 0; r < list.ListCount(); ++r)
        values << list.Cell(r, 2);
    return values;
}

class Lists : public ::testing::Test {
public:
    void SetUp() override {
        InitGlobals();
        FillModNames();
        w.Show();
        NewDoc();
    }
    void TearDown() override { AdocWidth = AdocHeight = 0; }

    // An object named "Object k" at (10k, 20k) with its own colour and angle; row 0 of three is current.
    void AddObjects(int count) {
        const QString colours[] = {"C100M000Y000K000", "C000M100Y000K000", "C000M000Y100K000"};
        for (int k = 0; k < count; ++k) {
            const Variant fields[] = {
                "Object " + Str(k), 10.0 * k,       20.0 * k, "/", k, "5, Mod 10", "Arial", "Bold",
                12.0 + k,           colours[k % 3], 15.0 * k};
            for (int f = 0; f < 11; ++f)
                RecPos(k, f) = fields[f];
            Rcolour = colours[k % 3];
            NumColour(k);
        }
        TotalObjects = count;
        CurrentObject = count > 0 ? 0 : -1;
        LoadSel(CurrentObject);
    }

    // Clicks a value cell and types over it; Return confirms the edit.
    void TypeInto(ListBox& list, int row, const QString& text) {
        ui::ClickCell(list, row, 2);
        ASSERT_NE(Editor(list), nullptr) << row;
        Editor(list)->selectAll();
        ui::Type(Editor(list), text);
        ui::Key(Editor(list), Qt::Key_Return, "\r");
    }

    void TypeInto(EditField& field, const QString& text) {
        field.SetText("");
        field.SetFocus();
        ui::Type(field.Widget(), text);
    }

    Window1& w = SharedInstance<Window1>();
    ListBox& objects = *w.ControlNamed<ListBox>("ListBox1");
    ListBox& parameters = *w.ControlNamed<ListBox>("ListBox2");
};

} // namespace

TEST_F(Lists, SelectorCellsHandTheirValuesOverAndWriteTheObject) {
    AddObjects(2);
    CurrentObject = 1;
    LoadSel(1);

    struct Case {
        const char* name;
        int row;
        QString handedFont, handedStyle; // what the font selector was given
        bool staysSelected;
    } cases[] = {
        {"method", 5, "", "", true},
        {"font family", 6, "Arial", "Bold", false},
        {"font style", 7, "Arial", "Bold", false},
        {"colour", 9, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.ModName = "3, Mod 9";       // as the method selector leaves it
        Rcolour = "C000M000Y000K050"; // as the colour selector leaves it
        w.CurrentFont = w.CurrentStyle = "";
        ui::ClickCell(objects, c.row, 2);
        EXPECT_EQ(w.CurrentFont, c.handedFont);
        EXPECT_EQ(w.CurrentStyle, c.handedStyle);
        EXPECT_EQ(objects.Selected(c.row), c.staysSelected);
        EXPECT_EQ(objects.CellType(c.row, 2), ListBox::TypeEditable);
        EXPECT_TRUE(w.CellClicked);
        EXPECT_EQ(objects.ActiveEditor() != nullptr, c.staysSelected); // no editor over a chosen value
        if (objects.ActiveEditor())
            ui::Key(objects.ActiveEditor(), Qt::Key_Escape);
    }
    // Each selector's result went into the list and straight into the current object.
    EXPECT_EQ(objects.Cell(5, 2), "3, Mod 9");
    EXPECT_EQ(RecPos(1, 5).StringValue(), "3, Mod 9");
    EXPECT_EQ(QStringList({RecPos(1, 6).StringValue(), RecPos(1, 7).StringValue()}),
              QStringList({"Arial", "Bold"}));
    EXPECT_EQ(objects.Cell(9, 2), "C000M000Y000K050");
    EXPECT_EQ(RecPos(1, 9).StringValue(), "C000M000Y000K050");
    EXPECT_EQ(RecPos(1, 14).ColorValue(), CMY(0.5, 0.5, 0.5));
    EXPECT_EQ(RecPos(0, 9).StringValue(), "C100M000Y000K000"); // the other object is untouched
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(Lists, TypedValuesAreNormalisedAndReachTheObjectWhenTheEditEnds) {
    AddObjects(1);
    struct Case {
        const char* name;
        int row;
        QString typed, shown;
        Variant stored;
    } cases[] = {
        {"number", 1, "12.50", "12.5", 12.5},
        {"not a number", 2, "abc", "0", 0.0},
        {"leading number", 8, "18pt", "18", 18.0},
        {"negative", 10, "-90", "-90", -90.0},
        {"text kept as typed", 0, "Serial 12.50", "Serial 12.50", "Serial 12.50"},
        {"picture", 3, "^A", "^A", "^A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirtyFlag = false;
        TypeInto(objects, c.row, c.typed);
        EXPECT_EQ(objects.ActiveEditor(), nullptr);
        EXPECT_EQ(objects.Cell(c.row, 2), c.shown);
        EXPECT_EQ(RecPos(0, c.row), c.stored);
        EXPECT_EQ(objects.ListIndex(), -1);
        EXPECT_EQ(objects.CellType(c.row, 2), ListBox::TypeDefault);
        EXPECT_TRUE(DirtyFlag);
    }
    EXPECT_EQ(QList<double>({Rxloc, Ryloc, RFontSize, Rangle}), QList<double>({12.5, 0, 18, -90}));
    EXPECT_EQ(RName, "Serial 12.50");
}

TEST_F(Lists, NoObjectIsWrittenBeforeTheFirstClick) {
    AddObjects(1);
    objects.EditCell(0, 2); // an edit not begun by a click on the list
    Editor(objects)->setText("Changed");
    ui::Key(Editor(objects), Qt::Key_Escape);
    EXPECT_EQ(RecPos(0, 0).StringValue(), "Object 0");
}

TEST_F(Lists, ValueOnlyParameterRowsTakeNoClicksAndAreShaded) {
    const Color shaded = RGB(240, 230, 230), white = RGB(255, 255, 255);
    const QList<bool> editable = {false, true, true, false, false, true, false, true, false, false};
    auto* table = static_cast<QTableWidget*>(parameters.Widget());
    const QImage shown = table->viewport()->grab().toImage();
    for (int row = 0; row < parameters.ListCount(); ++row) {
        SCOPED_TRACE(parameters.Cell(row, 1).toStdString());
        // The right edge of the value cell, past its text.
        const QRect cell = table->visualRect(table->model()->index(row, 2));
        const QColor pixel = shown.pixelColor(cell.right() - 2, cell.center().y());
        EXPECT_EQ(RGB(pixel.red(), pixel.green(), pixel.blue()), editable[row] ? white : shaded);

        ui::ClickCell(parameters, row, 2);
        EXPECT_EQ(parameters.ListIndex() == row, editable[row]);
        EXPECT_EQ(parameters.ActiveEditor() != nullptr, editable[row]);
        if (parameters.ActiveEditor())
            ui::Key(parameters.ActiveEditor(), Qt::Key_Escape);
    }
}

TEST_F(Lists, StepCountsAndPageSizeMakeTheSignature) {
    struct Case {
        const char* name;
        int row;
        QString typed;
        // step across and its distance, signature width; step down and its distance, signature height
        QList<double> expected;
    } cases[] = {
        {"three across", 5, "3", {3, 210, 630, 1, 0, 297}},
        {"two down", 7, "2", {3, 210, 630, 2, 297, 594}},
        {"one across", 5, "1", {1, 0, 210, 2, 297, 594}},
        {"none down is one", 7, "0", {1, 0, 210, 1, 0, 297}},
        {"negative across is one", 5, "-4", {1, 0, 210, 1, 0, 297}},
        {"not a number is one", 7, "x", {1, 0, 210, 1, 0, 297}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TypeInto(parameters, c.row, c.typed);
        EXPECT_EQ(QList<double>({double(AstepR), AstepRV, AsigWidth, double(AstepD), AstepDV, AsigHeight}),
                  c.expected);
        QList<double> listed; // the list shows what the globals hold
        for (int row : {5, 6, 3, 7, 8, 4})
            listed << Val(parameters.Cell(row, 2));
        EXPECT_EQ(listed, c.expected);
    }

    // A new width takes effect when another row is selected: the page view is rebuilt for it.
    TypeInto(parameters, 5, "3");
    TypeInto(parameters, 1, "100");
    EXPECT_EQ(AsigWidth, 630);
    ui::ClickCell(parameters, 2, 1);
    EXPECT_EQ(QList<double>({AdocWidth, AstepRV, AsigWidth}), QList<double>({100, 100, 300}));
    EXPECT_EQ(w.gx->Width(), Int(mms(100)));
    EXPECT_EQ(RecHd(3).DoubleValue(), 300);
    EXPECT_TRUE(DirtyFlag);
}

TEST_F(Lists, QuantityBecomesWholeSheets) {
    ui::Activate(w);
    EditField& quantity = *w.ControlNamed<EditField>("EdQty");
    EditField& sheets = *w.ControlNamed<EditField>("EdNup");
    struct Case {
        const char* name;
        std::int32_t across, down;
        QString typed;
        std::int32_t sheets, quantity;
    } cases[] = {
        {"2 x 3 grid", 2, 3, "1000", 166, 996},
        {"one up", 1, 1, "7", 7, 7},
        {"counts below 1 from a file", 0, -1, "50", 50, 50},
        {"not a number", 2, 2, "abc", 0, 0},
        {"too large for 32 bits", 1, 1, "9999999999", 2147483647, 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AstepR = c.across;
        AstepD = c.down;
        DirtyFlag = false;
        TypeInto(quantity, c.typed);
        EXPECT_TRUE(DirtyFlag);
        EXPECT_EQ(AnupQTY, c.sheets);
        EXPECT_EQ(Val(sheets.Text()), c.sheets);
        w.ControlNamed<EditField>("EdStart")->SetFocus(); // leaving the field
        EXPECT_EQ(Aqty, c.quantity);
        EXPECT_EQ(quantity.Text(), Str(c.quantity));
    }

    EditField& start = *w.ControlNamed<EditField>("EdStart");
    DirtyFlag = false;
    TypeInto(start, "2500");
    EXPECT_EQ(Astart, 2500);
    EXPECT_TRUE(DirtyFlag);
}

TEST_F(Lists, ScrollerWrapsAroundTheObjects) {
    struct Case {
        const char* name;
        int objects, from;
        bool up;
        int to;
    } cases[] = {
        {"up from the last", 3, 2, true, 0},
        {"down from the first", 3, 0, false, 2},
        {"up", 3, 0, true, 1},
        {"down", 3, 2, false, 1},
        {"up with none selected", 3, -1, true, 0},
        {"up with no objects", 0, -1, true, -1},
        {"down with no objects", 0, -1, false, -1},
    };
    auto& scroller = *w.ControlNamed<LittleArrows>("ListSelect");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewDoc();
        AddObjects(c.objects);
        CurrentObject = c.from;
        LoadSel(c.from);
        if (c.from >= 0)
            objects.SetCell(0, 2, "Renamed"); // an edit the list shows but the object does not hold yet
        objects.SetListIndex(4);
        c.up ? scroller.PushUp() : scroller.PushDown();
        EXPECT_EQ(CurrentObject, c.to);
        EXPECT_EQ(objects.ListIndex(), -1);
        if (c.from >= 0)
            EXPECT_EQ(RecPos(c.from, 0).StringValue(), "Renamed");
        EXPECT_EQ(objects.Cell(0, 2), c.to >= 0 ? RecPos(c.to, 0).StringValue() : QString());
    }
}

TEST_F(Lists, DeleteObjectMovesLaterObjectsUp) {
    struct Case {
        const char* name;
        int objects, deleted;
        QStringList left; // names left in rows 0 to TotalObjects - 1
        int current;
    } cases[] = {
        {"middle of three", 3, 1, {"Object 0", "Object 2"}, 1},
        {"last of three", 3, 2, {"Object 0", "Object 1"}, 1},
        {"first of three", 3, 0, {"Object 1", "Object 2"}, 0},
        {"none selected", 3, -1, {"Object 0", "Object 1", "Object 2"}, -1},
        {"the only one, not selected", 1, -1, {"Object 0"}, -1},
    };
    auto& button = *w.ControlNamed<BevelButton>("BtnDelObj");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewDoc();
        AddObjects(c.objects);
        CurrentObject = c.deleted;
        LoadSel(c.deleted);
        button.Push();
        QStringList left;
        for (int i = 0; i < TotalObjects; ++i)
            left << RecPos(i, 0).StringValue();
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(CurrentObject, c.current);
    }

    // The moved object keeps its whole record, display colour included, and is shown.
    NewDoc();
    AddObjects(3);
    const QList<Variant> third = {RecPos(2, 1), RecPos(2, 9), RecPos(2, 10), RecPos(2, 14)};
    CurrentObject = 1;
    button.Push();
    EXPECT_EQ(QList<Variant>({RecPos(1, 1), RecPos(1, 9), RecPos(1, 10), RecPos(1, 14)}), third);
    EXPECT_EQ(RName, "Object 2");
    EXPECT_EQ(Values(objects)[0], "Object 2");
    EXPECT_EQ(Values(objects)[9], "C000M000Y100K000");
}

TEST_F(Lists, DeletingTheOnlyObjectLeavesDefaults) {
    AddObjects(3);
    CurrentObject = 2;
    LoadSel(2);
    RecPos(0, 0) = "Only";
    RecPos(0, 10) = 45.0;
    for (int k = 0; k < 2; ++k)
        w.ControlNamed<BevelButton>("BtnDelObj")->Push();
    ASSERT_EQ(RName, "Only");
    w.ControlNamed<BevelButton>("BtnDelObj")->Push();
    EXPECT_EQ(QList<int>({TotalObjects, CurrentObject}), QList<int>({0, -1}));
    // The deleted object's colour and angle stay, for the next object placed.
    EXPECT_EQ(Values(objects), QStringList({"", "0", "0", "", "0", "0", "Arial", "Normal", "14.0",
                                            "C100M000Y000K000", "45.0"}));
}

TEST_F(Lists, FitAndBackwardButtons) {
    PageResolution = 300;
    w.ControlNamed<BevelButton>("BtFit")->Push();
    EXPECT_EQ(PageResolution, Int(641 / 297.0 * 25.4)); // the height is the tighter fit of Canvas1
    EXPECT_EQ(w.gx->Height(), Int(mms(297)));

    auto& backward = *w.ControlNamed<CheckBox>("CBback");
    backward.Push();
    EXPECT_TRUE(Aback);
    backward.Push();
    EXPECT_FALSE(Aback);
}
