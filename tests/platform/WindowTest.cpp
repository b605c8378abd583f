#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using K = ControlKind;

namespace {

ControlDesc Desc(const char* name, ControlKind kind, QRect r, int locks = LockNone, const char* parent = "") {
    ControlDesc d{.name = name, .kind = kind, .locks = locks, .parent = parent};
    d.left = r.x(), d.top = r.y(), d.width = r.width(), d.height = r.height();
    return d;
}

QRect Rect(const Control* c) {
    return QRect(c->Left(), c->Top(), c->Width(), c->Height());
}

// Records its window events; built from the table it is given.
class LogWindow : public Window {
public:
    explicit LogWindow(std::initializer_list<ControlDesc> table = {}) {
        ApplyDesc({.title = "Log", .width = 300, .height = 200, .minWidth = 200, .minHeight = 150});
        CreateControls(table);
        for (int i = 0; i < ControlCount(); ++i)
            ControlAt(i)->Open = [this, c = ControlAt(i)] { log << c->Name() + ".Open"; };
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
        CreateControls({Desc("OK", K::PushButton, {120, 70, 69, 22})});
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

// Controls inside another are placed in window pixels but live inside their parent's widget.
TEST(Window, BuildsControlsFromTable) {
    ControlDesc start = Desc("Start", K::EditField, {132, 63, 80, 22});
    start.helpTag = "First\rSecond";
    LogWindow w({Desc("Strip", K::RoundRectangle, {2, 16, 220, 40}),
                 Desc("Fit", K::BevelButton, {145, 21, 30, 30}, LockNone, "Strip"), start,
                 Desc("Flow", K::GroupBox, {20, 100, 180, 64}),
                 Desc("Across", K::RadioButton, {26, 120, 169, 20}, LockNone, "Flow")});
    struct Expect {
        const char* name;
        QRect rect, qtRect; // in the window; inside the Qt parent
    } expected[] = {
        {"Fit", {145, 21, 30, 30}, {143, 5, 30, 30}},
        {"Start", {132, 63, 80, 22}, {132, 63, 80, 22}},
        {"Across", {26, 120, 169, 20}, {6, 20, 169, 20}},
    };
    for (const auto& e : expected) {
        Control* c = w.FindControl(e.name);
        ASSERT_NE(c, nullptr) << e.name;
        EXPECT_EQ(Rect(c), e.rect) << e.name;
        EXPECT_EQ(c->Widget()->geometry(), e.qtRect) << e.name;
    }
    EXPECT_EQ(w.FindControl("Fit")->Parent(), w.FindControl("Strip"));
    EXPECT_EQ(w.FindControl("Start")->Widget()->toolTip(), "First\nSecond");
    EXPECT_EQ(w.FindControl("Missing"), nullptr);
    EXPECT_THROW(w.ControlNamed<EditField>("Missing"), NilObjectException);
    EXPECT_THROW(w.ControlNamed<EditField>("Flow"), NilObjectException); // a group box, not an edit field
    EXPECT_THROW(w.CreateControl({.name = "Flow", .kind = K::Label}), RuntimeException);
    EXPECT_THROW(w.CreateControl({.name = "Orphan", .kind = K::Label, .parent = "Nobody"}),
                 NilObjectException);
}

TEST(Window, LocksMoveAndStretchControls) {
    LogWindow w({
        Desc("None", K::Canvas, {10, 10, 50, 40}),
        Desc("All", K::Canvas, {70, 10, 100, 80}, LockLeft | LockTop | LockRight | LockBottom),
        Desc("Across", K::ScrollBar, {70, 184, 100, 16}, LockLeft | LockRight | LockBottom),
        Desc("Down", K::ScrollBar, {284, 10, 16, 80}, LockTop | LockRight | LockBottom),
        Desc("Corner", K::PushButton, {220, 170, 60, 20}, LockRight | LockBottom),
        Desc("Panel", K::Placard, {180, 100, 60, 40}, LockRight),
        Desc("Inside", K::Label, {185, 105, 20, 20}, LockNone, "Panel"),
    });
    w.Show();
    w.SetSize(400, 260);
    struct Expect {
        const char* name;
        QRect rect;
    } expected[] = {
        {"None", {10, 10, 50, 40}},     {"All", {70, 10, 200, 140}},    {"Across", {70, 244, 200, 16}},
        {"Down", {384, 10, 16, 140}},   {"Corner", {320, 230, 60, 20}}, {"Panel", {280, 100, 60, 40}},
        {"Inside", {185, 105, 20, 20}}, // no locks of its own: it stays where it is in the window
    };
    for (const auto& e : expected)
        EXPECT_EQ(Rect(w.FindControl(e.name)), e.rect) << e.name;
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
    LogWindow w({Desc("Strip", K::RoundRectangle, {0, 0, 220, 40}),
                 Desc("Fit", K::BevelButton, {145, 0, 30, 30}, LockNone, "Strip"),
                 Desc("Field", K::EditField, {0, 70, 80, 22})});
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
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(200, 150));
    w.SetMaxSize(500, 400);
    w.SetSize(900, 900);
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(500, 400));
    EXPECT_EQ(w.Widget()->minimumSize(), QSize(200, 150));
    w.SetSize(300, 200);
    w.SetMinSize(450, 350); // a larger minimum grows the window
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(450, 350));
}

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
        SharedInstance<OkDialog>().ShowModal(); // runs the next action inside this one
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

// A modal window nobody attends is closed, even one refusing its close box, so a test cannot hang.
TEST(Window, UnattendedModalWindowIsClosedNotAwaited) {
    for (bool refuse : {false, true}) {
        LogWindow w;
        w.refuseClose = refuse;
        if (refuse)
            OnNextModal([](Window&) {});
        w.ShowModal();
        EXPECT_FALSE(w.IsOpen()) << refuse;
        EXPECT_EQ(TakeUnattendedCloses(), 1) << refuse;
    }
}
