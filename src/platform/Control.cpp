// The control base: window-pixel geometry mapped into the Qt parent, edge locks, fonts, help tags.
#include "platform/Control.h"

#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

Control::Control(platform::Window& window, const ControlDesc& d)
    : window_(&window), name_(d.name), kind_(d.kind), rect_(d.left, d.top, d.width, d.height),
      locks_(d.locks), helpTag_(d.helpTag), fontName_(d.fontName), fontSize_(d.fontSize), bold_(d.bold),
      italic_(d.italic), startEnabled_(d.enabled), startVisible_(d.visible) {
    if (!d.parent.isEmpty()) {
        parent_ = window.FindControl(d.parent);
        if (!parent_)
            throw NilObjectException("No parent control " + d.parent + " for " + d.name);
    }
    anchorRect_ = rect_;
    anchorWindow_ = QSize(window.Width(), window.Height());
}

Control::~Control() = default;

void Control::Attach(QWidget* widget) {
    widget_ = widget;
    widget_->setObjectName(name_);
    Place();
    ApplyFont();
    SetHelpTag(helpTag_);
    widget_->setEnabled(startEnabled_);
    widget_->setVisible(startVisible_);
}

QWidget* Control::HostWidget() const {
    return parent_ ? parent_->ChildHost() : window_->ContentWidget();
}

bool Control::CanFire() const {
    return !window_->destroying_ && !closed_;
}

void Control::Place() {
    QRect r = rect_;
    if (parent_)
        r.translate(-parent_->rect_.topLeft());
    widget_->setGeometry(r);
}

void Control::SetBounds(int left, int top, int width, int height) {
    rect_ = QRect(left, top, std::max(0, width), std::max(0, height));
    anchorRect_ = rect_;
    anchorWindow_ = QSize(window_->Width(), window_->Height());
    Place();
}

void Control::WindowResized(int width, int height) {
    const int dw = width - anchorWindow_.width();
    const int dh = height - anchorWindow_.height();
    QRect r = anchorRect_;
    if (LockRight() && LockLeft())
        r.setWidth(std::max(0, r.width() + dw));
    else if (LockRight())
        r.moveLeft(r.left() + dw);
    if (LockBottom() && LockTop())
        r.setHeight(std::max(0, r.height() + dh));
    else if (LockBottom())
        r.moveTop(r.top() + dh);
    rect_ = r;
    Place(); // parents come before their children in the table, so they are placed already
}

bool Control::Visible() const {
    return !widget_->isHidden();
}
void Control::SetVisible(bool v) {
    widget_->setVisible(v);
}

void Control::SetHelpTag(const QString& text) {
    helpTag_ = text;
    QString shown = text;
    shown.replace("\r\n", "\n").replace('\r', '\n');
    widget_->setToolTip(shown);
}

void Control::ApplyFont() {
    QFont f = SystemFont();
    if (!fontName_.isEmpty() && fontName_.compare("System", Qt::CaseInsensitive) != 0)
        f.setFamilies({fontName_});
    if (fontSize_ > 0)
        f.setPixelSize(fontSize_); // the framework's points are screen pixels at 72 dpi
    f.setBold(bold_);
    f.setItalic(italic_);
    widget_->setFont(f);
}

void Control::Refresh(bool) {
    widget_->update();
}

void Control::SetFocus() {
    widget_->setFocus(Qt::OtherFocusReason);
}

void Control::Close() {
    window_->RemoveControl(this);
}

QString KeyText(const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Return:
        return Chr(13);
    case Qt::Key_Enter:
        return Chr(3);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Chr(9);
    case Qt::Key_Backspace:
        return Chr(8);
    case Qt::Key_Escape:
        return Chr(27);
    case Qt::Key_Delete:
        return Chr(127);
    case Qt::Key_Left:
        return Chr(28);
    case Qt::Key_Right:
        return Chr(29);
    case Qt::Key_Up:
        return Chr(30);
    case Qt::Key_Down:
        return Chr(31);
    case Qt::Key_Home:
        return Chr(1);
    case Qt::Key_End:
        return Chr(4);
    case Qt::Key_PageUp:
        return Chr(11);
    case Qt::Key_PageDown:
        return Chr(12);
    default:
        return e.text();
    }
}

std::shared_ptr<Picture> LoadPicture(const QString& path) {
    QImage image = path.isEmpty() ? QImage() : QImage(path);
    return image.isNull() ? nullptr : std::make_shared<Picture>(std::move(image));
}

} // namespace platform
