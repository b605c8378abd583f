#include "platform/Variant.h"
#include "platform/Numbers.h"

namespace platform {

namespace {
template <class... F> struct Visitor : F... { using F::operator()...; };
// Clang 14 does not deduce the aggregate's lambdas without the guide (GCC does).
template <class... F> Visitor(F...) -> Visitor<F...>;
} // namespace

QString Variant::StringValue() const {
    return std::visit(
        Visitor{[](std::monostate) { return QString(); }, [](const QString& s) { return s; },
                [](double d) { return Str(d); }, [](std::int32_t i) { return Str(i); },
                [](Color c) { return "&h" + QString("%1").arg(c.Value(), 8, 16, QChar('0')).toUpper(); }},
        v_);
}

double Variant::DoubleValue() const {
    return std::visit(Visitor{[](std::monostate) { return 0.0; }, [](const QString& s) { return Val(s); },
                              [](double d) { return d; }, [](std::int32_t i) { return double(i); },
                              [](Color c) { return double(c.Value()); }},
                      v_);
}

std::int32_t Variant::Int32Value() const {
    return Int(DoubleValue());
}

Color Variant::ColorValue() const {
    if (IsColor())
        return std::get<Color>(v_);
    if (IsString()) {
        const QString s = std::get<QString>(v_).trimmed();
        if (s.startsWith("&h", Qt::CaseInsensitive))
            return Color::FromValue(s.mid(2).toLongLong(nullptr, 16));
    }
    return Color::FromValue(Int(DoubleValue()));
}

} // namespace platform
