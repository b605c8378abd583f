// Edit fields over QLineEdit and QPlainTextEdit, labels over QLabel.
#include "platform/TextControls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace platform {

namespace {
QString WithLineEnds(QString text) {
    return text.replace("\r\n", "\n").replace('\r', '\n');
}

Qt::Alignment HorizontalAlignment(TextAlign a) {
    switch (a) {
    case TextAlign::Center:
        return Qt::AlignHCenter;
    case TextAlign::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

void SetTextColorOf(QWidget* w, QPalette::ColorRole role, Color c) {
    QPalette p = w->palette();
    p.setColor(role, c.toQColor());
    w->setPalette(p);
}
} // namespace

// The edit widget: passes keys and focus changes to its EditField first.
template <class Base> class FieldWidget : public Base {
public:
    FieldWidget(EditField* field, QWidget* parent) : Base(parent), field_(field) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (!field_->Key(*e))
            Base::keyPressEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        Base::focusInEvent(e);
        if (e->reason() != Qt::PopupFocusReason)
            field_->FocusChanged(true);
    }
    void focusOutEvent(QFocusEvent* e) override {
        Base::focusOutEvent(e);
        if (e->reason() != Qt::PopupFocusReason) // a context menu is no loss of focus
            field_->FocusChanged(false);
    }

private:
    EditField* field_;
};

EditField::EditField(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    QWidget* widget;
    if (d.multiline) {
        text_ = new FieldWidget<QPlainTextEdit>(this, HostWidget());
        text_->setPlainText(WithLineEnds(d.caption));
        text_->setReadOnly(d.readOnly);
        text_->setVerticalScrollBarPolicy(d.scrollVertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        if (!d.border)
            text_->setFrameShape(QFrame::NoFrame);
        QObject::connect(text_, &QPlainTextEdit::textChanged, text_, [this] { Changed(); });
        widget = text_;
    } else {
        line_ = new FieldWidget<QLineEdit>(this, HostWidget());
        line_->setText(d.caption);
        line_->setReadOnly(d.readOnly);
        line_->setFrame(d.border);
        line_->setAlignment(HorizontalAlignment(d.align) | Qt::AlignVCenter);
        QObject::connect(line_, &QLineEdit::textChanged, line_, [this] { Changed(); });
        widget = line_;
    }
    Attach(widget);
    if (d.textColor)
        SetTextColor(*d.textColor);
}

QString EditField::Text() const {
    return line_ ? line_->text() : text_->toPlainText();
}

void EditField::SetText(const QString& text) {
    if (line_) {
        line_->setText(text);
        // A value set by the program is read from its start (a long number's sign and first digits);
        // while the user types in the field, the cursor stays where it is.
        if (!line_->hasFocus())
            line_->setCursorPosition(0);
    } else {
        const QString shown = WithLineEnds(text);
        if (shown != text_->toPlainText())
            text_->setPlainText(shown);
        text_->document()->setModified(false);
    }
}

bool EditField::Modified() const {
    return line_ ? line_->isModified() : text_->document()->isModified();
}

void EditField::SetTextColor(Color c) {
    textColor_ = c;
    SetTextColorOf(Widget(), QPalette::Text, c);
}

void EditField::SelectAll() {
    if (line_)
        line_->selectAll();
    else
        text_->selectAll();
}

bool EditField::Key(const QKeyEvent& e) {
    return KeyDown && CanFire() && KeyDown(KeyText(e));
}

void EditField::FocusChanged(bool in) {
    if (!CanFire())
        return;
    if (in && GotFocus)
        GotFocus();
    else if (!in && LostFocus)
        LostFocus();
}

void EditField::Changed() {
    if (TextChange && CanFire())
        TextChange();
}

Label::Label(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    label_ = new QLabel(HostWidget());
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(d.multiline);
    label_->setAlignment(HorizontalAlignment(d.align) | Qt::AlignTop);
    Attach(label_);
    SetText(d.caption);
    if (d.textColor)
        SetTextColor(*d.textColor);
}

void Label::SetText(const QString& text) {
    text_ = text;
    label_->setText(WithLineEnds(text));
}

void Label::SetTextColor(Color c) {
    textColor_ = c;
    SetTextColorOf(label_, QPalette::WindowText, c);
}

} // namespace platform
