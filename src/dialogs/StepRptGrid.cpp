// The step and repeat grid: the fit test and the copies of the selected object.
#include "dialogs/StepRpt.h"

#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "editor/Window1.h"

#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"
#include <cmath>

using namespace platform;
using namespace Module1;

namespace {

// The selected object's row, or -1 when no object is selected.
std::int32_t SourceRow() {
    const std::int32_t c = CurrentObject;
    return c >= 0 && c < TotalObjects && c <= RecPos.Ubound(1) ? c : -1;
}

} // namespace

bool StepRpt::CheckFit() {
    const std::int32_t c = SourceRow();
    if (c < 0)
        return true;
    const std::int32_t x0 = RecPos(c, 1).Int32Value();
    const std::int32_t y0 = RecPos(c, 2).Int32Value();
    // Only the reference point of the last cell is tested; fractional counts are taken as they are.
    // While a field holds no number there is nothing to test.
    const auto across = FieldValue("EdQAcross"), dx = FieldValue("EdX");
    const auto down = FieldValue("EdQdown"), dy = FieldValue("EdY");
    if (!across || !dx || !down || !dy)
        return true;
    if (AdocWidth < x0 + (*across - 1) * *dx) {
        MsgBox("Error - Can't fit across page");
        return false;
    }
    if (AdocHeight < y0 + (*down - 1) * *dy) {
        MsgBox("Error - Can't fit down page");
        return false;
    }
    return true;
}

bool StepRpt::DoStep() {
    const std::int32_t c = SourceRow();
    // Each direction has the whole part of its count as cells; a count below 1 gives none at all.
    // The values committed by OK (or filled in when the dialog opened).
    const double across = std::floor(FieldValue("EdQAcross").value_or(0));
    const double down = std::floor(FieldValue("EdQdown").value_or(0));
    if (c >= 0 && across >= 1 && down >= 1) {
        const double copies = across * down - 1; // the source's own cell is not copied
        const std::int32_t room = RecPos.Ubound(1) + 1 - TotalObjects;
        if (copies > room) {
            MsgBox("Error - Can't repeat: the document has room for only " + Str(room) + " more objects");
            return false;
        }
        const double dx = FieldValue("EdX").value_or(0);
        const double dy = FieldValue("EdY").value_or(0);
        const double repeat = FieldValue("EdRepeat").value_or(0);
        const bool acrossFirst = RadioButton1().Value();
        const bool numbersAtView = CBatView().Value();
        const std::int32_t cols = std::int32_t(across), rows = std::int32_t(down);
        std::int32_t group = 0, member = 1; // the source cell is the first member of the first group

        auto copyTo = [&](std::int32_t col, std::int32_t row) {
            const std::int32_t t = TotalObjects;
            CopyRow(c, t);
            DirtyFlag = true;
            // Repeat Number cells in a row, counting the source, show the same number.
            if (repeat > member) {
                ++member;
            } else {
                ++group;
                member = 1;
            }
            RecPos(t, 0) = "Object" + Str(t + 1);
            RecPos(t, 1) = RecPos(c, 1).DoubleValue() + dx * col;
            RecPos(t, 2) = RecPos(c, 2).DoubleValue() + dy * row;
            if (numbersAtView)
                RecPos(t, 4) = Int(double(RecPos(c, 4).Int32Value()) + group); // saturates, never wraps
            TotalObjects = t + 1;
        };
        const std::int32_t outer = acrossFirst ? rows : cols, inner = acrossFirst ? cols : rows;
        for (std::int32_t o = 0; o < outer; ++o)
            for (std::int32_t i = 0; i < inner; ++i) {
                if (o == 0 && i == 0)
                    continue;
                if (acrossFirst)
                    copyTo(i, o);
                else
                    copyTo(o, i);
            }
    }
    SharedInstance<Window1>().Canvas1().Refresh(false);
    return true;
}
