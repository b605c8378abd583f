#include "dialogs/AboutWindow.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/App.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <tuple>

using namespace platform;
using testing_support::Scripted;

namespace {

// Sets the application's version settings for one test and puts the previous ones back.
class VersionSettings {
public:
    VersionSettings(int major, int minor, int bug, int stage, int build) : saved_(Fields()) {
        Fields() = {major, minor, bug, stage, build};
    }
    ~VersionSettings() { Fields() = saved_; }
    VersionSettings(const VersionSettings&) = delete;
    VersionSettings& operator=(const VersionSettings&) = delete;

private:
    using Values = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t>;
    static std::tuple<std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&> Fields() {
        App& a = App::Instance();
        return std::tie(a.MajorVersion, a.MinorVersion, a.BugVersion, a.StageCode, a.NonReleaseVersion);
    }
    Values saved_;
};

} // namespace

TEST(AboutWindow, WindowAndControls) {
    AboutWindow w;
    EXPECT_EQ(w.Title(), "About Tallio");
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(418, 345));
    EXPECT_EQ(w.Widget()->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_EQ(w.ContentWidget()->palette().color(QPalette::Window), QColor(0xFF, 0xED, 0xC1));

    EXPECT_EQ(w.ControlNamed<Label>("StaticText4")->TextColor(), RGB(0x1A, 0x16, 0xFF));
    EXPECT_EQ(w.ControlNamed<Label>("StaticText4")->Text(), AboutWindow::WebAddress());
    EXPECT_EQ(w.ControlNamed<Label>("StaticText6")->Text(), "Version 1.10") << "until the window opens";
    EXPECT_EQ(w.ControlCount(), 10);
    EXPECT_NE(w.ControlNamed<ImageWell>("ImageWell1")->Image(), nullptr);

    auto& field = *w.ControlNamed<EditField>("EditField1");
    EXPECT_TRUE(field.MultiLine());
    EXPECT_TRUE(field.ReadOnly());
    EXPECT_EQ(static_cast<QPlainTextEdit*>(field.Widget())->verticalScrollBarPolicy(),
              Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(field.Text().contains(" additional \"picture\" elements and modulas check digits. "));
    EXPECT_TRUE(field.Text().endsWith("imposed 'up' on a signature for output on any system printer. Best "
                                      "results would be from postscript enabled printers."));
}

TEST(AboutWindow, VersionLine) {
    struct Case {
        int major, minor, bug, stage, build;
        const char* line;
    } cases[] = {
        {1, 1, 0, 3, 5, "Version 1.1.0 - Final - Build: 5"},
        {0, 1, 0, 0, 1, "Version 0.1.0 - Development - Build: 1"},
        {2, 10, 3, 2, 42, "Version 2.10.3 - Beta - Build: 42"},
        {1, 1, 0, 4, 5, "Version 1.1.0 -  - Build: 5"}, // no such stage: an empty name
        {1, 1, 0, -1, 5, "Version 1.1.0 -  - Build: 5"},
    };
    for (const Case& c : cases) {
        VersionSettings settings(c.major, c.minor, c.bug, c.stage, c.build);
        EXPECT_EQ(AboutWindow::VersionLine(), c.line);
    }
}

// Help > About shows the window modally with its version line; Connect opens the web page and leaves
// the window open; Close ends it.
TEST(AboutWindow, HelpAboutShowsItModally) {
    VersionSettings settings(1, 1, 0, 3, 5);
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
    EXPECT_TRUE(Scripted().messages.isEmpty());
}
