#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"

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

class TableWindow : public Window {
public:
    explicit TableWindow(std::initializer_list<ControlDesc> table = {}) {
        ApplyDesc({.title = "Table", .width = 300, .height = 200, .minWidth = 200, .minHeight = 150});
        CreateControls(table);
    }
};

// Its OK button closes it.
class OkDialog : public Window {
public:
    OkDialog() {
        ApplyDesc({.title = "Dialog", .width = 200, .height = 100, .frame = WindowFrame::MovableModal});
        CreateControls({Desc("OK", K::PushButton, {120, 70, 69, 22})});
        ControlNamed<PushButton>("OK")->Action = [this] { Close(); };
    }
};

} // namespace

// Controls inside another are placed in window pixels but live inside their parent's widget.
TEST(Window, BuildsControlsFromTable) {
    TableWindow w({Desc("Strip", K::RoundRectangle, {2, 16, 220, 40}),
                   Desc("Fit", K::BevelButton, {145, 21, 30, 30}, LockNone, "Strip"),
                   Desc("Start", K::EditField, {132, 63, 80, 22}),
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
    struct Expect {
        const char* name;
        QRect big, small; // at 400x260; at the minimum size, 200x150
    } expected[] = {
        {"None", {10, 10, 50, 40}, {10, 10, 50, 40}},       {"All", {70, 10, 200, 140}, {70, 10, 0, 30}},
        {"Across", {70, 244, 200, 16}, {70, 134, 0, 16}},   {"Down", {384, 10, 16, 140}, {184, 10, 16, 30}},
        {"Corner", {320, 230, 60, 20}, {120, 120, 60, 20}}, {"Panel", {280, 100, 60, 40}, {80, 100, 60, 40}},
        {"Inside", {185, 105, 20, 20}, {185, 105, 20, 20}}, // no locks of its own: it stays put in the window
    };
    w.SetSize(400, 260);
    for (const auto& e : expected)
        EXPECT_EQ(Rect(w.FindControl(e.name)), e.big) << e.name;
    w.SetSize(100, 100);
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(200, 150));
    for (const auto& e : expected)
        EXPECT_EQ(Rect(w.FindControl(e.name)), e.small) << e.name;
    w.SetSize(300, 200);
    EXPECT_EQ(Rect(w.FindControl("All")), QRect(70, 10, 100, 80));
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
