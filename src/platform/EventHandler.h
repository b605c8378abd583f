// The program's event handlers as the layer runs them: an exception that escapes a handler is shown
// to the user in a message box and the program goes on, instead of unwinding through Qt and ending
// the program with the document's unsaved work.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

namespace platform {

// When the message about an escaped exception appears: at once, or once the event loop is free again
// (for handlers that run while Qt paints, where no window may open).
enum class ShowEscaped { Now, Later };

// Shows the exception being handled; only inside a catch block. Messages that arise while one is
// showing or waiting are dropped: one error often brings others (every repaint, say).
void ShowEscapedException(ShowEscaped when = ShowEscaped::Now) noexcept;

// Runs a handler for the layer. When an exception escapes it, the layer goes on as if the handler had
// returned fallback.
template <class R, class F> R RunHandler(R fallback, F&& handler, ShowEscaped when = ShowEscaped::Now) {
    try {
        return std::forward<F>(handler)();
    } catch (...) {
        ShowEscapedException(when);
        return fallback;
    }
}

template <class F> void RunHandler(F&& handler, ShowEscaped when = ShowEscaped::Now) {
    try {
        std::forward<F>(handler)();
    } catch (...) {
        ShowEscapedException(when);
    }
}

// A control's event: set to any callable (or nullptr), tested for being set, called by the layer
// through RunHandler. A handler that escapes with an exception answers R() (false: nothing handled,
// the control does what it does by itself).
template <class Signature, ShowEscaped When = ShowEscaped::Now> class EventHandler;

template <class R, class... Args, ShowEscaped When> class EventHandler<R(Args...), When> {
public:
    EventHandler() = default;
    EventHandler(std::nullptr_t) {}
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, EventHandler> && std::is_invocable_r_v<R, F&, Args...>)
        EventHandler(F handler)
        : handler_(std::move(handler)) {}

    explicit operator bool() const { return bool(handler_); }

    R operator()(Args... args) const {
        if constexpr (std::is_void_v<R>)
            RunHandler([&] { handler_(std::forward<Args>(args)...); }, When);
        else
            return RunHandler(
                R(), [&] { return handler_(std::forward<Args>(args)...); }, When);
    }

private:
    std::function<R(Args...)> handler_;
};

} // namespace platform
