// The framework's colour value and its RGB and CMY constructors.
#pragma once

#include <QColor>
#include <cstdint>

namespace platform {

struct Color {
    std::uint8_t Red = 0, Green = 0, Blue = 0;

    // The colour as the framework's integer &h00RRGGBB.
    std::int32_t Value() const { return (std::int32_t(Red) << 16) | (std::int32_t(Green) << 8) | Blue; }
    static Color FromValue(std::int64_t v);
    QColor toQColor() const { return QColor(Red, Green, Blue); }
    bool operator==(const Color&) const = default;
};

// Parts 0 to 255; values outside are clamped.
Color RGB(int r, int g, int b);
// Parts 0.0 to 1.0 of cyan, magenta and yellow; each part is clamped to 0..1, then 255 x (1 - part).
Color CMY(double c, double m, double y);

} // namespace platform
