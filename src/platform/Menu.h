// Menu bars and their items: named items whose text takes "&" mnemonics ("&&" shows one "&"), keyboard
// shortcuts ("Cmd+S"), separators ("-") and the quit item. Choosing an item runs the handler bound to
// its name in the front window, then the application's handler, then the standard edit and quit
// commands.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace platform {

class MenuItem {
public:
    enum class Role { Plain, Quit, About };

    explicit MenuItem(const QString& name = {}, const QString& text = {});
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    virtual ~MenuItem();

    QString Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    QString Text() const { return text_; }
    // "-" makes the item a separator.
    void SetText(const QString& text);
    QString KeyboardShortcut() const { return shortcut_; }
    // "Cmd+W" (the command key; Ctrl on this platform), "Cmd+Shift+S"; "" for none.
    void SetKeyboardShortcut(const QString& shortcut);
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool v) { autoEnable_ = v; }
    bool Enabled() const;
    void SetEnabled(bool v);
    Role ItemRole() const { return role_; }
    bool IsSeparator() const { return text_ == "-"; }

    // Appends a child item; this item becomes a menu.
    MenuItem& Append(std::unique_ptr<MenuItem> item);
    // This item or any item below it with that name; nullptr when there is none.
    MenuItem* FindItem(const QString& name);
    int Count() const { return int(children_.size()); }
    MenuItem* Item(int i) const { return children_.at(size_t(i)).get(); }
    MenuItem* Parent() const { return parent_; }

    // As if the user chose the item; true when a handler handled it. A disabled item does nothing.
    bool Trigger();
    // The Qt action shown in the parent menu (a menu's own action for a menu title).
    QAction* Action() const;

protected:
    MenuItem(const QString& name, const QString& text, Role role);

private:
    friend class MenuBar;
    QMenu* EnsureMenu();
    // Before the menu shows: the standard edit items (Undo, Cut, Copy, Paste, Clear) are enabled only
    // when the field that has the focus gives them something to act on.
    void EnableStandardEditItems();

    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QAction> action_;
    std::vector<std::unique_ptr<MenuItem>> children_;
    MenuItem* parent_ = nullptr;
    QString name_, text_, shortcut_;
    bool autoEnable_ = true;
    Role role_ = Role::Plain;
};

// The framework's quit item: with no handler of the program's own it quits the application.
class QuitMenuItem : public MenuItem {
public:
    explicit QuitMenuItem(const QString& name = {}, const QString& text = {})
        : MenuItem(name, text, Role::Quit) {}
};

// The About item, which a platform with an application menu moves there.
class AppleMenuItem : public MenuItem {
public:
    explicit AppleMenuItem(const QString& name = {}, const QString& text = {})
        : MenuItem(name, text, Role::About) {}
};

// A bar of menus. One bar may serve several windows; each window shows it in its own Qt menu bar.
class MenuBar {
public:
    MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;
    virtual ~MenuBar();

    // Appends a menu title.
    MenuItem& Append(std::unique_ptr<MenuItem> title);
    // The menu of that name.
    MenuItem* Child(const QString& name) const;
    // The item of that name anywhere in the bar.
    MenuItem* FindItem(const QString& name) const;
    int Count() const { return int(menus_.size()); }
    MenuItem* Item(int i) const { return menus_.at(size_t(i)).get(); }

private:
    friend class Window;
    void AddTo(QMenuBar* bar);

    std::vector<std::unique_ptr<MenuItem>> menus_;
    std::vector<QPointer<QMenuBar>> bars_;
};

namespace detail {
MenuBar* FindSharedMenuBar(std::type_index t);
void KeepSharedMenuBar(std::type_index t, std::unique_ptr<MenuBar> bar);
} // namespace detail

// The shared instance of a menu-bar class: created on first use, kept until the application ends (or
// ResetProcessState).
// The framework's accessor `M()` is spelled SharedMenuBar<M>().
template <class M> M& SharedMenuBar() {
    if (auto* m = detail::FindSharedMenuBar(typeid(M)))
        return static_cast<M&>(*m);
    auto bar = std::make_unique<M>();
    M& ref = *bar;
    detail::KeepSharedMenuBar(typeid(M), std::move(bar));
    return ref;
}

// The application's own menu handlers, asked when the front window does not handle an item.
void AddAppMenuHandler(const QString& itemName, std::function<bool()> handler);
void RemoveAppMenuHandlers();

} // namespace platform
