#include "dialogs/Help1.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "platform/Controls.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace platform;

namespace {
QRect Bounds(const Control* c) {
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}
QString Shown(QString stored) {
    return stored.replace('\r', '\n');
}
} // namespace

TEST(Help1, WindowAndControls) {
    Help1 w;
    EXPECT_EQ(w.Title(), "Help");
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(434, 375));
    const Qt::WindowFlags flags = w.Widget()->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    const int all = LockLeft | LockTop | LockRight | LockBottom;
    struct Row {
        const char* name;
        ControlKind kind;
        QRect rect;
        int locks;
    } rows[] = {{"EditField1", ControlKind::EditField, {30, 33, 374, 277}, all},
                {"Canvas1", ControlKind::Canvas, {33, 322, 36, 34}, LockLeft | LockBottom},
                {"PushButton1", ControlKind::PushButton, {325, 329, 80, 20}, LockRight | LockBottom}};
    ASSERT_EQ(w.ControlCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.ControlAt(i)->Name(), rows[i].name);
        EXPECT_EQ(w.ControlAt(i)->Kind(), rows[i].kind) << rows[i].name;
        EXPECT_EQ(Bounds(w.ControlAt(i)), rows[i].rect) << rows[i].name;
        EXPECT_EQ(w.ControlAt(i)->Locks(), rows[i].locks) << rows[i].name;
    }
    auto* field = w.ControlNamed<EditField>("EditField1");
    EXPECT_TRUE(field->MultiLine());
    EXPECT_FALSE(field->ReadOnly());
    EXPECT_EQ(field->TextSize(), 0); // the platform's default size
    EXPECT_EQ(static_cast<QPlainTextEdit*>(field->Widget())->verticalScrollBarPolicy(),
              Qt::ScrollBarAsNeeded);
    ASSERT_NE(w.ControlNamed<Canvas>("Canvas1")->Backdrop(), nullptr);
    EXPECT_EQ(w.ControlNamed<PushButton>("PushButton1")->Caption(), "Close");
}

TEST(Help1, StoredTextLineByLine) {
    const QString text = Help1::StoredText();
    EXPECT_EQ(text.size(), 691);
    const QStringList lines = text.split('\r');
    ASSERT_EQ(lines.size(), 13); // twelve lines, the last one ended by a carriage return too
    EXPECT_EQ(lines.last(), "");
    const std::pair<int, const char*> expected[] = {
        {1, "Picture: "},
        {3, ""},
        {6, " In Picture use 'C\"=Start/finish 'D'=dash 'A'=EndBSB 'B'=amount."},
        {7, " EanBwr36 = Bars with width reduction - used for processes that could gain in size. "},
        {9, "Barcode fonts can be tranlated using the 'A', or 'a', or 'K' or 'k' commands."},
        {12, " Can work sort of, under Win32 (using an image at 72dpi resolution) - Macs will print blank!"},
    };
    for (const auto& [number, line] : expected)
        EXPECT_EQ(lines[number - 1], line) << "line " << number;

    Help1 w;
    EXPECT_EQ(w.ControlNamed<EditField>("EditField1")->Text(), Shown(text));
}

TEST(Help1, ResizingKeepsTheMargins) {
    const QSize sizes[] = {{700, 520}, {300, 200}, {434, 375}};
    Help1 w;
    w.Show();
    for (const QSize s : sizes) {
        w.SetSize(s.width(), s.height());
        const int W = s.width(), H = s.height();
        EXPECT_EQ(Bounds(w.FindControl("EditField1")), QRect(30, 33, W - 60, H - 33 - 65)) << W;
        EXPECT_EQ(Bounds(w.FindControl("Canvas1")), QRect(33, H - 19 - 34, 36, 34)) << W;
        EXPECT_EQ(Bounds(w.FindControl("PushButton1")), QRect(W - 29 - 80, H - 26 - 20, 80, 20)) << W;
    }
}

TEST(Help1, SharedInstanceIsShownWithoutBlockingOnce) {
    Help1& first = Help1::ShowShared();
    // The unattended test mode would have closed a modal window before Show returned.
    EXPECT_TRUE(first.IsOpen());
    EXPECT_FALSE(first.Widget()->isModal());
    EXPECT_EQ(&Help1::ShowShared(), &first);
    EXPECT_EQ(WindowCount(), 1);

    // Typed text lasts only while the window is open.
    auto* edit = static_cast<QPlainTextEdit*>(first.FindControl("EditField1")->Widget());
    edit->moveCursor(QTextCursor::Start);
    ui::Type(edit, "Note ");
    EXPECT_TRUE(first.ControlNamed<EditField>("EditField1")->Text().startsWith("Note Picture: "));
    ui::Click(*first.FindControl("PushButton1"), 40, 10);
    EXPECT_EQ(WindowCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    Help1& second = Help1::ShowShared();
    EXPECT_EQ(second.ControlNamed<EditField>("EditField1")->Text(), Shown(Help1::StoredText()));
}
