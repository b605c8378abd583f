#include "editor/MenuBar1.h"
#include "TestSupport.h"
#include "editor/Window1.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace platform;

TEST(MenuBar1, MenusAndItemsInOrderWithTextsShortcutsAndKinds) {
    MenuBar1& bar = SharedMenuBar<MenuBar1>();
    EXPECT_EQ(&SharedMenuBar<MenuBar1>(), &bar);

    using R = MenuItem::Role;
    struct Item {
        const char* name;
        const char* text;
        const char* shortcut = "";
        R role = R::Plain;
    };
    struct Menu {
        const char* name;
        const char* text;
        std::vector<Item> items;
    };
    const Menu expected[] = {
        {"FileMenu",
         "&File",
         {{"FileCreate", "Ne&w", "Cmd+W"},
          {"FileOpen", "&Open", "Cmd+O"},
          {"FileSave", "&Save", "Cmd+S"},
          {"FileSaveAs", "Save As"},
          {"FileQuit", "E&xit", "Cmd+Q", R::Quit}}},
        {"EditMenu",
         "&Edit",
         {{"EditUndo", "&Undo", "Cmd+Z"},
          {"UntitledMenu0", "-"},
          {"EditCut", "Cu&t", "Cmd+X"},
          {"EditCopy", "&Copy", "Cmd+C"},
          {"EditPaste", "&Paste", "Cmd+V"},
          {"EditClear", "Clear"},
          {"EditStepRepeat", "Step && Repeat"}}},
        {"BackDrop", "Back Drop", {{"BackDropOpen", "Open"}}},
        {"ViewMenu", "View", {{"Viewupdatecount", "updatecount"}}},
        {"PrintMenu",
         "Print",
         {{"PrintSetup", "Setup"}, {"PrintPrint", "Print"}, {"PrintPreview", "Preview"}}},
        {"HelpMenu", "Help", {{"HelpHelpPictures", "Help Pictures"}, {"HelpAbout", "About", "", R::About}}},
    };
    ASSERT_EQ(bar.Count(), 6);
    for (int m = 0; m < 6; ++m) {
        const Menu& e = expected[m];
        MenuItem& menu = *bar.Item(m);
        EXPECT_EQ(menu.Name(), e.name);
        EXPECT_EQ(menu.Text(), e.text);
        ASSERT_EQ(menu.Count(), int(e.items.size())) << e.name;
        for (int i = 0; i < menu.Count(); ++i) {
            const Item& x = e.items[size_t(i)];
            MenuItem& item = *menu.Item(i);
            SCOPED_TRACE(x.name);
            EXPECT_EQ(item.Name(), x.name);
            EXPECT_EQ(item.Text(), x.text);
            EXPECT_EQ(item.KeyboardShortcut(), x.shortcut);
            EXPECT_EQ(item.ItemRole(), x.role);
            EXPECT_TRUE(item.AutoEnable());
            EXPECT_EQ(item.IsSeparator(), QString(x.text) == "-");
        }
    }
    // What the user sees: New on Ctrl+W (not N), the ampersand of Step & Repeat shown once.
    EXPECT_EQ(bar.FindItem("FileCreate")->Action()->shortcut(), QKeySequence("Ctrl+W"));
    EXPECT_EQ(bar.FindItem("FileSaveAs")->Action()->shortcut(), QKeySequence());
    EXPECT_EQ(bar.FindItem("HelpAbout")->Action()->menuRole(), QAction::AboutRole);
}

TEST(MenuBar1, MainWindowShowsTheSharedBar) {
    Window1& w = SharedInstance<Window1>();
    auto* qbar = w.Widget()->findChild<QMenuBar*>();
    ASSERT_NE(qbar, nullptr);
    QStringList titles;
    for (QAction* a : qbar->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "Back Drop", "View", "Print", "Help"}));
    EXPECT_EQ(&w.MenuItemNamed("Viewupdatecount"), SharedMenuBar<MenuBar1>().FindItem("Viewupdatecount"));
}
