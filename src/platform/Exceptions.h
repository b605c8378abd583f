// The framework's exception classes: a runtime error with a message, and its named kinds.
#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const QString& message = QString())
        : std::runtime_error(message.toStdString()), Message(message) {}
    QString Message;
};

// Access through an object that does not exist.
class NilObjectException : public RuntimeException {
public:
    explicit NilObjectException(const QString& message = "Nil object") : RuntimeException(message) {}
};

// An index outside an array's bounds: thrown instead of touching memory that is not there.
class OutOfBoundsException : public RuntimeException {
public:
    explicit OutOfBoundsException(const QString& message = "Index out of bounds")
        : RuntimeException(message) {}
};

} // namespace platform
