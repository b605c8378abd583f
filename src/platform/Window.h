// The window base: a top-level window built from a table of controls, with the framework's window
// events, modal showing, a menu bar and menu handlers bound by item name; the shared instance of
// each window class; the hooks that let tests act inside a modal window.
#pragma once

#include "platform/Control.h"
#include "platform/Exceptions.h"
#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <typeindex>
#include <vector>

class QCursor;
class QEventLoop;
class QMenuBar;
class QWidget;

namespace platform {

class MenuBar;
class MenuItem;

enum class WindowFrame { Document, MovableModal, Modal };

// The stored properties of a window, applied by Window::ApplyDesc.
struct WindowDesc {
    QString title;
    int width = 300, height = 300;
    int minWidth = 64, minHeight = 64, maxWidth = 32000, maxHeight = 32000;
    bool resizeable = true;
    WindowFrame frame = WindowFrame::Document;
    std::optional<Color> backColor;
    bool closeButton = true, minimizeButton = true, maximizeButton = true;
};

// A window's size is its content area (below its menu bar) in pixels. Windows are built by their
// subclass's constructor (ApplyDesc, CreateControls, AddMenuHandler) and open when first shown: the
// controls' Open events run in table order, then Event_Open, then the window appears.
//
// Shared instance: the framework's accessor `W()` of a window class W is spelled
// `platform::SharedInstance<W>()` everywhere. It returns the open instance or creates one (without
// showing it); a window made by SharedInstance is deleted after it closes and forgotten, so the
// next call creates it anew. A window made otherwise belongs to its creator.
class Window {
public:
    Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    void ApplyDesc(const WindowDesc& d);
    // Creates the controls in order; a later control lies above an earlier one.
    void CreateControls(std::span<const ControlDesc> table);
    void CreateControls(std::initializer_list<ControlDesc> table) {
        CreateControls(std::span<const ControlDesc>(table.begin(), table.size()));
    }
    Control& CreateControl(const ControlDesc& d);

    // The control of that name; nullptr when there is none.
    Control* FindControl(const QString& name) const;
    // The control of that name and class; NilObjectException when there is no such control.
    template <class C> C* ControlNamed(const QString& name) const {
        if (auto* c = dynamic_cast<C*>(FindControl(name)))
            return c;
        throw NilObjectException("No control " + name);
    }
    int ControlCount() const { return int(controls_.size()); }
    Control* ControlAt(int i) const { return controls_.at(size_t(i)).get(); }

    void SetTitle(const QString& t);
    int Width() const { return content_.width(); }
    int Height() const { return content_.height(); }
    // Kept within the minimum and maximum size.
    void SetWidth(int v) { SetSize(v, Height()); }
    void SetHeight(int v) { SetSize(Width(), v); }
    void SetSize(int width, int height);
    void SetBackColor(std::optional<Color> c);
    void SetMouseCursor(const QCursor& cursor);

    bool Visible() const;
    bool IsOpen() const { return !closed_; }
    void Show();
    // Shows the window modally and returns when it has closed.
    void ShowModal();
    // As the close box: Event_CancelClose may refuse, then Event_Close runs and the window goes.
    void Close();
    void Refresh(bool eraseBackground = true);

    // The window shows this bar (not owned; a bar may serve several windows).
    void SetMenuBar(MenuBar* bar);
    MenuBar* GetMenuBar() const { return menuBar_; }
    // The item of that name anywhere in the window's menu bar; NilObjectException when absent.
    MenuItem& MenuItemNamed(const QString& name) const;
    // Binds a handler to a menu item name; it returns whether it handled the command.
    void AddMenuHandler(const QString& itemName, std::function<bool()> handler);
    // Runs the handler bound to the name; false when there is none or it did not handle it.
    bool HandleMenuCommand(const QString& itemName);

    // The top-level widget, for tests and for parenting the platform's own dialogs.
    QWidget* Widget() const;
    // The widget controls are placed in.
    QWidget* ContentWidget() const { return contentWidget_; }

protected:
    virtual void Event_Open() {}
    // True keeps the window open.
    virtual bool Event_CancelClose() { return false; }
    virtual void Event_Close() {}
    virtual void Event_Activate() {}
    virtual void Event_Resized() {}
    // Before a menu of the window's bar opens.
    virtual void Event_EnableMenuItems() {}

private:
    friend class Control;
    friend class WindowFrameWidget;
    friend class MenuItem;
    template <class W> friend W& SharedInstance();
    friend void Quit();
    friend Window* FrontWindow();

    void ContentResized(int width, int height);
    void RemoveControl(Control* control);
    bool CloseRequested(bool force);
    void Activated();
    void ApplySizeLimits();
    int MenuBarHeight() const;
    void LayoutFrame();
    static Window* FindShared(std::type_index t);
    void MakeShared(std::type_index t);

    QWidget* frame_ = nullptr;
    QWidget* contentWidget_ = nullptr;
    QMenuBar* qMenuBar_ = nullptr;
    MenuBar* menuBar_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<QString, std::function<bool()>> menuHandlers_;
    QSize content_{300, 300};
    QSize min_{64, 64}, max_{32000, 32000};
    bool resizeable_ = true;
    bool opened_ = false, closed_ = false, closing_ = false, active_ = false;
    bool destroying_ = false, ownedByLayer_ = false;
    QEventLoop* modalLoop_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::optional<std::type_index> sharedType_;
};

// One control of a window, reached through a member of the window's class: `Canvas1()` instead of a
// lookup by a name string, so a wrong name fails to compile. It is looked up at every use (a control
// can be closed while its window stays), raising NilObjectException when it is gone.
template <class C> class ControlRef {
public:
    ControlRef(const Window& window, const char* name) : window_(window), name_(QString::fromLatin1(name)) {}
    ControlRef(const ControlRef&) = delete;
    ControlRef& operator=(const ControlRef&) = delete;
    C& operator()() const { return *window_.ControlNamed<C>(name_); }
    // The control, or nullptr when it is gone.
    C* IfPresent() const { return dynamic_cast<C*>(window_.FindControl(name_)); }

private:
    const Window& window_;
    const QString name_;
};

template <class W> W& SharedInstance() {
    if (auto* w = dynamic_cast<W*>(Window::FindShared(typeid(W))))
        return *w;
    auto* w = new W();
    w->MakeShared(typeid(W));
    return *w;
}

// Open windows, the front one first.
int WindowCount();
Window* WindowAt(int i);
// The window that menu commands go to: the innermost modal window, else the one shown or activated
// last.
Window* FrontWindow();
// Closes every window, front first (stopping if one refuses), then ends the application through the
// quit action (by default leaving the main event loop).
void Quit();
// Tests replace the quit action, since leaving an event loop that is not running yet would stop every
// later one at once.
void SetQuitAction(std::function<void()> action);

// Test hooks. The action runs inside the next window shown modally, once its event loop runs; actions
// queue up, one per modal window, in order.
void OnNextModal(std::function<void(Window&)> action);
// With unattended set, a modal window still open after its action, or shown with no action queued,
// is closed as by its close box instead of waiting for a user.
void SetUnattended(bool unattended);
// Modal windows that the unattended mode had to close since the last call (then reset to 0).
int TakeUnattendedCloses();

} // namespace platform
