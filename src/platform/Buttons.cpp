// Buttons over QPushButton, QToolButton, QCheckBox and QRadioButton.
#include "platform/Buttons.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

PushButton::PushButton(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    button_ = new QPushButton(d.caption, HostWidget());
    button_->setAutoDefault(false);
    button_->setDefault(d.isDefault);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] {
        if (Action && CanFire())
            Action();
    });
    // The default button answers Return and the cancel button Escape anywhere in the window.
    auto addKey = [this](const QKeySequence& key) {
        auto* shortcut = new QShortcut(key, button_);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button_, [this] {
            if (button_->isEnabled() && button_->isVisible())
                button_->click();
        });
    };
    if (d.isDefault) {
        addKey(QKeySequence(Qt::Key_Return));
        addKey(QKeySequence(Qt::Key_Enter));
    }
    if (d.isCancel)
        addKey(QKeySequence(Qt::Key_Escape));
    Attach(button_);
}

void PushButton::Push() {
    button_->click();
}

// The bevel button's widget: MouseDown may keep the press from the button, and a sticky button
// stays down when pressed again.
class BevelWidget : public QToolButton {
public:
    BevelWidget(BevelButton* owner, QWidget* parent) : QToolButton(parent), owner_(owner) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && owner_->MouseDown && owner_->CanFire()) {
            const QPoint p = e->position().toPoint();
            if (owner_->MouseDown(p.x(), p.y()))
                return;
        }
        QToolButton::mousePressEvent(e);
    }
    void nextCheckState() override {
        if (owner_->sticky_)
            setChecked(true);
        else
            QToolButton::nextCheckState();
    }

private:
    BevelButton* owner_;
};

BevelButton::BevelButton(platform::Window& window, const ControlDesc& d)
    : Control(window, d), sticky_(d.sticky) {
    button_ = new BevelWidget(this, HostWidget());
    button_->setCheckable(sticky_);
    button_->setChecked(sticky_ && d.value != 0);
    button_->setText(d.caption);
    button_->setAutoRaise(false);
    QObject::connect(button_, &QToolButton::clicked, button_, [this] {
        if (Action && CanFire())
            Action();
    });
    Attach(button_);
    SetIcon(LoadPicture(d.picture));
}

void BevelButton::SetIcon(std::shared_ptr<Picture> icon) {
    icon_ = std::move(icon);
    button_->setIcon(icon_ ? QIcon(QPixmap::fromImage(icon_->Image())) : QIcon());
    if (icon_)
        button_->setIconSize(icon_->Image().size());
    UpdateStyle();
}

void BevelButton::UpdateStyle() {
    if (!icon_)
        button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    else
        button_->setToolButtonStyle(button_->text().isEmpty() ? Qt::ToolButtonIconOnly
                                                              : Qt::ToolButtonTextUnderIcon);
}

bool BevelButton::Value() const {
    return button_->isChecked();
}
void BevelButton::SetValue(bool down) {
    button_->setChecked(sticky_ && down);
}
void BevelButton::Push() {
    button_->click();
}

CheckBox::CheckBox(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    box_ = new QCheckBox(d.caption, HostWidget());
    box_->setChecked(d.value != 0);
    QObject::connect(box_, &QCheckBox::toggled, box_, [this] {
        if (Action && CanFire())
            Action();
    });
    Attach(box_);
}

bool CheckBox::Value() const {
    return box_->isChecked();
}
void CheckBox::SetValue(bool checked) {
    box_->setChecked(checked);
}
void CheckBox::Push() {
    box_->click();
}

RadioButton::RadioButton(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    button_ = new QRadioButton(d.caption, HostWidget());
    button_->setChecked(d.value != 0);
    QObject::connect(button_, &QRadioButton::toggled, button_, [this](bool on) {
        if (on && Action && CanFire())
            Action();
    });
    Attach(button_);
}

bool RadioButton::Value() const {
    return button_->isChecked();
}

void RadioButton::SetValue(bool on) {
    if (on || !button_->isChecked()) {
        button_->setChecked(on);
        return;
    }
    // Qt keeps the checked button of a group on; the framework lets the program turn it off.
    button_->setAutoExclusive(false);
    button_->setChecked(false);
    button_->setAutoExclusive(true);
}

void RadioButton::Push() {
    button_->click();
}

LittleArrows::LittleArrows(platform::Window& window, const ControlDesc& d) : Control(window, d) {
    auto* box = new QWidget(HostWidget());
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto makeArrow = [&](Qt::ArrowType type, EventHandler<void()> LittleArrows::*event) {
        auto* arrow = new QToolButton(box);
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(arrow);
        QObject::connect(arrow, &QToolButton::clicked, arrow, [this, event] {
            if (this->*event && CanFire())
                (this->*event)();
        });
        return arrow;
    };
    up_ = makeArrow(Qt::UpArrow, &LittleArrows::Up);
    down_ = makeArrow(Qt::DownArrow, &LittleArrows::Down);
    Attach(box);
}

void LittleArrows::PushUp() {
    up_->click();
}
void LittleArrows::PushDown() {
    down_->click();
}

} // namespace platform
