#include "platform/EventHandler.h"

#include "platform/Exceptions.h"
#include "platform/ProcessState.h"
#include "platform/UserQuestions.h"

#include <QCoreApplication>
#include <QString>
#include <exception>
#include <new>

namespace platform {

namespace {
bool gShowing = false; // a message is on screen or waiting for the event loop
int gResets = 0;       // a message still waiting from before a reset is not shown

QString Describe(std::exception_ptr escaped) {
    try {
        std::rethrow_exception(escaped);
    } catch (const RuntimeException& e) {
        return e.Message.isEmpty() ? QStringLiteral("an internal error") : e.Message;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("not enough memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("an unknown error");
    }
}

void Show(const QString& what) {
    MsgBox("Sorry - an unexpected error stopped the last action: " + what +
           ".\nThe program goes on and your document is still open; save it to keep your work.");
}
} // namespace

void ShowEscapedException(ShowEscaped when) noexcept {
    if (gShowing)
        return;
    try {
        const QString what = Describe(std::current_exception());
        gShowing = true;
        if (when == ShowEscaped::Later && QCoreApplication::instance()) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [what, resets = gResets] {
                    if (resets != gResets)
                        return;
                    try {
                        Show(what);
                    } catch (...) {
                    }
                    gShowing = false;
                },
                Qt::QueuedConnection);
            return;
        }
        Show(what);
    } catch (...) {
        // Nothing more can be told when telling fails (no memory for the message, say).
    }
    gShowing = false;
}

void ResetEscapedMessages() {
    gShowing = false;
    ++gResets;
}

} // namespace platform
