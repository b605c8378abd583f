#include "TestSupport.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <QTableWidget>
#include <gtest/gtest.h>

using namespace platform;
using K = ControlKind;

namespace {

// The text a control shows as its caption, whatever its kind.
QString CaptionOf(Control& c) {
    if (auto* x = dynamic_cast<Label*>(&c))
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

struct Row {
    const char* name;
    ControlKind kind;
    QRect bounds;
    const char* caption;
};

// In creation order.
const Row Expected[] = {
    {"RoundRectangle1", K::RoundRectangle, {2, 16, 220, 40}, ""},
    {"CBback", K::CheckBox, {10, 164, 202, 20}, "Backward Number"},
    {"ListBox1", K::ListBox, {10, 453, 202, 203}, ""},
    {"Canvas1", K::Canvas, {263, 43, 734, 641}, ""},
    {"ListBox2", K::ListBox, {10, 213, 202, 187}, ""},
    {"StaticText1", K::Label, {10, 191, 195, 20}, "Document/Signature Parameters:"},
    {"CurX", K::EditField, {26, 412, 78, 22}, ""},
    {"CurY", K::EditField, {132, 412, 78, 22}, ""},
    {"ScrollBar1", K::ScrollBar, {263, 685, 734, 16}, ""},
    {"ScrollBar2", K::ScrollBar, {997, 21, 16, 663}, ""},
    {"Canvas2", K::Canvas, {263, 21, 734, 22}, ""},
    {"Canvas3", K::Canvas, {242, 43, 21, 641}, ""},
    {"EdStart", K::EditField, {132, 63, 80, 22}, ""},
    {"EdQty", K::EditField, {132, 91, 80, 22}, ""},
    {"StaticText7", K::Label, {10, 63, 100, 20}, "Start Number:"},
    {"StaticText8", K::Label, {10, 92, 100, 20}, "Quantity:"},
    {"StaticText9", K::Label, {10, 412, 14, 22}, "X"},
    {"StaticText10", K::Label, {114, 412, 14, 22}, "Y"},
    {"StatNumObj", K::Label, {10, 434, 200, 20}, ""},
    {"BtFit", K::BevelButton, {145, 21, 30, 30}, "Fit"},
    {"ListSelect", K::LittleArrows, {217, 458, 13, 23}, ""},
    {"BtnDelObj", K::BevelButton, {10, 664, 100, 22}, "Delete Object"},
    {"EdNup", K::EditField, {132, 132, 80, 22}, ""},
    {"StaticText11", K::Label, {137, 114, 75, 20}, "N up ="},
    {"StaticText12", K::Label, {10, 132, 118, 20}, "Number of shts:"},
    {"Numtool", K::BevelButton, {13, 21, 30, 30}, ""},
    {"ImageWell1", K::ImageWell, {242, 21, 22, 22}, ""},
    {"TextTool", K::BevelButton, {48, 21, 30, 30}, ""},
    {"MagEn", K::BevelButton, {111, 21, 30, 30}, ""},
    {"MagR1", K::BevelButton, {180, 21, 30, 30}, ""},
    {"ImageWell2", K::ImageWell, {176, 665, 36, 36}, ""},
    {"PushButton1", K::PushButton, {147, 164, 65, 20}, "BackDrop"},
};

} // namespace

// Only the controls locked to the right and bottom edges follow a larger frame; it cannot shrink.
TEST(Window1Layout, ControlsAndHowTheyFollowTheFrame) {
    Window1& w = SharedInstance<Window1>();
    ASSERT_EQ(w.ControlCount(), 32);
    for (int i = 0; i < 32; ++i) {
        const Row& e = Expected[i];
        Control& c = *w.ControlAt(i);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(std::tuple(c.Name(), c.Kind(), Bounds(c), CaptionOf(c)),
                  std::tuple(QString(e.name), e.kind, e.bounds, QString(e.caption)));
    }

    w.Show();
    QWidget* frame = w.Widget();
    frame->resize(800, 500);
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
        EXPECT_EQ(Bounds(c), it == moved.end() ? Expected[i].bounds : it->second) << Expected[i].name;
        EXPECT_EQ(c.Widget()->geometry().size(), Bounds(c).size()) << Expected[i].name;
    }
}

TEST(Window1Layout, ListsWithTaggedRowsAndInitialValues) {
    Window1& w = SharedInstance<Window1>();
    struct ListExpect {
        const char* name;
        QString tags;
        QStringList captions, values;
    } lists[] = {
        {"ListBox1",
         "ANNANAAANAN",
         {"Name", "Xlocation", "Ylocation", "Picture", "Page Increment", "Mod Type", "Font Family",
          "Font Style", "Size", "Colour", "Angle"},
         QStringList(11)},
        {"ListBox2",
         "ANNNNNNNNN",
         {"FileName", "Document Width", "Document Height", "Signature Width", "Signature Height",
          "Step Across", "Step Across Distance", "Step Down", "Step Down Distance", "Insert Tag"},
         {"", "210", "297", "210", "297", "1", "0", "1", "0", "0"}},
    };
    for (const ListExpect& e : lists) {
        SCOPED_TRACE(e.name);
        ListBox& list = *w.ControlNamed<ListBox>(e.name);
        EXPECT_TRUE(static_cast<QTableWidget*>(list.Widget())->isColumnHidden(0)); // tags are never seen
        EXPECT_EQ(list.ListIndex(), -1);
        ASSERT_EQ(list.ListCount(), e.tags.size());
        for (int r = 0; r < list.ListCount(); ++r)
            EXPECT_EQ(QStringList({list.Cell(r, 0), list.Cell(r, 1), list.Cell(r, 2)}),
                      QStringList({e.tags.mid(r, 1), e.captions[r], e.values[r]}))
                << r;
    }
}
