// Copies between the records (RecHd, a row of RecPos), their typed mirrors and the main window's
// lists and fields. A list row's tag decides the copy: "A" rows as text, "N" rows as numbers shown
// through NumPic. Only SyncHead and SyncSel catch a missing window control.
#include "core/Module1.h"

#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

using namespace platform;

namespace Module1 {

namespace {

Window1& MainWindow() {
    return SharedInstance<Window1>();
}

// A number as the lists and fields show it. The negative section of NumPic prints no sign, so the sign
// is put back: otherwise the next copy from the list would read a negative value as positive.
QString Shown(double v, const QString& picture) {
    const QString text = Format(v, picture);
    return v < 0 && Val(text) > 0 ? "-" + text : text;
}

// Column 0 holds the row tag, column 2 the value.
bool IsTextRow(const ListBox& list, int r) {
    return list.Cell(r, 0) == "A";
}

void HeaderMirrorFromRecord() {
    AFileName = RecHd(0).StringValue();
    AdocWidth = RecHd(1).DoubleValue();
    AdocHeight = RecHd(2).DoubleValue();
    AsigWidth = RecHd(3).DoubleValue();
    AsigHeight = RecHd(4).DoubleValue();
    AstepR = RecHd(5).Int32Value();
    AstepRV = RecHd(6).DoubleValue();
    AstepD = RecHd(7).Int32Value();
    AstepDV = RecHd(8).DoubleValue();
    AinTag = RecHd(9).Int32Value();
    Astart = RecHd(10).DoubleValue();
    Aqty = RecHd(11).Int32Value();
}

void HeaderWindowFromRecord() {
    ListBox& list = *MainWindow().ControlNamed<ListBox>("ListBox2");
    for (int r = 0; r < list.ListCount(); ++r)
        list.SetCell(r, 2,
                     IsTextRow(list, r) ? RecHd(r).StringValue() : Shown(RecHd(r).DoubleValue(), NumPic));
    MainWindow().ControlNamed<EditField>("EdStart")->SetText(Shown(RecHd(10).DoubleValue(), NumPic2));
    MainWindow().ControlNamed<EditField>("EdQty")->SetText(Shown(RecHd(11).DoubleValue(), NumPic2));
}

void ObjectMirrorFromRecord(std::int32_t i) {
    RName = RecPos(i, 0).StringValue();
    Rxloc = RecPos(i, 1).DoubleValue();
    Ryloc = RecPos(i, 2).DoubleValue();
    Rpic = RecPos(i, 3).StringValue();
    Rpinc = RecPos(i, 4).Int32Value();
    Rmtype = RecPos(i, 5).Int32Value();
    Rfontfam = RecPos(i, 6).StringValue();
    RfontStyle = RecPos(i, 7).StringValue();
    RFontSize = RecPos(i, 8).DoubleValue();
    Rcolour = RecPos(i, 9).StringValue();
    Rangle = RecPos(i, 10).DoubleValue();
}

void ObjectListFromRecord(std::int32_t i) {
    ListBox& list = *MainWindow().ControlNamed<ListBox>("ListBox1");
    for (int r = 0; r < list.ListCount(); ++r)
        list.SetCell(r, 2,
                     IsTextRow(list, r) ? RecPos(i, r).StringValue()
                                        : Shown(RecPos(i, r).DoubleValue(), NumPic));
}

} // namespace

void LoadHead(bool show) {
    HeaderMirrorFromRecord();
    if (show)
        HeaderWindowFromRecord();
}

void SaveHead() {
    Window1& w = MainWindow();
    ListBox& list = *w.ControlNamed<ListBox>("ListBox2");
    for (int r = 0; r < list.ListCount(); ++r) {
        const QString text = list.Cell(r, 2);
        RecHd(r) = IsTextRow(list, r) ? Variant(text) : Variant(CDbl(text));
    }
    RecHd(10) = Val(w.ControlNamed<EditField>("EdStart")->Text());
    RecHd(11) = Val(w.ControlNamed<EditField>("EdQty")->Text());
    RecHd(12) = TotalObjects;
    HeaderMirrorFromRecord();
}

void SyncHead(bool toRecord) {
    try {
        if (toRecord) {
            SaveHead();
            return;
        }
        RecHd(0) = AFileName;
        RecHd(1) = AdocWidth;
        RecHd(2) = AdocHeight;
        RecHd(3) = AsigWidth;
        RecHd(4) = AsigHeight;
        RecHd(5) = AstepR;
        RecHd(6) = AstepRV;
        RecHd(7) = AstepD;
        RecHd(8) = AstepDV;
        RecHd(9) = AinTag;
        RecHd(10) = Astart;
        RecHd(11) = Aqty;
        HeaderWindowFromRecord();
    } catch (const NilObjectException&) {
        MsgBox("SYNChead error");
    }
}

void LoadSel(std::int32_t i) {
    if (i < 0)
        return;
    ObjectMirrorFromRecord(i);
    ObjectListFromRecord(i);
    NumColour(i);
}

void SaveSel(std::int32_t i) {
    if (i < 0)
        return;
    ListBox& list = *MainWindow().ControlNamed<ListBox>("ListBox1");
    for (int r = 0; r < list.ListCount(); ++r) {
        const QString text = list.Cell(r, 2);
        RecPos(i, r) = IsTextRow(list, r) ? Variant(text) : Variant(Val(text));
    }
    ObjectMirrorFromRecord(i);
    NumColour(i);
}

void SyncSel(bool toRecord, std::int32_t i) {
    if (i < 0)
        return;
    try {
        if (toRecord) {
            SaveSel(i);
        } else {
            RecPos(i, 0) = RName;
            RecPos(i, 1) = Rxloc;
            RecPos(i, 2) = Ryloc;
            RecPos(i, 3) = Rpic;
            RecPos(i, 4) = Rpinc;
            RecPos(i, 5) = Rmtype;
            RecPos(i, 6) = Rfontfam;
            RecPos(i, 7) = RfontStyle;
            RecPos(i, 8) = RFontSize;
            RecPos(i, 9) = Rcolour;
            RecPos(i, 10) = Rangle;
            ObjectListFromRecord(i);
        }
        // From the colour parts as they stand: the mirror's colour string is not parsed again here.
        RecPos(i, 14) = DisplayColour(pncCyan, pncMagenta, pncYellow, pncBlack);
    } catch (const NilObjectException&) {
        MsgBox("SYNCsel error");
    }
}

} // namespace Module1
