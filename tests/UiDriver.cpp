#include "UiDriver.h"
#include "TestSupport.h"
#include "dialogs/BDropProps.h"
#include "editor/MenuBar1.h"

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/ListBox.h"
#include "platform/Menu.h"
#include "platform/Window.h"
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace ui {

namespace {
void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The widget that takes a control's mouse events, and the point in it.
std::pair<QWidget*, QPoint> Target(platform::Control& c, QPoint p) {
    if (auto* view = qobject_cast<QAbstractItemView*>(c.Widget()))
        return {view->viewport(), view->viewport()->mapFrom(view, p)};
    return {c.Widget(), p};
}

QPoint CellCentre(platform::ListBox& list, int row, int column) {
    auto* table = static_cast<QTableWidget*>(list.Widget());
    const QRect cell = table->visualRect(table->model()->index(row, column));
    return table->viewport()->mapTo(table, cell.center());
}
} // namespace

void Press(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
}
void Drag(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
void Move(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
}

void Click(QWidget* w, QPoint p) {
    Press(w, p);
    Release(w, p);
}

void DoubleClick(QWidget* w, QPoint p) {
    Click(w, p);
    Mouse(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    Release(w, p);
}

void Click(platform::Control& c, int x, int y) {
    auto [widget, p] = Target(c, QPoint(x, y));
    Click(widget, p);
}

void ClickCell(platform::ListBox& list, int row, int column) {
    auto [widget, p] = Target(list, CellCentre(list, row, column));
    Click(widget, p);
}

void DoubleClickCell(platform::ListBox& list, int row, int column) {
    auto [widget, p] = Target(list, CellCentre(list, row, column));
    DoubleClick(widget, p);
}

void Key(QWidget* w, Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

void Type(QWidget* w, const QString& text) {
    for (QChar ch : text)
        Key(w, Qt::Key(ch.toUpper().unicode()), QString(ch)); // Qt's key codes of letters and digits
}

void TypeOver(platform::EditField& field, const QString& text) {
    field.SetFocus();
    field.SelectAll();
    Type(field.Widget(), text);
}

void Retype(platform::EditField& field, const QString& text) {
    field.SetFocus();
    field.SelectAll();
    Key(field.Widget(), Qt::Key_Backspace);
    Type(field.Widget(), text);
}

QLineEdit* StartTyping(platform::ListBox& list, int row, const QString& text, int column) {
    ClickCell(list, row, column);
    auto* editor = qobject_cast<QLineEdit*>(list.ActiveEditor());
    if (!editor)
        return nullptr;
    editor->selectAll();
    Type(editor, text);
    return editor;
}

void TypeInto(platform::ListBox& list, int row, const QString& text, int column) {
    if (QLineEdit* editor = StartTyping(list, row, text, column))
        Key(editor, Qt::Key_Return, "\r");
    else
        ADD_FAILURE() << "no editor in row " << row;
}

QImage Shown(platform::Canvas& canvas) {
    QApplication::processEvents();
    return canvas.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void Activate(platform::Window& w) {
    QApplication::setActiveWindow(w.Widget());
}

void Choose(const char* item) {
    platform::SharedMenuBar<MenuBar1>().FindItem(item)->Action()->trigger();
    QApplication::processEvents();
}

void InBackdropDialog(const std::function<void(BDropProps&)>& act) {
    platform::OnNextModal([act](platform::Window& d) {
        Activate(d);
        act(dynamic_cast<BDropProps&>(d));
    });
    platform::SharedInstance<BDropProps>().ShowModal();
}

void Enter(BDropProps& d, const QString& field, const QString& text) {
    TypeOver(*d.ControlNamed<platform::EditField>(field), text);
    d.PushButton2().SetFocus();
}

void AddImage(BDropProps& d, const QString& path) {
    testing_support::Scripted().fileAnswers.push_back(path);
    d.BackdropOpen().Trigger();
}

} // namespace ui
