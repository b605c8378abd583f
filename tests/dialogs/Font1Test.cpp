#include "dialogs/Font1.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"

#include <QAbstractItemView>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {
const QStringList kFonts = {"Zeta Sans", "alpha Mono", "Mid Serif"}; // sorted: alpha, Mid, Zeta
const char* kStyleButtons[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};

// The style button that is on, 1 to 4; 0 for none.
int StyleOn(const Window& w) {
    for (int i = 0; i < 4; ++i)
        if (w.ControlNamed<RadioButton>(kStyleButtons[i])->Value())
            return i + 1;
    return 0;
}
ListBox& Fonts(const Window& w) {
    return *w.ControlNamed<ListBox>("ListBox1");
}
void RunFont1(const QString& font, const QString& style, const std::function<void(Font1&)>& action) {
    Window1& main = SharedInstance<Window1>();
    main.CurrentFont = font;
    main.CurrentStyle = style;
    OnNextModal([&](Window& w) { action(static_cast<Font1&>(w)); });
    SharedInstance<Font1>().ShowModal();
}
} // namespace

TEST(Font1, Builds) {
    Font1 w;
    EXPECT_EQ(w.Title(), "Font Selector");
    EXPECT_EQ(w.ControlCount(), 8);
    QStringList captions;
    for (const char* name : kStyleButtons)
        captions << w.ControlNamed<RadioButton>(name)->Caption();
    EXPECT_EQ(captions.join(','), "Normal,Bold,Italic,Bold Italic");
}

TEST(Font1, OpensOnTheCurrentFamilyAndStyle) {
    SetFontListForTests(kFonts);
    struct Case {
        const char* name;
        QString font, style;
        int selectedRow, styleOn;
    } cases[] = {
        {"bold", "Zeta Sans", "Bold", 2, 2},
        {"bold italic", "Mid Serif", "BoldItalic", 1, 4},
        {"caption instead of word", "alpha Mono", "Bold Italic", 0, 1},
        {"other case", "mid serif", "bold", -1, 1},
        {"family not installed", "Gone Gothic", "Italic", -1, 3},
    };
    for (const Case& c : cases)
        RunFont1(c.font, c.style, [&](Font1& w) {
            const ListBox& list = Fonts(w);
            ASSERT_EQ(list.ListCount(), 3) << c.name;
            EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(1, 0), list.Cell(2, 0)}),
                      QStringList({"alpha Mono", "Mid Serif", "Zeta Sans"}));
            EXPECT_EQ(list.ListIndex(), c.selectedRow) << c.name;
            EXPECT_EQ(StyleOn(w), c.styleOn) << c.name;
            w.ControlNamed<PushButton>("Cancel1")->Push();
        });
}

TEST(Font1, HandsBackTheChoice) {
    enum End { OK, Cancel, CloseBox, DoubleClickRow2, DoubleClickBelowRows };
    struct Case {
        const char* name;
        QStringList fonts;
        QString font, style;
        int row, styleButton; // clicked first when not 0 / -1
        End end;
        QString fontAfter, styleAfter;
    } cases[] = {
        {"OK replaces an unknown style", kFonts, "Mid Serif", "Bold Italic", -1, 0, OK, "Mid Serif",
         "Normal"},
        {"family not installed", kFonts, "Gone Gothic", "Bold", -1, 3, OK, "Gone Gothic", "Italic"},
        {"row and style picked", kFonts, "Mid Serif", "Normal", 0, 4, OK, "alpha Mono", "BoldItalic"},
        {"double-click a row", kFonts, "Mid Serif", "Bold", -1, 0, DoubleClickRow2, "Zeta Sans", "Bold"},
        {"double-click with no row", kFonts, "Gone Gothic", "Italic", -1, 0, DoubleClickBelowRows,
         "Gone Gothic", "Italic"},
        {"Cancel", kFonts, "Mid Serif", "Bold", 0, 1, Cancel, "Mid Serif", "Bold"},
        {"close box", kFonts, "Mid Serif", "odd", 2, 2, CloseBox, "Mid Serif", "odd"},
        {"no fonts installed", {}, "Mid Serif", "Normal", -1, 2, OK, "Mid Serif", "Bold"},
    };
    for (const Case& c : cases) {
        SetFontListForTests(c.fonts);
        RunFont1(c.font, c.style, [&](Font1& w) {
            if (c.row >= 0)
                ui::ClickCell(Fonts(w), c.row, 0);
            if (c.styleButton > 0)
                ui::Click(*w.FindControl(kStyleButtons[c.styleButton - 1]), 5, 10);
            auto* view = static_cast<QAbstractItemView*>(Fonts(w).Widget());
            switch (c.end) {
            case OK:
                ui::Click(*w.FindControl("OK1"), 30, 10);
                break;
            case Cancel:
                w.ControlNamed<PushButton>("Cancel1")->Push();
                break;
            case CloseBox:
                w.Widget()->close();
                break;
            case DoubleClickRow2:
                ui::DoubleClickCell(Fonts(w), 2, 0);
                break;
            case DoubleClickBelowRows:
                ui::DoubleClick(view->viewport(), QPoint(20, view->viewport()->height() - 5));
                break;
            }
        });
        EXPECT_EQ(TakeUnattendedCloses(), 0) << c.name;
        const Window1& main = SharedInstance<Window1>();
        EXPECT_EQ(main.CurrentFont, c.fontAfter) << c.name;
        EXPECT_EQ(main.CurrentStyle, c.styleAfter) << c.name;
    }
}
