#include "core/ValueRules.h"

#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "platform/Numbers.h"
#include "platform/TextControls.h"
#include "platform/UserQuestions.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace platform;

namespace Module1 {

namespace {

// The quantity and page increments are used as 32-bit whole numbers.
constexpr double LargestWhole = std::numeric_limits<std::int32_t>::max();

// A value's name as messages quote it.
QString Quoted(const QString& name) {
    return QString::fromUtf8("\u201c") + name + QString::fromUtf8("\u201d");
}

} // namespace

bool NumberRule::Allows(double v) const {
    if (!std::isfinite(v) || (whole && v != std::floor(v)))
        return false;
    return (aboveLow ? v > low : v >= low) && v <= high;
}

QString NumberRule::Refusal() const {
    QString range;
    const bool hasLow = std::isfinite(low), hasHigh = std::isfinite(high);
    if (hasLow && hasHigh)
        range = aboveLow ? "above " + Str(low) + " and at most " + Str(high)
                         : "from " + Str(low) + " to " + Str(high);
    else if (hasLow)
        range = (aboveLow ? "above " : "of at least ") + Str(low);
    else if (hasHigh)
        range = "of at most " + Str(high);
    QString text = Quoted(name) + " must be a ";
    text += whole ? "whole number" : "number";
    if (!unit.isEmpty())
        text += " of " + unit;
    if (!range.isEmpty())
        text += " " + range;
    return text + ".";
}

bool CommitTypedValue(const TypedValue& e) {
    if (e.text == e.shown)
        return true;
    const std::optional<double> v = TypedNumber(e.text);
    QString refusal = v && e.rule.Allows(*v) ? QString() : e.rule.Refusal();
    if (refusal.isEmpty() && e.check)
        refusal = e.check(*v);
    if (!refusal.isEmpty()) {
        // The value in use is back on screen before the message, so that a commit the message itself
        // causes (the field losing the focus to it) finds nothing to refuse again.
        e.restore();
        MsgBox(refusal);
        return false;
    }
    if (e.store(*v) != e.inUse && e.documentValue)
        DirtyFlag = true;
    return true;
}

bool CommitNumberField(EditField& field, double& value, const NumberRule& rule, bool documentValue) {
    if (!field.Modified())
        return true;
    return CommitTypedValue({.text = field.Text(),
                             .shown = Str(value),
                             .inUse = value,
                             .rule = rule,
                             // The text typed reads as exactly the value now in use, so it stays.
                             .store =
                                 [&value](double v) {
                                     value = v;
                                     return v;
                                 },
                             .restore = [&field, &value] { field.SetText(Str(value)); },
                             .documentValue = documentValue});
}

QString SignatureRefusal(const QString& name, double typed, double width, double height, double across,
                         double down) {
    const double sheetWidth = across > 1 ? width * across : width;
    const double sheetHeight = down > 1 ? height * down : height;
    const bool wide = sheetWidth > LargestSheet;
    if (!wide && !(sheetHeight > LargestSheet))
        return {};
    return Quoted(name) + " " + Str(typed) + " would make the signature " +
           Str(wide ? sheetWidth : sheetHeight) + " mm " + (wide ? "wide" : "high") +
           ", over the largest sheet of " + Str(LargestSheet) + " mm.";
}

// Further off than the largest sheet is on no sheet.
NumberRule PlaceRule(const QString& name) {
    return {name, "millimetres", -LargestSheet, LargestSheet};
}

NumberRule SizeRule(const QString& name) {
    return {name, "millimetres", 0, LargestSheet, true};
}

NumberRule PageSizeRule(bool width) {
    return SizeRule(width ? "Document Width" : "Document Height");
}

// Counts below 1 are taken as 1; the signature they make is checked against the largest sheet.
NumberRule StepCountRule(bool across) {
    NumberRule rule{across ? "Step Across" : "Step Down"};
    rule.whole = true;
    return rule;
}

NumberRule StartNumberRule() {
    return {"Start Number", {}, 0, LargestNumber, false, true};
}

NumberRule QuantityRule() {
    return {"Quantity", {}, 0, LargestWhole, false, true};
}

NumberRule ObjectFieldRule(int field) {
    const QString name = ObjectFields().at(size_t(field)).label;
    switch (field) {
    case 1:
    case 2:
        return PlaceRule(name);
    case 4:
        return {name, {}, -LargestWhole, LargestWhole, false, true};
    case 8:
        // A number of no size cannot be seen; one taller than the largest sheet cannot be printed.
        return {name, "points", 0, std::floor(LargestSheet / 25.4 * 72), true};
    case 10:
        return {name, "degrees"};
    default:
        return {name};
    }
}

} // namespace Module1
