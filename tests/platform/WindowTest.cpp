#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"

#include <QCoreApplication>
#include <QFont>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using K = ControlKind;

namespace {

// Records its window events; built from the table it is given.
class LogWindow : public Window {
public:
    explicit LogWindow(std::initializer_list<ControlDesc> table = {}, int width = 300, int height = 200) {
        ApplyDesc({.title = "Log", .width = width, .height = height, .minWidth = 200, .minHeight = 150});
        CreateControls(table);
        for (int i = 0; i < ControlCount(); ++i) {
            Control* c = ControlAt(i);
            c->Open = [this, c] { log << c->Name() + ".Open"; };
        }
    }
    QStringList log;
    bool refuseClose = false;

protected:
    void Event_Open() override { log << "Open"; }
    bool Event_CancelClose() override { return refuseClose; }
    void Event_Close() override { log << "Close"; }
    void Event_Activate() override { log << "Activate"; }
    void Event_Resized() override { log << QString("Resized %1x%2").arg(Width()).arg(Height()); }
};

// A dialog with one shared instance whose OK button closes it.
class OkDialog : public Window {
public:
    OkDialog() {
        ApplyDesc({.title = "Dialog", .width = 200, .height = 100, .frame = WindowFrame::MovableModal});
        CreateControls({{.name = "OK",
                         .kind = K::PushButton,
                         .left = 120,
                         .top = 70,
                         .width = 69,
                         .height = 22,
                         .caption = "OK"}});
        ControlNamed<PushButton>("OK")->Action = [this] {
            ++okCount;
            Close();
        };
        ++created;
    }
    ~OkDialog() override { ++destroyed; }
    int okCount = 0;
    static inline int created = 0, destroyed = 0;
};

} // namespace

TEST(Window, BuildsControlsFromTable) {
    LogWindow w({
        {.name = "Strip",
         .kind = K::RoundRectangle,
         .left = 2,
         .top = 16,
         .width = 220,
         .height = 40,
         .fillColor = RGB(255, 255, 128),
         .borderWidth = 0,
         .ovalWidth = 10,
         .ovalHeight = 16},
        {.name = "Fit",
         .kind = K::BevelButton,
         .left = 145,
         .top = 21,
         .width = 30,
         .height = 30,
         .caption = "Fit",
         .parent = "Strip"},
        {.name = "Title",
         .kind = K::Label,
         .left = 10,
         .top = 63,
         .width = 100,
         .height = 20,
         .caption = "Start Number:",
         .fontSize = 16,
         .bold = true},
        {.name = "Start",
         .kind = K::EditField,
         .left = 132,
         .top = 63,
         .width = 80,
         .height = 22,
         .helpTag = "First\rSecond",
         .enabled = false},
        {.name = "Flow",
         .kind = K::GroupBox,
         .left = 20,
         .top = 100,
         .width = 180,
         .height = 64,
         .caption = "Flow"},
        {.name = "Across",
         .kind = K::RadioButton,
         .left = 26,
         .top = 120,
         .width = 169,
         .height = 20,
         .caption = "Across then Down",
         .parent = "Flow"},
    });

    struct Expect {
        const char* name;
        QRect rect;   // window pixels
        QRect qtRect; // inside the Qt parent
    } expected[] = {
        {"Strip", {2, 16, 220, 40}, {2, 16, 220, 40}},    {"Fit", {145, 21, 30, 30}, {143, 5, 30, 30}},
        {"Title", {10, 63, 100, 20}, {10, 63, 100, 20}},  {"Start", {132, 63, 80, 22}, {132, 63, 80, 22}},
        {"Across", {26, 120, 169, 20}, {6, 20, 169, 20}},
    };
    for (const auto& e : expected) {
        Control* c = w.FindControl(e.name);
        ASSERT_NE(c, nullptr) << e.name;
        EXPECT_EQ(QRect(c->Left(), c->Top(), c->Width(), c->Height()), e.rect) << e.name;
        EXPECT_EQ(c->Widget()->geometry(), e.qtRect) << e.name;
    }
    EXPECT_EQ(w.ControlNamed<BevelButton>("Fit")->Parent(), w.FindControl("Strip"));
    EXPECT_EQ(w.ControlNamed<BevelButton>("Fit")->Caption(), "Fit");
    EXPECT_EQ(w.ControlNamed<Label>("Title")->Text(), "Start Number:");
    EXPECT_EQ(w.ControlNamed<GroupBox>("Flow")->Caption(), "Flow");
    EXPECT_EQ(w.FindControl("Title")->Widget()->font().pixelSize(), 16);
    EXPECT_TRUE(w.FindControl("Title")->Widget()->font().bold());
    EXPECT_FALSE(w.FindControl("Start")->Enabled());
    EXPECT_EQ(w.FindControl("Start")->HelpTag(), "First\rSecond");
    EXPECT_EQ(w.FindControl("Start")->Widget()->toolTip(), "First\nSecond");
    EXPECT_EQ(w.ControlNamed<RoundRectangle>("Strip")->FillColor(), RGB(255, 255, 128));
    EXPECT_EQ(w.FindControl("Missing"), nullptr);
    EXPECT_THROW(w.ControlNamed<EditField>("Missing"), NilObjectException);
    EXPECT_THROW(w.ControlNamed<EditField>("Title"), NilObjectException); // a label, not an edit field
    EXPECT_THROW(w.CreateControl({.name = "Title", .kind = K::Label}), RuntimeException);
    EXPECT_THROW(w.CreateControl({.name = "Orphan", .kind = K::Label, .parent = "Nobody"}),
                 NilObjectException);
}

TEST(Window, LocksMoveAndStretchControls) {
    LogWindow w({
        {.name = "None", .kind = K::Canvas, .left = 10, .top = 10, .width = 50, .height = 40},
        {.name = "All",
         .kind = K::Canvas,
         .left = 70,
         .top = 10,
         .width = 100,
         .height = 80,
         .locks = LockLeft | LockTop | LockRight | LockBottom},
        {.name = "Across",
         .kind = K::ScrollBar,
         .left = 70,
         .top = 184,
         .width = 100,
         .height = 16,
         .locks = LockLeft | LockRight | LockBottom},
        {.name = "Down",
         .kind = K::ScrollBar,
         .left = 284,
         .top = 10,
         .width = 16,
         .height = 80,
         .locks = LockTop | LockRight | LockBottom},
        {.name = "Corner",
         .kind = K::PushButton,
         .left = 220,
         .top = 170,
         .width = 60,
         .height = 20,
         .locks = LockRight | LockBottom},
        {.name = "Panel",
         .kind = K::Placard,
         .left = 180,
         .top = 100,
         .width = 60,
         .height = 40,
         .locks = LockRight},
        {.name = "Inside",
         .kind = K::Label,
         .left = 185,
         .top = 105,
         .width = 20,
         .height = 20,
         .parent = "Panel"},
    });
    w.Show();
    w.SetSize(400, 260);
    EXPECT_EQ(w.Width(), 400);
    EXPECT_EQ(w.Height(), 260);
    struct Expect {
        const char* name;
        QRect rect;
    } expected[] = {
        {"None", {10, 10, 50, 40}},     {"All", {70, 10, 200, 140}},    {"Across", {70, 244, 200, 16}},
        {"Down", {384, 10, 16, 140}},   {"Corner", {320, 230, 60, 20}}, {"Panel", {280, 100, 60, 40}},
        {"Inside", {185, 105, 20, 20}}, // no locks of its own: it stays where it is in the window
    };
    for (const auto& e : expected) {
        const Control* c = w.FindControl(e.name);
        EXPECT_EQ(QRect(c->Left(), c->Top(), c->Width(), c->Height()), e.rect) << e.name;
    }
    EXPECT_EQ(w.FindControl("Inside")->Widget()->pos(), QPoint(-95, 5));
    EXPECT_EQ(w.log.filter("Resized"), QStringList{"Resized 400x260"});

    // Back to the first size: everything returns; a control moved by the program measures from there.
    w.FindControl("Corner")->SetLeft(100);
    w.SetSize(300, 200);
    EXPECT_EQ(w.FindControl("All")->Width(), 100);
    EXPECT_EQ(w.FindControl("Corner")->Left(), 0);
}

// A closed control goes with the controls inside it, firing nothing; the others stay.
TEST(Window, ClosingAControlRemovesItAndItsChildren) {
    LogWindow w({
        {.name = "Strip", .kind = K::RoundRectangle, .width = 220, .height = 40},
        {.name = "Fit", .kind = K::BevelButton, .left = 145, .width = 30, .height = 30, .parent = "Strip"},
        {.name = "Field", .kind = K::EditField, .top = 70, .width = 80, .height = 22},
    });
    w.Show();
    w.FindControl("Field")->SetFocus();
    w.ControlNamed<EditField>("Field")->LostFocus = [] { FAIL() << "a closed field fired"; };
    w.FindControl("Field")->Close();
    EXPECT_THROW(w.ControlNamed<EditField>("Field"), NilObjectException);
    w.FindControl("Strip")->Close();
    EXPECT_EQ(w.ControlCount(), 0);
    EXPECT_TRUE(w.ContentWidget()->findChildren<QWidget*>().isEmpty());
}

TEST(Window, SizeStaysWithinLimits) {
    LogWindow w;
    w.SetSize(100, 100);
    EXPECT_EQ(w.Width(), 200);
    EXPECT_EQ(w.Height(), 150);
    w.SetMaxSize(500, 400);
    w.SetSize(900, 900);
    EXPECT_EQ(w.Width(), 500);
    EXPECT_EQ(w.Height(), 400);
    EXPECT_EQ(w.Widget()->minimumSize(), QSize(200, 150));
    w.SetSize(300, 200);
    w.SetMinSize(450, 350); // a larger minimum grows the window
    EXPECT_EQ(w.Width(), 450);
    EXPECT_EQ(w.Height(), 350);
}

TEST(Window, OpensOnceControlsFirst) {
    LogWindow w({{.name = "A", .kind = K::Canvas, .width = 10, .height = 10},
                 {.name = "B", .kind = K::ListBox, .width = 10, .height = 10}});
    EXPECT_TRUE(w.log.isEmpty());
    w.Show();
    w.Show();
    EXPECT_EQ(w.log, QStringList({"A.Open", "B.Open", "Open", "Activate"}));
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(FrontWindow(), &w);
}

TEST(Window, CloseCanBeRefused) {
    auto* w = new LogWindow;
    w->Show();
    w->refuseClose = true;
    w->Close();
    EXPECT_TRUE(w->IsOpen());
    EXPECT_TRUE(w->Visible());
    w->refuseClose = false;
    w->Close();
    EXPECT_FALSE(w->IsOpen());
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(w->log.filter("Close"), QStringList{"Close"});
    EXPECT_EQ(WindowCount(), 0);
    delete w; // not a shared instance: its creator deletes it
}

TEST(Window, ShowModalReturnsAfterTheActionClosesIt) {
    OkDialog::created = OkDialog::destroyed = 0;
    OkDialog& first = SharedInstance<OkDialog>();
    EXPECT_EQ(&SharedInstance<OkDialog>(), &first); // asked again: the same window
    bool wasModal = false;
    OnNextModal([&](Window& w) {
        wasModal = w.Widget()->isModal();
        w.ControlNamed<PushButton>("OK")->Push();
    });
    first.ShowModal();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(first.okCount, 1); // still there until the event loop runs again
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(TakeUnattendedCloses(), 0);

    QCoreApplication::sendPostedEvents(nullptr, 0);
    EXPECT_EQ(OkDialog::destroyed, 1);
    SharedInstance<OkDialog>(); // closed and forgotten: a fresh one
    EXPECT_EQ(OkDialog::created, 2);
}

TEST(Window, ModalActionsServeNestedWindowsInOrder) {
    QStringList seen;
    OnNextModal([&](Window& w) {
        seen << "outer";
        auto& inner = SharedInstance<OkDialog>();
        inner.ShowModal(); // runs the next action inside this one
        seen << "inner closed";
        w.Close();
    });
    OnNextModal([&](Window& w) {
        seen << "inner";
        w.ControlNamed<PushButton>("OK")->Push();
    });
    LogWindow outer;
    outer.ShowModal();
    EXPECT_EQ(seen, QStringList({"outer", "inner", "inner closed"}));
    EXPECT_FALSE(outer.IsOpen());
}

TEST(Window, UnattendedModalWindowIsClosedNotAwaited) {
    LogWindow w;
    w.ShowModal(); // no action queued
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(TakeUnattendedCloses(), 1);

    LogWindow refusing; // a window that refuses its close box still goes, so the test cannot hang
    refusing.refuseClose = true;
    OnNextModal([](Window&) {});
    refusing.ShowModal();
    EXPECT_FALSE(refusing.IsOpen());
    EXPECT_EQ(TakeUnattendedCloses(), 1);
}
