// Buttons: push button, bevel button (push or sticky, with an icon), check box, radio button and the
// little arrows.
#pragma once

#include "platform/Control.h"
#include "platform/Picture.h"

class QAbstractButton;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace platform {

class PushButton : public Control {
public:
    PushButton(platform::Window& window, const ControlDesc& desc);

    // Clicks the button as the user would: it goes down and up and Action runs.
    void Push();

    EventHandler<void()> Action;

private:
    QPushButton* button_;
};

class BevelButton : public Control {
public:
    BevelButton(platform::Window& window, const ControlDesc& desc);

    std::shared_ptr<Picture> Icon() const { return icon_; }
    // Shown centred; nullptr for none.
    void SetIcon(std::shared_ptr<Picture> icon);
    bool Sticky() const { return sticky_; }
    // Down (True) or up; only a sticky button stays down. Setting it raises no Action.
    bool Value() const;
    void SetValue(bool down);
    void Push();

    EventHandler<bool(int x, int y)> MouseDown; // true: the button is not pressed, no Action
    EventHandler<void()> Action;

private:
    friend class BevelWidget;
    void UpdateStyle();

    QToolButton* button_;
    std::shared_ptr<Picture> icon_;
    bool sticky_;
};

class CheckBox : public Control {
public:
    CheckBox(platform::Window& window, const ControlDesc& desc);

    bool Value() const;
    // Raises Action when the value changes.
    void SetValue(bool checked);
    void Push();

    EventHandler<void()> Action; // the value changed, by a click or by the program

private:
    QCheckBox* box_;
};

// Radio buttons with the same parent (window or group box) turn each other off.
class RadioButton : public Control {
public:
    RadioButton(platform::Window& window, const ControlDesc& desc);

    bool Value() const;
    // Turning one on turns the others of its group off; raises Action when it turns on.
    void SetValue(bool on);
    void Push();

    EventHandler<void()> Action; // the button was turned on

private:
    QRadioButton* button_;
};

// A pair of small up and down arrows.
class LittleArrows : public Control {
public:
    LittleArrows(platform::Window& window, const ControlDesc& desc);

    // Click the up or down arrow as the user would.
    void PushUp();
    void PushDown();

    EventHandler<void()> Up;
    EventHandler<void()> Down;

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace platform
