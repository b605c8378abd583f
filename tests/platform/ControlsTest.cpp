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
    TableWindow w(
        {{.name = "Field", .kind = K::EditField, .width = 80, .height = 22, .caption = "1"},
         {.name = "Notes", .kind = K::EditField, .top = 30, .width = 200, .height = 80, .multiline = true}});
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

    auto* notes = w.ControlNamed<EditField>("Notes");
    EXPECT_TRUE(notes->MultiLine());
    notes->SetText("Picture: \rFonts:\r\nAngle:");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(notes->Widget())->document()->blockCount(), 3);
    EXPECT_EQ(notes->Text(), "Picture: \nFonts:\nAngle:");
}

TEST(EditField, LostFocusWhenTheFocusMovesOn) {
    TableWindow w({{.name = "A", .kind = K::EditField, .width = 80, .height = 22},
                   {.name = "B", .kind = K::EditField, .top = 30, .width = 80, .height = 22}});
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
        TableWindow w({{.name = "View", .kind = K::Canvas, .width = 200, .height = 150}});
        auto* view = w.ControlNamed<Canvas>("View");
        view->MouseDown = [&](int x, int y) {
            w.log << QString("Down %1,%2").arg(x).arg(y);
            return follow;
        };
        view->MouseDrag = [&](int x, int y) { w.log << QString("Drag %1,%2").arg(x).arg(y); };
        view->MouseUp = [&](int x, int y) { w.log << QString("Up %1,%2").arg(x).arg(y); };
        view->MouseMove = [&](int x, int y) { w.log << QString("Move %1,%2").arg(x).arg(y); };

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
    TableWindow w(
        {{.name = "Page", .kind = K::Canvas, .width = 100, .height = 80, .eraseBackground = false}});
    auto* page = w.ControlNamed<Canvas>("Page");
    int paints = 0;
    page->Paint = [&](Graphics& g) {
        ++paints;
        EXPECT_EQ(g.Width(), 100);
        EXPECT_EQ(g.ForeColor, Color{}); // a fresh pen for every paint
        g.ForeColor = RGB(0, 0, 255);
        g.FillRect(0, 0, 10, 10);
    };
    // Drawn straight into the backing through the canvas's graphics, which keeps its pen.
    page->Graphics().ForeColor = RGB(255, 0, 0);
    EXPECT_EQ(&page->Graphics(), &page->Graphics());
    page->Graphics().FillRect(0, 0, 100, 80);
    const QImage shown = page->Widget()->grab().toImage();
    EXPECT_EQ(paints, 1);
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
    TableWindow w({
        {.name = "OK", .kind = K::PushButton, .width = 69, .height = 22, .caption = "OK"},
        {.name = "Tool", .kind = K::BevelButton, .top = 30, .width = 30, .height = 30, .sticky = true},
        {.name = "Back", .kind = K::CheckBox, .top = 70, .width = 150, .height = 20, .caption = "Backward"},
        {.name = "Style", .kind = K::GroupBox, .top = 100, .width = 190, .height = 70, .caption = "Style"},
        {.name = "Normal",
         .kind = K::RadioButton,
         .left = 6,
         .top = 120,
         .width = 80,
         .height = 20,
         .caption = "Normal",
         .parent = "Style",
         .value = 1},
        {.name = "Bold",
         .kind = K::RadioButton,
         .left = 6,
         .top = 145,
         .width = 80,
         .height = 20,
         .caption = "Bold",
         .parent = "Style"},
        {.name = "Arrows", .kind = K::LittleArrows, .left = 250, .width = 13, .height = 23},
    });
    auto* ok = w.ControlNamed<PushButton>("OK");
    auto* tool = w.ControlNamed<BevelButton>("Tool");
    auto* back = w.ControlNamed<CheckBox>("Back");
    auto* normal = w.ControlNamed<RadioButton>("Normal");
    auto* bold = w.ControlNamed<RadioButton>("Bold");
    auto* arrows = w.ControlNamed<LittleArrows>("Arrows");
    bool swallowToolPress = false;
    ok->Action = [&] { w.log << "OK"; };
    tool->MouseDown = [&](int, int) { return swallowToolPress; };
    tool->Action = [&] { w.log << QString("Tool %1").arg(tool->Value()); };
    back->Action = [&] { w.log << QString("Back %1").arg(back->Value()); };
    normal->Action = [&] { w.log << "Normal"; };
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
        {"sticky down", [&] { ui::Click(*tool, 5, 5); }, {"Tool 1"}},
        {"sticky stays down", [&] { ui::Click(*tool, 5, 5); }, {"Tool 1"}},
        {"program raises it", [&] { tool->SetValue(false); }, {}},
        {"MouseDown keeps the press",
         [&] {
             swallowToolPress = true;
             ui::Click(*tool, 5, 5);
         },
         {}},
        {"check by program", [&] { back->SetValue(true); }, {"Back 1"}},
        {"same value", [&] { back->SetValue(true); }, {}},
        {"uncheck by click", [&] { back->Push(); }, {"Back 0"}},
        {"other radio on", [&] { bold->SetValue(true); }, {"Bold"}},
        {"arrows",
         [&] {
             arrows->PushUp();
             arrows->PushDown();
         },
         {"Up", "Down"}},
    };
    for (auto& s : steps) {
        w.log.clear();
        s.act();
        EXPECT_EQ(w.log, s.log) << s.what;
    }
    EXPECT_FALSE(tool->Value());
    EXPECT_FALSE(normal->Value()); // radios in one group turn each other off
    bold->SetValue(false);         // the program may turn every radio off
    EXPECT_FALSE(bold->Value());
}

TEST(RangeControls, ValueChangedAlsoWhenTheProgramSetsIt) {
    TableWindow w({{.name = "Across", .kind = K::ScrollBar, .width = 200, .height = 16, .maximum = 100},
                   {.name = "Down", .kind = K::ScrollBar, .width = 16, .height = 200},
                   {.name = "Cyan", .kind = K::Slider, .top = 220, .width = 240, .height = 16}});
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
    EXPECT_EQ(cyan->PageStep(), 20);
}

TEST(Decorations, ShapesAndPictures) {
    TableWindow w({
        {.name = "Swatch", .kind = K::Rectangle, .left = 10, .top = 10, .width = 36, .height = 22},
        {.name = "Mark",
         .kind = K::Line,
         .left = 269,
         .top = 231,
         .borderColor = RGB(255, 0, 0),
         .x2 = 269,
         .y2 = 95},
        {.name = "Logo",
         .kind = K::ImageWell,
         .left = 60,
         .width = 38,
         .height = 38,
         .picture = ":/logo.png"},
        {.name = "Blank",
         .kind = K::Canvas,
         .left = 100,
         .width = 36,
         .height = 34,
         .picture = "nowhere.png"},
    });
    auto* swatch = w.ControlNamed<platform::Rectangle>("Swatch");
    swatch->SetFillColor(CMY(0.5, 0, 0));
    const QImage shot = swatch->Widget()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::black)); // the border
    EXPECT_EQ(shot.pixelColor(18, 11), CMY(0.5, 0, 0).toQColor());

    auto* mark = w.ControlNamed<Line>("Mark");
    EXPECT_EQ(QRect(mark->Left(), mark->Top(), mark->Width(), mark->Height()), QRect(269, 95, 1, 137));
    EXPECT_EQ(mark->Widget()->grab().toImage().pixelColor(0, 50), QColor(Qt::red));

    ASSERT_NE(w.ControlNamed<ImageWell>("Logo")->Image(), nullptr); // from the application's resources
    EXPECT_EQ(w.ControlNamed<Canvas>("Blank")->Backdrop(), nullptr);
}
