#include "platform/Controls.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Graphics.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace platform;
using K = ControlKind;

namespace {

ControlDesc Desc(const char* name, ControlKind kind, QRect r, const char* parent = "") {
    ControlDesc d{.name = name, .kind = kind, .parent = parent};
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

TEST(EditField, TextChangeRunsForTypingAndForTheProgram) {
    ControlDesc notes = Desc("Notes", K::EditField, {0, 30, 200, 80});
    notes.multiline = true;
    TableWindow w({Desc("Field", K::EditField, {0, 0, 80, 22}), notes});
    auto* field = w.ControlNamed<EditField>("Field");
    field->TextChange = [&] { w.log << field->Text(); };
    field->KeyDown = [&](const QString& key) { return key == "z"; };
    auto* line = static_cast<QLineEdit*>(field->Widget());

    field->SetText("12");
    field->SetText("12"); // no change, no event
    line->end(false);
    ui::Type(line, "3z4");
    EXPECT_EQ(w.log, QStringList({"12", "123", "1234"}));
    field->SetReadOnly(true);
    ui::Type(line, "5");
    EXPECT_EQ(field->Text(), "1234");

    auto* multi = w.ControlNamed<EditField>("Notes");
    multi->SetText("Picture: \rFonts:\r\nAngle:");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(multi->Widget())->document()->blockCount(), 3);
    EXPECT_EQ(multi->Text(), "Picture: \nFonts:\nAngle:");
}

TEST(EditField, LostFocusWhenTheFocusMovesOn) {
    TableWindow w({Desc("A", K::EditField, {0, 0, 80, 22}), Desc("B", K::EditField, {0, 30, 80, 22})});
    auto* a = w.ControlNamed<EditField>("A");
    a->GotFocus = [&] { w.log << "A got"; };
    a->LostFocus = [&] { w.log << "A lost"; };
    ui::Activate(w);
    a->SetFocus();
    w.ControlNamed<EditField>("B")->SetFocus();
    EXPECT_EQ(w.log, QStringList({"A got", "A lost"}));
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

TEST(Canvas, PaintDrawsIntoTheBackingBeforeItShows) {
    ControlDesc desc = Desc("Page", K::Canvas, {0, 0, 100, 80});
    desc.eraseBackground = false;
    TableWindow w({desc});
    auto* page = w.ControlNamed<Canvas>("Page");
    int paints = 0;
    page->Paint = [&](Graphics& g) {
        ++paints;
        EXPECT_EQ(g.ForeColor, Color{}); // a fresh pen for every paint
        g.ForeColor = RGB(0, 0, 255);
        g.FillRect(0, 0, 10, 10);
    };
    // Drawn straight into the backing through the canvas's graphics, which keeps its pen.
    page->Graphics().ForeColor = RGB(255, 0, 0);
    page->Graphics().FillRect(0, 0, 100, 80);
    const QImage shown = page->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(50, 50), QColor(Qt::red)); // no erase: the earlier drawing stays
    page->Widget()->grab();
    EXPECT_EQ(paints, 1); // nothing asked for a new paint

    // Scrolling moves the picture and has Paint run again for the strip uncovered.
    page->Backing().setPixelColor(40, 40, Qt::green);
    page->Scroll(-20, 0);
    EXPECT_EQ(page->Backing().pixelColor(20, 40), QColor(Qt::green));
    page->Widget()->grab();
    EXPECT_EQ(paints, 2);

    page->Backing().fill(Qt::red);
    page->SetEraseBackground(true);
    page->Refresh(true);
    const QImage erased = page->Widget()->grab().toImage();
    EXPECT_NE(erased.pixelColor(50, 50), QColor(Qt::red));
    EXPECT_EQ(erased.pixelColor(5, 5), QColor(Qt::blue));
}

TEST(Buttons, ActionsAndValues) {
    ControlDesc tool = Desc("Tool", K::BevelButton, {0, 30, 30, 30}),
                normal = Desc("Normal", K::RadioButton, {6, 120, 80, 20}, "Style");
    tool.sticky = true;
    normal.value = 1;
    TableWindow w({Desc("OK", K::PushButton, {0, 0, 69, 22}), tool,
                   Desc("Back", K::CheckBox, {0, 70, 150, 20}), Desc("Style", K::GroupBox, {0, 100, 190, 70}),
                   normal, Desc("Bold", K::RadioButton, {6, 145, 80, 20}, "Style"),
                   Desc("Arrows", K::LittleArrows, {250, 0, 13, 23})});
    auto* ok = w.ControlNamed<PushButton>("OK");
    auto* bevel = w.ControlNamed<BevelButton>("Tool");
    auto* back = w.ControlNamed<CheckBox>("Back");
    auto* bold = w.ControlNamed<RadioButton>("Bold");
    auto* arrows = w.ControlNamed<LittleArrows>("Arrows");
    bool swallowToolPress = false;
    ok->Action = [&] { w.log << "OK"; };
    bevel->MouseDown = [&](int, int) { return swallowToolPress; };
    bevel->Action = [&] { w.log << QString("Tool %1").arg(bevel->Value()); };
    back->Action = [&] { w.log << QString("Back %1").arg(back->Value()); };
    w.ControlNamed<RadioButton>("Normal")->Action = [&] { w.log << "Normal"; };
    bold->Action = [&] { w.log << "Bold"; };
    arrows->Up = [&] { w.log << "Up"; };
    arrows->Down = [&] { w.log << "Down"; };

    struct Step {
        const char* what;
        std::function<void()> act;
        QStringList log;
    } steps[] = {
        {"push", [&] { ok->Push(); }, {"OK"}},
        {"click", [&] { ui::Click(*ok, 10, 10); }, {"OK"}},
        {"sticky down", [&] { ui::Click(*bevel, 5, 5); }, {"Tool 1"}},
        {"sticky stays down", [&] { ui::Click(*bevel, 5, 5); }, {"Tool 1"}},
        {"program raises it", [&] { bevel->SetValue(false); }, {}},
        {"MouseDown keeps the press", [&] { swallowToolPress = true, ui::Click(*bevel, 5, 5); }, {}},
        {"check by program", [&] { back->SetValue(true); }, {"Back 1"}},
        {"same value", [&] { back->SetValue(true); }, {}},
        {"uncheck by click", [&] { back->Push(); }, {"Back 0"}},
        {"other radio on", [&] { bold->SetValue(true); }, {"Bold"}},
        {"arrows", [&] { arrows->PushUp(), arrows->PushDown(); }, {"Up", "Down"}},
    };
    for (auto& s : steps) {
        w.log.clear();
        s.act();
        EXPECT_EQ(w.log, s.log) << s.what;
    }
    EXPECT_FALSE(bevel->Value());
    EXPECT_FALSE(w.ControlNamed<RadioButton>("Normal")->Value()); // radios in one group turn each other off
    bold->SetValue(false);                                        // the program may turn every radio off
    EXPECT_FALSE(bold->Value());
}

TEST(RangeControls, ValueChangedAlsoWhenTheProgramSetsIt) {
    TableWindow w({Desc("Across", K::ScrollBar, {0, 0, 200, 16}), Desc("Down", K::ScrollBar, {0, 0, 16, 200}),
                   Desc("Cyan", K::Slider, {0, 220, 240, 16})});
    auto* across = w.ControlNamed<ScrollBar>("Across");
    across->ValueChanged = [&] { w.log << QString::number(across->Value()); };
    across->SetValue(40);
    across->SetValue(40);
    across->SetValue(500);    // kept within the range
    across->SetMaximum(60);   // the value follows the range
    across->SetMaximum(-288); // a page smaller than its view: the bar stays at its minimum
    EXPECT_EQ(w.log, QStringList({"40", "100", "60", "0"}));
    EXPECT_EQ(QList<int>({across->Minimum(), across->Maximum()}), QList<int>({0, 0}));
    EXPECT_EQ(static_cast<QScrollBar*>(across->Widget())->orientation(), Qt::Horizontal);
    EXPECT_EQ(static_cast<QScrollBar*>(w.FindControl("Down")->Widget())->orientation(), Qt::Vertical);

    auto* cyan = w.ControlNamed<Slider>("Cyan");
    int changes = 0;
    cyan->ValueChanged = [&] { ++changes; };
    cyan->SetValue(55);
    EXPECT_EQ(changes, 1);
}

TEST(Decorations, ShapesAndPictures) {
    ControlDesc mark = Desc("Mark", K::Line, {269, 231, 0, 0}),
                logo = Desc("Logo", K::ImageWell, {60, 0, 38, 38}),
                blank = Desc("Blank", K::Canvas, {100, 0, 36, 34});
    mark.borderColor = RGB(255, 0, 0);
    mark.x2 = 269, mark.y2 = 95;
    logo.picture = ":/logo.png";
    blank.picture = "nowhere.png";
    TableWindow w({Desc("Swatch", K::Rectangle, {10, 10, 36, 22}), mark, logo, blank});
    auto* swatch = w.ControlNamed<platform::Rectangle>("Swatch");
    swatch->SetFillColor(CMY(0.5, 0, 0));
    const QImage shot = swatch->Widget()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::black)); // the border
    EXPECT_EQ(shot.pixelColor(18, 11), CMY(0.5, 0, 0).toQColor());

    auto* line = w.ControlNamed<Line>("Mark");
    EXPECT_EQ(QRect(line->Left(), line->Top(), line->Width(), line->Height()), QRect(269, 95, 1, 137));
    EXPECT_EQ(line->Widget()->grab().toImage().pixelColor(0, 50), QColor(Qt::red));

    ASSERT_NE(w.ControlNamed<ImageWell>("Logo")->Image(), nullptr); // from the application's resources
    EXPECT_EQ(w.ControlNamed<Canvas>("Blank")->Backdrop(), nullptr);
}
