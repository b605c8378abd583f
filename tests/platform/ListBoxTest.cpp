#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// One two-column list whose events are logged.
class ListWindow : public Window {
public:
    ListWindow() {
        ApplyDesc({.title = "List", .width = 260, .height = 200});
        ControlDesc d{.name = "List", .kind = ControlKind::ListBox, .columnCount = 2, .rowHeight = 18};
        d.left = 10, d.top = 10, d.width = 202, d.height = 150, d.columnWidths = "120,80";
        d.rows = {"Width\t210", "Height\t297", "Across\t1", "Down\t1", "Gap\t0"};
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
