// What a number given for a document value may be (the range the program can draw and print with it),
// the largest sheet, and the one message that refuses anything else, naming the value.
#pragma once

#include <QString>
#include <functional>
#include <limits>

namespace platform {
class EditField;
}

namespace Module1 {

// The largest page or sheet side, in millimetres: no printer takes a longer sheet, and the page view
// and the backdrop still have pictures of a usable size for it.
inline constexpr double LargestSheet = 5000;

struct NumberRule {
    QString name; // as the user sees the value named: "Document Width"
    QString unit; // "millimetres", "points", "degrees" or none
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    bool aboveLow = false; // low itself is refused
    bool whole = false;

    bool Allows(double v) const;
    // "\"Document Width\" must be a number of millimetres above 0 and at most 5000."
    QString Refusal() const;
};

// A number typed into a field or list cell on its way into the document: the text typed and the text
// that shows the value in use, the rule it must meet and a further check ("" when it passes), how it is
// stored (giving back the value now in use) and how the value in use is shown again after a refusal.
struct TypedValue {
    QString text;
    QString shown;
    double inUse = 0;
    NumberRule rule;
    std::function<QString(double)> check;
    std::function<double(double)> store;
    std::function<void()> restore;
    bool documentValue = true; // a change of it marks the document modified
};

// The one path of a typed number into the document. Text that still shows the value in use changes
// nothing. Text that is wholly a number the rule (and check) allows is stored, and DirtyFlag is set when
// the value in use changes. Anything else is refused: the value in use is shown again, then one message
// names the value. False when refused.
bool CommitTypedValue(const TypedValue& value);

// CommitTypedValue for an edit field that shows its number as Str: only what the user changed is
// committed; the accepted number goes into value, and a refused one shows value again as Str.
bool CommitNumberField(platform::EditField& field, double& value, const NumberRule& rule,
                       bool documentValue = true);

// Why the value name, typed as typed, would make the signature of a page of width x height mm stepped
// across by down times longer than the largest sheet either way; "" when it fits. Counts below 2 make
// one page.
QString SignatureRefusal(const QString& name, double typed, double width, double height, double across,
                         double down);

// A place or distance on the page in millimetres, either way, within the largest sheet; and a size in
// millimetres, above 0 and at most the largest sheet.
NumberRule PlaceRule(const QString& name);
NumberRule SizeRule(const QString& name);

// The numbers of the header that the user types: page width and height (rows 1 and 2 of the parameter
// list), step counts (rows 5 and 7), the start number and the quantity.
NumberRule PageSizeRule(bool width);
NumberRule StepCountRule(bool across);
NumberRule StartNumberRule();
NumberRule QuantityRule();
// The number a row of the object list takes (Xlocation, Ylocation, Page Increment, Size, Angle).
NumberRule ObjectFieldRule(int field);

} // namespace Module1
