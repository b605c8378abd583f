#include "dialogs/StepRpt.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

// Counts and distances, flow, "Numbers @ View" and Repeat Number as typed into the dialog.
struct Grid {
    QString across = "1", down = "1", dx = "30", dy = "15";
    bool downFirst = false, atViewOff = false;
    QString repeat = "1";
};

void Click(StepRpt& d, const char* control) {
    ui::Click(*d.FindControl(control), 8, 8);
}

void Fill(StepRpt& d, const Grid& g) {
    for (const auto& [name, text] : {std::pair("EdX", g.dx),
                                     {"EdY", g.dy},
                                     {"EdQAcross", g.across},
                                     {"EdQdown", g.down},
                                     {"EdRepeat", g.repeat}}) {
        auto& f = *d.ControlNamed<EditField>(name);
        f.SelectAll();
        ui::Key(f.Widget(), Qt::Key_Backspace);
        ui::Type(f.Widget(), text);
    }
    if (g.downFirst)
        Click(d, "RadioButton2");
    if (g.atViewOff)
        Click(d, "CBatView");
}

// A shown main window over a 210 x 297 mm page of five objects; the fourth, at (10, 20), is selected.
class StepRepeat : public ::testing::Test {
public:
    void SetUp() override {
        FillModNames();
        AdocWidth = 210, AdocHeight = 297, PageResolution = 100, TotalObjects = 0;
        for (int i = 0; i < 5; ++i)
            AddObject(i == 3 ? 10 : 5, i == 3 ? 20 : 5, i == 3 ? 0 : 7);
        CurrentObject = 3;
        DirtyFlag = false;
        main.Show();
        Scripted().messages.clear();
    }

    static void AddObject(double x, double y, std::int32_t pageIncrement) {
        const std::int32_t i = TotalObjects++;
        const Variant fields[] = {"Mine", x,    y,    "/##", pageIncrement, "3, Mod 9", "Arial",      "Bold",
                                  14.0,   "C1", 45.0, "f11", "f12",         "f13",      RGB(1, 2, 3), "kept"};
        for (int f = 0; f < 16; ++f)
            RecPos(i, f) = fields[f];
    }

    // Opens the dialog through Edit > Step & Repeat and acts inside it.
    void Open(const std::function<void(StepRpt&)>& inside) {
        OnNextModal([&](Window& w) { inside(dynamic_cast<StepRpt&>(w)); });
        main.MenuItemNamed("EditStepRepeat").Trigger();
    }
    // Opens the dialog, fills it in and ends with this button.
    void Run(const Grid& g, const char* button = "BtnOK", const std::function<void(StepRpt&)>& after = {}) {
        Open([&](StepRpt& d) {
            Fill(d, g);
            Scripted().messages.clear();
            Click(d, button);
            if (after)
                after(d);
        });
    }

    Window1& main = SharedInstance<Window1>();
};

} // namespace

TEST_F(StepRepeat, CopiesWalkTheGridInFlowOrder) {
    using Copy = std::array<double, 3>; // x, y, page increment
    const std::tuple<const char*, Grid, std::vector<Copy>> cases[] = {
        {"across then down",
         {.across = "3", .down = "2", .repeat = "2"},
         {{40, 20, 0}, {70, 20, 1}, {10, 35, 1}, {40, 35, 2}, {70, 35, 2}}},
        {"down then across",
         {.across = "3", .down = "2", .downFirst = true, .repeat = "2"},
         {{10, 35, 0}, {40, 20, 1}, {40, 35, 1}, {70, 20, 2}, {70, 35, 2}}},
        {"whole part of a count", {.across = "2.9"}, {{40, 20, 1}}},
        {"numbers @ view off", {.across = "3", .atViewOff = true}, {{40, 20, 0}, {70, 20, 0}}},
        {"repeat below 1 counts as 1", {.across = "3", .repeat = "-3"}, {{40, 20, 1}, {70, 20, 2}}},
        {"repeat 0 counts as 1", {.across = "3", .repeat = "0"}, {{40, 20, 1}, {70, 20, 2}}},
        {"repeat 2.5 groups in threes",
         {.across = "7", .dx = "10", .repeat = "2.5"},
         {{20, 20, 0}, {30, 20, 0}, {40, 20, 1}, {50, 20, 1}, {60, 20, 1}, {70, 20, 2}}},
        {"across 0", {.across = "0", .down = "3"}, {}},
        {"huge across, down 0", {.across = "1e300", .down = "0", .downFirst = true}, {}},
    };
    for (const auto& [name, grid, copies] : cases) {
        SCOPED_TRACE(name);
        SetUp();
        Run(grid);
        EXPECT_EQ(TakeUnattendedCloses(), 0) << "OK closes the dialog";
        ASSERT_EQ(TotalObjects, 5 + int(copies.size()));
        EXPECT_EQ(DirtyFlag, !copies.empty());
        for (int t = 5; t < TotalObjects; ++t) {
            EXPECT_EQ(RecPos(t, 0).StringValue(), "Object" + Str(t + 1));
            EXPECT_EQ(
                (Copy{RecPos(t, 1).DoubleValue(), RecPos(t, 2).DoubleValue(), RecPos(t, 4).DoubleValue()}),
                copies[t - 5])
                << t;
            for (int f : {3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
                EXPECT_EQ(RecPos(t, f), RecPos(3, f)) << t << " field " << f;
            EXPECT_TRUE(RecPos(t, 15).IsNull()) << "field 15 is not copied";
        }
    }
}

TEST_F(StepRepeat, GridLargerThanTheObjectTableIsRefused) {
    while (TotalObjects < 120)
        AddObject(1, 1, 0);
    const QString refused = "Error - Can't repeat: the document has room for only 9 more objects";
    const std::tuple<Grid, int, QString> cases[] = {{{.across = "5", .down = "3"}, 120, refused},
                                                    {{.across = "1e300", .down = "1e300"}, 120, refused},
                                                    {{.across = "5", .down = "2"}, 129, ""}};
    for (const auto& [grid, total, message] : cases) {
        SCOPED_TRACE(grid.across.toStdString());
        Run(grid, "BtnOK", [&](StepRpt& d) {
            EXPECT_EQ(d.IsOpen(), !message.isEmpty())
                << "a refused grid keeps the dialog open; Cancel then copies nothing";
            if (d.IsOpen())
                Click(d, "BtnCancel");
        });
        EXPECT_EQ(TotalObjects, total);
        EXPECT_EQ(Scripted().messages, message.isEmpty() ? QStringList() : QStringList{message});
    }
    EXPECT_EQ(RecPos(128, 0).StringValue(), "Object129");
}

TEST_F(StepRepeat, NeedsASelectedObject) {
    for (std::int32_t selected : {-1, 5}) {
        Scripted().messages.clear();
        CurrentObject = selected;
        main.MenuItemNamed("EditStepRepeat").Trigger();
        EXPECT_EQ(Scripted().messages, QStringList{"Select a number object to step and repeat"}) << selected;
        EXPECT_EQ(TakeUnattendedCloses(), 0) << "no dialog opens";
    }
    // The dialog on its own neither reads nor writes past the used rows.
    CurrentObject = -1;
    StepRpt d;
    d.EdQAcross().SetText("3");
    EXPECT_TRUE(d.CheckFit());
    EXPECT_TRUE(d.DoStep());
    EXPECT_EQ(TotalObjects, 5);
}

TEST_F(StepRepeat, EveryOpeningStartsFromTheDefaults) {
    CurrentObjectWidth = 12.5, CurrentObjectHeight = 4.25;
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        Open([&](StepRpt& d) {
            QStringList texts;
            for (EditField* f : {&d.EdQAcross(), &d.EdX(), &d.EdQdown(), &d.EdY(), &d.EdRepeat()})
                texts << f->Text();
            // The distances are the selected object's size as last drawn.
            EXPECT_EQ(texts, QStringList({"1", Str(CurrentObjectWidth), "1", Str(CurrentObjectHeight), "1"}));
            EXPECT_TRUE(d.RadioButton1().Value());
            EXPECT_TRUE(d.CBatView().Value());
            Fill(d, {.across = "3", .down = "2", .downFirst = true, .atViewOff = true, .repeat = "4"});
            Click(d, "BtnCancel");
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0);
    }
    EXPECT_EQ(TotalObjects, 5);
    EXPECT_FALSE(DirtyFlag);
}

// OK with nothing to copy changes nothing but repaints the page view; Cancel repaints nothing.
TEST_F(StepRepeat, NoCopiesLeaveTheDocumentButRepaintTheView) {
    Canvas& view = main.Canvas1();
    int paints = 0;
    ui::Shown(view); // whatever was pending
    view.Paint = [&](Graphics&) { ++paints; };
    const std::pair<const char*, const char*> ends[] = {{"BtnCancel", "Cancel"}, {"BtnOK", "OK"}};
    for (const auto& [button, name] : ends) {
        paints = 0;
        Run({.across = "0", .down = "3"}, button);
        view.Widget()->repaint();
        EXPECT_EQ(paints, QString(button) == "BtnOK" ? 1 : 0) << name;
        EXPECT_EQ(TotalObjects, 5) << name;
        EXPECT_FALSE(DirtyFlag) << name;
    }
}

// Each field typed runs the fit test of the grid's last cell against the page: a warning, never a block.
TEST_F(StepRepeat, FitTestWarnsWhileTypingButDoesNotBlock) {
    const QString across = "Error - Can't fit across page", down = "Error - Can't fit down page";
    const struct {
        const char* name;
        double x, y;
        Grid grid;
        int openingMessages; // across warnings as the dialog fills in its defaults: one for the grid
        QString message;     // of the fit test for the grid typed
        int copies;
    } cases[] = {
        {"last cell exactly on the edges", 30, 20, {.across = "7", .down = "2", .dy = "277"}, 0, "", 13},
        {"across", 10, 20, {.across = "8"}, 0, across, 7},
        {"down", 10, 20, {.down = "2", .dy = "278"}, 0, down, 1},
        {"fraction of a count", 30, 20, {.across = "7.1"}, 0, across, 6},
        {"X as a whole number", 210.9, 20, {}, 0, "", 0},
        {"X beyond the page", 211, 20, {}, 1, across, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        RecPos(3, 1) = c.x, RecPos(3, 2) = c.y;
        Open([&](StepRpt& d) {
            EXPECT_EQ(Scripted().messages, QStringList(c.openingMessages, across));
            Fill(d, c.grid);
            Scripted().messages.clear(); // typed a character at a time: only the last state matters
            EXPECT_EQ(d.CheckFit(), c.message.isEmpty());
            EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
            Click(d, "BtnOK");
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0);
        EXPECT_EQ(TotalObjects, 5 + c.copies) << "copies are made even where the grid does not fit";
    }
}

// A field that holds no number (or a distance further than any sheet) is refused by OK with one message
// naming it: the dialog stays open showing the value before, no copy is made, and OK then copies.
TEST_F(StepRepeat, FieldsThatHoldNoNumberKeepTheDialogOpen) {
    const QString q = QString::fromUtf8("\u201c"), p = QString::fromUtf8("\u201d");
    const struct {
        Grid grid;
        const char* field;
        QString shown, message;
    } cases[] = {
        {{.across = "3", .down = "abc"}, "EdQdown", "1", q + "Qty Down" + p + " must be a number."},
        {{.across = "", .down = "2"}, "EdQAcross", "1", q + "Qty Across" + p + " must be a number."},
        {{.across = "3", .dx = "30mm"},
         "EdX",
         "", // the selected object's width, as the dialog opened
         q + "Distance across" + p + " must be a number of millimetres from -5000 to 5000."},
        {{.across = "3", .repeat = "two"}, "EdRepeat", "1", q + "Repeat Number" + p + " must be a number."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        SetUp();
        Run(c.grid, "BtnOK", [&](StepRpt& d) {
            const QString shownBefore = c.shown.isEmpty() ? Str(CurrentObjectWidth) : c.shown;
            EXPECT_TRUE(d.IsOpen());
            EXPECT_EQ(Scripted().messages, QStringList{c.message});
            EXPECT_EQ(TotalObjects, 5);
            EXPECT_EQ(d.ControlNamed<EditField>(c.field)->Text(), shownBefore);
            Click(d, "BtnOK"); // with the value shown again
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0) << "the second OK closes the dialog";
        EXPECT_GT(TotalObjects, 5);
    }
}
