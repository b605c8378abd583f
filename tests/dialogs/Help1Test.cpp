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
