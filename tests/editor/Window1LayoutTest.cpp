#include "TestSupport.h"
#include "core/AppPictures.h"
#include "editor/MenuBar1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <QFontMetrics>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace platform;
using K = ControlKind;

namespace {

// The text a control shows as its caption, whatever its kind.
QString CaptionOf(Control& c) {
    if (auto* x = dynamic_cast<Label*>(&c))
        return x->Text();
    if (auto* x = dynamic_cast<EditField*>(&c))
        return x->Text();
    if (auto* x = dynamic_cast<BevelButton*>(&c))
        return x->Caption();
    if (auto* x = dynamic_cast<PushButton*>(&c))
        return x->Caption();
    auto* x = dynamic_cast<CheckBox*>(&c);
    return x ? x->Caption() : QString();
}

QRect Bounds(const Control& c) {
    return {c.Left(), c.Top(), c.Width(), c.Height()};
}

constexpr int L = LockLeft, T = LockTop, R = LockRight, B = LockBottom;

struct Row {
    const char* name;
    ControlKind kind;
    QRect bounds;
    const char* caption;
    int locks = 0;
    const char* parent = "";
    int fontSize = 12;
};

// In creation order.
const Row Expected[] = {
    {"RoundRectangle1", K::RoundRectangle, {2, 16, 220, 40}, ""},
    {"CBback", K::CheckBox, {10, 164, 202, 20}, "Backward Number"},
    {"ListBox1", K::ListBox, {10, 453, 202, 203}, ""},
    {"Canvas1", K::Canvas, {263, 43, 734, 641}, "", L | T | R | B},
    {"ListBox2", K::ListBox, {10, 213, 202, 187}, ""},
    {"StaticText1", K::Label, {10, 191, 195, 20}, "Document/Signature Parameters:"},
    {"CurX", K::EditField, {26, 412, 78, 22}, ""},
    {"CurY", K::EditField, {132, 412, 78, 22}, ""},
    {"ScrollBar1", K::ScrollBar, {263, 685, 734, 16}, "", L | R | B},
    {"ScrollBar2", K::ScrollBar, {997, 21, 16, 663}, "", T | R | B},
    {"Canvas2", K::Canvas, {263, 21, 734, 22}, "", L | T | R},
    {"Canvas3", K::Canvas, {242, 43, 21, 641}, "", L | T | B},
    {"EdStart", K::EditField, {132, 63, 80, 22}, ""},
    {"EdQty", K::EditField, {132, 91, 80, 22}, ""},
    {"StaticText7", K::Label, {10, 63, 100, 20}, "Start Number:"},
    {"StaticText8", K::Label, {10, 92, 100, 20}, "Quantity:"},
    {"StaticText9", K::Label, {10, 412, 14, 22}, "X", 0, "", 16},
    {"StaticText10", K::Label, {114, 412, 14, 22}, "Y", 0, "", 16},
    {"StatNumObj", K::Label, {10, 434, 200, 20}, "", 0, "", 10},
    {"BtFit", K::BevelButton, {145, 21, 30, 30}, "Fit", 0, "RoundRectangle1"},
    {"ListSelect", K::LittleArrows, {217, 458, 13, 23}, ""},
    {"BtnDelObj", K::BevelButton, {10, 664, 100, 22}, "Delete Object"},
    {"EdNup", K::EditField, {132, 132, 80, 22}, ""},
    {"StaticText11", K::Label, {137, 114, 75, 20}, "N up ="},
    {"StaticText12", K::Label, {10, 132, 118, 20}, "Number of shts:"},
    {"Numtool", K::BevelButton, {13, 21, 30, 30}, "", 0, "RoundRectangle1"},
    {"ImageWell1", K::ImageWell, {242, 21, 22, 22}, "", L | T},
    {"TextTool", K::BevelButton, {48, 21, 30, 30}, "", 0, "RoundRectangle1"},
    {"MagEn", K::BevelButton, {111, 21, 30, 30}, "", 0, "RoundRectangle1"},
    {"MagR1", K::BevelButton, {180, 21, 30, 30}, "", 0, "RoundRectangle1"},
    {"ImageWell2", K::ImageWell, {176, 665, 36, 36}, ""},
    {"PushButton1", K::PushButton, {147, 164, 65, 20}, "BackDrop", 0, "CBback", 10},
};

} // namespace

TEST(Window1Layout, ControlsInOrderWithKindGeometryCaptionLocksAndFont) {
    Window1& w = SharedInstance<Window1>();
    ASSERT_EQ(w.ControlCount(), 32);
    for (int i = 0; i < 32; ++i) {
        const Row& e = Expected[i];
        Control& c = *w.ControlAt(i);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(c.Name(), e.name);
        EXPECT_EQ(c.Kind(), e.kind);
        EXPECT_EQ(Bounds(c), e.bounds);
        EXPECT_EQ(CaptionOf(c), e.caption);
        EXPECT_EQ(c.Locks(), e.locks);
        EXPECT_EQ(c.Parent() ? c.Parent()->Name() : QString(), e.parent);
        EXPECT_EQ(c.TextSize(), e.fontSize);
        EXPECT_EQ(c.Bold(), e.fontSize == 16);
        EXPECT_TRUE(c.Visible());
        EXPECT_EQ(c.Enabled(), c.Name() != "EdNup");
    }
    // A child sits inside its parent's widget, at the same window place.
    EXPECT_EQ(w.FindControl("BtFit")->Widget()->geometry(), QRect(143, 5, 30, 30));
    EXPECT_EQ(w.FindControl("PushButton1")->Widget()->geometry(), QRect(137, 0, 65, 20));
}

TEST(Window1Layout, FrameCannotShrinkAndStretchesOnlyLockedControls) {
    Window1& w = SharedInstance<Window1>();
    EXPECT_EQ(&SharedInstance<Window1>(), &w);
    EXPECT_EQ(w.Title(), "Tallio");
    EXPECT_EQ(std::tuple(w.Width(), w.Height(), w.MaxWidth(), w.MaxHeight()),
              std::tuple(1024, 710, 32000, 32000));
    EXPECT_EQ(w.GetMenuBar(), &SharedMenuBar<MenuBar1>());
    w.Show();
    QRect before[32];
    for (int i = 0; i < 32; ++i)
        before[i] = Bounds(*w.ControlAt(i));

    // As the user drags the frame: Qt keeps it at the minimum.
    QWidget* frame = w.Widget();
    frame->resize(800, 500);
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(1024, 710));
    w.SetSize(900, 600);
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(1024, 710));

    frame->resize(frame->width() + 200, frame->height() + 100);
    ASSERT_EQ(QSize(w.Width(), w.Height()), QSize(1224, 810));
    const std::map<QString, QRect> moved = {
        {"Canvas1", {263, 43, 934, 741}},    {"ScrollBar1", {263, 785, 934, 16}},
        {"ScrollBar2", {1197, 21, 16, 763}}, {"Canvas2", {263, 21, 934, 22}},
        {"Canvas3", {242, 43, 21, 741}},
    };
    for (int i = 0; i < 32; ++i) {
        Control& c = *w.ControlAt(i);
        auto it = moved.find(c.Name());
        EXPECT_EQ(Bounds(c), it == moved.end() ? before[i] : it->second) << c.Name().toStdString();
        EXPECT_EQ(c.Widget()->geometry().size(), Bounds(c).size()) << c.Name().toStdString();
    }
}

TEST(Window1Layout, ListsWithTaggedRowsAndInitialValues) {
    Window1& w = SharedInstance<Window1>();
    struct ListExpect {
        const char* name;
        const char* widths;
        QStringList tags, captions, values;
    } lists[] = {
        {"ListBox1",
         "0,100,100",
         {"A", "N", "N", "A", "N", "A", "A", "A", "N", "A", "N"},
         {"Name", "Xlocation", "Ylocation", "Picture", "Page Increment", "Mod Type", "Font Family",
          "Font Style", "Size", "Colour", "Angle"},
         QStringList(11)},
        {"ListBox2",
         "0,120,80",
         {"A", "N", "N", "N", "N", "N", "N", "N", "N", "N"},
         {"FileName", "Document Width", "Document Height", "Signature Width", "Signature Height",
          "Step Across", "Step Across Distance", "Step Down", "Step Down Distance", "Insert Tag"},
         {"", "210", "297", "210", "297", "1", "0", "1", "0", "0"}},
    };
    for (const ListExpect& e : lists) {
        SCOPED_TRACE(e.name);
        ListBox& list = *w.ControlNamed<ListBox>(e.name);
        auto* table = static_cast<QTableWidget*>(list.Widget());
        EXPECT_EQ(list.ColumnCount(), 3);
        EXPECT_EQ(list.ColumnWidths(), e.widths);
        EXPECT_TRUE(table->isColumnHidden(0)); // the tags are read back, never seen
        EXPECT_EQ(list.DefaultRowHeight(), 18);
        EXPECT_FALSE(list.HasHeading());
        EXPECT_EQ(list.ListIndex(), -1);
        ASSERT_EQ(list.ListCount(), e.tags.size());
        for (int r = 0; r < list.ListCount(); ++r) {
            EXPECT_EQ(list.Cell(r, 0), e.tags[r]) << r;
            EXPECT_EQ(list.Cell(r, 1), e.captions[r]) << r;
            EXPECT_EQ(list.Cell(r, 2), e.values[r]) << r;
        }
    }
}

TEST(Window1Layout, StartStateHelpTagsAndPictures) {
    Window1& w = SharedInstance<Window1>();
    EXPECT_TRUE(w.ControlNamed<BevelButton>("TextTool")->Value());
    EXPECT_FALSE(w.ControlNamed<BevelButton>("Numtool")->Value());
    EXPECT_TRUE(w.ControlNamed<BevelButton>("Numtool")->Sticky());
    EXPECT_FALSE(w.ControlNamed<BevelButton>("MagEn")->Sticky());
    EXPECT_FALSE(w.ControlNamed<CheckBox>("CBback")->Value());
    auto& bar = *w.ControlNamed<ScrollBar>("ScrollBar2");
    EXPECT_EQ(std::tuple(bar.Minimum(), bar.Maximum(), bar.Value(), bar.LineStep(), bar.PageStep()),
              std::tuple(0, 100, 0, 1, 20));
    EXPECT_EQ(w.FindControl("Canvas1")->Widget()->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(w.ControlNamed<Canvas>("Canvas1")->EraseBackground());

    EXPECT_EQ(w.FindControl("ListSelect")->HelpTag(),
              "Object Scroller\r\rClick up or down to scroll through the list of objects");
    EXPECT_EQ(w.FindControl("Numtool")->HelpTag(), "Add Object tool");
    EXPECT_EQ(w.FindControl("TextTool")->HelpTag(), "Select Object Tool");
    const QStringList help = w.FindControl("ListBox1")->HelpTag().split('\r');
    ASSERT_EQ(help.size(), 12);
    EXPECT_EQ(help[0], "Picture: ");
    EXPECT_EQ(help[5], " In Picture use 'C\"=Start/finish 'D'=dash 'A'=EndBSB 'B'=amount.");
    EXPECT_EQ(help[6],
              " EanBwr36 = Bars with width reduction - used for processes that could gain in size. ");

    // The kept pictures themselves, not copies.
    EXPECT_EQ(w.ControlNamed<BevelButton>("Numtool")->Icon(), QVicon1());
    EXPECT_EQ(w.ControlNamed<BevelButton>("TextTool")->Icon(), QVicon2());
    EXPECT_EQ(w.ControlNamed<BevelButton>("MagEn")->Icon(), QVicon3());
    EXPECT_EQ(w.ControlNamed<BevelButton>("MagR1")->Icon(), QVicon4());
    EXPECT_EQ(w.ControlNamed<ImageWell>("ImageWell1")->Image(), ZOrer2());
    EXPECT_EQ(w.ControlNamed<ImageWell>("ImageWell2")->Image(), ZOrer3());
}

// A clipped caption is the first thing a user notices; the labels' and list captions' texts must fit.
TEST(Window1Layout, CaptionsFitTheirControls) {
    Window1& w = SharedInstance<Window1>();
    for (int i = 0; i < w.ControlCount(); ++i) {
        Control& c = *w.ControlAt(i);
        if (c.Kind() == K::Label)
            EXPECT_LE(QFontMetrics(c.Widget()->font()).horizontalAdvance(CaptionOf(c)), c.Width())
                << c.Name().toStdString();
    }
    for (const char* name : {"ListBox1", "ListBox2"}) {
        ListBox& list = *w.ControlNamed<ListBox>(name);
        auto* table = static_cast<QTableWidget*>(list.Widget());
        const QFontMetrics m(table->font());
        const int room = table->columnWidth(1) - 6; // the cell's text margins
        for (int r = 0; r < list.ListCount(); ++r)
            EXPECT_LE(m.horizontalAdvance(list.Cell(r, 1)), room) << list.Cell(r, 1).toStdString();
    }
}
