// The start, quantity and sheet fields, the backward check box, the Fit button, the object scroller and
// the Delete Object button.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "editor/RecordTransfer.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <algorithm>

using namespace platform;
using namespace Module1;

void Window1::EdStart_TextChange() {
    Astart = Val(EdStart().Text());
    Canvas1().Refresh(false);
}

void Window1::EdStart_GotFocus() {
    startOnEntry_ = Astart;
}

// Number text prints 0 to fifteen digits: a start outside that is refused and the one before comes back.
void Window1::EdStart_LostFocus() {
    const double typed = Val(EdStart().Text());
    if (typed >= 0 && typed <= LargestNumber)
        return;
    EdStart().SetText(Format(startOnEntry_, NumPic2));
    MsgBox("The start number must be from 0 to " + Format(LargestNumber, NumPic2) + ".");
}

bool Window1::EdStart_KeyDown(const QString&) {
    DirtyFlag = true;
    return false;
}

void Window1::EdQty_TextChange() {
    Aqty = Int(Val(EdQty().Text()));
    CheckNup();
}

// The quantity becomes a whole number of full sheets. Counted as CheckNup counts (at least one cell
// each way) and saturated at the 32-bit limit, so odd counts neither zero the quantity nor overflow.
void Window1::EdQty_LostFocus() {
    const std::int64_t cells = std::int64_t(std::max(AstepR, 1)) * std::max(AstepD, 1);
    Aqty = Int(double(cells) * AnupQTY);
    EdQty().SetText(Str(Aqty));
}

bool Window1::EdQty_KeyDown(const QString&) {
    DirtyFlag = true;
    return false;
}

void Window1::EdNup_TextChange() {
    AnupQTY = Int(Val(EdNup().Text()));
}

void Window1::CBback_Action() {
    Aback = CBback().Value();
}

void Window1::BtFit_Action() {
    FitToPageF();
}

void Window1::ListSelect_Up() {
    StepSelection(1);
}

void Window1::ListSelect_Down() {
    StepSelection(-1);
}

// The object being left keeps what the list shows. With no objects there is nothing to select, so no
// stale row of the table is shown as if it were an object.
void Window1::StepSelection(std::int32_t step) {
    CommitListEdits();
    ListBox1().SetListIndex(-1);
    SyncSel(true, CurrentObject);
    if (TotalObjects < 1) {
        CurrentObject = -1;
    } else {
        CurrentObject += step;
        if (CurrentObject >= TotalObjects)
            CurrentObject = 0;
        if (CurrentObject < 0)
            CurrentObject = TotalObjects - 1;
        LoadSel(CurrentObject);
    }
    Canvas1().Refresh(false);
}

// Later objects move up one row; the object now in the deleted one's row becomes current. With no
// object selected nothing is deleted.
void Window1::BtnDelObj_Action() {
    const bool selected = CurrentObject >= 0 && CurrentObject < TotalObjects;
    // Deleting an object is a change to the document: closing offers to save it.
    if (selected)
        DirtyFlag = true;
    if (TotalObjects > 1 && selected) {
        for (std::int32_t k = CurrentObject + 1; k < TotalObjects; ++k)
            CopyRow(k, k - 1);
        TotalObjects -= 1;
        CurrentObject = std::min(CurrentObject, TotalObjects - 1);
        LoadSel(CurrentObject);
    } else if (TotalObjects < 1 || selected) {
        TotalObjects = 0;
        CurrentObject = -1;
        // The list shows a new object's values again, but keeps the deleted object's colour and angle,
        // which the next object placed takes on.
        const QString colour = Rcolour;
        const double angle = Rangle;
        MirrorDefaults();
        Rcolour = colour;
        Rangle = angle;
        ParseColour(Rcolour);
        SyncSel(false, 0);
    }
    Canvas1().Refresh(false);
}
