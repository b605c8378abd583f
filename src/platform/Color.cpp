#include "platform/Color.h"

#include <algorithm>
#include <cmath>

namespace platform {

Color Color::FromValue(std::int64_t v) {
    return Color{std::uint8_t((v >> 16) & 0xFF), std::uint8_t((v >> 8) & 0xFF), std::uint8_t(v & 0xFF)};
}

Color RGB(int r, int g, int b) {
    auto part = [](int v) { return std::uint8_t(std::clamp(v, 0, 255)); };
    return Color{part(r), part(g), part(b)};
}

Color CMY(double c, double m, double y) {
    auto part = [](double v) {
        if (std::isnan(v))
            v = 0;
        return std::uint8_t(std::lround(255.0 * (1.0 - std::clamp(v, 0.0, 1.0))));
    };
    return Color{part(c), part(m), part(y)};
}

} // namespace platform
