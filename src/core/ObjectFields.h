// The sixteen fields of a number object (one row of RecPos), described once: the object list's row
// label, whether the field is text or a number, the current object's typed mirror and the value a new
// object starts with. Record transfer, the document file, new objects and row copies all work from it.
#pragma once

#include "platform/Variant.h"
#include <QString>
#include <array>
#include <cstdint>
#include <variant>

namespace Module1 {

// Fields 0 to 10 are the object's properties: the rows of the object list, in order, and its lines in
// the document file. Field 14 holds the display colour, computed from the colour string.
inline constexpr int PropertyFields = 11;
inline constexpr int ColourField = 9;
inline constexpr int DisplayColourField = 14;

// A typed mirror global of a record's cell, and the copies between the two.
using Mirror = std::variant<QString*, double*, std::int32_t*>;
void SetMirror(const Mirror& mirror, const platform::Variant& v);
platform::Variant MirrorValue(const Mirror& mirror);

struct ObjectField {
    QString label; // the object list's row label
    bool text;     // an "A" row, copied as text; otherwise an "N" row, copied as a number
    Mirror mirror;
    platform::Variant initial; // a new object's value
};

// The property fields 0 to 10, in field order.
const std::array<ObjectField, PropertyFields>& ObjectFields();

// The object list's row for field f: tag, tab, label.
QString ObjectListRow(int f);
// Object row i's properties into the current-object mirror, and back.
void MirrorFromRow(std::int32_t i);
void RowFromMirror(std::int32_t i);
// The current-object mirror to a new object's values.
void MirrorDefaults();
// Everything an object is (fields 0 to 14) from row `from` to row `to`.
void CopyRow(std::int32_t from, std::int32_t to);

} // namespace Module1
