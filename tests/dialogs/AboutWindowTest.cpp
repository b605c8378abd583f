#include "dialogs/AboutWindow.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/App.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::Scripted;

namespace {
// Sets the application's version settings for one test and puts the previous ones back.
struct VersionSettings {
    using Values = std::array<std::int32_t, 5>;
    explicit VersionSettings(Values v) : saved(Get()) { Set(v); }
    ~VersionSettings() { Set(saved); }
    static Values Get() {
        const App& a = App::Instance();
        return {a.MajorVersion, a.MinorVersion, a.BugVersion, a.StageCode, a.NonReleaseVersion};
    }
    static void Set(Values v) {
        App& a = App::Instance();
        std::tie(a.MajorVersion, a.MinorVersion, a.BugVersion, a.StageCode, a.NonReleaseVersion) =
            std::tuple(v[0], v[1], v[2], v[3], v[4]);
    }
    Values saved;
};
} // namespace

TEST(AboutWindow, Builds) {
    AboutWindow w;
    EXPECT_EQ(w.Title(), "About Tallio");
    EXPECT_EQ(w.ControlCount(), 10);
    EXPECT_EQ(w.ControlNamed<Label>("StaticText4")->Text(), AboutWindow::WebAddress());
    EXPECT_EQ(w.ControlNamed<PushButton>("Close1")->Caption(), "Close");
}

TEST(AboutWindow, VersionLine) {
    const std::pair<VersionSettings::Values, const char*> cases[] = {
        {{1, 1, 0, 3, 5}, "Version 1.1.0 - Final - Build: 5"},
        {{0, 1, 0, 0, 1}, "Version 0.1.0 - Development - Build: 1"},
        {{2, 10, 3, 2, 42}, "Version 2.10.3 - Beta - Build: 42"},
        {{1, 1, 0, 4, 5}, "Version 1.1.0 -  - Build: 5"}, // no such stage: an empty name
        {{1, 1, 0, -1, 5}, "Version 1.1.0 -  - Build: 5"},
    };
    for (const auto& [values, line] : cases) {
        VersionSettings settings(values);
        EXPECT_EQ(AboutWindow::VersionLine(), line);
    }
}

// Connect opens the web page and leaves the window open; Close ends it.
TEST(AboutWindow, HelpAboutShowsItModally) {
    VersionSettings settings({1, 1, 0, 3, 5});
    Window1& main = SharedInstance<Window1>();
    main.Show();
    bool ran = false;
    OnNextModal([&](Window& w) {
        auto& about = dynamic_cast<AboutWindow&>(w);
        ran = true;
        EXPECT_EQ(about.ControlNamed<Label>("StaticText6")->Text(), "Version 1.1.0 - Final - Build: 5");
        ui::Click(*about.FindControl("WebGOTO"), 20, 10);
        EXPECT_EQ(Scripted().urls, QStringList{AboutWindow::WebAddress()});
        EXPECT_TRUE(about.IsOpen());
        ui::Click(*about.FindControl("Close1"), 20, 10);
        EXPECT_FALSE(about.IsOpen());
    });
    main.MenuItemNamed("HelpAbout").Trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(TakeUnattendedCloses(), 0);
    EXPECT_EQ(WindowCount(), 1);
}
