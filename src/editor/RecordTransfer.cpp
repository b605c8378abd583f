#include "editor/RecordTransfer.h"

#include "core/Module1.h"
#include "core/ObjectFields.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

using namespace platform;

namespace Module1 {

// The negative section of NumPic prints no sign, so the sign is put back: otherwise the next copy from
// the list would read a negative value as positive.
QString Shown(double v, const QString& picture) {
    const QString text = Format(v, picture);
    return v < 0 && Val(text) > 0 ? "-" + text : text;
}

namespace {

constexpr int ValueColumn = 2;

Window1& MainWindow() {
    return SharedInstance<Window1>();
}

// Column 0 holds the row tag.
bool IsTextRow(const ListBox& list, int r) {
    return list.Cell(r, 0) == "A";
}

// A list's values from cells of the record (RecHd slots or a RecPos row), one per row.
template <class Cell> void ShowInList(ListBox& list, Cell cell) {
    for (int r = 0; r < list.ListCount(); ++r)
        list.SetCell(r, ValueColumn,
                     IsTextRow(list, r) ? cell(r).StringValue() : Shown(cell(r).DoubleValue(), NumPic));
}

void HeaderWindowFromRecord() {
    Window1& w = MainWindow();
    ShowInList(w.ListBox2(), [](int r) -> const Variant& { return RecHd(r); });
    w.EdStart().SetText(Shown(RecHd(10).DoubleValue(), NumPic2));
    w.EdQty().SetText(Shown(RecHd(11).DoubleValue(), NumPic2));
}

void ObjectListFromRecord(std::int32_t i) {
    ShowInList(MainWindow().ListBox1(), [i](int r) -> const Variant& { return RecPos(i, r); });
}

// The list's values as the record's cells: text rows as text, number rows as numbers.
Variant FromList(const ListBox& list, int r) {
    const QString text = list.Cell(r, ValueColumn);
    return IsTextRow(list, r) ? Variant(text) : Variant(CDbl(text));
}

// As FromList, but a number cell that still shows the stored number keeps it exactly: a position dragged
// to 12.345 mm shows as 12.3, and copying back what is shown must not move the object.
Variant FromObjectList(const ListBox& list, int r, const Variant& stored) {
    const bool number = stored.IsDouble() || stored.IsInt32();
    if (!IsTextRow(list, r) && number && list.Cell(r, ValueColumn) == Shown(stored.DoubleValue(), NumPic))
        return Variant(stored.DoubleValue());
    return FromList(list, r);
}

} // namespace

void LoadHead(bool show) {
    HeaderMirrorFromRecord();
    if (show)
        HeaderWindowFromRecord();
}

void SaveHead() {
    Window1& w = MainWindow();
    ListBox& list = w.ListBox2();
    for (int r = 0; r < list.ListCount(); ++r)
        RecHd(r) = FromList(list, r);
    RecHd(10) = Val(w.EdStart().Text());
    RecHd(11) = Val(w.EdQty().Text());
    RecHd(12) = TotalObjects;
    HeaderMirrorFromRecord();
}

void SyncHead(bool toRecord) {
    try {
        if (toRecord) {
            SaveHead();
            return;
        }
        HeaderRecordFromMirror();
        HeaderWindowFromRecord();
    } catch (const NilObjectException&) {
        MsgBox("SYNChead error");
    }
}

void LoadSel(std::int32_t i) {
    if (i < 0)
        return;
    MirrorFromRow(i);
    ObjectListFromRecord(i);
    NumColour(i);
}

void SaveSel(std::int32_t i) {
    if (i < 0)
        return;
    ListBox& list = MainWindow().ListBox1();
    for (int r = 0; r < list.ListCount(); ++r)
        RecPos(i, r) = FromObjectList(list, r, RecPos(i, r));
    MirrorFromRow(i);
    NumColour(i);
}

void SyncSel(bool toRecord, std::int32_t i) {
    if (i < 0)
        return;
    try {
        if (toRecord) {
            SaveSel(i);
        } else {
            RowFromMirror(i);
            ObjectListFromRecord(i);
        }
        // From the colour parts as they stand: the mirror's colour string is not parsed again here.
        RecPos(i, DisplayColourField) = DisplayColour(pncCyan, pncMagenta, pncYellow, pncBlack);
    } catch (const NilObjectException&) {
        MsgBox("SYNCsel error");
    }
}

} // namespace Module1
