#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"

#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A window holding one list shaped like the parameter list: a hidden tag column, a label, a value.
class ListWindow : public Window {
public:
    ListWindow() {
        ApplyDesc({.title = "List", .width = 260, .height = 240});
        ControlDesc d{.name = "List", .kind = ControlKind::ListBox, .columnCount = 3, .rowHeight = 18};
        d.left = 10, d.top = 10, d.width = 202, d.height = 187, d.columnWidths = "0,120,80";
        d.rows = {"A\tFileName", "N\tDocument Width\t210", "N\tDocument Height\t297",
                  "N\tSignature Width\t210", "N\tStep Across\t1"};
        CreateControls({d});
        list = ControlNamed<ListBox>("List");
        auto cell = [this](const char* what) {
            return [this, what](int r, int c) { log << QString("%1 %2,%3").arg(what).arg(r).arg(c); };
        };
        list->MouseDown = [this](int x, int y) {
            log << QString("MouseDown %1").arg(list->RowFromXY(x, y));
            return swallowMouse;
        };
        list->CellClick = [this, cell](int row, int column, int, int) {
            cell("CellClick")(row, column);
            return handleClick;
        };
        list->Change = [this] { log << QString("Change %1").arg(list->ListIndex()); };
        list->CellGotFocus = cell("CellGotFocus");
        list->CellAction = cell("CellAction");
        list->CellLostFocus = cell("CellLostFocus");
        list->CellKeyDown = [](int, int, const QString& key) { return key == "x"; };
        list->DoubleClick = [this] { log << "DoubleClick"; };
        Show();
        log.clear();
    }
    ListBox* list;
    QStringList log;
    bool swallowMouse = false, handleClick = false;
};

QLineEdit* Editor(ListBox& list) {
    return qobject_cast<QLineEdit*>(list.ActiveEditor());
}

} // namespace

TEST(ListBox, CellsRowsAndHiddenTagColumn) {
    ListWindow w;
    ListBox& list = *w.list;
    auto* table = static_cast<QTableWidget*>(list.Widget());
    EXPECT_TRUE(table->isColumnHidden(0)); // a width of 0
    EXPECT_EQ(list.Cell(1, 1), "Document Width");
    EXPECT_EQ(list.Cell(0, 2), ""); // a row given with two cells only
    list.AddRow("X");
    EXPECT_EQ(list.LastIndex(), 5); // the row last added
    EXPECT_EQ(QStringList({list.Cell(5, 0), list.Cell(5, 2)}), QStringList({"X", ""}));
    list.InsertRow(0, "Top");
    EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(2, 1)}), QStringList({"Top", "Document Width"}));
    list.RemoveRow(0);
    list.SetCell(5, 2, "value");
    EXPECT_EQ(list.Cell(5, 2), "value");
    for (auto [row, column] : {std::pair{-1, 0}, {0, -1}, {0, 3}, {6, 0}}) {
        EXPECT_THROW(list.Cell(row, column), OutOfBoundsException) << row << "," << column;
        EXPECT_THROW(list.SetCell(row, column, "v"), OutOfBoundsException) << row << "," << column;
    }
    EXPECT_THROW(list.RemoveRow(6), OutOfBoundsException);

    // Row 2 lies 36 to 54 pixels down the rows; column 0 takes no room, so x = 5 is column 1.
    const QPoint rows = table->viewport()->mapTo(table, QPoint(0, 0));
    EXPECT_EQ(list.RowFromXY(rows.x() + 50, rows.y() + 40), 2);
    EXPECT_EQ(list.ColumnFromXY(rows.x() + 5, rows.y() + 40), 1);
    EXPECT_EQ(list.RowFromXY(rows.x() + 50, rows.y() + 18 * 6 + 2), -1);
    EXPECT_EQ(list.RowFromXY(-5, rows.y() + 40), -1);

    list.DeleteAllRows();
    EXPECT_EQ(list.LastIndex(), -1);
}

TEST(ListBox, ChangeRunsWhenTheSelectedRowChanges) {
    ListWindow w;
    ListBox& list = *w.list;
    struct Step {
        const char* what;
        std::function<void()> act;
        int listIndex;
        QStringList log;
    } steps[] = {
        {"select a row", [&] { list.SetListIndex(2); }, 2, {"Change 2"}},
        {"the same row again", [&] { list.SetListIndex(2); }, 2, {}},
        {"deselect it", [&] { list.SetSelected(2, false); }, -1, {"Change -1"}},
        {"select another", [&] { list.SetSelected(4, true); }, 4, {"Change 4"}},
        {"a row above goes", [&] { list.RemoveRow(0); }, 3, {}},
        {"the selected row goes", [&] { list.RemoveRow(3); }, -1, {"Change -1"}},
        {"select, then none",
         [&] { list.SetListIndex(1), list.SetListIndex(-1); },
         -1,
         {"Change 1", "Change -1"}},
    };
    for (auto& s : steps) {
        w.log.clear();
        s.act();
        EXPECT_EQ(list.ListIndex(), s.listIndex) << s.what;
        EXPECT_EQ(w.log, s.log) << s.what;
    }
    list.SetListIndex(1);
    EXPECT_TRUE(list.Selected(1) && !list.Selected(0));
    EXPECT_EQ(list.Text(), "N");
    EXPECT_THROW(list.SetListIndex(9), OutOfBoundsException);
}

TEST(ListBox, ClicksGoThroughMouseDownAndCellClickFirst) {
    struct Case {
        const char* what;
        bool swallowMouse, handleClick;
        QStringList log;
        int listIndex;
    } cases[] = {
        {"plain click", false, false, {"MouseDown 2", "CellClick 2,1", "Change 2"}, 2},
        {"MouseDown swallows it", true, false, {"MouseDown 2"}, -1},
        {"CellClick handles it", false, true, {"MouseDown 2", "CellClick 2,1"}, -1},
    };
    for (const auto& c : cases) {
        ListWindow w;
        w.swallowMouse = c.swallowMouse;
        w.handleClick = c.handleClick;
        ui::ClickCell(*w.list, 2, 1);
        EXPECT_EQ(w.log, c.log) << c.what;
        EXPECT_EQ(w.list->ListIndex(), c.listIndex) << c.what;
        EXPECT_EQ(w.list->ActiveEditor(), nullptr) << c.what; // normal cells are not edited
    }
    ListWindow w;
    ui::DoubleClickCell(*w.list, 1, 1);
    EXPECT_EQ(w.log.last(), "DoubleClick");
}

TEST(ListBox, EditableCellsEditInPlace) {
    ListWindow w;
    ListBox& list = *w.list;
    list.SetColumnType(2, ListBox::TypeEditable);
    list.SetCellType(3, 2, ListBox::TypeNormal);
    EXPECT_EQ(list.CellType(1, 2), ListBox::TypeDefault); // takes its column's type

    // Click, type, Return: the text is committed, then CellAction, then CellLostFocus.
    ui::ClickCell(list, 1, 2);
    ASSERT_NE(Editor(list), nullptr);
    EXPECT_EQ(w.log, QStringList({"MouseDown 1", "CellClick 1,2", "Change 1", "CellGotFocus 1,2"}));
    Editor(list)->selectAll();
    ui::Type(Editor(list), "1x5"); // CellKeyDown swallows the x
    w.log.clear();
    ui::Key(Editor(list), Qt::Key_Return);
    EXPECT_EQ(list.Cell(1, 2), "15");
    EXPECT_EQ(w.log, QStringList({"CellAction 1,2", "CellLostFocus 1,2"}));
    EXPECT_EQ(list.ActiveEditor(), nullptr);

    // A click elsewhere ends the edit (committed, no CellAction) before it is handled.
    ui::ClickCell(list, 2, 2);
    Editor(list)->setText("300");
    w.log.clear();
    ui::ClickCell(list, 3, 2);
    EXPECT_EQ(w.log, QStringList({"CellLostFocus 2,2", "MouseDown 3", "CellClick 3,2", "Change 3"}));
    EXPECT_EQ(list.Cell(2, 2), "300");
    EXPECT_EQ(list.ActiveEditor(), nullptr); // cell 3,2 is normal

    // Escape drops the typing.
    list.EditCell(4, 2);
    Editor(list)->setText("9");
    w.log.clear();
    ui::Key(Editor(list), Qt::Key_Escape);
    EXPECT_EQ(list.Cell(4, 2), "1");
    EXPECT_EQ(w.log, QStringList({"CellLostFocus 4,2"}));
}

TEST(ListBox, CellClickMayShowAModalWindow) {
    ListWindow w;
    class Dialog : public Window {};
    QString chosen;
    w.list->CellClick = [&](int row, int, int, int) {
        OnNextModal([&](Window& d) {
            chosen = "Bold";
            d.Close();
        });
        Dialog().ShowModal();
        w.list->SetCell(row, 2, chosen);
        return false; // the click goes on to select the row
    };
    ui::ClickCell(*w.list, 3, 1);
    EXPECT_EQ(w.list->Cell(3, 2), "Bold");
    EXPECT_EQ(w.list->ListIndex(), 3);
}

TEST(ListBox, SortKeepsRowsTogether) {
    ListWindow w;
    ListBox& list = *w.list;
    list.DeleteAllRows();
    for (const char* name : {"beta", "Gamma", "alpha"})
        list.AddRow(QStringList{name, QString(name).toUpper()});
    list.SetCellType(2, 1, ListBox::TypeEditable);
    list.SetListIndex(1);
    w.log.clear();
    list.SetSortedColumn(0);
    list.Sort();
    EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(0, 1), list.Cell(2, 0)}),
              QStringList({"alpha", "ALPHA", "Gamma"})); // rows move whole; letters compare without case
    EXPECT_EQ(list.CellType(0, 1), ListBox::TypeEditable);
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_TRUE(w.log.isEmpty()); // the selected row did not change
}

TEST(ListBox, CellBackgroundPaintFillsUnderTheText) {
    ListWindow w;
    const Color grey = RGB(240, 230, 230);
    w.list->CellBackgroundPaint = [&](Graphics& g, int row, int) {
        g.ForeColor = row == 1 ? RGB(255, 255, 255) : grey;
        g.FillRect(0, 0, g.Width(), g.Height());
        return false;
    };
    auto* table = static_cast<QTableWidget*>(w.list->Widget());
    const QImage shot = table->viewport()->grab().toImage();
    auto colourAt = [&](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 2));
        return shot.pixelColor(cell.right() - 2, cell.center().y());
    };
    EXPECT_EQ(colourAt(0), grey.toQColor());
    EXPECT_EQ(colourAt(1), QColor(255, 255, 255));
}
