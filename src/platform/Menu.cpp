// Menu items over QAction and QMenu, menu bars over one QMenuBar per window, and the dispatch of a
// chosen item by its name.
#include "platform/Menu.h"

#include "platform/ProcessState.h"
#include "platform/Window.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <map>

namespace platform {

namespace {
std::map<QString, std::function<bool()>> gAppHandlers;
std::map<std::type_index, std::unique_ptr<MenuBar>> gSharedBars;

bool IsStandardEditItem(const QString& name) {
    static const QStringList names = {"EditUndo",  "EditCut",   "EditCopy",
                                      "EditPaste", "EditClear", "EditSelectAll"};
    return names.contains(name);
}

// Whether the standard edit item has something to act on in the field that has the focus: a selection
// to cut, copy or clear, text to paste into a field that takes it, typing to undo.
bool StandardEditAvailable(const QString& name) {
    QWidget* focus = QApplication::focusWidget();
    auto* line = qobject_cast<QLineEdit*>(focus);
    auto* text = qobject_cast<QPlainTextEdit*>(focus);
    if (!line && !text)
        return false;
    const bool readOnly = line ? line->isReadOnly() : text->isReadOnly();
    const bool selection = line ? line->hasSelectedText() : text->textCursor().hasSelection();
    if (name == "EditUndo")
        return !readOnly && (line ? line->isUndoAvailable() : text->document()->isUndoAvailable());
    if (name == "EditCut" || name == "EditClear")
        return !readOnly && selection;
    if (name == "EditCopy")
        return selection;
    if (name == "EditPaste") {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        return !readOnly && clipboard && !clipboard->text().isEmpty();
    }
    return true; // select all
}

// The framework's own handling of the standard edit items, on the field that has the focus.
bool StandardEditCommand(const QString& name) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        if (name == "EditUndo")
            line->undo();
        else if (name == "EditCut")
            line->cut();
        else if (name == "EditCopy")
            line->copy();
        else if (name == "EditPaste")
            line->paste();
        else if (name == "EditClear")
            line->del();
        else if (name == "EditSelectAll")
            line->selectAll();
        else
            return false;
        return true;
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
        if (name == "EditUndo")
            text->undo();
        else if (name == "EditCut")
            text->cut();
        else if (name == "EditCopy")
            text->copy();
        else if (name == "EditPaste")
            text->paste();
        else if (name == "EditClear")
            text->textCursor().removeSelectedText();
        else if (name == "EditSelectAll")
            text->selectAll();
        else
            return false;
        return true;
    }
    return false;
}
} // namespace

MenuItem::MenuItem(const QString& name, const QString& text) : MenuItem(name, text, Role::Plain) {}

MenuItem::MenuItem(const QString& name, const QString& text, Role role)
    : action_(std::make_unique<QAction>()), name_(name), role_(role) {
    if (role == Role::Quit)
        action_->setMenuRole(QAction::QuitRole);
    else if (role == Role::About)
        action_->setMenuRole(QAction::AboutRole);
    else
        action_->setMenuRole(QAction::NoRole);
    QObject::connect(action_.get(), &QAction::triggered, action_.get(), [this] { Trigger(); });
    SetText(text);
}

MenuItem::~MenuItem() = default;

void MenuItem::SetText(const QString& text) {
    text_ = text;
    // The framework's "&" mnemonics and "&&" are Qt's own convention.
    // A separator is a plain line: some styles would print its "-" beside it.
    action_->setText(text == "-" ? QString() : text);
    action_->setSeparator(text == "-");
    if (menu_)
        menu_->setTitle(text);
}

void MenuItem::SetKeyboardShortcut(const QString& shortcut) {
    shortcut_ = shortcut;
    QString portable = shortcut;
    portable.replace("Cmd", "Ctrl", Qt::CaseInsensitive).replace("Option", "Alt", Qt::CaseInsensitive);
    action_->setShortcut(QKeySequence::fromString(portable, QKeySequence::PortableText));
}

bool MenuItem::Enabled() const {
    return Action()->isEnabled();
}

void MenuItem::SetEnabled(bool v) {
    action_->setEnabled(v);
    if (menu_)
        menu_->menuAction()->setEnabled(v);
}

QAction* MenuItem::Action() const {
    return menu_ ? menu_->menuAction() : action_.get();
}

QMenu* MenuItem::EnsureMenu() {
    if (menu_)
        return menu_.get();
    QAction* old = action_.get();
    menu_ = std::make_unique<QMenu>(text_);
    menu_->menuAction()->setEnabled(old->isEnabled());
    QObject::connect(menu_.get(), &QMenu::aboutToShow, menu_.get(), [this] {
        EnableStandardEditItems();
        if (Window* w = FrontWindow())
            RunHandler([w] { w->Event_EnableMenuItems(); });
    });
    if (parent_ && parent_->menu_) { // an item already in a menu becomes a submenu
        parent_->menu_->insertAction(old, menu_->menuAction());
        parent_->menu_->removeAction(old);
    }
    return menu_.get();
}

void MenuItem::EnableStandardEditItems() {
    for (const auto& c : children_)
        if (IsStandardEditItem(c->name_))
            c->SetEnabled(StandardEditAvailable(c->name_));
}

MenuItem& MenuItem::Append(std::unique_ptr<MenuItem> item) {
    QMenu* menu = EnsureMenu();
    item->parent_ = this;
    menu->addAction(item->Action());
    children_.push_back(std::move(item));
    return *children_.back();
}

MenuItem* MenuItem::FindItem(const QString& name) {
    if (name_ == name)
        return this;
    for (const auto& c : children_)
        if (MenuItem* found = c->FindItem(name))
            return found;
    return nullptr;
}

bool MenuItem::Trigger() {
    if (!Enabled())
        return false;
    if (Window* w = FrontWindow(); w && w->HandleMenuCommand(name_))
        return true;
    if (auto it = gAppHandlers.find(name_); it != gAppHandlers.end() && it->second) {
        auto handler = it->second;
        if (RunHandler(true, handler))
            return true;
    }
    if (role_ == Role::Quit) {
        Quit();
        return true;
    }
    return StandardEditCommand(name_);
}

MenuBar::~MenuBar() = default;

MenuItem& MenuBar::Append(std::unique_ptr<MenuItem> title) {
    QMenu* menu = title->EnsureMenu();
    for (const auto& bar : bars_)
        if (bar)
            bar->addMenu(menu);
    menus_.push_back(std::move(title));
    return *menus_.back();
}

MenuItem* MenuBar::Child(const QString& name) const {
    for (const auto& m : menus_)
        if (m->Name() == name)
            return m.get();
    return nullptr;
}

MenuItem* MenuBar::FindItem(const QString& name) const {
    for (const auto& m : menus_)
        if (MenuItem* found = m->FindItem(name))
            return found;
    return nullptr;
}

void MenuBar::AddTo(QMenuBar* bar) {
    std::erase_if(bars_, [](const QPointer<QMenuBar>& b) { return b.isNull(); });
    bars_.emplace_back(bar);
    for (const auto& m : menus_)
        bar->addMenu(m->EnsureMenu());
}

namespace detail {
MenuBar* FindSharedMenuBar(std::type_index t) {
    auto it = gSharedBars.find(t);
    return it == gSharedBars.end() ? nullptr : it->second.get();
}

void KeepSharedMenuBar(std::type_index t, std::unique_ptr<MenuBar> bar) {
    // The menus are widgets: they must go while the application object still exists.
    static const bool cleanupAdded = [] {
        qAddPostRoutine([] { gSharedBars.clear(); });
        return true;
    }();
    (void)cleanupAdded;
    gSharedBars[t] = std::move(bar);
}
} // namespace detail

void AddAppMenuHandler(const QString& itemName, std::function<bool()> handler) {
    gAppHandlers[itemName] = std::move(handler);
}

void RemoveAppMenuHandlers() {
    gAppHandlers.clear();
}

void ResetMenus() {
    RemoveAppMenuHandlers();
    // A window still open that shows a shared bar loses it, rather than keep a pointer to it.
    for (int i = 0; i < WindowCount(); ++i)
        for (const auto& [type, bar] : gSharedBars)
            if (WindowAt(i)->GetMenuBar() == bar.get())
                WindowAt(i)->SetMenuBar(nullptr);
    gSharedBars.clear();
}

} // namespace platform
