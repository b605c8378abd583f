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

Parts CurrentParts() {
    return {Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow, Module1::pncBlack};
}
Color Fill(const Window& w, const char* name) {
    return w.ControlNamed<platform::Rectangle>(name)->FillColor();
}
QString FieldText(const Window& w, const char* name) {
    return w.ControlNamed<EditField>(name)->Text();
}
void TypeInto(Window& w, const char* field, const QString& text) {
    auto* edit = w.ControlNamed<EditField>(field);
    edit->SelectAll();
    ui::Type(edit->Widget(), text);
}
// Opens the shared dialog on these parts and runs the action inside it.
void RunColourSet(Parts p, const std::function<void(ColourSet&)>& action) {
    std::tie(Module1::pncCyan, Module1::pncMagenta, Module1::pncYellow, Module1::pncBlack) =
        std::tuple(p[0], p[1], p[2], p[3]);
    Module1::DirtyFlag = false;
    OnNextModal([&](Window& w) { action(static_cast<ColourSet&>(w)); });
    SharedInstance<ColourSet>().ShowModal();
}
void Close(ColourSet& w) {
    w.ControlNamed<PushButton>("PushButton1")->Push();
}
} // namespace

TEST(ColourSet, Builds) {
    ColourSet w;
    EXPECT_EQ(w.Title(), "Colour Selector");
    EXPECT_EQ(w.ControlCount(), 27);
    EXPECT_EQ(w.ControlNamed<PushButton>("PushButton1")->Caption(), "Close");
    EXPECT_EQ(w.ControlNamed<Label>("StaticText7")->Text(), "Select Colour");
}

// Opening and closing untouched writes the shown parts back with leading zeros, held to 0..100.
TEST(ColourSet, OpensOnTheCurrentPartsAndWritesThemBack) {
    struct Case {
        const char* name;
        Parts parts, shown;
        Color preview;
        QString colour;
    } cases[] = {
        {"mixed", {5, 0, 100, 40}, {5, 0, 100, 40}, CMY(0.45, 0.4, 1), "C005M000Y100K040"},
        {"out of range from a file", {150, -5, 7, 1000}, {100, 0, 7, 100}, CMY(1, 1, 1), "C100M000Y007K100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunColourSet(c.parts, [&](ColourSet& w) {
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(w.ControlNamed<Slider>(kSliders[i])->Value(), c.shown[i]) << i;
                EXPECT_EQ(FieldText(w, kFields[i]), QString::number(c.shown[i])) << i;
            }
            EXPECT_EQ(Fill(w, "VisOrig"), c.preview);
            EXPECT_EQ(Fill(w, "VisNEW"), c.preview);
            Close(w);
        });
        EXPECT_FALSE(Module1::DirtyFlag);
        EXPECT_EQ(CurrentParts(), c.shown);
        EXPECT_EQ(Module1::Rcolour, c.colour);
    }
}

// Typed parts are held to 0..100; the close box commits as the Close button does.
TEST(ColourSet, TypedPercentages) {
    struct Case {
        const char* name;
        int ink;
        QString typed;
        int value;
        QString fieldAfter, colour;
        bool closeBox;
    } cases[] = {
        {"leading zeros", 0, "007", 7, "007", "C007M000Y020K030", false},
        {"above 100 held at 100", 3, "150", 100, "100", "C010M000Y020K100", true},
        {"negative held at 0", 2, "-5", 0, "0", "C010M000Y000K030", false},
        {"not a number", 3, "abc", 0, "abc", "C010M000Y020K000", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunColourSet({10, 0, 20, 30}, [&](ColourSet& w) {
            TypeInto(w, kFields[c.ink], c.typed);
            EXPECT_EQ(w.ControlNamed<Slider>(kSliders[c.ink])->Value(), c.value);
            EXPECT_EQ(FieldText(w, kFields[c.ink]), c.fieldAfter);
            EXPECT_EQ(Fill(w, "VisOrig"), CMY(0.4, 0.3, 0.5));
            EXPECT_TRUE(Module1::DirtyFlag);
            if (c.closeBox)
                w.Widget()->close();
            else
                ui::Click(*w.FindControl("PushButton1"), 40, 10);
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0);
        EXPECT_EQ(Module1::Rcolour, c.colour);
        EXPECT_EQ(CurrentParts()[c.ink], c.value);
    }
}

TEST(ColourSet, MovingASliderUpdatesFieldSwatchAndNewPreview) {
    RunColourSet({0, 0, 0, 100}, [](ColourSet& w) {
        QWidget* slider = w.FindControl("SliderC")->Widget();
        ui::Key(slider, Qt::Key_PageUp); // a page step is 20
        ui::Key(slider, Qt::Key_Right);
        ui::Key(w.FindControl("SliderK")->Widget(), Qt::Key_Home);
        EXPECT_EQ(FieldText(w, "EFCyan") + " " + FieldText(w, "EFBlack"), "21 0");
        EXPECT_EQ(Fill(w, "Cyan"), CMY(0.21, 0, 0));
        EXPECT_EQ(Fill(w, "VisNEW"), CMY(0.21, 0, 0));
        EXPECT_EQ(Fill(w, "VisOrig"), CMY(1, 1, 1));
        Close(w);
    });
    EXPECT_FALSE(Module1::DirtyFlag);
    EXPECT_EQ(Module1::Rcolour, "C021M000Y000K000");
}
