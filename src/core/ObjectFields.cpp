#include "core/ObjectFields.h"

#include "core/Module1.h"

using namespace platform;

namespace Module1 {

const std::array<ObjectField, PropertyFields>& ObjectFields() {
    static const std::array<ObjectField, PropertyFields> fields{{
        {"Name", true, &RName, QString()},
        {"Xlocation", false, &Rxloc, 0.0},
        {"Ylocation", false, &Ryloc, 0.0},
        {"Picture", true, &Rpic, QString()},
        {"Page Increment", false, &Rpinc, std::int32_t(0)},
        {"Mod Type", true, &Rmtype, std::int32_t(0)},
        {"Font Family", true, &Rfontfam, QStringLiteral("Arial")},
        {"Font Style", true, &RfontStyle, QStringLiteral("Normal")},
        {"Size", false, &RFontSize, 14.0},
        {"Colour", true, &Rcolour, QStringLiteral("C000M000Y000K100")},
        {"Angle", false, &Rangle, 0.0},
    }};
    return fields;
}

QString ObjectListRow(int f) {
    const ObjectField& field = ObjectFields().at(size_t(f));
    return QString(field.text ? "A\t" : "N\t") + field.label;
}

void SetMirror(const Mirror& mirror, const Variant& v) {
    std::visit(
        [&v](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, QString>)
                *target = v.StringValue();
            else if constexpr (std::is_same_v<T, double>)
                *target = v.DoubleValue();
            else
                *target = v.Int32Value();
        },
        mirror);
}

Variant MirrorValue(const Mirror& mirror) {
    return std::visit([](auto* source) { return Variant(*source); }, mirror);
}

void MirrorFromRow(std::int32_t i) {
    for (int f = 0; f < PropertyFields; ++f)
        SetMirror(ObjectFields()[f].mirror, RecPos(i, f));
}

void RowFromMirror(std::int32_t i) {
    for (int f = 0; f < PropertyFields; ++f)
        RecPos(i, f) = MirrorValue(ObjectFields()[f].mirror);
}

void MirrorDefaults() {
    for (const ObjectField& field : ObjectFields())
        SetMirror(field.mirror, field.initial);
}

void CopyRow(std::int32_t from, std::int32_t to) {
    for (int f = 0; f <= DisplayColourField; ++f)
        RecPos(to, f) = RecPos(from, f);
}

} // namespace Module1
