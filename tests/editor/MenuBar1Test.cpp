#include "editor/MenuBar1.h"
#include "TestSupport.h"
#include "editor/Window1.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace platform;

// What the user gets of the main window's menu bar: its menus, New on Ctrl+W (not N), a real separator,
// and About and Exit where the desktop puts them.
TEST(MenuBar1, MenusShortcutsAndRoles) {
    MenuBar1& bar = SharedMenuBar<MenuBar1>();
    EXPECT_EQ(bar.FindItem("FileCreate")->Action()->shortcut(), QKeySequence("Ctrl+W"));
    EXPECT_TRUE(bar.FindItem("UntitledMenu0")->Action()->isSeparator());
    EXPECT_EQ(bar.FindItem("HelpAbout")->Action()->menuRole(), QAction::AboutRole);
    EXPECT_EQ(bar.FindItem("FileQuit")->Action()->menuRole(), QAction::QuitRole);

    auto* qbar = SharedInstance<Window1>().Widget()->findChild<QMenuBar*>();
    ASSERT_NE(qbar, nullptr);
    QStringList titles;
    for (QAction* a : qbar->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "Back Drop", "View", "Print", "Help"}));
}
