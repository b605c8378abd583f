// The base of every control: a named Qt widget at a place in its window, with edge locks, font, help
// tag and the Open event; and ControlDesc, one row of the control table a window is built from.
#pragma once

#include "platform/Color.h"
#include "platform/EventHandler.h"
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;
class QWidget;

namespace platform {

class Picture;
class Window;

enum class ControlKind {
    ListBox,
    EditField,
    Canvas,
    ScrollBar,
    Slider,
    PushButton,
    BevelButton,
    CheckBox,
    RadioButton,
    LittleArrows,
    ImageWell,
    Label,
    GroupBox,
    Placard,
    Rectangle,
    RoundRectangle,
    Line,
    Separator,
};

// Edge locks: a control keeps its distance to every locked window edge when the window is resized,
// so locking both opposite edges stretches it. No locks keeps its place and size.
enum Lock : int { LockNone = 0, LockLeft = 1, LockTop = 2, LockRight = 4, LockBottom = 8 };

enum class TextAlign { Default, Left, Center, Right };

// One control of a window's table. Rows are written with designated initialisers, so the fields
// keep this order. Positions and sizes are window pixels, also for controls inside a parent.
struct ControlDesc {
    QString name;
    ControlKind kind = ControlKind::Label;
    int left = 0, top = 0, width = 0, height = 0;
    QString caption; // caption, label text or the initial text of an edit field
    int locks = LockNone;
    QString parent;  // name of the containing control, created earlier in the table
    QString helpTag; // lines may be separated by carriage returns
    QString fontName = "System";
    int fontSize = 12; // the framework's points, drawn as pixels; 0 keeps the platform's size
    bool bold = false, italic = false;
    TextAlign align = TextAlign::Default;
    std::optional<Color> textColor;
    bool enabled = true, visible = true;

    // List box. Rows hold their cells separated by tabs.
    int columnCount = 1;
    QString columnWidths; // "0,100,100"; a width of 0 hides the column
    QStringList rows;
    int rowHeight = 0; // 0: the platform's height
    bool hasHeading = false;
    bool scrollVertical = false, scrollHorizontal = false;

    // Edit field and label.
    bool multiline = false, readOnly = false, border = true;

    // Check box, radio button and bevel button (1 = on or down); scroll bar and slider.
    int value = 0, minimum = 0, maximum = 100, lineStep = 1, pageStep = 20;
    bool liveScroll = true; // ValueChanged while the thumb is dragged, not only when it is let go

    // Buttons.
    bool sticky = false; // a bevel button that stays down once pressed
    bool isDefault = false, isCancel = false;
    QString picture; // bevel-button icon, image-well image or canvas backdrop: a Qt resource or file path

    // Canvas.
    bool eraseBackground = true, acceptFocus = true;

    // Shapes. A line runs from (left, top) to (x2, y2).
    std::optional<Color> fillColor;
    Color borderColor{};
    int borderWidth = 1;
    int ovalWidth = 0, ovalHeight = 0;
    int x2 = 0, y2 = 0;
};

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    QString Name() const { return name_; }
    ControlKind Kind() const { return kind_; }
    platform::Window& TrueWindow() const { return *window_; }
    Control* Parent() const { return parent_; }
    // The real widget, for drawing, focus and events sent by tests.
    QWidget* Widget() const { return widget_; }

    int Left() const { return rect_.left(); }
    int Top() const { return rect_.top(); }
    int Width() const { return rect_.width(); }
    int Height() const { return rect_.height(); }
    // Window pixels; the place set here is where the locks measure from.
    void SetBounds(int left, int top, int width, int height);

    bool LockLeft() const { return locks_ & platform::LockLeft; }
    bool LockTop() const { return locks_ & platform::LockTop; }
    bool LockRight() const { return locks_ & platform::LockRight; }
    bool LockBottom() const { return locks_ & platform::LockBottom; }

    bool Visible() const;
    void SetVisible(bool v);
    QString HelpTag() const { return helpTag_; }
    void SetHelpTag(const QString& text);

    // Repaints the control; eraseBackground matters to canvases only.
    virtual void Refresh(bool eraseBackground = true);
    void SetFocus();
    // Removes the control, and the controls inside it, from the window and destroys them: looking it
    // up by name finds nothing from then on. No pointer to it may be used afterwards.
    void Close();

    // When the window opens, before the window's own Open event.
    EventHandler<void()> Open;

protected:
    Control(platform::Window& window, const ControlDesc& desc);
    // Takes the widget built by the subclass: places it and applies the common properties.
    void Attach(QWidget* widget);
    // The widget that children of this control are put in.
    virtual QWidget* ChildHost() const { return widget_; }
    // The widget this control is put in: its parent control's host, or the window's content.
    QWidget* HostWidget() const;
    // False while the window is being destroyed: no event may run then.
    bool CanFire() const;
    virtual void ApplyFont();

private:
    friend class Window;
    void WindowResized(int width, int height);
    void Place();

    platform::Window* window_;
    Control* parent_ = nullptr;
    QWidget* widget_ = nullptr;
    QString name_;
    ControlKind kind_;
    QRect rect_;         // window pixels
    QRect anchorRect_;   // where the control was put, and the window size then
    QSize anchorWindow_; // ... which the locks measure from
    int locks_ = LockNone;
    QString helpTag_;
    QString fontName_;
    int fontSize_ = 12;
    bool bold_ = false, italic_ = false;
    bool startEnabled_ = true, startVisible_ = true;
    bool closed_ = false;
};

// The framework's text of a key: the typed character, or a control character for the special keys
// (Return 13, Enter 3, Tab 9, Backspace 8, Escape 27, Delete 127, arrows 28 to 31).
QString KeyText(const QKeyEvent& e);

// The picture of a ControlDesc: a Qt resource (":/logo.png") or a file path; nullptr when the path is
// empty or the file cannot be read.
std::shared_ptr<Picture> LoadPicture(const QString& path);

} // namespace platform
