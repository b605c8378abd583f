#include "TestSupport.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <QFontMetrics>
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
    // The lists' tag columns are never seen.
    for (ListBox* list : {&w.ListBox1(), &w.ListBox2()})
        EXPECT_TRUE(static_cast<QTableWidget*>(list->Widget())->isColumnHidden(0));
}

// A clipped caption is the first thing a user notices: the labels' texts and the lists' row captions fit.
// The sheet count is worked out, never typed.
TEST(Window1Layout, CaptionsFitTheirControls) {
    Window1& w = SharedInstance<Window1>();
    for (int i = 0; i < w.ControlCount(); ++i) {
        if (auto* label = dynamic_cast<Label*>(w.ControlAt(i))) {
            EXPECT_LE(QFontMetrics(label->Widget()->font()).horizontalAdvance(label->Text()), label->Width())
                << label->Name().toStdString();
        }
    }
    for (ListBox* list : {&w.ListBox1(), &w.ListBox2()}) {
        auto* table = static_cast<QTableWidget*>(list->Widget());
        const QFontMetrics m(table->font());
        const int room = table->columnWidth(1) - 6; // the cell's text margins
        for (int r = 0; r < list->ListCount(); ++r)
            EXPECT_LE(m.horizontalAdvance(list->Cell(r, 1)), room) << list->Cell(r, 1).toStdString();
    }
    EXPECT_FALSE(w.EdNup().Widget()->isEnabled());
}
