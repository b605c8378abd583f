// A variant cell: empty, or a String, Double, Int32 or Color, read through the framework's conversions.
#pragma once

#include "platform/Color.h"
#include <QString>
#include <cstdint>
#include <variant>

namespace platform {

class Variant {
public:
    Variant() = default;
    Variant(const QString& s) : v_(s) {}
    Variant(const char* s) : v_(QString::fromUtf8(s)) {}
    Variant(double d) : v_(d) {}
    Variant(std::int32_t i) : v_(i) {}
    Variant(Color c) : v_(c) {}
    Variant(bool) = delete; // Booleans are stored as text or numbers explicitly

    bool IsNull() const { return v_.index() == 0; }
    bool IsString() const { return v_.index() == 1; }
    bool IsDouble() const { return v_.index() == 2; }
    bool IsInt32() const { return v_.index() == 3; }
    bool IsColor() const { return v_.index() == 4; }

    // Empty reads as "" or 0; text reads through Val; a number as text through Str.
    QString StringValue() const;
    double DoubleValue() const;
    std::int32_t Int32Value() const; // through Int of the Double value
    Color ColorValue() const;

    bool operator==(const Variant&) const = default;

private:
    std::variant<std::monostate, QString, double, std::int32_t, Color> v_;
};

} // namespace platform
