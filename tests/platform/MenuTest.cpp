#include "platform/Menu.h"
#include "TestSupport.h"
#include "platform/Window.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Built the way the program's bars are: each item named, then given its text and shortcut.
class TestBar : public MenuBar {
public:
    TestBar() {
        Add(nullptr, std::make_unique<MenuItem>(), "FileMenu", "&File");
        Add("FileMenu", std::make_unique<MenuItem>(), "FileCreate", "Ne&w", "Cmd+W");
        Add("FileMenu", std::make_unique<MenuItem>(), "FileSave", "&Save", "Cmd+S");
        Add("FileMenu", std::make_unique<QuitMenuItem>(), "FileQuit", "E&xit", "Cmd+Q");
        Add(nullptr, std::make_unique<MenuItem>(), "EditMenu", "&Edit");
        Add("EditMenu", std::make_unique<MenuItem>(), "UntitledMenu0", "-");
        Add("EditMenu", std::make_unique<MenuItem>(), "EditStepRepeat", "Step && Repeat");
        Add(nullptr, std::make_unique<MenuItem>(), "HelpMenu", "Help");
        Add("HelpMenu", std::make_unique<MenuItem>(), "HelpHelpPictures", "Help Pictures");
        Add("HelpMenu", std::make_unique<AppleMenuItem>(), "HelpAbout", "About");
    }

private:
    void Add(const char* menu, std::unique_ptr<MenuItem> item, const QString& name, const QString& text,
             const QString& shortcut = {}) {
        item->SetName(name);
        item->SetAutoEnable(true);
        item->SetText(text);
        if (text != "-")
            item->SetKeyboardShortcut(shortcut);
        if (menu)
            Child(menu)->Append(std::move(item));
        else
            Append(std::move(item));
    }
};

class MenuWindow : public Window {
public:
    MenuWindow() {
        SetMenuBar(&SharedMenuBar<TestBar>());
        AddMenuHandler("FileSave", [this] {
            log << "FileSave";
            return true;
        });
        AddMenuHandler("HelpAbout", [this] {
            log << "HelpAbout";
            return false; // not handled: the application may still take it
        });
    }
    QStringList log;
};

} // namespace

TEST(Menu, ItemsInOrderWithTextsAndShortcuts) {
    TestBar& bar = SharedMenuBar<TestBar>();
    EXPECT_EQ(&SharedMenuBar<TestBar>(), &bar);
    ASSERT_EQ(bar.Count(), 3);
    struct Expect {
        const char* name;
        int menu, index;
        const char* text;
        QKeySequence key;
        bool separator;
    } expected[] = {
        {"FileQuit", 0, 2, "E&xit", QKeySequence("Ctrl+Q"), false}, // Cmd is the Control key here
        {"UntitledMenu0", 1, 0, "-", QKeySequence(), true},
        {"EditStepRepeat", 1, 1, "Step && Repeat", QKeySequence(), false},
        {"HelpAbout", 2, 1, "About", QKeySequence(), false},
    };
    for (const auto& e : expected) {
        MenuItem* item = bar.Item(e.menu)->Item(e.index);
        EXPECT_EQ(bar.FindItem(e.name), item) << e.name;
        EXPECT_EQ(item->Text(), e.text) << e.name;
        EXPECT_EQ(item->Action()->shortcut(), e.key) << e.name;
        EXPECT_EQ(item->Action()->isSeparator(), e.separator) << e.name;
    }
    EXPECT_EQ(bar.FindItem("FileQuit")->ItemRole(), MenuItem::Role::Quit);
    EXPECT_EQ(bar.FindItem("HelpAbout")->Action()->menuRole(), QAction::AboutRole);
    EXPECT_EQ(bar.FindItem("Nothing"), nullptr);

    MenuWindow w;
    auto* qbar = w.Widget()->findChild<QMenuBar*>();
    ASSERT_NE(qbar, nullptr);
    EXPECT_EQ(qbar->actions().size(), 3);
    EXPECT_EQ(&w.MenuItemNamed("EditStepRepeat"), bar.FindItem("EditStepRepeat"));
    EXPECT_THROW(w.MenuItemNamed("Nothing"), NilObjectException);
}

TEST(Menu, ChoosingAnItemRunsTheHandlerOfItsName) {
    MenuWindow w;
    w.Show();
    int appHandled = 0;
    AddAppMenuHandler("HelpAbout", [&] {
        ++appHandled;
        return true;
    });
    TestBar& bar = SharedMenuBar<TestBar>();

    bar.FindItem("FileSave")->Action()->trigger(); // as a click in the menu
    EXPECT_EQ(w.log, QStringList{"FileSave"});

    // The window's handler says "not handled", so the application's runs next.
    EXPECT_TRUE(bar.FindItem("HelpAbout")->Trigger());
    EXPECT_EQ(w.log.last(), "HelpAbout");
    EXPECT_EQ(appHandled, 1);

    EXPECT_FALSE(bar.FindItem("HelpHelpPictures")->Trigger()); // nobody handles it
    bar.FindItem("FileSave")->SetEnabled(false);
    EXPECT_FALSE(bar.FindItem("FileSave")->Trigger());
    EXPECT_EQ(w.log.count("FileSave"), 1);
    EXPECT_TRUE(w.HandleMenuCommand("FileSave"));
    EXPECT_FALSE(w.HandleMenuCommand("FileCreate"));
}

TEST(Menu, AModalWindowTakesTheCommandsOfItsOwnBar) {
    MenuWindow main;
    main.Show();
    MenuBar dialogBar;
    dialogBar.Append(std::make_unique<MenuItem>("BackdropMenu", "Backdrop"));
    dialogBar.Child("BackdropMenu")->Append(std::make_unique<MenuItem>("FileSave", "Save"));
    MenuWindow dialog;
    dialog.SetMenuBar(&dialogBar);
    OnNextModal([&](Window& w) {
        dialogBar.FindItem("FileSave")->Trigger();
        w.Close();
    });
    dialog.ShowModal();
    EXPECT_EQ(dialog.log, QStringList{"FileSave"});
    EXPECT_TRUE(main.log.isEmpty());
    EXPECT_EQ(FrontWindow(), &main); // the dialog has gone
}

TEST(Menu, QuitItemClosesTheWindows) {
    int quits = 0;
    SetQuitAction([&] { ++quits; });
    MenuWindow w;
    w.Show();
    SharedMenuBar<TestBar>().FindItem("FileQuit")->Trigger();
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(quits, 1);
}
