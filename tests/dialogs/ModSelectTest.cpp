#include "dialogs/ModSelect.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {
ListBox& Methods(const Window& w) {
    return *w.ControlNamed<ListBox>("ListBox1");
}
void RunModSelect(const std::function<void(ModSelect&)>& action) {
    OnNextModal([&](Window& w) { action(static_cast<ModSelect&>(w)); });
    SharedInstance<ModSelect>().ShowModal();
}
} // namespace

TEST(ModSelect, Builds) {
    ModSelect w;
    EXPECT_EQ(w.Title(), "Modulas selector");
    EXPECT_EQ(w.ControlCount(), 4);
    EXPECT_EQ(w.ControlNamed<PushButton>("OK1")->Caption(), "OK");
    EXPECT_EQ(w.ControlNamed<PushButton>("Cancel1")->Caption(), "Cancel");
}

TEST(ModSelect, ListsTheEightMethodsWithNoSelection) {
    Module1::FillModNames();
    SharedInstance<Window1>().ModType = 5; // the current method is not preselected
    RunModSelect([](ModSelect& w) {
        const ListBox& list = Methods(w);
        ASSERT_EQ(list.ListCount(), 8);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(list.Cell(i, 0) + " " + list.Cell(i, 1), QString::number(i) + " " + Module1::ModNme[i]);
        EXPECT_EQ(list.Cell(7, 1), "EAN Mod 10 weighted");
        EXPECT_EQ(list.ListIndex(), -1);
        w.Close();
    });
}

TEST(ModSelect, HandsBackTheChosenMethod) {
    Module1::FillModNames();
    enum End { OK, DoubleClick, Cancel, CloseBox };
    struct Case {
        const char* name;
        int row; // -1: none clicked
        End end;
        int modType;
        QString modName;
    } cases[] = {
        {"row 6", 6, OK, 6, "6, Mod 10 Remainder"},
        {"row 0", 0, OK, 0, "0, None"},
        {"double-click", 3, DoubleClick, 3, "3, Mod 9"},
        {"OK with no row", -1, OK, 9, "kept"},
        {"Cancel", 2, Cancel, 9, "kept"},
        {"close box", 4, CloseBox, 9, "kept"},
    };
    for (const Case& c : cases) {
        Window1& main = SharedInstance<Window1>();
        main.ModType = 9;
        main.ModName = "kept";
        RunModSelect([&](ModSelect& w) {
            if (c.end == DoubleClick)
                return ui::DoubleClickCell(Methods(w), c.row, 1);
            if (c.row >= 0)
                ui::ClickCell(Methods(w), c.row, 1);
            if (c.end == OK)
                ui::Click(*w.FindControl("OK1"), 30, 10);
            else if (c.end == Cancel)
                w.ControlNamed<PushButton>("Cancel1")->Push();
            else
                w.Widget()->close();
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0) << c.name;
        EXPECT_EQ(main.ModType, c.modType) << c.name;
        EXPECT_EQ(main.ModName, c.modName) << c.name;
    }
}
