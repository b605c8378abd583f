// The page view's pointer: placing a new object with the add tool, selecting by the handle or a rubber
// band, dragging the current object, and the pointer's page position in millimetres.
#include "editor/Window1.h"

#include "core/Module1.h"
#include "dialogs/Font1.h"
#include "editor/RecordTransfer.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

using namespace platform;
using namespace Module1;

namespace {
constexpr int ValueColumn = 2;
} // namespace

void Window1::EndObjectListSelection(bool lockValue) {
    auto& list = ListBox1();
    const int row = list.ListIndex();
    if (row < 0)
        return;
    if (lockValue)
        list.SetCellType(row, ValueColumn, ListBox::TypeDefault);
    list.SetSelected(row, false);
    list.SetListIndex(-1);
}

// A press only ends a print preview. Otherwise the select tool starts a drag (on the current object's
// handle) or a rubber band, and the add tool places an object at once.
bool Window1::Canvas1_MouseDown(int x, int y) {
    // A value still being typed goes into the object it was typed for before the selection can move;
    // a refused one ends the press there, with its message.
    if (!CommitEdits())
        return false;
    if (PRNpreview) {
        FitToPageF();
        return false;
    }
    EndObjectListSelection(true);
    CCurX = x + ScrollX;
    CCurY = y + ScrollY;
    if (!MakeNumTool) {
        Dragging = FindHandle(CCurX, CCurY, CCurX, CCurY);
        DrawSelection = !Dragging;
        if (Dragging) {
            CDragX = x;
            CDragY = y;
        }
        return true;
    }
    PlaceObject();
    return false;
}

void Window1::PlaceObject() {
    const std::int32_t rows = RecPos.Ubound(1) + 1;
    if (TotalObjects >= rows) {
        MsgBox("No more objects: a document holds at most " + Str(rows) + ".");
    } else {
        TotalObjects += 1;
        CurrentObject = TotalObjects - 1;
        RName = "Object" + Str(TotalObjects);
        Rxloc = PixToMMs(CCurX);
        Ryloc = PixToMMs(CCurY);
        // The selector opens on the family and style a new object would have (those of the object current
        // before, or the defaults) and hands back CurrentFont and CurrentStyle; a family is never empty.
        CurrentFont = Rfontfam.isEmpty() ? QStringLiteral("Arial") : Rfontfam;
        CurrentStyle = RfontStyle.isEmpty() ? QStringLiteral("Normal") : RfontStyle;
        SharedInstance<Font1>().ShowModal();
        Rfontfam = CurrentFont.isEmpty() ? QStringLiteral("Arial") : CurrentFont;
        RfontStyle = CurrentStyle;
        // The fields not set above come from the mirror: the object current before, or the defaults.
        SyncSel(false, CurrentObject);
        DirtyFlag = true;
    }
    // The add tool serves one placement.
    ArmTool(false);
    Numtool().SetValue(false);
    TextTool().SetValue(true);
    Refresh(true);
}

// Moves the current object by the pointer's movement since the last step, or stretches the rubber band.
void Window1::Canvas1_MouseDrag(int x, int y) {
    EndObjectListSelection(false);
    if (Dragging) {
        const bool moved = x != CDragX || y != CDragY;
        Rxloc += PixToMMs(x - CDragX);
        CDragX = x;
        Ryloc += PixToMMs(y - CDragY);
        CDragY = y;
        SyncSel(false, CurrentObject);
        if (moved && CurrentObject >= 0)
            DirtyFlag = true;
    } else {
        EndX = x + ScrollX;
        EndY = y + ScrollY;
    }
    Canvas1().Refresh(false);
}

// Ends a drag, or selects the first object within the rubber band (a plain click is a band of no size).
// The corners go to the hit test in the order pressed and released.
void Window1::Canvas1_MouseUp(int x, int y) {
    EndObjectListSelection(false);
    EndX = x + ScrollX;
    EndY = y + ScrollY;
    auto& view = Canvas1();
    if (Dragging) {
        Dragging = false;
        view.Refresh(false);
        return;
    }
    if (CurrentObject != -1)
        SyncSel(true, CurrentObject);
    const std::int32_t i = FindObject(PixToMMs(CCurX), PixToMMs(CCurY), PixToMMs(EndX), PixToMMs(EndY));
    if (i != -1) {
        CurrentObject = i;
        LoadSel(i);
    }
    DrawSelection = false;
    view.Refresh(false);
}

void Window1::Canvas1_MouseMove(int x, int y) {
    EndObjectListSelection(false);
    // Hundredths of a millimetre: the full-precision text (64.44444444444444) is wider than the field,
    // which would then show its tail instead of the value.
    CurX().SetText(Format(PixToMMs(x + ScrollX), "0.##"));
    CurY().SetText(Format(PixToMMs(y + ScrollY), "0.##"));
}
