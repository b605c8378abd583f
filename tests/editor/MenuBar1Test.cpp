#include "editor/MenuBar1.h"
#include "TestSupport.h"
#include "editor/Window1.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace platform;

TEST(MenuBar1, MenusAndItemsInOrderWithTextsAndShortcuts) {
    MenuBar1& bar = SharedMenuBar<MenuBar1>();
    struct Item {
        int menu; // -1 for a menu title
        const char* name;
        const char* text;
        const char* shortcut = "";
    } expected[] = {
        {-1, "FileMenu", "&File"},         {0, "FileCreate", "Ne&w", "Cmd+W"},
        {0, "FileOpen", "&Open", "Cmd+O"}, {0, "FileSave", "&Save", "Cmd+S"},
        {0, "FileSaveAs", "Save As"},      {0, "FileQuit", "E&xit", "Cmd+Q"},
        {-1, "EditMenu", "&Edit"},         {1, "EditUndo", "&Undo", "Cmd+Z"},
        {1, "UntitledMenu0", "-"},         {1, "EditCut", "Cu&t", "Cmd+X"},
        {1, "EditCopy", "&Copy", "Cmd+C"}, {1, "EditPaste", "&Paste", "Cmd+V"},
        {1, "EditClear", "Clear"},         {1, "EditStepRepeat", "Step && Repeat"},
        {-1, "BackDrop", "Back Drop"},     {2, "BackDropOpen", "Open"},
        {-1, "ViewMenu", "View"},          {3, "Viewupdatecount", "updatecount"},
        {-1, "PrintMenu", "Print"},        {4, "PrintSetup", "Setup"},
        {4, "PrintPrint", "Print"},        {4, "PrintPreview", "Preview"},
        {-1, "HelpMenu", "Help"},          {5, "HelpHelpPictures", "Help Pictures"},
        {5, "HelpAbout", "About"},
    };
    int menus = 0, items[6] = {};
    for (const Item& e : expected) {
        SCOPED_TRACE(e.name);
        MenuItem* item = e.menu < 0 ? bar.Item(menus++) : bar.Item(e.menu)->Item(items[e.menu]++);
        EXPECT_EQ(item->Name(), e.name);
        EXPECT_EQ(item->Text(), e.text);
        EXPECT_EQ(item->KeyboardShortcut(), e.shortcut);
    }
    EXPECT_EQ(bar.Count(), menus);
    for (int m = 0; m < menus; ++m)
        EXPECT_EQ(bar.Item(m)->Count(), items[m]);
    // What the user gets: New on Ctrl+W (not N), a real separator, About and Exit in their places.
    EXPECT_EQ(bar.FindItem("FileCreate")->Action()->shortcut(), QKeySequence("Ctrl+W"));
    EXPECT_TRUE(bar.FindItem("UntitledMenu0")->Action()->isSeparator());
    EXPECT_EQ(bar.FindItem("HelpAbout")->Action()->menuRole(), QAction::AboutRole);
    EXPECT_EQ(bar.FindItem("FileQuit")->Action()->menuRole(), QAction::QuitRole);

    // The main window shows this bar.
    auto* qbar = SharedInstance<Window1>().Widget()->findChild<QMenuBar*>();
    ASSERT_NE(qbar, nullptr);
    QStringList titles;
    for (QAction* a : qbar->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "Back Drop", "View", "Print", "Help"}));
}
