#include "platform/Menu.h"
#include "TestSupport.h"
#include "platform/Window.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class TestBar : public MenuBar {
public:
    TestBar() {
        MenuItem& file = Append(std::make_unique<MenuItem>("FileMenu", "&File"));
        file.Append(std::make_unique<MenuItem>("FileCreate", "Ne&w"));
        file.Append(std::make_unique<MenuItem>("FileSave", "&Save"));
        MenuItem& help = Append(std::make_unique<MenuItem>("HelpMenu", "Help"));
        help.Append(std::make_unique<MenuItem>("HelpHelpPictures", "Help Pictures"));
        help.Append(std::make_unique<AppleMenuItem>("HelpAbout", "About"));
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

TEST(Menu, ChoosingAnItemRunsTheHandlerOfItsName) {
    MenuWindow w;
    w.Show();
    int appHandled = 0;
    AddAppMenuHandler("HelpAbout", [&] { return ++appHandled, true; });
    TestBar& bar = SharedMenuBar<TestBar>();

    bar.FindItem("FileSave")->Action()->trigger(); // as a click in the menu
    EXPECT_EQ(w.log, QStringList{"FileSave"});
    EXPECT_TRUE(bar.FindItem("HelpAbout")->Trigger());
    EXPECT_EQ(w.log.last(), "HelpAbout");
    EXPECT_EQ(appHandled, 1);
    EXPECT_FALSE(bar.FindItem("HelpHelpPictures")->Trigger());
    bar.FindItem("FileSave")->SetEnabled(false);
    EXPECT_FALSE(bar.FindItem("FileSave")->Trigger());
    EXPECT_EQ(w.log.count("FileSave"), 1);
    EXPECT_FALSE(w.HandleMenuCommand("FileCreate"));
}

TEST(Menu, AModalWindowTakesTheCommandsOfItsOwnBar) {
    MenuWindow main;
    main.Show();
    MenuBar dialogBar;
    dialogBar.Append(std::make_unique<MenuItem>("BackdropMenu", "Backdrop"))
        .Append(std::make_unique<MenuItem>("FileSave", "Save"));
    MenuWindow dialog;
    dialog.SetMenuBar(&dialogBar);
    OnNextModal([&](Window& w) {
        dialogBar.FindItem("FileSave")->Trigger();
        w.Close();
    });
    dialog.ShowModal();
    EXPECT_EQ(dialog.log, QStringList{"FileSave"});
    EXPECT_TRUE(main.log.isEmpty());
}
