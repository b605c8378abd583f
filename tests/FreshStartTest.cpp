// Every test starts from the process as the program starts it: whatever one test leaves in the state
// that lives as long as the process is gone by the next.
#include "TestSupport.h"
#include "core/AppPictures.h"
#include "editor/App.h"

#include "platform/EventHandler.h"
#include "platform/Exceptions.h"
#include "platform/Fonts.h"
#include "platform/Menu.h"
#include "platform/TextRuns.h"
#include "platform/Window.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::Scripted;
using testing_support::StartAsNewTest;

namespace {

class SharedBar : public MenuBar {
public:
    SharedBar() {
        MenuItem& file = Append(std::make_unique<MenuItem>("FileMenu", "File"));
        file.Append(std::make_unique<MenuItem>("FileSave", "Save"));
        file.Append(std::make_unique<MenuItem>("HelpAbout", "About"));
    }
};

class ModalWindow : public Window {
public:
    ModalWindow() { ApplyDesc({.title = "Modal", .width = 100, .height = 80}); }
};

void Escape(const QString& what, ShowEscaped when) {
    try {
        throw RuntimeException(what);
    } catch (...) {
        ShowEscapedException(when);
    }
}

} // namespace

TEST(FreshStart, NothingOneTestLeavesReachesTheNext) {
    std::shared_ptr<TextRuns> runs;
    std::shared_ptr<Picture> icon;
    std::shared_ptr<QCursor> cursor;
    int appHandled = 0, modalActions = 0;
    const QFont font("Liberation Sans", 12);
    struct Case {
        const char* what;
        std::function<void()> leave;       // what a test leaves behind
        std::function<void()> startedAnew; // checked in the next one
    } cases[] = {
        {"an item of a shared menu bar disabled",
         [] { SharedMenuBar<SharedBar>().FindItem("FileSave")->SetEnabled(false); },
         [] { EXPECT_TRUE(SharedMenuBar<SharedBar>().FindItem("FileSave")->Enabled()); }},
        {"an application menu handler",
         [&] { AddAppMenuHandler("HelpAbout", [&] { return ++appHandled, true; }); },
         [&] {
             EXPECT_FALSE(SharedMenuBar<SharedBar>().FindItem("HelpAbout")->Trigger());
             EXPECT_EQ(appHandled, 0);
         }},
        {"a font list of a test's own", [] { SetFontListForTests(QStringList{"Only"}); },
         [] { EXPECT_GT(FontCount(), 1); }},
        {"text runs kept for a font",
         [&] {
             runs = TextRuns::For(font, 300);
             ASSERT_EQ(TextRuns::For(font, 300), runs) << "kept while the process runs";
         },
         [&] { EXPECT_NE(TextRuns::For(font, 300), runs); }},
        {"an escaped exception's message still waiting for the event loop",
         [] { Escape("left behind", ShowEscaped::Later); },
         [] {
             Escape("new", ShowEscaped::Now);
             QCoreApplication::sendPostedEvents(nullptr, 0);
             ASSERT_EQ(Scripted().messages.size(), 1) << "shown at once, and only the new one";
             EXPECT_TRUE(Scripted().messages[0].contains(": new.")) << Scripted().messages[0].toStdString();
         }},
        {"an action queued for a modal window that never opened",
         [&] { OnNextModal([&](Window&) { ++modalActions; }); },
         [&] {
             ModalWindow().ShowModal();
             EXPECT_EQ(modalActions, 0);
         }},
        {"the application's pictures and cursor read",
         [&] {
             icon = QVicon1();
             cursor = CursorAdd();
             ASSERT_TRUE(icon && cursor);
         },
         [&] {
             EXPECT_NE(QVicon1(), icon);
             EXPECT_NE(CursorAdd(), cursor);
         }},
        {"the application object's settings changed", [] { App::Instance().MajorVersion = 9; },
         [] { EXPECT_EQ(App::Instance().MajorVersion, 0); }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.leave();
        StartAsNewTest();
        c.startedAnew();
    }
}
