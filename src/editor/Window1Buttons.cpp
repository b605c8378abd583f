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

namespace {
bool IsReturn(const QString& key) {
    return key == QChar(13) || key == QChar(3);
}
} // namespace

// While the start number is typed the page keeps showing the one in use; Return or leaving the field
// commits it (Window1Commit.cpp).
void Window1::EdStart_TextChange() {
    Canvas1().Refresh(false);
}

void Window1::EdStart_LostFocus() {
    CommitStart();
}

bool Window1::EdStart_KeyDown(const QString& key) {
    if (IsReturn(key))
        CommitStart();
    return false;
}

// The sheet count shown is that of the quantity in use, also when the program shows a new one.
void Window1::EdQty_TextChange() {
    CheckNup();
}

void Window1::EdQty_LostFocus() {
    CommitQuantity();
}

bool Window1::EdQty_KeyDown(const QString& key) {
    if (IsReturn(key))
        CommitQuantity();
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
    if (!CommitEdits())
        return;
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
