#include "TestSupport.h"
#include "platform/Controls.h"
#include "platform/Menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;
using testing_support::Scripted;

namespace {

class FailingWindow : public Window {
public:
    FailingWindow() {
        ApplyDesc({.title = "Work", .width = 300, .height = 200});
        CreateControls({
            {.name = "Go", .kind = ControlKind::PushButton, .left = 10, .top = 10, .width = 80, .height = 24},
            {.name = "View", .kind = ControlKind::Canvas, .left = 10, .top = 50, .width = 100, .height = 80},
        });
        bar.Append(std::make_unique<MenuItem>("FileMenu", "File"))
            .Append(std::make_unique<MenuItem>("FileSave", "Save"));
        SetMenuBar(&bar);
        AddMenuHandler("FileSave", [this] { return menu(), true; });
    }
    bool Event_CancelClose() override { return cancelClose(), false; }

    MenuBar bar;
    std::function<void()> menu, cancelClose = [] {};
};

} // namespace

// An exception escaping a handler is told in a message box; the program, the window and its controls
// go on working. A close whose check fails leaves the window open, with its work.
TEST(EscapedException, IsShownAndTheWindowGoesOn) {
    struct Case {
        const char* what;
        std::function<void()> raise;
        const char* told;
    } cases[] = {
        {"a row outside a checked table", [] { throw OutOfBoundsException(); }, "Index out of bounds"},
        {"the standard library", [] { throw std::out_of_range("vector::at"); }, "vector::at"},
        {"memory", [] { throw std::bad_alloc(); }, "not enough memory"},
        {"something else", [] { throw 7; }, "an unknown error"},
    };
    FailingWindow w;
    w.Show();
    auto& go = *w.ControlNamed<PushButton>("Go");
    int clicks = 0, saves = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Source {
            const char* name;
            std::function<void()> fail, work, act;
        } sources[] = {
            {"button", [&] { go.Action = c.raise; }, [&] { go.Action = [&] { ++clicks; }; },
             [&] { go.Push(); }},
            {"menu", [&] { w.menu = c.raise; }, [&] { w.menu = [&] { ++saves; }; },
             [&] { w.bar.FindItem("FileSave")->Action()->trigger(); }},
        };
        for (const Source& s : sources) {
            SCOPED_TRACE(s.name);
            Scripted().messages.clear();
            s.fail();
            s.act();
            ASSERT_EQ(Scripted().messages.size(), 1);
            EXPECT_TRUE(Scripted().messages[0].contains(c.told)) << Scripted().messages[0].toStdString();
            EXPECT_TRUE(Scripted().messages[0].contains("document is still open"));
            s.work();
            s.act();
            EXPECT_EQ(Scripted().messages.size(), 1);
        }
    }
    EXPECT_EQ(clicks, int(std::size(cases)));
    EXPECT_EQ(saves, int(std::size(cases)));

    // Painting opens no window: the message comes once the event loop is free, once for all repaints.
    auto& view = *w.ControlNamed<Canvas>("View");
    Scripted().messages.clear();
    view.Paint = [](Graphics&) { throw OutOfBoundsException(); };
    for (int i = 0; i < 3; ++i) {
        view.Refresh();
        view.Widget()->grab();
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Scripted().messages.size(), 1);
    view.Paint = [](Graphics& g) {
        g.ForeColor = RGB(255, 0, 0);
        g.FillRect(0, 0, 100, 80);
    };
    view.Refresh();
    view.Widget()->grab();
    EXPECT_EQ(view.Backing().pixel(50, 40), qRgb(255, 0, 0));

    Scripted().messages.clear();
    w.cancelClose = [] { throw NilObjectException(); };
    w.Close();
    EXPECT_TRUE(w.IsOpen()) << "a failed check keeps the window and its work";
    EXPECT_EQ(Scripted().messages.size(), 1);
    w.cancelClose = [] {};
    w.Close();
    EXPECT_FALSE(w.IsOpen());
}
