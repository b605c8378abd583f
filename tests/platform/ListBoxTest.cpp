#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"

#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// The list box "List" at 10, 10, 202 pixels wide, with rows 18 pixels high.
ControlDesc ListDesc(int columns, const QString& widths, int height, const QStringList& rows) {
    ControlDesc d{.name = "List", .kind = ControlKind::ListBox, .columnCount = columns, .rowHeight = 18};
    d.left = 10, d.top = 10, d.width = 202, d.height = height, d.columnWidths = widths, d.rows = rows;
    return d;
}

// One two-column list whose events are logged.
class ListWindow : public Window {
public:
    ListWindow() {
        ApplyDesc({.title = "List", .width = 260, .height = 200});
        CreateControls(
            {ListDesc(2, "120,80", 150, {"Width\t210", "Height\t297", "Across\t1", "Down\t1", "Gap\t0"})});
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
        Show();
        log.clear();
    }
    QLineEdit* Editor() { return qobject_cast<QLineEdit*>(list->ActiveEditor()); }
    ListBox* list;
    QStringList log;
    bool swallowMouse = false, handleClick = false;
};

} // namespace

TEST(ListBox, ChangeRunsAlsoWhenTheProgramSelects) {
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
    };
    for (auto& s : steps) {
        w.log.clear();
        s.act();
        EXPECT_EQ(list.ListIndex(), s.listIndex) << s.what;
        EXPECT_EQ(w.log, s.log) << s.what;
    }
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
        EXPECT_EQ(w.list->ActiveEditor(), nullptr) << c.what;
    }
}

TEST(ListBox, EditsEndInTheFrameworkOrder) {
    struct Case {
        const char* what;
        std::function<void(ListWindow&)> end;
        const char* cell;
        QStringList log;
    } cases[] = {
        {"Return commits, then CellAction",
         [](ListWindow& w) { ui::Key(w.Editor(), Qt::Key_Return); },
         "9",
         {"CellAction 1,1", "CellLostFocus 1,1"}},
        {"a click elsewhere commits before it is handled",
         [](ListWindow& w) { ui::ClickCell(*w.list, 3, 0); },
         "9",
         {"CellLostFocus 1,1", "MouseDown 3", "CellClick 3,0", "Change 3"}},
        {"Escape drops the typing",
         [](ListWindow& w) { ui::Key(w.Editor(), Qt::Key_Escape); },
         "297",
         {"CellLostFocus 1,1"}},
    };
    for (const auto& c : cases) {
        ListWindow w;
        w.list->SetColumnType(1, ListBox::TypeEditable);
        ui::ClickCell(*w.list, 1, 1);
        ASSERT_NE(w.Editor(), nullptr) << c.what;
        EXPECT_EQ(w.log, QStringList({"MouseDown 1", "CellClick 1,1", "Change 1", "CellGotFocus 1,1"}));
        w.Editor()->setText("9");
        w.log.clear();
        c.end(w);
        EXPECT_EQ(w.list->Cell(1, 1), c.cell) << c.what;
        EXPECT_EQ(w.log, c.log) << c.what;
        EXPECT_EQ(w.list->ActiveEditor(), nullptr) << c.what;
    }
}

// A list shaped like the parameter list: a hidden tag column of width 0, a caption and a value; rows
// added, read and found by the pointer, and cells outside the list refused.
TEST(ListBox, CellsRowsAndAHiddenTagColumn) {
    class TagList : public Window {
    public:
        TagList() {
            ApplyDesc({.title = "Tags", .width = 260, .height = 240});
            CreateControls({ListDesc(3, "0,120,80", 187,
                                     {"A\tFileName", "N\tDocument Width\t210", "N\tDocument Height\t297"})});
            Show();
        }
    } w;
    ListBox& list = *w.ControlNamed<ListBox>("List");
    auto* table = static_cast<QTableWidget*>(list.Widget());
    EXPECT_TRUE(table->isColumnHidden(0));
    EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(1, 1), list.Cell(0, 2)}),
              QStringList({"A", "Document Width", ""}));
    list.AddRow("X");
    EXPECT_EQ(list.LastIndex(), 3);
    list.SetCell(3, 2, "value");
    EXPECT_EQ(QStringList({list.Cell(3, 0), list.Cell(3, 2)}), QStringList({"X", "value"}));
    for (auto [row, column] : {std::pair{-1, 0}, {0, -1}, {0, 3}, {4, 0}}) {
        EXPECT_THROW(list.Cell(row, column), OutOfBoundsException) << row << "," << column;
        EXPECT_THROW(list.SetCell(row, column, "v"), OutOfBoundsException) << row << "," << column;
    }
    // Row 2 lies 36 to 54 pixels down the rows; below the last row and left of the list there is none.
    const QPoint rows = table->viewport()->mapTo(table, QPoint(0, 0));
    EXPECT_EQ(
        QList<int>({list.RowFromXY(rows.x() + 50, rows.y() + 40),
                    list.RowFromXY(rows.x() + 50, rows.y() + 18 * 4 + 2), list.RowFromXY(-5, rows.y() + 40)}),
        QList<int>({2, -1, -1}));
    list.DeleteAllRows();
    EXPECT_EQ(QList<int>({list.ListCount(), list.LastIndex()}), QList<int>({0, -1}));
}

// A cell's own type overrides its column's; CellKeyDown may keep a key from the cell being edited.
TEST(ListBox, CellTypesAndKeys) {
    ListWindow w;
    ListBox& list = *w.list;
    list.SetColumnType(1, ListBox::TypeEditable);
    list.SetCellType(3, 1, ListBox::TypeNormal);
    EXPECT_EQ(list.CellType(1, 1), ListBox::TypeDefault);
    list.CellKeyDown = [](int, int, const QString& key) { return key == "x"; };
    ui::ClickCell(list, 1, 1);
    ASSERT_NE(w.Editor(), nullptr);
    w.Editor()->selectAll();
    ui::Type(w.Editor(), "1x5");
    ui::Key(w.Editor(), Qt::Key_Return);
    EXPECT_EQ(list.Cell(1, 1), "15");
    ui::ClickCell(list, 3, 1);
    EXPECT_EQ(list.ActiveEditor(), nullptr);
    EXPECT_EQ(list.ListIndex(), 3);
}

// Sorting moves whole rows, compares letters without regard to case, keeps the selected row selected
// and raises no Change.
TEST(ListBox, SortKeepsRowsTogether) {
    ListWindow w;
    ListBox& list = *w.list;
    list.DeleteAllRows();
    for (const char* name : {"beta", "Gamma", "alpha"})
        list.AddRow(QStringList{name, QString(name).toUpper()});
    list.SetListIndex(1);
    w.log.clear();
    list.SetSortedColumn(0);
    list.Sort();
    EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(0, 1), list.Cell(1, 0), list.Cell(2, 0)}),
              QStringList({"alpha", "ALPHA", "beta", "Gamma"}));
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_TRUE(w.log.isEmpty());
}

// CellBackgroundPaint fills a cell's background under its text.
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
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        return shot.pixelColor(cell.right() - 2, cell.center().y());
    };
    EXPECT_EQ(colourAt(0), grey.toQColor());
    EXPECT_EQ(colourAt(1), QColor(255, 255, 255));
}
