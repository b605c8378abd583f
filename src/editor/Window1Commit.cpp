// The main window's values typed into a field or list cell go into the document here: Return, leaving
// the field or cell, a press on the page, a menu command and closing the window all commit through
// CommitTypedValue, which refuses what is not wholly a number the value allows and marks the document
// modified when the value in use changes.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "core/ValueRules.h"
#include "editor/RecordTransfer.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <algorithm>
#include <array>

using namespace platform;
using namespace Module1;

namespace {

constexpr int ValueColumn = 2;

// The header values that the parameter list and the two fields edit, or that follow from them.
std::array<double, 10> HeaderValues() {
    return {AdocWidth, AdocHeight,     AsigWidth, AsigHeight, double(AstepR),
            AstepRV,   double(AstepD), AstepDV,   Astart,     double(Aqty)};
}

} // namespace

bool Window1::CommitTyped(const TypedValue& value) {
    if (CommitTypedValue(value))
        return true;
    ++refusals_;
    return false;
}

bool Window1::CommitEdits() {
    const int refusedBefore = refusals_;
    if (EdStart.IfPresent())
        CommitStart();
    if (EdQty.IfPresent())
        CommitQuantity();
    for (ListBox* list : {ListBox1.IfPresent(), ListBox2.IfPresent()})
        if (list)
            list->CommitEdit();
    return refusals_ == refusedBefore;
}

// A field commits only what the user changed: the program fills it with the value in use, and a field
// not yet filled holds no value of its own. A refused value shows the value in use again.
bool Window1::CommitHeaderField(EditField& field, double inUse, const NumberRule& rule,
                                const std::function<double(double)>& store) {
    if (!field.Modified())
        return true;
    const QString shown = Shown(inUse, NumPic2);
    return CommitTyped({.text = field.Text(),
                        .shown = shown,
                        .inUse = inUse,
                        .rule = rule,
                        .store = store,
                        .restore = [&field, shown] { field.SetText(shown); }});
}

bool Window1::CommitStart() {
    EditField& field = EdStart();
    return CommitHeaderField(field, Astart, StartNumberRule(), [this, &field](double v) {
        Astart = v;
        RecHd(10) = v;
        field.SetText(Shown(v, NumPic2));
        Canvas1().Refresh(false);
        return v;
    });
}

// The quantity becomes a whole number of full sheets. Counted as CheckNup counts (at least one cell each
// way) and saturated at the 32-bit limit, so odd counts neither zero the quantity nor overflow.
bool Window1::CommitQuantity() {
    EditField& field = EdQty();
    return CommitHeaderField(field, Aqty, QuantityRule(), [this, &field](double v) {
        Aqty = Int(v);
        CheckNup();
        const std::int64_t cells = std::int64_t(std::max(AstepR, 1)) * std::max(AstepD, 1);
        Aqty = Int(double(cells) * AnupQTY);
        RecHd(11) = Aqty;
        field.SetText(Str(Aqty));
        return double(Aqty);
    });
}

bool Window1::CommitObjectCell(int row) {
    ListBox& list = ListBox1();
    const std::int32_t i = CurrentObject;
    // With no object selected the list edits nothing, as the record transfer does.
    if (i < 0 || i > RecPos.Ubound(1) || row < 0 || row >= PropertyFields)
        return true;
    const QString text = list.Cell(row, ValueColumn);
    if (ObjectFields()[row].text) {
        if (text != RecPos(i, row).StringValue()) {
            RecPos(i, row) = text;
            MirrorFromRow(i);
            NumColour(i);
            DirtyFlag = true;
        }
        return true;
    }
    const double inUse = RecPos(i, row).DoubleValue();
    const QString shown = Shown(inUse, NumPic);
    return CommitTyped({.text = text,
                        .shown = shown,
                        .inUse = inUse,
                        .rule = ObjectFieldRule(row),
                        .store =
                            [&list, i, row](double v) {
                                RecPos(i, row) = v;
                                MirrorFromRow(i);
                                list.SetCell(row, ValueColumn, Str(v));
                                return v;
                            },
                        .restore = [&list, row, shown] { list.SetCell(row, ValueColumn, shown); }});
}

// A page size or step count goes in with everything that follows from it, as a change of row applies
// it: the signature, the page view for a new page size, the sheet count.
bool Window1::CommitParameterCell(int row) {
    if (!IsEditableParameter(row))
        return true;
    ListBox& list = ListBox2();
    const bool width = row == 1, height = row == 2, across = row == 5;
    const auto valueInUse = [=] {
        return width ? AdocWidth : height ? AdocHeight : across ? AstepR : AstepD;
    };
    // A page size is kept as the list shows it, as a save keeps it.
    const auto asListed = [](double v) { return Val(Shown(v, NumPic)); };
    const double inUse = valueInUse();
    const NumberRule rule = width || height ? PageSizeRule(width) : StepCountRule(across);
    return CommitTyped({.text = list.Cell(row, ValueColumn),
                        .shown = Shown(inUse, NumPic),
                        .inUse = inUse,
                        .rule = rule,
                        .check =
                            [&](double v) {
                                // A page size that shows as 0 has no size.
                                if ((width || height) && !(asListed(v) > 0))
                                    return rule.Refusal();
                                // Counts below 1 make one cell, as the signature takes them.
                                return SignatureRefusal(rule.name, v, width ? v : AdocWidth,
                                                        height ? v : AdocHeight, across ? v : AstepR,
                                                        row == 7 ? v : AstepD);
                            },
                        .store =
                            [&](double v) {
                                const double oldWidth = AdocWidth, oldHeight = AdocHeight;
                                if (width)
                                    AdocWidth = asListed(v);
                                else if (height)
                                    AdocHeight = asListed(v);
                                else if (across)
                                    AstepR = Int(v);
                                else
                                    AstepD = Int(v);
                                ApplyParameters(AdocWidth != oldWidth || AdocHeight != oldHeight);
                                return valueInUse();
                            },
                        .restore = [] { SyncHead(false); }});
}

void Window1::ApplyParameters(bool newPageSize) {
    if (newPageSize)
        DrawPage(Canvas1().Graphics(), AdocWidth, AdocHeight);
    StepSignature();
    SyncHead(false);
    CheckNup();
    Canvas1().Refresh(false);
}

// Leaving a row goes through the header as the list shows it: after the commits above this changes
// nothing, and a change it does make (a value set in the list by the program) marks the document.
void Window1::ListBox2_Change() {
    const auto before = HeaderValues();
    const double width = AdocWidth, height = AdocHeight;
    SyncHead(true);
    const int row = ListBox2().ListIndex();
    ApplyParameters(row == 1 || row == 2 || AdocWidth != width || AdocHeight != height);
    if (HeaderValues() != before)
        DirtyFlag = true;
}
