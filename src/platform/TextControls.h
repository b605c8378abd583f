// Text controls: the edit field (single or multi-line, read-only or disabled) and the label.
#pragma once

#include "platform/Control.h"

class QLineEdit;
class QPlainTextEdit;
class QLabel;

namespace platform {

class EditField : public Control {
public:
    EditField(platform::Window& window, const ControlDesc& desc);

    QString Text() const;
    // Raises TextChange when the text changes. A multi-line field shows carriage returns as line
    // ends and gives its lines back separated by "\n".
    void SetText(const QString& text);
    bool MultiLine() const { return text_ != nullptr; }
    // Whether the user has changed the text (typing, pasting, cutting, dropping) since the program
    // last set it.
    bool Modified() const;
    Color TextColor() const { return textColor_; }
    void SetTextColor(Color c);
    void SelectAll();

    EventHandler<void()> TextChange;                // after every change, typed or set
    EventHandler<bool(const QString& key)> KeyDown; // true swallows the key
    EventHandler<void()> GotFocus;
    EventHandler<void()> LostFocus;

private:
    template <class Base> friend class FieldWidget;
    bool Key(const QKeyEvent& e);
    void FocusChanged(bool in);
    void Changed();

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    Color textColor_{};
};

class Label : public Control {
public:
    Label(platform::Window& window, const ControlDesc& desc);

    // Lines may be separated by carriage returns or "\n"; the text is given back as set.
    QString Text() const { return text_; }
    void SetText(const QString& text);
    Color TextColor() const { return textColor_; }
    void SetTextColor(Color c);

private:
    QLabel* label_;
    QString text_;
    Color textColor_{};
};

} // namespace platform
