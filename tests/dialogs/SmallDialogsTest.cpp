#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/ColourSet.h"
#include "dialogs/Font1.h"
#include "dialogs/ModSelect.h"
#include "editor/App.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/Menu.h"

#include <QAbstractItemView>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using testing_support::Scripted;

namespace {

enum End { OK, Cancel, CloseBox, DoubleClickRow2, DoubleClickBelowRows };

// Shows the shared dialog modally, runs the action inside it and checks that the action closed it.
template <class D> void RunDialog(const std::function<void(Window&)>& action) {
    OnNextModal(action);
    SharedInstance<D>().ShowModal();
    EXPECT_EQ(TakeUnattendedCloses(), 0);
}

// Ends a list dialog as a user would.
void Finish(Window& w, End end) {
    ListBox& list = *w.ControlNamed<ListBox>("ListBox1");
    QWidget* rows = static_cast<QAbstractItemView*>(list.Widget())->viewport();
    if (end == OK || end == Cancel)
        ui::Click(*w.FindControl(end == OK ? "OK1" : "Cancel1"), 30, 10);
    else if (end == CloseBox)
        w.Widget()->close();
    else if (end == DoubleClickRow2)
        ui::DoubleClickCell(list, 2, list.ColumnCount() - 1);
    else
        ui::DoubleClick(rows, QPoint(20, rows->height() - 5));
}

} // namespace

// The Close button and the close box both write the parts back, with leading zeros, held to 0..100.
TEST(ColourSet, ClosingWritesTheColourString) {
    const char* fields[] = {"EFCyan", "EFMagenta", "EFYellow", "EFBlack"};
    struct Case {
        const char* name;
        std::array<int, 4> parts;
        int ink; // the field typed into; -1 for none
        QString typed, colour;
        bool closeBox;
    } cases[] = {
        {"untouched", {5, 0, 100, 40}, -1, "", "C005M000Y100K040", false},
        {"out of range from a file", {150, -5, 7, 1000}, -1, "", "C100M000Y007K100", true},
        {"typed with leading zeros", {10, 0, 20, 30}, 0, "007", "C007M000Y020K030", false},
        {"typed above 100", {10, 0, 20, 30}, 3, "150", "C010M000Y020K100", true},
        {"typed not a number", {10, 0, 20, 30}, 3, "abc", "C010M000Y020K000", true},
    };
    using namespace Module1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::tie(pncCyan, pncMagenta, pncYellow, pncBlack) =
            std::tuple(c.parts[0], c.parts[1], c.parts[2], c.parts[3]);
        DirtyFlag = false;
        RunDialog<ColourSet>([&](Window& w) {
            if (c.ink >= 0) {
                auto* edit = w.ControlNamed<EditField>(fields[c.ink]);
                edit->SelectAll();
                ui::Type(edit->Widget(), c.typed);
            }
            if (c.closeBox)
                w.Widget()->close();
            else
                ui::Click(*w.FindControl("PushButton1"), 40, 10);
        });
        EXPECT_EQ(Rcolour, c.colour);
        EXPECT_EQ(DirtyFlag, c.ink >= 0);
    }
}

// Each ink's slider, field and swatch follow each other, and the new preview follows them all; the
// original preview keeps the colour the dialog opened on. Typing a part marks the document modified.
TEST(ColourSet, SlidersFieldsAndSwatchesFollowEachOther) {
    using Parts = std::array<int, 4>;
    const char* sliders[] = {"SliderC", "SliderM", "SliderY", "SliderK"};
    const char* fields[] = {"EFCyan", "EFMagenta", "EFYellow", "EFBlack"};
    const char* swatches[] = {"Cyan", "Magenta", "Yellow", "Black"};
    auto fill = [](const Window& w, const char* name) {
        return w.ControlNamed<platform::Rectangle>(name)->FillColor();
    };
    // What the dialog shows of the parts: each slider, field and swatch, and the new preview.
    auto expectShows = [&](ColourSet& w, Parts p) {
        for (int i = 0; i < 4; ++i) {
            const double v = p[i] / 100.0;
            const Color swatch[] = {CMY(v, 0, 0), CMY(0, v, 0), CMY(0, 0, v), CMY(v, v, v)};
            EXPECT_EQ(w.ControlNamed<Slider>(sliders[i])->Value(), p[i]) << i;
            EXPECT_EQ(w.ControlNamed<EditField>(fields[i])->Text(), QString::number(p[i])) << i;
            EXPECT_EQ(fill(w, swatches[i]), swatch[i]) << i;
        }
        EXPECT_EQ(w.VisNEW().FillColor(), Module1::DisplayColour(p[0], p[1], p[2], p[3]));
    };
    const struct {
        const char* name;
        Parts parts, shown;
    } openings[] = {
        {"default black", {0, 0, 0, 100}, {0, 0, 0, 100}},
        {"mixed", {5, 0, 100, 40}, {5, 0, 100, 40}},
        {"out of range from a file", {150, -5, 7, 1000}, {100, 0, 7, 100}},
    };
    using namespace Module1;
    for (const auto& c : openings) {
        SCOPED_TRACE(c.name);
        std::tie(pncCyan, pncMagenta, pncYellow, pncBlack) =
            std::tuple(c.parts[0], c.parts[1], c.parts[2], c.parts[3]);
        RunDialog<ColourSet>([&](Window& w) {
            auto& d = static_cast<ColourSet&>(w);
            expectShows(d, c.shown);
            EXPECT_EQ(d.VisOrig().FillColor(), d.VisNEW().FillColor());
            w.Close();
        });
    }

    std::tie(pncCyan, pncMagenta, pncYellow, pncBlack) = std::tuple(10, 0, 20, 30);
    RunDialog<ColourSet>([&](Window& w) {
        auto& d = static_cast<ColourSet&>(w);
        const Color original = d.VisOrig().FillColor();
        ui::Key(d.SliderC().Widget(), Qt::Key_PageUp); // a page step of 20
        ui::Key(d.SliderC().Widget(), Qt::Key_Right);
        ui::Key(d.SliderM().Widget(), Qt::Key_End);
        expectShows(d, {31, 100, 20, 30});
        const struct {
            int ink;
            QString typed, field;
            Parts parts;
        } typing[] = {
            {2, "55", "55", {31, 100, 55, 30}},
            {1, "007", "007", {31, 7, 55, 30}},
            {3, "150", "100", {31, 7, 55, 100}},
            {0, "-5", "0", {0, 7, 55, 100}},
        };
        for (const auto& t : typing) {
            SCOPED_TRACE(t.typed.toStdString());
            DirtyFlag = false;
            auto* field = d.ControlNamed<EditField>(fields[t.ink]);
            field->SelectAll();
            ui::Type(field->Widget(), t.typed);
            EXPECT_EQ(field->Text(), t.field);
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(d.ControlNamed<Slider>(sliders[i])->Value(), t.parts[i]) << i;
            EXPECT_EQ(d.VisNEW().FillColor(), DisplayColour(t.parts[0], t.parts[1], t.parts[2], t.parts[3]));
            EXPECT_TRUE(DirtyFlag);
        }
        EXPECT_EQ(d.VisOrig().FillColor(), original);
        // The swatches show their colour on screen, inside a frame.
        const QImage shown = d.ControlNamed<platform::Rectangle>("Yellow")->Widget()->grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), CMY(0, 0, 0.55).toQColor());
        EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::black));
        w.Close();
    });
    EXPECT_EQ(Rcolour, "C000M007Y055K100");
}

// OK and a double-click hand back the family and style; Cancel and the close box keep the old ones.
TEST(Font1, HandsBackTheChoice) {
    const QStringList fonts = {"Zeta Sans", "alpha Mono", "Mid Serif"}; // listed as alpha, Mid, Zeta
    struct Case {
        const char* name;
        QStringList fonts;
        QString font, style;
        int row, styleButton; // clicked first when not -1 / 0
        End end;
        QString after;
    } cases[] = {
        {"OK replaces an unknown style", fonts, "Mid Serif", "Bold Italic", -1, 0, OK, "Mid Serif/Normal"},
        {"family not installed", fonts, "Gone Gothic", "Bold", -1, 3, OK, "Gone Gothic/Italic"},
        {"row and style picked", fonts, "Mid Serif", "Normal", 0, 4, OK, "alpha Mono/BoldItalic"},
        {"double-click a row", fonts, "Mid Serif", "Bold", -1, 0, DoubleClickRow2, "Zeta Sans/Bold"},
        {"double-click no row", fonts, "Gone Gothic", "Italic", -1, 0, DoubleClickBelowRows,
         "Gone Gothic/Italic"},
        {"Cancel", fonts, "Mid Serif", "Bold", 0, 1, Cancel, "Mid Serif/Bold"},
        {"close box", fonts, "Mid Serif", "odd", 2, 2, CloseBox, "Mid Serif/odd"},
        {"no fonts installed", {}, "Mid Serif", "Normal", -1, 2, OK, "Mid Serif/Bold"},
    };
    Window1& main = SharedInstance<Window1>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFontListForTests(c.fonts);
        main.CurrentFont = c.font;
        main.CurrentStyle = c.style;
        RunDialog<Font1>([&](Window& w) {
            if (c.row >= 0)
                ui::ClickCell(*w.ControlNamed<ListBox>("ListBox1"), c.row, 0);
            if (c.styleButton > 0)
                ui::Click(*w.FindControl("RadioButton" + QString::number(c.styleButton)), 5, 10);
            Finish(w, c.end);
        });
        EXPECT_EQ(main.CurrentFont + "/" + main.CurrentStyle, c.after);
    }
}

// The list shows the installed families sorted without regard to case, with the current family
// selected and the current style's button on (Normal for a style it does not know).
TEST(Font1, OpensOnTheCurrentFamilyAndStyle) {
    SetFontListForTests(QStringList({"Zeta Sans", "alpha Mono", "Mid Serif"}));
    const struct {
        QString font, style;
        int row, button;
    } cases[] = {
        {"Zeta Sans", "Bold", 2, 2},        {"alpha Mono", "Italic", 0, 3}, {"Mid Serif", "BoldItalic", 1, 4},
        {"Mid Serif", "Bold Italic", 1, 1}, {"Mid Serif", "", 1, 1},        {"mid serif", "bold", -1, 1},
        {"Gone Gothic", "Bold", -1, 2},
    };
    Window1& main = SharedInstance<Window1>();
    for (const auto& c : cases) {
        SCOPED_TRACE((c.font + "/" + c.style).toStdString());
        main.CurrentFont = c.font, main.CurrentStyle = c.style;
        RunDialog<Font1>([&](Window& w) {
            const ListBox& list = *w.ControlNamed<ListBox>("ListBox1");
            ASSERT_EQ(list.ListCount(), 3);
            EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(1, 0), list.Cell(2, 0)}),
                      QStringList({"alpha Mono", "Mid Serif", "Zeta Sans"}));
            EXPECT_EQ(list.ListIndex(), c.row);
            int on = 0;
            for (int b = 1; b <= 4; ++b)
                on = w.ControlNamed<RadioButton>("RadioButton" + QString::number(b))->Value() ? b : on;
            EXPECT_EQ(on, c.button);
            Finish(w, Cancel);
        });
    }
}

// The methods list opens with no row selected; OK or a double-click hands back the row's method.
TEST(ModSelect, HandsBackTheChosenMethod) {
    Module1::FillModNames();
    const std::tuple<int, End, QString> cases[] = {
        // row clicked (-1: none), how the dialog ends, ModType and ModName after
        {3, OK, "3 3, Mod 9"},
        {-1, DoubleClickRow2, "2 2, Mod 7 Remainder"},
        {-1, OK, "5 kept"},
        {2, Cancel, "5 kept"},
    };
    Window1& main = SharedInstance<Window1>();
    for (const auto& [row, end, after] : cases) {
        SCOPED_TRACE(after.toStdString());
        main.ModType = 5; // the current method is not selected when the list opens
        main.ModName = "kept";
        RunDialog<ModSelect>([&](Window& w) {
            ListBox& list = *w.ControlNamed<ListBox>("ListBox1");
            EXPECT_EQ(list.ListCount(), 8);
            EXPECT_EQ(list.ListIndex(), -1);
            if (row >= 0)
                ui::ClickCell(list, row, 1);
            Finish(w, end);
        });
        EXPECT_EQ(QString::number(main.ModType) + " " + main.ModName, after);
    }
}

// Help > About shows the version line; Connect opens the web page and leaves the window open.
TEST(AboutWindow, VersionLineAndConnect) {
    App& a = App::Instance();
    const auto set = [&a](std::array<std::int32_t, 5> v) {
        std::tie(a.MajorVersion, a.MinorVersion, a.BugVersion, a.StageCode, a.NonReleaseVersion) =
            std::tuple(v[0], v[1], v[2], v[3], v[4]);
    };
    const std::array<std::int32_t, 5> saved = {a.MajorVersion, a.MinorVersion, a.BugVersion, a.StageCode,
                                               a.NonReleaseVersion};
    const std::pair<std::array<std::int32_t, 5>, const char*> cases[] = {
        {{2, 10, 3, 2, 42}, "Version 2.10.3 - Beta - Build: 42"},
        {{1, 1, 0, -1, 5}, "Version 1.1.0 -  - Build: 5"}, // no such stage: an empty name
        {{1, 1, 0, 3, 5}, "Version 1.1.0 - Final - Build: 5"},
    };
    for (const auto& [values, line] : cases) {
        set(values);
        EXPECT_EQ(AboutWindow::VersionLine(), line);
    }
    Window1& main = SharedInstance<Window1>();
    main.Show();
    QString shown;
    OnNextModal([&](Window& about) {
        shown = about.ControlNamed<Label>("StaticText6")->Text();
        ui::Click(*about.FindControl("WebGOTO"), 20, 10);
        EXPECT_TRUE(about.IsOpen());
        ui::Click(*about.FindControl("Close1"), 20, 10);
    });
    main.MenuItemNamed("HelpAbout").Trigger();
    set(saved);
    EXPECT_EQ(shown, "Version 1.1.0 - Final - Build: 5");
    EXPECT_EQ(Scripted().urls, QStringList{AboutWindow::WebAddress()});
    EXPECT_EQ(TakeUnattendedCloses(), 0);
    EXPECT_EQ(WindowCount(), 1);
}
