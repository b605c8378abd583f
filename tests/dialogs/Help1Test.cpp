#include "dialogs/Help1.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace platform;

namespace {
// The field shows the stored text's carriage returns as line breaks.
QString Shown() {
    return Help1::StoredText().replace('\r', '\n');
}
QString FieldText(const Help1& w) {
    return w.EditField1().Text();
}
} // namespace

// One shared window, shown without blocking, with the help text's lines as lines; typed text lasts only
// while it is open.
TEST(Help1, SharedInstanceIsShownWithoutBlockingOnce) {
    Help1& first = Help1::ShowShared();
    EXPECT_TRUE(first.IsOpen());
    EXPECT_EQ(FieldText(first), Shown());
    EXPECT_FALSE(first.Widget()->isModal());
    EXPECT_EQ(&Help1::ShowShared(), &first);
    EXPECT_EQ(WindowCount(), 1);

    auto* edit = static_cast<QPlainTextEdit*>(first.EditField1().Widget());
    edit->moveCursor(QTextCursor::Start);
    ui::Type(edit, "Note ");
    EXPECT_TRUE(FieldText(first).startsWith("Note Picture: "));
    ui::Click(first.PushButton1(), 40, 10);
    EXPECT_EQ(WindowCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(FieldText(Help1::ShowShared()), Shown());
}

// Resizing the window keeps the text's margins and the button and picture in their corners.
TEST(Help1, ResizingKeepsTheMargins) {
    Help1 w;
    w.Show();
    auto bounds = [](const Control& c) { return QRect(c.Left(), c.Top(), c.Width(), c.Height()); };
    for (const QSize s : {QSize(700, 520), QSize(300, 200), QSize(434, 375)}) {
        w.SetSize(s.width(), s.height());
        const int W = s.width(), H = s.height();
        EXPECT_EQ(bounds(w.EditField1()), QRect(30, 33, W - 60, H - 33 - 65)) << W;
        EXPECT_EQ(bounds(*w.FindControl("Canvas1")), QRect(33, H - 19 - 34, 36, 34)) << W;
        EXPECT_EQ(bounds(w.PushButton1()), QRect(W - 29 - 80, H - 26 - 20, 80, 20)) << W;
    }
}
