// Windows built from control tables, their locks, modal windows, change and mouse events, menus bound
// by item name, and exceptions escaping their handlers, through real Qt widgets and events.
#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"
#include "platform/Menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;
using K = ControlKind;
using testing_support::Scripted;

namespace {

ControlDesc Desc(const char* name, ControlKind kind, QRect r, int locks = LockNone, const char* parent = "") {
    return {.name = name,
            .kind = kind,
            .left = r.x(),
            .top = r.y(),
            .width = r.width(),
            .height = r.height(),
            .locks = locks,
            .parent = parent};
}

QRect Rect(const Control* c) {
    return QRect(c->Left(), c->Top(), c->Width(), c->Height());
}

class TableWindow : public Window {
public:
    explicit TableWindow(std::initializer_list<ControlDesc> table = {}) {
        ApplyDesc({.title = "Table", .width = 300, .height = 200, .minWidth = 200, .minHeight = 150});
        CreateControls(table);
    }
    QStringList log;
};

// Its OK button closes it.
class OkDialog : public Window {
public:
    OkDialog() {
        ApplyDesc({.title = "Dialog", .width = 200, .height = 100, .frame = WindowFrame::MovableModal});
        CreateControls({Desc("OK", K::PushButton, {120, 70, 69, 22})});
        ControlNamed<PushButton>("OK")->Action = [this] { Close(); };
        ++created;
    }
    static inline int created = 0;
};

class TestBar : public MenuBar {
public:
    TestBar() {
        MenuItem& file = Append(std::make_unique<MenuItem>("FileMenu", "&File"));
        file.Append(std::make_unique<MenuItem>("FileCreate", "Ne&w"));
        file.Append(std::make_unique<MenuItem>("FileSave", "&Save"));
        file.Append(std::make_unique<QuitMenuItem>("FileQuit", "E&xit"));
        MenuItem& help = Append(std::make_unique<MenuItem>("HelpMenu", "Help"));
        help.Append(std::make_unique<MenuItem>("HelpHelpPictures", "Help Pictures"));
        help.Append(std::make_unique<AppleMenuItem>("HelpAbout", "About"));
    }
};

// Handles FileSave, and HelpAbout without taking it, so the application may still take it.
class MenuWindow : public TableWindow {
public:
    MenuWindow() {
        SetMenuBar(&SharedMenuBar<TestBar>());
        AddMenuHandler("FileSave", [this] { return log << "FileSave", true; });
        AddMenuHandler("HelpAbout", [this] { return log << "HelpAbout", false; });
    }
};

// Refuses to close while told to, as a window with unsaved work whose user cancels.
class RefusingWindow : public TableWindow {
public:
    bool refuse = false;
    bool Event_CancelClose() override { return refuse; }
};

// A button, a canvas and a menu item whose handlers, and a close check, a test sets.
class FailingWindow : public TableWindow {
public:
    FailingWindow()
        : TableWindow(
              {Desc("Go", K::PushButton, {10, 10, 80, 24}), Desc("View", K::Canvas, {10, 50, 100, 80})}) {
        SetMenuBar(&bar);
        AddMenuHandler("FileSave", [this] { return menu(), true; });
    }
    bool Event_CancelClose() override { return cancelClose(), false; }
    TestBar bar;
    std::function<void()> menu, cancelClose = [] {};
};

} // namespace

// Controls inside another are placed in window pixels but live inside their parent's widget.
TEST(Window, BuildsControlsFromTable) {
    TableWindow w({Desc("Strip", K::RoundRectangle, {2, 16, 220, 40}),
                   Desc("Fit", K::BevelButton, {145, 21, 30, 30}, LockNone, "Strip"),
                   Desc("Start", K::EditField, {132, 63, 80, 22}),
                   Desc("Flow", K::GroupBox, {20, 100, 180, 64}),
                   Desc("Across", K::RadioButton, {26, 120, 169, 20}, LockNone, "Flow")});
    const std::tuple<const char*, QRect, QRect> expected[] = {
        // in the window; inside the Qt parent
        {"Fit", {145, 21, 30, 30}, {143, 5, 30, 30}},
        {"Start", {132, 63, 80, 22}, {132, 63, 80, 22}},
        {"Across", {26, 120, 169, 20}, {6, 20, 169, 20}},
    };
    for (const auto& [name, rect, qtRect] : expected) {
        Control* c = w.FindControl(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(Rect(c), rect) << name;
        EXPECT_EQ(c->Widget()->geometry(), qtRect) << name;
    }
    EXPECT_THROW(w.ControlNamed<EditField>("Missing"), NilObjectException);
    EXPECT_THROW(w.ControlNamed<EditField>("Flow"), NilObjectException);
}

TEST(Window, LocksMoveAndStretchControlsWithinTheSizeLimits) {
    TableWindow w({
        Desc("None", K::Canvas, {10, 10, 50, 40}),
        Desc("All", K::Canvas, {70, 10, 100, 80}, LockLeft | LockTop | LockRight | LockBottom),
        Desc("Across", K::ScrollBar, {70, 184, 100, 16}, LockLeft | LockRight | LockBottom),
        Desc("Down", K::ScrollBar, {284, 10, 16, 80}, LockTop | LockRight | LockBottom),
        Desc("Corner", K::PushButton, {220, 170, 60, 20}, LockRight | LockBottom),
        Desc("Panel", K::Placard, {180, 100, 60, 40}, LockRight),
        Desc("Inside", K::Label, {185, 105, 20, 20}, LockNone, "Panel"),
    });
    w.Show();
    const std::tuple<const char*, QRect, QRect> expected[] = {
        // at 400x260; at the minimum size, 200x150
        {"None", {10, 10, 50, 40}, {10, 10, 50, 40}},       {"All", {70, 10, 200, 140}, {70, 10, 0, 30}},
        {"Across", {70, 244, 200, 16}, {70, 134, 0, 16}},   {"Down", {384, 10, 16, 140}, {184, 10, 16, 30}},
        {"Corner", {320, 230, 60, 20}, {120, 120, 60, 20}}, {"Panel", {280, 100, 60, 40}, {80, 100, 60, 40}},
        {"Inside", {185, 105, 20, 20}, {185, 105, 20, 20}}, // no locks of its own: it stays put in the window
    };
    w.SetSize(400, 260);
    for (const auto& [name, big, small] : expected)
        EXPECT_EQ(Rect(w.FindControl(name)), big) << name;
    w.SetSize(100, 100);
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(200, 150));
    for (const auto& [name, big, small] : expected)
        EXPECT_EQ(Rect(w.FindControl(name)), small) << name;
    w.SetSize(300, 200);
    EXPECT_EQ(Rect(w.FindControl("All")), QRect(70, 10, 100, 80));
}

// Records its window events, and refuses to close while told to.
class LogWindow : public TableWindow {
public:
    explicit LogWindow(std::initializer_list<ControlDesc> table) : TableWindow(table) {
        for (int i = 0; i < ControlCount(); ++i)
            ControlAt(i)->Open = [this, c = ControlAt(i)] { log << c->Name() + ".Open"; };
    }
    bool refuseClose = false;

protected:
    void Event_Open() override { log << "Open"; }
    bool Event_CancelClose() override { return refuseClose; }
    void Event_Close() override { log << "Close"; }
    void Event_Activate() override { log << "Activate"; }
};

// A window opens once, its controls before itself, and comes to the front; CancelClose may keep it
// open, and a closed shared window is forgotten, so the next request builds a fresh one.
TEST(Window, OpensOnceControlsFirstAndCloseCanBeRefused) {
    auto* w = new LogWindow({Desc("A", K::Canvas, {0, 0, 10, 10}), Desc("B", K::ListBox, {0, 0, 10, 10})});
    EXPECT_TRUE(w->log.isEmpty());
    w->Show();
    w->Show();
    EXPECT_EQ(w->log, QStringList({"A.Open", "B.Open", "Open", "Activate"}));
    EXPECT_EQ(FrontWindow(), w);
    w->refuseClose = true;
    w->Close();
    EXPECT_TRUE(w->IsOpen() && w->Visible());
    w->refuseClose = false;
    w->Close();
    EXPECT_FALSE(w->IsOpen() || w->Visible());
    EXPECT_EQ(w->log.filter("Close"), QStringList{"Close"});
    EXPECT_EQ(WindowCount(), 0);
    delete w; // not a shared instance: its creator deletes it

    OkDialog::created = 0;
    OkDialog& shared = SharedInstance<OkDialog>();
    EXPECT_EQ(&SharedInstance<OkDialog>(), &shared); // asked again: the same window
    OnNextModal([](Window& d) { d.ControlNamed<PushButton>("OK")->Push(); });
    shared.ShowModal();
    QCoreApplication::sendPostedEvents(nullptr, 0);
    SharedInstance<OkDialog>();
    EXPECT_EQ(OkDialog::created, 2) << "closed and forgotten: a fresh one";
}

TEST(Window, ShowModalReturnsOnceTheTestHookClosesIt) {
    QStringList seen;
    OnNextModal([&](Window& w) {
        seen << "outer";
        EXPECT_TRUE(w.Widget()->isModal());
        SharedInstance<OkDialog>().ShowModal(); // the next hook serves this one, inside
        seen << "inner closed";
        w.Close();
    });
    OnNextModal([&](Window& w) {
        seen << "inner";
        w.ControlNamed<PushButton>("OK")->Push();
    });
    TableWindow outer;
    outer.ShowModal();
    EXPECT_EQ(seen, QStringList({"outer", "inner", "inner closed"}));
    EXPECT_FALSE(outer.IsOpen());
    EXPECT_EQ(TakeUnattendedCloses(), 0);
}

TEST(Controls, ChangeEventsRunAlsoWhenTheProgramSetsAValue) {
    TableWindow w({Desc("Field", K::EditField, {0, 0, 80, 22}), Desc("Back", K::CheckBox, {0, 30, 150, 20}),
                   Desc("Across", K::ScrollBar, {0, 60, 200, 16}),
                   Desc("Cyan", K::Slider, {0, 90, 240, 16})});
    w.Show();
    auto* field = w.ControlNamed<EditField>("Field");
    auto* back = w.ControlNamed<CheckBox>("Back");
    auto* across = w.ControlNamed<ScrollBar>("Across");
    auto* cyan = w.ControlNamed<Slider>("Cyan");
    field->TextChange = [&] { w.log << "Field " + field->Text(); };
    back->Action = [&] { w.log << QString("Back %1").arg(back->Value()); };
    across->ValueChanged = [&] { w.log << QString("Across %1").arg(across->Value()); };
    cyan->ValueChanged = [&] { w.log << QString("Cyan %1").arg(cyan->Value()); };
    const struct {
        const char* what;
        std::function<void()> act;
        QStringList log;
    } steps[] = {
        {"text set", [&] { field->SetText("12"); }, {"Field 12"}},
        {"the same text", [&] { field->SetText("12"); }, {}},
        {"typing",
         [&] { static_cast<QLineEdit*>(field->Widget())->end(false), ui::Type(field->Widget(), "3"); },
         {"Field 123"}},
        {"checked", [&] { back->SetValue(true); }, {"Back 1"}},
        {"the same value", [&] { back->SetValue(true); }, {}},
        {"clicked", [&] { back->Push(); }, {"Back 0"}},
        {"past the range", [&] { across->SetValue(500); }, {"Across 100"}},
        {"the range shrinks under it", [&] { across->SetMaximum(60); }, {"Across 60"}},
        {"slid", [&] { cyan->SetValue(55); }, {"Cyan 55"}},
    };
    for (auto& s : steps) {
        w.log.clear();
        s.act();
        EXPECT_EQ(w.log, s.log) << s.what;
    }
}

// Fields: KeyDown runs before the key reaches the text and may keep it; a multi-line field shows every
// line end as a line of its own; LostFocus runs when the focus moves on.
TEST(EditField, KeysLineEndsAndFocus) {
    ControlDesc notes = Desc("Notes", K::EditField, {0, 60, 200, 80});
    notes.multiline = true;
    TableWindow w(
        {Desc("Field", K::EditField, {0, 0, 80, 22}), Desc("Other", K::EditField, {0, 30, 80, 22}), notes});
    w.Show();
    ui::Activate(w);
    auto* field = w.ControlNamed<EditField>("Field");
    field->TextChange = [&] { w.log << field->Text(); };
    field->KeyDown = [&](const QString& key) { return w.log << "key " + key, key == "z"; };
    field->GotFocus = [&] { w.log << "got"; };
    field->LostFocus = [&] { w.log << "lost"; };
    w.ControlNamed<EditField>("Other")->SetFocus();
    w.log.clear();
    field->SetFocus();
    ui::Type(field->Widget(), "3z4");
    w.ControlNamed<EditField>("Other")->SetFocus();
    EXPECT_EQ(w.log, QStringList({"got", "key 3", "3", "key z", "key 4", "34", "lost"}));

    auto* multi = w.ControlNamed<EditField>("Notes");
    multi->SetText("Picture: \rFonts:\r\nAngle:");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(multi->Widget())->document()->blockCount(), 3);
    EXPECT_EQ(multi->Text(), "Picture: \nFonts:\nAngle:");
}

// Paint draws into the canvas's own picture before it shows, with a fresh pen each time; what the
// program drew there straight stays unless the canvas erases, and a scroll moves the picture and has
// Paint fill the strip uncovered.
TEST(Canvas, PaintDrawsIntoTheBackingBeforeItShows) {
    ControlDesc keep = Desc("Page", K::Canvas, {0, 0, 100, 80});
    keep.eraseBackground = false;
    ControlDesc nowhere = Desc("Logo", K::Canvas, {0, 100, 36, 34});
    nowhere.picture = "nowhere.png";
    TableWindow w({keep, nowhere, Desc("Erased", K::Canvas, {150, 0, 100, 80})});
    w.Show();
    EXPECT_EQ(w.ControlNamed<Canvas>("Logo")->Backdrop(), nullptr) << "a picture that is not there";
    for (const char* name : {"Page", "Erased"}) {
        SCOPED_TRACE(name);
        auto* page = w.ControlNamed<Canvas>(name);
        int paints = 0;
        page->Paint = [&](Graphics& g) {
            ++paints;
            EXPECT_EQ(g.ForeColor, Color{});
            g.ForeColor = RGB(0, 0, 255);
            g.FillRect(0, 0, 10, 10);
        };
        page->Graphics().ForeColor = RGB(255, 0, 0); // straight into the picture
        page->Graphics().FillRect(0, 0, 100, 80);
        page->Refresh(true);
        const QImage shown = page->Widget()->grab().toImage();
        EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::blue));
        EXPECT_EQ(shown.pixelColor(50, 50) == QColor(Qt::red), QString(name) == "Page");
        page->Widget()->grab();
        EXPECT_EQ(paints, 1) << "nothing asked for a new paint";
        page->Backing().setPixelColor(40, 40, Qt::green);
        page->Scroll(-20, 0);
        EXPECT_EQ(page->Backing().pixelColor(20, 40), QColor(Qt::green));
        page->Widget()->grab();
        EXPECT_EQ(paints, 2);
    }
}

// Buttons raise Action when pushed or clicked; a sticky bevel button stays down until the program
// raises it, and keeps no press its MouseDown took; radio buttons in one group turn each other off.
TEST(Buttons, ActionsAndValues) {
    ControlDesc tool = Desc("Tool", K::BevelButton, {0, 30, 30, 30}),
                normal = Desc("Normal", K::RadioButton, {6, 120, 80, 20}, LockNone, "Style");
    tool.sticky = true;
    normal.value = 1;
    TableWindow w({Desc("OK", K::PushButton, {0, 0, 69, 22}), tool,
                   Desc("Back", K::CheckBox, {0, 70, 150, 20}), Desc("Style", K::GroupBox, {0, 100, 190, 70}),
                   normal, Desc("Bold", K::RadioButton, {6, 145, 80, 20}, LockNone, "Style"),
                   Desc("Arrows", K::LittleArrows, {250, 0, 13, 23})});
    w.Show();
    auto* ok = w.ControlNamed<PushButton>("OK");
    auto* bevel = w.ControlNamed<BevelButton>("Tool");
    auto* bold = w.ControlNamed<RadioButton>("Bold");
    auto* arrows = w.ControlNamed<LittleArrows>("Arrows");
    bool swallowToolPress = false;
    ok->Action = [&] { w.log << "OK"; };
    bevel->MouseDown = [&](int, int) { return swallowToolPress; };
    bevel->Action = [&] { w.log << QString("Tool %1").arg(bevel->Value()); };
    w.ControlNamed<RadioButton>("Normal")->Action = [&] { w.log << "Normal"; };
    bold->Action = [&] { w.log << "Bold"; };
    arrows->Up = [&] { w.log << "Up"; };
    arrows->Down = [&] { w.log << "Down"; };
    const struct {
        const char* what;
        std::function<void()> act;
        QStringList log;
    } steps[] = {
        {"push", [&] { ok->Push(); }, {"OK"}},
        {"click", [&] { ui::Click(*ok, 10, 10); }, {"OK"}},
        {"sticky down", [&] { ui::Click(*bevel, 5, 5); }, {"Tool 1"}},
        {"sticky stays down", [&] { ui::Click(*bevel, 5, 5); }, {"Tool 1"}},
        {"the program raises it", [&] { bevel->SetValue(false); }, {}},
        {"MouseDown keeps the press", [&] { swallowToolPress = true, ui::Click(*bevel, 5, 5); }, {}},
        {"the other radio on", [&] { bold->SetValue(true); }, {"Bold"}},
        {"arrows", [&] { arrows->PushUp(), arrows->PushDown(); }, {"Up", "Down"}},
    };
    for (auto& s : steps) {
        w.log.clear();
        s.act();
        EXPECT_EQ(w.log, s.log) << s.what;
    }
    EXPECT_FALSE(bevel->Value());
    EXPECT_FALSE(w.ControlNamed<RadioButton>("Normal")->Value());
}

// A scroll bar's range that would end below its start, as for a page smaller than its view, holds the
// bar at 0; the bar's shape gives its direction.
TEST(RangeControls, ARangeBelowZeroHoldsTheBarAtZero) {
    TableWindow w(
        {Desc("Across", K::ScrollBar, {0, 0, 200, 16}), Desc("Down", K::ScrollBar, {0, 20, 16, 200})});
    auto* across = w.ControlNamed<ScrollBar>("Across");
    across->SetValue(40);
    across->SetMaximum(-288);
    EXPECT_EQ(QList<int>({across->Value(), across->Maximum()}), QList<int>({0, 0}));
    EXPECT_EQ(static_cast<QScrollBar*>(across->Widget())->orientation(), Qt::Horizontal);
    EXPECT_EQ(static_cast<QScrollBar*>(w.FindControl("Down")->Widget())->orientation(), Qt::Vertical);
}

TEST(Canvas, DragAndUpFollowOnlyAMouseDownThatReturnedTrue) {
    for (bool follow : {true, false}) {
        TableWindow w({Desc("View", K::Canvas, {0, 0, 200, 150})});
        w.Show();
        auto* view = w.ControlNamed<Canvas>("View");
        auto logAs = [&](const char* what) {
            return [&w, what](int x, int y) { w.log << QString("%1 %2,%3").arg(what).arg(x).arg(y); };
        };
        view->MouseDown = [&](int x, int y) { return logAs("Down")(x, y), follow; };
        view->MouseDrag = logAs("Drag");
        view->MouseUp = logAs("Up");
        view->MouseMove = logAs("Move");
        ui::Move(view->Widget(), {5, 6});
        ui::Press(view->Widget(), {10, 20});
        ui::Drag(view->Widget(), {15, 25});
        ui::Release(view->Widget(), {16, 26});
        EXPECT_EQ(w.log,
                  QStringList({"Move 5,6", "Down 10,20", "Drag 15,25", "Up 16,26"}).mid(0, follow ? 4 : 2))
            << "MouseDown returned " << follow;
    }
}

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

// Exit closes every window and then ends the program; a window that refuses to close stops it there,
// with that window and the ones after it still open.
TEST(Menu, QuitStopsAtAWindowThatRefusesToClose) {
    int quits = 0;
    SetQuitAction([&] { ++quits; });
    MenuWindow first;
    RefusingWindow second, third;
    for (Window* w :
         {static_cast<Window*>(&first), static_cast<Window*>(&second), static_cast<Window*>(&third)})
        w->Show();
    second.refuse = true;
    MenuItem& exit = *SharedMenuBar<TestBar>().FindItem("FileQuit");
    EXPECT_TRUE(exit.Trigger());
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(first.IsOpen() + second.IsOpen() + third.IsOpen(), 2) << "the windows after it stay open";
    second.refuse = false;
    exit.Trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(first.IsOpen() || second.IsOpen() || third.IsOpen());
    EXPECT_EQ(WindowCount(), 0);
}

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
