// Real mouse and key events for tests, sent straight to the controls' widgets (no window focus or
// timing involved), and the steps several tests take with them. Points are in the control's own pixels.
#pragma once

#include <QPoint>
#include <QString>
#include <Qt>
#include <functional>

class BDropProps;
class QImage;
class QLineEdit;
class QWidget;

namespace platform {
class Canvas;
class Control;
class EditField;
class ListBox;
class Window;
} // namespace platform

namespace ui {

void Press(QWidget* w, QPoint p);
void Drag(QWidget* w, QPoint p); // a move with the left button down
void Release(QWidget* w, QPoint p);
void Move(QWidget* w, QPoint p); // a move with no button down
void Click(QWidget* w, QPoint p);
void DoubleClick(QWidget* w, QPoint p);

// A click at (x, y) of a control; a list box gets it in its rows area.
void Click(platform::Control& c, int x, int y);
// A click in the middle of a list cell.
void ClickCell(platform::ListBox& list, int row, int column);
void DoubleClickCell(platform::ListBox& list, int row, int column);

void Key(QWidget* w, Qt::Key key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types each character as a key press.
void Type(QWidget* w, const QString& text);

// Types into a field as the user does: the field takes the focus, its text is selected and typed over.
void TypeOver(platform::EditField& field, const QString& text);
// The same with the selected text deleted by Backspace first, so that an empty text empties the field.
void Retype(platform::EditField& field, const QString& text);

// Clicks a value cell of a list and types over what it holds, leaving the editor open (nullptr when
// none opened); TypeInto then confirms with Return.
QLineEdit* StartTyping(platform::ListBox& list, int row, const QString& text, int column = 2);
void TypeInto(platform::ListBox& list, int row, const QString& text, int column = 2);

// A canvas as it shows on screen once every pending event has run.
QImage Shown(platform::Canvas& canvas);

// Makes the window the active one at once, so focus changes happen as they would for a user.
void Activate(platform::Window& w);

// Chooses an item of the main window's menu bar, as a click in the menu does, and lets what it started
// run.
void Choose(const char* item);

// The backdrop dialog shown modally and made the active window, with act run inside it; it then closes
// as by its close box.
void InBackdropDialog(const std::function<void(BDropProps&)>& act);
// Types over one of its fields and moves the focus on, so the field stores its value.
void Enter(BDropProps& d, const QString& field, const QString& text);
// "Add Image" answered with this path ("" cancels).
void AddImage(BDropProps& d, const QString& path);

} // namespace ui
