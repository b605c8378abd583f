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

// The methods list opens with no row selected; OK or a double-click hands back the row's method.
TEST(ModSelect, HandsBackTheChosenMethod) {
    Module1::FillModNames();
    const std::tuple<int, End, QString> cases[] = {
        // row clicked (-1: none), how the dialog ends, ModType and ModName after
        {3, OK, "3 3, Mod 9"},
        {-1, DoubleClickRow2, "2 2, Mod 7 Remainder"},
        {-1, OK, "9 kept"},
        {2, Cancel, "9 kept"},
    };
    Window1& main = SharedInstance<Window1>();
    for (const auto& [row, end, after] : cases) {
        SCOPED_TRACE(after.toStdString());
        main.ModType = 9;
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
