// The window base over a top-level QWidget: frame layout (menu bar above the content), size limits,
// locks, the open/close life cycle, modal showing with its test hooks, and the list of open windows.
#include "platform/Window.h"

#include "platform/Menu.h"
#include "platform/ProcessState.h"
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>
#include <deque>

namespace platform {

namespace {
std::vector<Window*> gWindows; // open windows, front first
std::map<std::type_index, Window*> gShared;
std::deque<std::function<void(Window&)>> gModalActions;
void ExitEventLoop() {
    QCoreApplication::exit(0);
}
std::function<void()> gQuitAction = ExitEventLoop;
bool gUnattended = false;
int gUnattendedCloses = 0;

void MoveToFront(Window* w) {
    auto it = std::find(gWindows.begin(), gWindows.end(), w);
    if (it != gWindows.end())
        gWindows.erase(it);
    gWindows.insert(gWindows.begin(), w);
}

void Forget(Window* w) {
    std::erase(gWindows, w);
    std::erase_if(gShared, [w](const auto& entry) { return entry.second == w; });
}
} // namespace

// The top-level widget: passes resizing, closing and activation on to its Window.
class WindowFrameWidget : public QWidget {
public:
    explicit WindowFrameWidget(Window* w) : window_(w) {}

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (!window_->destroying_)
            window_->LayoutFrame();
    }
    void closeEvent(QCloseEvent* e) override {
        e->setAccepted(window_->destroying_ || window_->CloseRequested(false));
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (e->type() != QEvent::ActivationChange || window_->destroying_ || window_->closed_)
            return;
        if (isActiveWindow())
            window_->Activated();
        else
            window_->active_ = false;
    }

private:
    Window* window_;
};

Window::Window() {
    frame_ = new WindowFrameWidget(this);
    frame_->setAttribute(Qt::WA_QuitOnClose, false); // quitting is the program's own decision
    contentWidget_ = new QWidget(frame_);
    frame_->resize(content_);
    LayoutFrame();
    ApplySizeLimits();
    gWindows.push_back(this);
}

Window::~Window() {
    *alive_ = false;
    destroying_ = true;
    Forget(this);
    if (modalLoop_)
        modalLoop_->exit();
    delete frame_; // the control widgets go with it; their wrappers fire nothing from here on
    controls_.clear();
}

void Window::ApplyDesc(const WindowDesc& d) {
    SetTitle(d.title);
    Qt::WindowFlags flags = d.frame == WindowFrame::Document ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (d.closeButton)
        flags |= Qt::WindowCloseButtonHint;
    if (d.minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (d.maximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    frame_->setWindowFlags(flags);
    min_ = {d.minWidth, d.minHeight};
    max_ = {d.maxWidth, d.maxHeight};
    resizeable_ = d.resizeable;
    SetBackColor(d.backColor);
    ApplySizeLimits();
    SetSize(d.width, d.height);
}

Control* Window::FindControl(const QString& name) const {
    for (const auto& c : controls_)
        if (c->Name() == name)
            return c.get();
    return nullptr;
}

void Window::RemoveControl(Control* control) {
    std::vector<Control*> gone; // the control and every control inside it
    for (const auto& c : controls_)
        for (const Control* p = c.get(); p; p = p->Parent())
            if (p == control) {
                gone.push_back(c.get());
                c->closed_ = true; // fires nothing while its widget goes
                break;
            }
    delete control->Widget(); // the widgets of the controls inside it go with it
    std::erase_if(controls_, [&](const auto& c) { return std::ranges::find(gone, c.get()) != gone.end(); });
}

void Window::CreateControls(std::span<const ControlDesc> table) {
    for (const ControlDesc& d : table)
        CreateControl(d);
}

void Window::SetTitle(const QString& t) {
    frame_->setWindowTitle(t);
}
void Window::SetSize(int width, int height) {
    width = std::clamp(width, min_.width(), std::max(min_.width(), max_.width()));
    height = std::clamp(height, min_.height(), std::max(min_.height(), max_.height()));
    const QSize frameSize(width, height + MenuBarHeight());
    if (!resizeable_)
        frame_->setFixedSize(frameSize);
    frame_->resize(frameSize);
    LayoutFrame(); // a hidden frame gets its resize event only when shown
}

void Window::ApplySizeLimits() {
    const int mb = MenuBarHeight();
    if (resizeable_) {
        frame_->setMinimumSize(min_.width(), min_.height() + mb);
        frame_->setMaximumSize(max_.width(), max_.height() + mb);
    } else {
        frame_->setFixedSize(content_.width(), content_.height() + mb);
    }
    SetSize(content_.width(), content_.height());
}

void Window::SetBackColor(std::optional<Color> c) {
    contentWidget_->setAutoFillBackground(c.has_value());
    QPalette p = QApplication::palette(contentWidget_);
    if (c)
        p.setColor(QPalette::Window, c->toQColor());
    contentWidget_->setPalette(p);
}

void Window::SetMouseCursor(const QCursor& cursor) {
    contentWidget_->setCursor(cursor);
}

int Window::MenuBarHeight() const {
    if (!qMenuBar_ || qMenuBar_->isNativeMenuBar())
        return 0;
    return qMenuBar_->sizeHint().height();
}

void Window::LayoutFrame() {
    const int mb = MenuBarHeight();
    if (qMenuBar_)
        qMenuBar_->setGeometry(0, 0, frame_->width(), mb);
    contentWidget_->setGeometry(0, mb, frame_->width(), frame_->height() - mb);
    ContentResized(frame_->width(), frame_->height() - mb);
}

void Window::ContentResized(int width, int height) {
    if (QSize(width, height) == content_)
        return;
    content_ = {width, height};
    for (const auto& c : controls_)
        c->WindowResized(width, height);
    if (opened_ && !closed_)
        RunHandler([this] { Event_Resized(); });
}

bool Window::Visible() const {
    return frame_->isVisible();
}

void Window::Show() {
    if (closed_)
        return;
    auto alive = alive_;
    if (!opened_) {
        opened_ = true;
        for (size_t i = 0; i < controls_.size(); ++i) {
            if (controls_[i]->Open)
                controls_[i]->Open();
            if (!*alive || closed_)
                return;
        }
        RunHandler([this] { Event_Open(); });
        if (!*alive || closed_)
            return;
    }
    const bool wasVisible = frame_->isVisible();
    frame_->show();
    if (wasVisible)
        frame_->raise(); // a window shown anew comes to the front by itself
    frame_->activateWindow();
    MoveToFront(this);
    Activated(); // at once, not when the platform gets round to it
}

void Window::Activated() {
    MoveToFront(this);
    if (active_)
        return;
    active_ = true;
    RunHandler([this] { Event_Activate(); });
}

void Window::ShowModal() {
    if (closed_)
        return;
    auto alive = alive_;
    if (frame_->isVisible())
        frame_->hide(); // modality can only change while hidden
    frame_->setWindowModality(Qt::ApplicationModal);
    Show();
    if (!*alive || closed_)
        return;

    std::function<void(Window&)> action;
    if (!gModalActions.empty()) {
        action = std::move(gModalActions.front());
        gModalActions.pop_front();
    }
    if (action || gUnattended) {
        QMetaObject::invokeMethod(
            frame_,
            [this, alive, action] {
                if (!*alive)
                    return;
                if (action && !closed_)
                    action(*this);
                if (*alive && !closed_ && gUnattended) {
                    ++gUnattendedCloses;
                    if (CloseRequested(true))
                        frame_->hide();
                }
            },
            Qt::QueuedConnection);
    }
    QEventLoop loop;
    modalLoop_ = &loop;
    if (!closed_)
        loop.exec(QEventLoop::DialogExec);
    if (!*alive)
        return;
    modalLoop_ = nullptr;
    frame_->setWindowModality(Qt::NonModal);
    if (closed_ && ownedByLayer_)
        QMetaObject::invokeMethod(
            qApp, [this] { delete this; }, Qt::QueuedConnection);
}

void Window::Close() {
    if (!closed_ && !closing_)
        frame_->close();
}

bool Window::CloseRequested(bool force) {
    if (closed_ || closing_)
        return true; // closing already: the window's own Close event asked again (as Quit does)
    auto alive = alive_;
    // A window whose CancelClose fails stays open: closing it might lose work that was to be saved.
    if (!force && RunHandler(true, [this] { return Event_CancelClose(); }))
        return false;
    if (!*alive)
        return true;
    closing_ = true;
    RunHandler([this] { Event_Close(); });
    if (!*alive)
        return true;
    closing_ = false;
    closed_ = true;
    active_ = false;
    Forget(this);
    if (modalLoop_)
        modalLoop_->exit(); // ShowModal deletes a shared window once its loop has ended
    else if (ownedByLayer_)
        QMetaObject::invokeMethod(
            qApp, [this] { delete this; }, Qt::QueuedConnection);
    return true;
}

void Window::Refresh(bool eraseBackground) {
    for (const auto& c : controls_)
        c->Refresh(eraseBackground);
    frame_->update();
}

void Window::SetMenuBar(MenuBar* bar) {
    delete qMenuBar_;
    qMenuBar_ = nullptr;
    menuBar_ = bar;
    if (bar) {
        qMenuBar_ = new QMenuBar(frame_);
        bar->AddTo(qMenuBar_);
        qMenuBar_->show();
    }
    ApplySizeLimits();
    LayoutFrame();
}

MenuItem& Window::MenuItemNamed(const QString& name) const {
    if (MenuItem* item = menuBar_ ? menuBar_->FindItem(name) : nullptr)
        return *item;
    throw NilObjectException("No menu item " + name);
}

void Window::AddMenuHandler(const QString& itemName, std::function<bool()> handler) {
    menuHandlers_[itemName] = std::move(handler);
}

bool Window::HandleMenuCommand(const QString& itemName) {
    auto it = menuHandlers_.find(itemName);
    if (it == menuHandlers_.end() || !it->second)
        return false;
    auto handler = it->second; // the handler may close (and so delete) the window
    return RunHandler(true, handler);
}

QWidget* Window::Widget() const {
    return frame_;
}

Window* Window::FindShared(std::type_index t) {
    auto it = gShared.find(t);
    return it == gShared.end() ? nullptr : it->second;
}

void Window::MakeShared(std::type_index t) {
    ownedByLayer_ = true;
    gShared.insert_or_assign(t, this);
}

int WindowCount() {
    return int(gWindows.size());
}
Window* WindowAt(int i) {
    return i >= 0 && i < WindowCount() ? gWindows[size_t(i)] : nullptr;
}

Window* FrontWindow() {
    // The list follows showing and activation. A modal window comes first even when the platform
    // reports a late activation of a window behind it.
    for (Window* w : gWindows)
        if (w->modalLoop_ && w->Visible())
            return w;
    for (Window* w : gWindows)
        if (w->Visible())
            return w;
    return nullptr;
}

void Quit() {
    std::vector<std::pair<Window*, std::shared_ptr<bool>>> windows;
    for (Window* w : gWindows)
        windows.emplace_back(w, w->alive_);
    for (auto& [w, alive] : windows) {
        if (!*alive || w->closed_ || w->closing_)
            continue;
        w->Close();
        if (*alive && !w->closed_ && !w->closing_)
            return; // the window refused to close
    }
    if (gQuitAction)
        gQuitAction();
}

void SetQuitAction(std::function<void()> action) {
    gQuitAction = std::move(action);
}

void OnNextModal(std::function<void(Window&)> action) {
    gModalActions.push_back(std::move(action));
}

void SetUnattended(bool unattended) {
    gUnattended = unattended;
    if (!unattended)
        gModalActions.clear();
}

int TakeUnattendedCloses() {
    return std::exchange(gUnattendedCloses, 0);
}

void ResetWindowHooks() {
    gModalActions.clear();
    gUnattended = false;
    gUnattendedCloses = 0;
    gQuitAction = ExitEventLoop;
}

} // namespace platform
