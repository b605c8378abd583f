#include "platform/Controls.h"
#include "TestSupport.h"
#include "UiDriver.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace platform;
using K = ControlKind;

namespace {

ControlDesc Desc(const char* name, ControlKind kind, QRect r) {
    ControlDesc d{.name = name, .kind = kind};
    d.left = r.x(), d.top = r.y(), d.width = r.width(), d.height = r.height();
    return d;
}

class TableWindow : public Window {
public:
    explicit TableWindow(std::initializer_list<ControlDesc> table) {
        ApplyDesc({.title = "Controls", .width = 400, .height = 300});
        CreateControls(table);
        Show();
    }
    QStringList log;
};

} // namespace

TEST(Controls, ChangeEventsRunAlsoWhenTheProgramSetsAValue) {
    TableWindow w({Desc("Field", K::EditField, {0, 0, 80, 22}), Desc("Back", K::CheckBox, {0, 30, 150, 20}),
                   Desc("Across", K::ScrollBar, {0, 60, 200, 16}),
                   Desc("Cyan", K::Slider, {0, 90, 240, 16})});
    auto* field = w.ControlNamed<EditField>("Field");
    auto* back = w.ControlNamed<CheckBox>("Back");
    auto* across = w.ControlNamed<ScrollBar>("Across");
    auto* cyan = w.ControlNamed<Slider>("Cyan");
    field->TextChange = [&] { w.log << "Field " + field->Text(); };
    back->Action = [&] { w.log << QString("Back %1").arg(back->Value()); };
    across->ValueChanged = [&] { w.log << QString("Across %1").arg(across->Value()); };
    cyan->ValueChanged = [&] { w.log << QString("Cyan %1").arg(cyan->Value()); };
    struct Step {
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
        {"scrolled", [&] { across->SetValue(40); }, {"Across 40"}},
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

TEST(Canvas, DragAndUpFollowOnlyAMouseDownThatReturnedTrue) {
    for (bool follow : {true, false}) {
        TableWindow w({Desc("View", K::Canvas, {0, 0, 200, 150})});
        auto* view = w.ControlNamed<Canvas>("View");
        auto logAs = [&](const char* what) {
            return [&w, what](int x, int y) { w.log << QString("%1 %2,%3").arg(what).arg(x).arg(y); };
        };
        view->MouseDown = [&](int x, int y) {
            logAs("Down")(x, y);
            return follow;
        };
        view->MouseDrag = logAs("Drag");
        view->MouseUp = logAs("Up");
        view->MouseMove = logAs("Move");

        ui::Move(view->Widget(), {5, 6});
        ui::Press(view->Widget(), {10, 20});
        ui::Drag(view->Widget(), {15, 25});
        ui::Release(view->Widget(), {16, 26});
        const QStringList expected = follow ? QStringList{"Move 5,6", "Down 10,20", "Drag 15,25", "Up 16,26"}
                                            : QStringList{"Move 5,6", "Down 10,20"};
        EXPECT_EQ(w.log, expected) << "MouseDown returned " << follow;
    }
}
