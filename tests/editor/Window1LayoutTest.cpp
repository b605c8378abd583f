#include "TestSupport.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <QTableWidget>
#include <gtest/gtest.h>
#include <map>

using namespace platform;

namespace {

QRect Bounds(const Control& c) {
    return {c.Left(), c.Top(), c.Width(), c.Height()};
}

} // namespace

// The page view, its rulers and its scroll bars follow a larger frame; everything else stays where it
// is, and the frame cannot shrink below its minimum.
TEST(Window1Layout, ThePageViewFollowsTheFrame) {
    Window1& w = SharedInstance<Window1>();
    w.Show();
    std::map<QString, QRect> before;
    for (int i = 0; i < w.ControlCount(); ++i)
        before[w.ControlAt(i)->Name()] = Bounds(*w.ControlAt(i));
    QWidget* frame = w.Widget();
    frame->resize(800, 500);
    w.SetSize(900, 600);
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(1024, 710));
    frame->resize(frame->width() + 200, frame->height() + 100);
    ASSERT_EQ(QSize(w.Width(), w.Height()), QSize(1224, 810));
    const std::map<QString, QRect> change = {
        {"Canvas1", {0, 0, 200, 100}}, {"ScrollBar1", {0, 100, 200, 0}}, {"ScrollBar2", {200, 0, 0, 100}},
        {"Canvas2", {0, 0, 200, 0}},   {"Canvas3", {0, 0, 0, 100}},
    };
    for (int i = 0; i < w.ControlCount(); ++i) {
        const Control& c = *w.ControlAt(i);
        const QRect was = before[c.Name()];
        const auto it = change.find(c.Name());
        const QRect d = it == change.end() ? QRect() : it->second;
        EXPECT_EQ(Bounds(c),
                  QRect(was.x() + d.x(), was.y() + d.y(), was.width() + d.width(), was.height() + d.height()))
            << c.Name().toStdString();
        EXPECT_EQ(c.Widget()->geometry().size(), Bounds(c).size()) << c.Name().toStdString();
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
