#include "dialogs/ColourSet.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "platform/Controls.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {
QRect Bounds(const Control* c) {
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}
void SetParts(int c, int m, int y, int k) {
    Module1::pncCyan = c;
    Module1::pncMagenta = m;
    Module1::pncYellow = y;
    Module1::pncBlack = k;
}
std::array<int, 4> Parts() {
    return {Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow, Module1::pncBlack};
}
Color Fill(const Window& w, const char* name) {
    return w.ControlNamed<platform::Rectangle>(name)->FillColor();
}
QString FieldText(const Window& w, const char* name) {
    return w.ControlNamed<EditField>(name)->Text();
}
int SliderValue(const Window& w, const char* name) {
    return w.ControlNamed<Slider>(name)->Value();
}
// Replaces a field's text key by key, as the user would.
void TypeInto(Window& w, const char* field, const QString& text) {
    auto* edit = w.ControlNamed<EditField>(field);
    edit->SelectAll();
    ui::Type(edit->Widget(), text);
}
// Shows the shared dialog modally and runs the action inside it.
void RunColourSet(const std::function<void(ColourSet&)>& action) {
    OnNextModal([&](Window& w) { action(static_cast<ColourSet&>(w)); });
    SharedInstance<ColourSet>().ShowModal();
}
} // namespace

TEST(ColourSet, WindowAndControls) {
    ColourSet w;
    EXPECT_EQ(w.Title(), "Colour Selector");
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(512, 276));
    EXPECT_EQ(w.Widget()->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_EQ(w.ContentWidget()->palette().color(QPalette::Window), QColor(0xFF, 0xE8, 0xBF));

    using K = ControlKind;
    struct Row {
        const char* name;
        K kind;
        QRect rect;
        const char* parent;
    } rows[] = {
        {"Placard1", K::Placard, {18, 89, 476, 150}, ""},
        {"Line3", K::Line, {}, ""},
        {"Line2", K::Line, {}, ""},
        {"Line1", K::Line, {}, ""},
        {"SliderC", K::Slider, {95, 108, 240, 16}, "Placard1"},
        {"EFCyan", K::EditField, {397, 102, 80, 22}, "Placard1"},
        {"Cyan", K::Rectangle, {341, 102, 36, 22}, "Placard1"},
        {"VisOrig", K::Rectangle, {397, 31, 80, 22}, ""},
        {"VisNEW", K::Rectangle, {397, 59, 80, 22}, ""},
        {"StaticText1", K::Label, {309, 31, 80, 20}, ""},
        {"StaticText2", K::Label, {314, 59, 75, 20}, ""},
        {"SliderM", K::Slider, {95, 139, 240, 16}, "Placard1"},
        {"EFMagenta", K::EditField, {397, 133, 80, 22}, "Placard1"},
        {"Magenta", K::Rectangle, {341, 133, 36, 22}, "Placard1"},
        {"SliderY", K::Slider, {95, 170, 240, 16}, "Placard1"},
        {"EFYellow", K::EditField, {397, 164, 80, 22}, "Placard1"},
        {"Yellow", K::Rectangle, {341, 164, 36, 22}, "Placard1"},
        {"SliderK", K::Slider, {95, 201, 240, 16}, "Placard1"},
        {"EFBlack", K::EditField, {397, 195, 80, 22}, "Placard1"},
        {"Black", K::Rectangle, {341, 195, 36, 22}, "Placard1"},
        {"StaticText3", K::Label, {26, 108, 68, 20}, "Placard1"},
        {"StaticText4", K::Label, {26, 137, 68, 20}, "Placard1"},
        {"StaticText5", K::Label, {26, 167, 68, 20}, "Placard1"},
        {"StaticText6", K::Label, {26, 197, 68, 20}, "Placard1"},
        {"Canvas1", K::Canvas, {18, 31, 36, 34}, ""},
        {"PushButton1", K::PushButton, {397, 248, 80, 20}, ""},
        {"StaticText7", K::Label, {95, 31, 100, 20}, ""},
    };
    ASSERT_EQ(w.ControlCount(), int(std::size(rows)));
    for (int i = 0; i < w.ControlCount(); ++i) {
        const Control* c = w.ControlAt(i);
        EXPECT_EQ(c->Name(), rows[i].name);
        EXPECT_EQ(c->Kind(), rows[i].kind) << rows[i].name;
        if (rows[i].kind != K::Line)
            EXPECT_EQ(Bounds(c), rows[i].rect) << rows[i].name;
        EXPECT_EQ(c->Parent() ? c->Parent()->Name() : QString(), rows[i].parent) << rows[i].name;
        EXPECT_EQ(c->Locks(), LockNone) << rows[i].name;
        EXPECT_EQ(c->TextSize(), 12) << rows[i].name;
    }
    // Three red marks across the slider tracks, at a fifth of the way apart.
    for (auto [name, x] : {std::pair{"Line1", 215}, {"Line2", 160}, {"Line3", 269}}) {
        const Line* line = w.ControlNamed<Line>(name);
        EXPECT_EQ(QRect(QPoint(line->X1(), line->Y1()), QPoint(line->X2(), line->Y2())),
                  QRect(QPoint(x, 231), QPoint(x, 95)))
            << name;
        EXPECT_EQ(line->BorderColor(), RGB(255, 0, 0)) << name;
    }
    const Slider* k = w.ControlNamed<Slider>("SliderK");
    EXPECT_EQ(std::tuple(k->Minimum(), k->Maximum(), k->LineStep(), k->PageStep(), k->LiveScroll()),
              std::tuple(0, 100, 1, 20, true));
    EXPECT_EQ(w.ControlNamed<Label>("StaticText1")->Text(), "Original");
    EXPECT_EQ(w.ControlNamed<Label>("StaticText7")->Text(), "Select Colour");
    EXPECT_EQ(w.ControlNamed<PushButton>("PushButton1")->Caption(), "Close");
    EXPECT_NE(w.ControlNamed<Canvas>("Canvas1")->Backdrop(), nullptr);
    // Before opening: sliders at 0, fields empty.
    EXPECT_EQ(FieldText(w, "EFCyan"), "");
    EXPECT_EQ(Fill(w, "VisNEW"), RGB(255, 255, 255));
}

TEST(ColourSet, OpensOnTheCurrentParts) {
    struct Case {
        const char* name;
        std::array<int, 4> parts;
        std::array<int, 4> shown; // slider values
        Color preview;
    } cases[] = {
        {"default black", {0, 0, 0, 100}, {0, 0, 0, 100}, CMY(1, 1, 1)},
        {"mixed", {5, 0, 100, 40}, {5, 0, 100, 40}, CMY(0.45, 0.4, 1)},
        {"white", {0, 0, 0, 0}, {0, 0, 0, 0}, RGB(255, 255, 255)},
        {"out of range from a file", {150, -5, 7, 1000}, {100, 0, 7, 100}, CMY(1, 1, 1)},
    };
    const char* sliders[] = {"SliderC", "SliderM", "SliderY", "SliderK"};
    const char* fields[] = {"EFCyan", "EFMagenta", "EFYellow", "EFBlack"};
    for (const Case& c : cases) {
        SetParts(c.parts[0], c.parts[1], c.parts[2], c.parts[3]);
        Module1::DirtyFlag = false;
        RunColourSet([&](ColourSet& w) {
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(SliderValue(w, sliders[i]), c.shown[i]) << c.name << " " << sliders[i];
                // A part of 0 shows "0" too, not an empty field.
                EXPECT_EQ(FieldText(w, fields[i]), QString::number(c.shown[i])) << c.name << " " << fields[i];
            }
            const auto [C, M, Y, K] = c.shown;
            EXPECT_EQ(Fill(w, "Cyan"), CMY(C / 100.0, 0, 0)) << c.name;
            EXPECT_EQ(Fill(w, "Magenta"), CMY(0, M / 100.0, 0)) << c.name;
            EXPECT_EQ(Fill(w, "Yellow"), CMY(0, 0, Y / 100.0)) << c.name;
            EXPECT_EQ(Fill(w, "Black"), CMY(K / 100.0, K / 100.0, K / 100.0)) << c.name;
            EXPECT_EQ(Fill(w, "VisOrig"), c.preview) << c.name;
            EXPECT_EQ(Fill(w, "VisNEW"), c.preview) << c.name;
            w.ControlNamed<PushButton>("PushButton1")->Push();
        });
        EXPECT_FALSE(Module1::DirtyFlag) << c.name; // opening and closing is no edit
        EXPECT_EQ(Parts(), c.shown) << c.name;
    }
}

TEST(ColourSet, TypedPercentages) {
    struct Case {
        const char* name;
        const char* field;
        const char* slider;
        QString typed;
        int value;          // the slider afterwards
        QString fieldAfter; // the field afterwards
        QString colour;     // written on close
    } cases[] = {
        {"in range", "EFMagenta", "SliderM", "55", 55, "55", "C010M055Y020K030"},
        {"leading zeros", "EFCyan", "SliderC", "007", 7, "007", "C007M000Y020K030"},
        {"fraction", "EFYellow", "SliderY", "12.7", 12, "12.7", "C010M000Y012K030"},
        {"above 100 held at 100", "EFBlack", "SliderK", "150", 100, "100", "C010M000Y020K100"},
        {"huge", "EFCyan", "SliderC", "99999999999", 100, "100", "C100M000Y020K030"},
        {"negative held at 0", "EFYellow", "SliderY", "-5", 0, "0", "C010M000Y000K030"},
        {"not a number", "EFBlack", "SliderK", "abc", 0, "abc", "C010M000Y020K000"},
        {"emptied", "EFCyan", "SliderC", "", 0, "", "C000M000Y020K030"},
    };
    for (const Case& c : cases) {
        SetParts(10, 0, 20, 30);
        Module1::DirtyFlag = false;
        Color original;
        RunColourSet([&](ColourSet& w) {
            original = Fill(w, "VisOrig");
            if (c.typed.isEmpty()) {
                TypeInto(w, c.field, "x");
                ui::Key(w.FindControl(c.field)->Widget(), Qt::Key_Backspace);
            } else {
                TypeInto(w, c.field, c.typed);
            }
            EXPECT_EQ(SliderValue(w, c.slider), c.value) << c.name;
            EXPECT_EQ(FieldText(w, c.field), c.fieldAfter) << c.name;
            EXPECT_EQ(Fill(w, "VisOrig"), original) << c.name;
            EXPECT_TRUE(Module1::DirtyFlag) << c.name; // typing marks the document modified
            w.ControlNamed<PushButton>("PushButton1")->Push();
        });
        EXPECT_EQ(Module1::Rcolour, c.colour) << c.name;
    }
}

TEST(ColourSet, MovingASliderUpdatesFieldSwatchAndNewPreview) {
    SetParts(0, 0, 0, 100);
    Module1::DirtyFlag = false;
    RunColourSet([](ColourSet& w) {
        QWidget* slider = w.FindControl("SliderC")->Widget();
        ui::Key(slider, Qt::Key_PageUp); // one page step of 20
        ui::Key(slider, Qt::Key_Right);
        EXPECT_EQ(SliderValue(w, "SliderC"), 21);
        EXPECT_EQ(FieldText(w, "EFCyan"), "21");
        EXPECT_EQ(Fill(w, "Cyan"), CMY(0.21, 0, 0));
        ui::Key(w.FindControl("SliderK")->Widget(), Qt::Key_Home);
        EXPECT_EQ(FieldText(w, "EFBlack"), "0");
        EXPECT_EQ(Fill(w, "Black"), RGB(255, 255, 255));
        EXPECT_EQ(Fill(w, "VisNEW"), CMY(0.21, 0, 0));
        EXPECT_EQ(Fill(w, "VisOrig"), CMY(1, 1, 1)); // the opening colour stays
        w.ControlNamed<PushButton>("PushButton1")->Push();
    });
    EXPECT_FALSE(Module1::DirtyFlag);
    EXPECT_EQ(Module1::Rcolour, "C021M000Y000K000");
}

TEST(ColourSet, EveryCloseCommitsTheColour) {
    const std::pair<const char*, std::function<void(ColourSet&)>> closes[] = {
        {"Close button", [](ColourSet& w) { ui::Click(*w.FindControl("PushButton1"), 40, 10); }},
        {"close box", [](ColourSet& w) { w.Widget()->close(); }},
    };
    for (const auto& [name, close] : closes) {
        SetParts(0, 0, 0, 100);
        Module1::Rcolour = "";
        RunColourSet([&](ColourSet& w) {
            TypeInto(w, "EFCyan", "5");
            TypeInto(w, "EFYellow", "100");
            TypeInto(w, "EFBlack", "40");
            close(w);
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0) << name;
        EXPECT_EQ(Module1::Rcolour, "C005M000Y100K040") << name;
        EXPECT_EQ(Parts(), (std::array{5, 0, 100, 40})) << name;
    }

    // Closing untouched writes the opening colour back in the same form.
    SetParts(7, 0, 0, 100);
    RunColourSet([](ColourSet& w) { w.Close(); });
    EXPECT_EQ(Module1::Rcolour, "C007M000Y000K100");
}
