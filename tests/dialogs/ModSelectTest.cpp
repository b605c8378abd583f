#include "dialogs/ModSelect.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <QAbstractItemView>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {
QRect Bounds(const Control* c) {
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}
ListBox& Methods(const Window& w) {
    return *w.ControlNamed<ListBox>("ListBox1");
}
void RunModSelect(const std::function<void(ModSelect&)>& action) {
    OnNextModal([&](Window& w) { action(static_cast<ModSelect&>(w)); });
    SharedInstance<ModSelect>().ShowModal();
}
} // namespace

TEST(ModSelect, WindowAndControls) {
    ModSelect w;
    EXPECT_EQ(w.Title(), "Modulas selector");
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(205, 257));
    EXPECT_EQ(w.Widget()->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    QStringList names;
    for (int i = 0; i < w.ControlCount(); ++i)
        names << w.ControlAt(i)->Name();
    EXPECT_EQ(names.join(' '), "ListBox1 Cancel1 OK1 Canvas1");
    EXPECT_EQ(Bounds(w.FindControl("ListBox1")), QRect(10, 46, 182, 165));
    EXPECT_EQ(Bounds(w.FindControl("OK1")), QRect(113, 219, 69, 22));
    EXPECT_EQ(w.ControlNamed<PushButton>("Cancel1")->Caption(), "Cancel");
    EXPECT_EQ(w.ControlNamed<PushButton>("OK1")->Caption(), "OK");
    EXPECT_NE(w.ControlNamed<Canvas>("Canvas1")->Backdrop(), nullptr);
    EXPECT_EQ(w.FindControl("Canvas1")->Widget()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Methods(w).ColumnCount(), 2);
    EXPECT_EQ(Methods(w).ColumnWidths(), "0,200");
}

TEST(ModSelect, ListsTheEightMethodsInOrderWithNoSelection) {
    Module1::FillModNames();
    SharedInstance<Window1>().ModType = 5; // the object's current method is not preselected
    RunModSelect([](ModSelect& w) {
        const ListBox& list = Methods(w);
        ASSERT_EQ(list.ListCount(), 8);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(list.Cell(i, 0), QString::number(i));
            EXPECT_EQ(list.Cell(i, 1), Module1::ModNme[i]);
        }
        EXPECT_EQ(list.Cell(7, 1), "EAN Mod 10 weighted");
        EXPECT_EQ(list.ListIndex(), -1);
        w.Close();
    });
}

TEST(ModSelect, HandsBackTheChosenMethod) {
    Module1::FillModNames();
    using Act = std::function<void(ModSelect&)>;
    auto pickThenOk = [](int row) {
        return [row](ModSelect& w) {
            ui::ClickCell(Methods(w), row, 1);
            ui::Click(*w.FindControl("OK1"), 30, 10);
        };
    };
    auto pickThen = [](int row, const char* button) {
        return [row, button](ModSelect& w) {
            ui::ClickCell(Methods(w), row, 1);
            w.ControlNamed<PushButton>(button)->Push();
        };
    };
    struct Case {
        const char* name;
        Act act;
        int modType;
        QString modName;
    } cases[] = {
        {"row 6", pickThenOk(6), 6, "6, Mod 10 Remainder"},
        {"row 0", pickThenOk(0), 0, "0, None"},
        {"double-click row 3", [](ModSelect& w) { ui::DoubleClickCell(Methods(w), 3, 1); }, 3, "3, Mod 9"},
        {"OK with no row", [](ModSelect& w) { w.ControlNamed<PushButton>("OK1")->Push(); }, 9, "kept"},
        {"Cancel", pickThen(2, "Cancel1"), 9, "kept"},
        {"close box",
         [](ModSelect& w) {
             ui::ClickCell(Methods(w), 4, 1);
             w.Widget()->close();
         },
         9, "kept"},
    };
    for (const Case& c : cases) {
        Window1& main = SharedInstance<Window1>();
        main.ModType = 9;
        main.ModName = "kept";
        RunModSelect(c.act);
        EXPECT_EQ(TakeUnattendedCloses(), 0) << c.name;
        EXPECT_EQ(main.ModType, c.modType) << c.name;
        EXPECT_EQ(main.ModName, c.modName) << c.name;
    }
}
