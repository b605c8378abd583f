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

// The main window is shown (the menu command goes to it) with a page of 210 x 297 mm and five
// objects; the fourth one is selected.
class StepRepeat : public ::testing::Test {
public:
    void SetUp() override {
        InitGlobals();
        FillModNames();
        AdocWidth = 210;
        AdocHeight = 297;
        PageResolution = 100;
        TotalObjects = 0;
        for (int i = 0; i < 5; ++i)
            AddObject(i == 3 ? 10 : 5, i == 3 ? 20 : 5, i == 3 ? 0 : 7);
        CurrentObject = 3;
        DirtyFlag = false;
        main.Show();
        Scripted().messages.clear();
    }
    void TearDown() override { AdocWidth = AdocHeight = 0; }

    static void AddObject(double x, double y, std::int32_t pageIncrement) {
        const std::int32_t i = TotalObjects++;
        const Variant fields[] = {
            "Mine", x,     y,     "/##", pageIncrement, "3, Mod 9", "Arial", "Bold", 14.0, "C010M020Y030K040",
            45.0,   "f11", "f12", "f13", RGB(1, 2, 3),  "kept"};
        for (int f = 0; f < 16; ++f)
            RecPos(i, f) = fields[f];
    }

    // Opens the dialog through Edit > Step & Repeat and runs the action inside it.
    void Run(const std::function<void(StepRpt&)>& action) {
        OnNextModal([&](Window& w) { action(dynamic_cast<StepRpt&>(w)); });
        main.MenuItemNamed("EditStepRepeat").Trigger();
    }

    Window1& main = SharedInstance<Window1>();
};

// Replaces a field's text as the user would: select all, delete, type.
void Enter(StepRpt& d, const char* field, const QString& text) {
    auto& f = *d.ControlNamed<EditField>(field);
    f.SelectAll();
    ui::Key(f.Widget(), Qt::Key_Backspace);
    ui::Type(f.Widget(), text);
}

void Click(StepRpt& d, const char* control) {
    ui::Click(*d.FindControl(control), 8, 8);
}

// The grid: counts and distances, flow, "Numbers @ View" and Repeat Number, then OK.
struct Grid {
    QString across = "1", down = "1", dx = "30", dy = "15";
    bool downFirst = false, atViewOff = false;
    QString repeat = "1";
};

void Fill(StepRpt& d, const Grid& g) {
    Enter(d, "EdX", g.dx);
    Enter(d, "EdY", g.dy);
    Enter(d, "EdQAcross", g.across);
    Enter(d, "EdQdown", g.down);
    Enter(d, "EdRepeat", g.repeat);
    if (g.downFirst)
        Click(d, "RadioButton2");
    if (g.atViewOff)
        Click(d, "CBatView");
}

} // namespace

TEST_F(StepRepeat, EveryOpeningStartsFromTheDefaults) {
    for (int opening = 0; opening < 2; ++opening) {
        Run([&](StepRpt& d) {
            QStringList texts;
            for (const char* f : {"EdQAcross", "EdX", "EdQdown", "EdY", "EdRepeat"})
                texts << d.ControlNamed<EditField>(f)->Text();
            // The distances are the selected object's size as last drawn.
            EXPECT_EQ(texts, QStringList({"1", Str(CurrentObjectWidth), "1", Str(CurrentObjectHeight), "1"}))
                << "opening " << opening;
            EXPECT_TRUE(d.ControlNamed<RadioButton>("RadioButton1")->Value());
            EXPECT_TRUE(d.ControlNamed<CheckBox>("CBatView")->Value());
            Fill(d, {.across = "3", .down = "2", .downFirst = true, .atViewOff = true, .repeat = "4"});
            Click(d, "BtnCancel");
        });
    }
    EXPECT_EQ(TotalObjects, 5);
    EXPECT_FALSE(DirtyFlag);
    EXPECT_EQ(TakeUnattendedCloses(), 0);
}

TEST_F(StepRepeat, CopiesWalkTheGridInFlowOrder) {
    struct Copy {
        double x, y;
        std::int32_t pageIncrement;
    };
    struct Case {
        const char* name;
        Grid grid;
        std::vector<Copy> copies; // rows 5 upward, named Object6 upward
    } cases[] = {
        {"across then down",
         {.across = "3", .down = "2", .repeat = "2"},
         {{40, 20, 0}, {70, 20, 1}, {10, 35, 1}, {40, 35, 2}, {70, 35, 2}}},
        {"down then across",
         {.across = "3", .down = "2", .downFirst = true, .repeat = "2"},
         {{10, 35, 0}, {40, 20, 1}, {40, 35, 1}, {70, 20, 2}, {70, 35, 2}}},
        {"whole part of a count", {.across = "2.9", .down = "1"}, {{40, 20, 1}}},
        {"numbers @ view off", {.across = "4", .atViewOff = true}, {{40, 20, 0}, {70, 20, 0}, {100, 20, 0}}},
        {"repeat 0", {.across = "3", .repeat = "0"}, {{40, 20, 1}, {70, 20, 2}}},
        {"repeat negative", {.across = "3", .repeat = "-3"}, {{40, 20, 1}, {70, 20, 2}}},
        {"repeat 2.5 groups in threes",
         {.across = "7", .dx = "10", .repeat = "2.5"},
         {{20, 20, 0}, {30, 20, 0}, {40, 20, 1}, {50, 20, 1}, {60, 20, 1}, {70, 20, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Run([&](StepRpt& d) {
            Fill(d, c.grid);
            Click(d, "BtnOK");
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0) << "OK closes the dialog";
        ASSERT_EQ(TotalObjects, 5 + int(c.copies.size()));
        EXPECT_TRUE(DirtyFlag);
        for (int t = 5; t < TotalObjects; ++t) {
            const Copy& copy = c.copies[t - 5];
            EXPECT_EQ(RecPos(t, 0).StringValue(), "Object" + Str(t + 1));
            EXPECT_EQ(QList<double>({RecPos(t, 1).DoubleValue(), RecPos(t, 2).DoubleValue(),
                                     RecPos(t, 4).DoubleValue()}),
                      QList<double>({copy.x, copy.y, double(copy.pageIncrement)}))
                << t;
            for (int f : {3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
                EXPECT_EQ(RecPos(t, f), RecPos(3, f)) << t << " field " << f;
            EXPECT_TRUE(RecPos(t, 15).IsNull()) << "field 15 is not copied";
        }
        EXPECT_EQ(Scripted().messages, QStringList());
    }
}

TEST_F(StepRepeat, NoCopiesLeaveTheDocumentButRepaintTheView) {
    Canvas& view = *main.ControlNamed<Canvas>("Canvas1");
    int paints = 0;
    view.Widget()->repaint();
    view.Paint = [&](Graphics&) { ++paints; };

    const std::pair<const char*, Grid> cases[] = {
        {"defaults", {}},
        {"across 0", {.across = "0", .down = "3"}},
        {"down empty", {.across = "3", .down = ""}},
        {"across not a number", {.across = "abc", .down = "3"}},
        {"huge across, down 0", {.across = "1e300", .down = "0", .downFirst = true}},
    };
    for (const auto& [name, grid] : cases) {
        paints = 0;
        Run([&](StepRpt& d) {
            Fill(d, grid);
            Click(d, "BtnOK");
        });
        view.Widget()->repaint();
        EXPECT_EQ(paints, 1) << name;
        EXPECT_EQ(TotalObjects, 5) << name;
        EXPECT_FALSE(DirtyFlag) << name;
    }
    paints = 0;
    Run([&](StepRpt& d) { Click(d, "BtnCancel"); });
    view.Widget()->repaint();
    EXPECT_EQ(paints, 0) << "Cancel changes and repaints nothing";
}

TEST_F(StepRepeat, FitTestWarnsWhileTypingButDoesNotBlock) {
    const QString across = "Error - Can't fit across page", down = "Error - Can't fit down page";
    struct Case {
        const char* name;
        double x, y;
        Grid grid;
        int openingMessages; // across messages while the dialog fills in its defaults
        QString message;     // of the fit test for the grid typed
        int copies;
    } cases[] = {
        {"last cell exactly on the edges", 30, 20, {.across = "7", .down = "2", .dy = "277"}, 0, "", 13},
        {"across", 10, 20, {.across = "8"}, 0, across, 7},
        {"down", 10, 20, {.down = "2", .dy = "278"}, 0, down, 1},
        {"fraction of a count", 30, 20, {.across = "7.1"}, 0, across, 6},
        {"X as a whole number", 210.9, 20, {}, 0, "", 0},
        {"X beyond the page", 211, 20, {}, 4, across, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        RecPos(3, 1) = c.x;
        RecPos(3, 2) = c.y;
        Run([&](StepRpt& d) {
            EXPECT_EQ(Scripted().messages, QStringList(c.openingMessages, across));
            Fill(d, c.grid);
            // The fields are typed one character at a time; only the last state matters here.
            Scripted().messages.clear();
            EXPECT_EQ(d.CheckFit(), c.message.isEmpty());
            EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
            Click(d, "BtnOK");
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0);
        EXPECT_EQ(TotalObjects, 5 + c.copies) << "copies are made even where the grid does not fit";
    }
}

TEST_F(StepRepeat, GridLargerThanTheObjectTableIsRefused) {
    while (TotalObjects < 120)
        AddObject(1, 1, 0);
    const QString refused = "Error - Can't repeat: the document has room for only 9 more objects";
    struct Case {
        Grid grid;
        int total;
        QString message;
    } cases[] = {{{.across = "5", .down = "3"}, 120, refused},
                 {{.across = "1e300", .down = "1e300"}, 120, refused},
                 {{.across = "5", .down = "2"}, 129, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid.across.toStdString());
        Run([&](StepRpt& d) {
            Fill(d, c.grid);
            Scripted().messages.clear();
            Click(d, "BtnOK");
            EXPECT_EQ(d.IsOpen(), !c.message.isEmpty()) << "a refused grid keeps the dialog open";
            if (d.IsOpen())
                Click(d, "BtnCancel");
        });
        EXPECT_EQ(TotalObjects, c.total);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
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
    d.ControlNamed<EditField>("EdQAcross")->SetText("3");
    EXPECT_TRUE(d.CheckFit());
    EXPECT_TRUE(d.DoStep());
    EXPECT_EQ(TotalObjects, 5);
}
