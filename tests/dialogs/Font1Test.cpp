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
QRect Bounds(const Control* c) {
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}
const QStringList kFonts = {"Zeta Sans", "alpha Mono", "Mid Serif"}; // sorted: alpha, Mid, Zeta
const char* kStyleButtons[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};

// The radio button that is on, 1 to 4; 0 for none.
int StyleOn(const Window& w) {
    for (int i = 0; i < 4; ++i)
        if (w.ControlNamed<RadioButton>(kStyleButtons[i])->Value())
            return i + 1;
    return 0;
}
void RunFont1(const QString& font, const QString& style, const std::function<void(Font1&)>& action) {
    Window1& main = SharedInstance<Window1>();
    main.CurrentFont = font;
    main.CurrentStyle = style;
    OnNextModal([&](Window& w) { action(static_cast<Font1&>(w)); });
    SharedInstance<Font1>().ShowModal();
}
ListBox& Fonts(const Window& w) {
    return *w.ControlNamed<ListBox>("ListBox1");
}
} // namespace

TEST(Font1, WindowAndControls) {
    Font1 w;
    EXPECT_EQ(w.Title(), "Font Selector");
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(212, 361));
    EXPECT_EQ(w.Widget()->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    QStringList names;
    for (int i = 0; i < w.ControlCount(); ++i)
        names << w.ControlAt(i)->Name();
    EXPECT_EQ(names.join(' '),
              "ListBox1 Cancel1 OK1 Style RadioButton1 RadioButton2 RadioButton3 RadioButton4");
    // Each style's caption is shown in its own style; the last caption has a blank.
    const std::tuple<const char*, const char*, QRect, bool, bool> radios[] = {
        {"RadioButton1", "Normal", {13, 32, 74, 20}, false, false},
        {"RadioButton2", "Bold", {13, 57, 74, 20}, true, false},
        {"RadioButton3", "Italic", {90, 32, 80, 20}, false, true},
        {"RadioButton4", "Bold Italic", {90, 57, 94, 20}, true, true},
    };
    for (const auto& [name, caption, rect, bold, italic] : radios) {
        const auto* radio = w.ControlNamed<RadioButton>(name);
        EXPECT_EQ(radio->Caption(), caption);
        EXPECT_EQ(Bounds(radio), rect) << name;
        EXPECT_EQ(std::pair(radio->Bold(), radio->Italic()), std::pair(bold, italic)) << name;
        EXPECT_EQ(radio->Parent()->Name(), "Style") << name;
    }
    EXPECT_EQ(StyleOn(w), 1);
    EXPECT_EQ(Fonts(w).ListCount(), 0);

    // The list grows with the window; the buttons keep their distance from the bottom right corner.
    w.Show();
    w.SetSize(400, 500);
    EXPECT_EQ(Bounds(w.FindControl("ListBox1")), QRect(13, 91, 374, 356));
    EXPECT_EQ(Bounds(w.FindControl("OK1")), QRect(318, 459, 69, 22));
    EXPECT_EQ(Bounds(w.FindControl("Cancel1")), QRect(237, 459, 69, 22));
    EXPECT_EQ(Bounds(w.FindControl("Style")), QRect(7, 9, 192, 70));
    EXPECT_EQ(Bounds(w.FindControl("RadioButton4")), QRect(90, 57, 94, 20));
}

TEST(Font1, OpensOnTheCurrentFamilyAndStyle) {
    SetFontListForTests(kFonts);
    struct Case {
        const char* name;
        QString font, style;
        int selectedRow;
        int styleOn;
    } cases[] = {
        {"bold", "Zeta Sans", "Bold", 2, 2},
        {"italic", "alpha Mono", "Italic", 0, 3},
        {"bold italic", "Mid Serif", "BoldItalic", 1, 4},
        {"caption instead of word", "Mid Serif", "Bold Italic", 1, 1},
        {"empty style", "Mid Serif", "", 1, 1},
        {"other case", "mid serif", "bold", -1, 1},
        {"family not installed", "Gone Gothic", "Bold", -1, 2},
    };
    for (const Case& c : cases)
        RunFont1(c.font, c.style, [&](Font1& w) {
            const ListBox& list = Fonts(w);
            ASSERT_EQ(list.ListCount(), 3) << c.name;
            EXPECT_EQ(QStringList({list.Cell(0, 0), list.Cell(1, 0), list.Cell(2, 0)}),
                      QStringList({"alpha Mono", "Mid Serif", "Zeta Sans"}))
                << c.name;
            EXPECT_EQ(list.ListIndex(), c.selectedRow) << c.name;
            EXPECT_EQ(StyleOn(w), c.styleOn) << c.name;
            w.ControlNamed<PushButton>("Cancel1")->Push();
        });
}

TEST(Font1, HandsBackTheChoice) {
    using Act = std::function<void(Font1&)>;
    const Act ok = [](Font1& w) { ui::Click(*w.FindControl("OK1"), 30, 10); };
    auto then = [](Act first, Act second) {
        return [=](Font1& w) {
            first(w);
            second(w);
        };
    };
    auto row = [](int r) { return [r](Font1& w) { ui::ClickCell(Fonts(w), r, 0); }; };
    auto style = [](int i) {
        return [i](Font1& w) { ui::Click(*w.FindControl(kStyleButtons[i - 1]), 5, 10); };
    };
    const Act doubleClickRow2 = [](Font1& w) { ui::DoubleClickCell(Fonts(w), 2, 0); };
    const Act doubleClickBelowRows = [](Font1& w) {
        auto* view = static_cast<QAbstractItemView*>(Fonts(w).Widget());
        ui::DoubleClick(view->viewport(), QPoint(20, view->viewport()->height() - 5));
    };
    const Act cancel = [](Font1& w) { w.ControlNamed<PushButton>("Cancel1")->Push(); };
    const Act closeBox = [](Font1& w) { w.Widget()->close(); };

    struct Case {
        const char* name;
        QStringList fonts;
        QString font, style;
        Act act;
        QString fontAfter, styleAfter;
    } cases[] = {
        {"OK untouched", kFonts, "Mid Serif", "Italic", ok, "Mid Serif", "Italic"},
        {"OK replaces an unknown style", kFonts, "Mid Serif", "Bold Italic", ok, "Mid Serif", "Normal"},
        {"family not installed", kFonts, "Gone Gothic", "Bold", then(style(3), ok), "Gone Gothic", "Italic"},
        {"row and style picked", kFonts, "Mid Serif", "Normal", then(row(0), then(style(4), ok)),
         "alpha Mono", "BoldItalic"},
        {"double-click a row", kFonts, "Mid Serif", "Bold", doubleClickRow2, "Zeta Sans", "Bold"},
        {"double-click with no row", kFonts, "Gone Gothic", "Italic", doubleClickBelowRows, "Gone Gothic",
         "Italic"},
        {"Cancel", kFonts, "Mid Serif", "Bold", then(row(0), then(style(1), cancel)), "Mid Serif", "Bold"},
        {"close box", kFonts, "Mid Serif", "odd", then(row(2), then(style(2), closeBox)), "Mid Serif", "odd"},
        {"no fonts installed", {}, "Mid Serif", "Normal", then(style(2), ok), "Mid Serif", "Bold"},
    };
    for (const Case& c : cases) {
        SetFontListForTests(c.fonts);
        RunFont1(c.font, c.style, c.act);
        EXPECT_EQ(TakeUnattendedCloses(), 0) << c.name; // every action closed the dialog itself
        const Window1& main = SharedInstance<Window1>();
        EXPECT_EQ(main.CurrentFont, c.fontAfter) << c.name;
        EXPECT_EQ(main.CurrentStyle, c.styleAfter) << c.name;
    }
}
