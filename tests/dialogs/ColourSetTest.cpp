#include "dialogs/ColourSet.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "platform/Controls.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {
using Parts = std::array<int, 4>;
const char* kSliders[] = {"SliderC", "SliderM", "SliderY", "SliderK"};
const char* kFields[] = {"EFCyan", "EFMagenta", "EFYellow", "EFBlack"};

void SetParts(Parts p) {
    std::tie(Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow, Module1::pncBlack) =
        std::tuple(p[0], p[1], p[2], p[3]);
}
Parts CurrentParts() {
    return {Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow, Module1::pncBlack};
}
Color Fill(const Window& w, const char* name) {
    return w.ControlNamed<platform::Rectangle>(name)->FillColor();
}
QString FieldText(const Window& w, const char* name) {
    return w.ControlNamed<EditField>(name)->Text();
}
// Replaces a field's text key by key, as the user would.
void TypeInto(Window& w, const char* field, const QString& text) {
    auto* edit = w.ControlNamed<EditField>(field);
    edit->SelectAll();
    if (text.isEmpty())
        ui::Key(edit->Widget(), Qt::Key_Backspace);
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
    QStringList names, inPlacard;
    for (int i = 0; i < w.ControlCount(); ++i) {
        names << w.ControlAt(i)->Name();
        if (w.ControlAt(i)->Parent() && w.ControlAt(i)->Parent()->Name() == "Placard1")
            inPlacard << w.ControlAt(i)->Name();
    }
    EXPECT_EQ(names.join(' '),
              "Placard1 Line3 Line2 Line1 SliderC EFCyan Cyan VisOrig VisNEW StaticText1 "
              "StaticText2 SliderM EFMagenta Magenta SliderY EFYellow Yellow SliderK EFBlack "
              "Black StaticText3 StaticText4 StaticText5 StaticText6 Canvas1 PushButton1 "
              "StaticText7");
    EXPECT_EQ(inPlacard.size(), 16);
    const std::pair<const char*, QRect> places[] = {
        {"SliderM", {95, 139, 240, 16}}, {"EFMagenta", {397, 133, 80, 22}},   {"Magenta", {341, 133, 36, 22}},
        {"VisNEW", {397, 59, 80, 22}},   {"PushButton1", {397, 248, 80, 20}},
    };
    for (const auto& [name, rect] : places) {
        const Control* c = w.FindControl(name);
        EXPECT_EQ(QRect(c->Left(), c->Top(), c->Width(), c->Height()), rect) << name;
    }
    const Line* mark = w.ControlNamed<Line>("Line1");
    EXPECT_EQ(std::tuple(mark->X1(), mark->Y1(), mark->X2(), mark->Y2()), std::tuple(215, 231, 215, 95));
    EXPECT_EQ(mark->BorderColor(), RGB(255, 0, 0));
    EXPECT_NE(w.ControlNamed<Canvas>("Canvas1")->Backdrop(), nullptr);
}

// Opening and closing untouched shows the parts and writes the same colour back, with leading zeros.
TEST(ColourSet, OpensOnTheCurrentPartsAndWritesThemBack) {
    struct Case {
        const char* name;
        Parts parts, shown;
        Color preview;
        QString colour;
    } cases[] = {
        {"default black", {0, 0, 0, 100}, {0, 0, 0, 100}, CMY(1, 1, 1), "C000M000Y000K100"},
        {"mixed", {5, 0, 100, 40}, {5, 0, 100, 40}, CMY(0.45, 0.4, 1), "C005M000Y100K040"},
        {"out of range from a file", {150, -5, 7, 1000}, {100, 0, 7, 100}, CMY(1, 1, 1), "C100M000Y007K100"},
    };
    for (const Case& c : cases) {
        SetParts(c.parts);
        Module1::DirtyFlag = false;
        RunColourSet([&](ColourSet& w) {
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(w.ControlNamed<Slider>(kSliders[i])->Value(), c.shown[i]) << c.name << " " << i;
                // A part of 0 shows "0" too, not an empty field.
                EXPECT_EQ(FieldText(w, kFields[i]), QString::number(c.shown[i])) << c.name << " " << i;
            }
            const double cyan = c.shown[0] / 100.0, black = c.shown[3] / 100.0;
            EXPECT_EQ(Fill(w, "Cyan"), CMY(cyan, 0, 0)) << c.name;
            EXPECT_EQ(Fill(w, "Black"), CMY(black, black, black)) << c.name;
            EXPECT_EQ(Fill(w, "VisOrig"), c.preview) << c.name;
            EXPECT_EQ(Fill(w, "VisNEW"), c.preview) << c.name;
            w.ControlNamed<PushButton>("PushButton1")->Push();
        });
        EXPECT_FALSE(Module1::DirtyFlag) << c.name; // opening and closing is no edit
        EXPECT_EQ(CurrentParts(), c.shown) << c.name;
        EXPECT_EQ(Module1::Rcolour, c.colour) << c.name;
    }
}

TEST(ColourSet, TypedPercentages) {
    struct Case {
        const char* name;
        int ink;
        QString typed;
        int value;          // the slider afterwards
        QString fieldAfter; // the field afterwards
        QString colour;     // written on close
    } cases[] = {
        {"in range", 1, "55", 55, "55", "C010M055Y020K030"},
        {"leading zeros", 0, "007", 7, "007", "C007M000Y020K030"},
        {"above 100 held at 100", 3, "150", 100, "100", "C010M000Y020K100"},
        {"negative held at 0", 2, "-5", 0, "0", "C010M000Y000K030"},
        {"not a number", 3, "abc", 0, "abc", "C010M000Y020K000"},
        {"emptied", 0, "", 0, "", "C000M000Y020K030"},
    };
    for (const Case& c : cases) {
        SetParts({10, 0, 20, 30});
        Module1::DirtyFlag = false;
        RunColourSet([&](ColourSet& w) {
            const Color original = Fill(w, "VisOrig");
            TypeInto(w, kFields[c.ink], c.typed);
            EXPECT_EQ(w.ControlNamed<Slider>(kSliders[c.ink])->Value(), c.value) << c.name;
            EXPECT_EQ(FieldText(w, kFields[c.ink]), c.fieldAfter) << c.name;
            EXPECT_EQ(Fill(w, "VisOrig"), original) << c.name;
            EXPECT_TRUE(Module1::DirtyFlag) << c.name; // typing marks the document modified
            w.ControlNamed<PushButton>("PushButton1")->Push();
        });
        EXPECT_EQ(Module1::Rcolour, c.colour) << c.name;
    }
}

TEST(ColourSet, MovingASliderUpdatesFieldSwatchAndNewPreview) {
    SetParts({0, 0, 0, 100});
    Module1::DirtyFlag = false;
    RunColourSet([](ColourSet& w) {
        QWidget* slider = w.FindControl("SliderC")->Widget();
        ui::Key(slider, Qt::Key_PageUp); // one page step of 20
        ui::Key(slider, Qt::Key_Right);
        EXPECT_EQ(FieldText(w, "EFCyan"), "21");
        EXPECT_EQ(Fill(w, "Cyan"), CMY(0.21, 0, 0));
        ui::Key(w.FindControl("SliderK")->Widget(), Qt::Key_Home);
        EXPECT_EQ(FieldText(w, "EFBlack"), "0");
        EXPECT_EQ(Fill(w, "VisNEW"), CMY(0.21, 0, 0));
        EXPECT_EQ(Fill(w, "VisOrig"), CMY(1, 1, 1)); // the opening colour stays
        w.ControlNamed<PushButton>("PushButton1")->Push();
    });
    EXPECT_FALSE(Module1::DirtyFlag);
    EXPECT_EQ(Module1::Rcolour, "C021M000Y000K000");
}

TEST(ColourSet, TheCloseBoxCommitsAsTheCloseButtonDoes) {
    const std::pair<const char*, std::function<void(ColourSet&)>> closes[] = {
        {"Close button", [](ColourSet& w) { ui::Click(*w.FindControl("PushButton1"), 40, 10); }},
        {"close box", [](ColourSet& w) { w.Widget()->close(); }},
    };
    for (const auto& [name, close] : closes) {
        SetParts({0, 0, 0, 100});
        RunColourSet([&](ColourSet& w) {
            TypeInto(w, "EFCyan", "5");
            TypeInto(w, "EFYellow", "100");
            TypeInto(w, "EFBlack", "40");
            close(w);
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0) << name;
        EXPECT_EQ(Module1::Rcolour, "C005M000Y100K040") << name;
        EXPECT_EQ(CurrentParts(), (Parts{5, 0, 100, 40})) << name;
    }
}
