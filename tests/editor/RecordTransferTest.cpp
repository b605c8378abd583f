#include "editor/RecordTransfer.h"
#include "TestSupport.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

// The records, their typed mirrors and the main window's lists and fields, all at their start-up values.
class RecordTransfer : public ::testing::Test {
protected:
    static QStringList Values(const ListBox& list) {
        QStringList v;
        for (int r = 0; r < list.ListCount(); ++r)
            v << list.Cell(r, 2);
        return v;
    }
    static void SetValues(ListBox& list, const QStringList& values) {
        for (int r = 0; r < values.size(); ++r)
            list.SetCell(r, 2, values[r]);
    }

    Window1& w = SharedInstance<Window1>();
    ListBox& objects = w.ListBox1();
    ListBox& params = w.ListBox2();
    EditField& start = w.EdStart();
    EditField& qty = w.EdQty();
};

} // namespace

TEST_F(RecordTransfer, LoadHeadFillsTheMirrorAndWithShowTheWindow) {
    const Variant header[] = {"job.num", 210.0, 297.0, 420.0, 297.0, 2, 5.0, 1, 0.0, 7, 1000.0, 500};
    for (int s = 0; s < 12; ++s)
        RecHd(s) = header[s];
    QStringList events; // cells are set without list events; the fields raise TextChange
    params.Change = [&] { events << "Change"; };
    params.CellAction = [&](int, int) { events << "CellAction"; };
    start.TextChange = [&] { events << "EdStart " + start.Text(); };
    qty.TextChange = [&] { events << "EdQty " + qty.Text(); };

    LoadHead(false);
    EXPECT_EQ(std::tuple(AFileName, AsigWidth, AstepR, AinTag, Astart, Aqty),
              std::tuple("job.num", 420.0, 2, 7, 1000.0, 500));
    EXPECT_EQ(Values(params), QStringList({"", "210", "297", "210", "297", "1", "0", "1", "0", "0"}));
    EXPECT_TRUE(events.isEmpty());

    LoadHead(true);
    EXPECT_EQ(Values(params),
              QStringList({"job.num", "210.0", "297.0", "420.0", "297.0", "2.0", "5.0", "1.0", "0", "7.0"}));
    EXPECT_EQ(start.Text() + " " + qty.Text(), "1000 500");
    EXPECT_EQ(events, QStringList({"EdStart 1000", "EdQty 500"}));
}

// The mirror goes into the record as text, Doubles and Int32s and on to the window as shown there;
// what is saved back is what the window shows.
TEST_F(RecordTransfer, SyncHeadStoresTypedValuesAndSavingKeepsTheShownPrecision) {
    AFileName = "job.num", AdocWidth = 210.04, AstepR = 3, Aqty = 12;
    RecHd(12) = std::int32_t(42);
    SyncHead(false);
    EXPECT_TRUE(RecHd(0).IsString() && RecHd(1).IsDouble() && RecHd(5).IsInt32() && RecHd(11).IsInt32());
    EXPECT_EQ(RecHd(12), Variant(std::int32_t(42))); // not the mirror's
    EXPECT_EQ(params.Cell(1, 2) + " " + params.Cell(5, 2) + " " + qty.Text(), "210.0 3.0 12");
    SyncHead(true);
    EXPECT_EQ(std::tuple(AdocWidth, AstepR, Aqty), std::tuple(210.0, 3, 12));
    EXPECT_EQ(RecHd(12), Variant(std::int32_t(0))); // the object count
}

TEST_F(RecordTransfer, SavingReadsTheWindowAndTextThatIsNoNumberIsZero) {
    TotalObjects = 3;
    SetValues(params, {"job.num", "210.5", "abc", "420", "297", "2", "5", "1", "0", "7"});
    start.SetText("1000");
    qty.SetText("250 sheets");
    SaveHead();
    EXPECT_EQ(QList<Variant>({RecHd(0), RecHd(2), RecHd(5), RecHd(11), RecHd(12)}),
              QList<Variant>({"job.num", 0.0, 2.0, 250.0, std::int32_t(3)})); // number rows as Doubles
    EXPECT_EQ(std::tuple(AdocWidth, AdocHeight, AstepR, Aqty), std::tuple(210.5, 0.0, 2, 250));
    SyncHead(false); // shown again from the mirror: the bad cell reads 0
    EXPECT_EQ(params.Cell(2, 2), "0");
    EXPECT_TRUE(Scripted().messages.isEmpty());

    SetValues(objects,
              {"Serial", "12.5mm", "abc", "^A", "-2", "3, Mod 9", "Ean36", "Bold", "18", "C000M100Y000K000"});
    SaveSel(2);
    EXPECT_EQ(QList<Variant>({RecPos(2, 1), RecPos(2, 2), RecPos(2, 5), RecPos(2, 14)}),
              QList<Variant>({12.5, 0.0, "3, Mod 9", CMY(0, 1, 0)}));
    EXPECT_EQ(RecPos(1, 1), Variant()); // other rows untouched
    EXPECT_EQ(std::tuple(Rmtype, Rpinc, Rfontfam, pncMagenta), std::tuple(3, -2, "Ean36", 100)); // the mirror

    Rxloc = -3.5; // dragged past the left edge: the list keeps the sign, so storing it back keeps it too
    SyncSel(false, 0);
    EXPECT_EQ(objects.Cell(1, 2), "-3.5");
    SyncSel(true, 0);
    EXPECT_EQ(Rxloc, -3.5);

    // From the mirror the display colour comes from the colour parts as they stand; from the list the
    // colour string is read again.
    Rcolour = "C100M000Y000K000", pncCyan = pncMagenta = pncYellow = 0, pncBlack = 100;
    SyncSel(false, 0);
    EXPECT_EQ(RecPos(0, 14), Variant(CMY(1, 1, 1)));
    SyncSel(true, 0);
    EXPECT_EQ(RecPos(0, 14), Variant(CMY(1, 0, 0)));
}

TEST_F(RecordTransfer, LoadSelShowsTheObjectWithItsColourParts) {
    const Variant fields[] = {"Serial", 20.5,         30.0, "/000000",          1,  3,
                              "Arial",  "BoldItalic", 14.0, "C010M020Y030K040", 0.0};
    for (int f = 0; f < 11; ++f)
        RecPos(4, f) = fields[f];
    LoadSel(4);
    EXPECT_EQ(std::tuple(RName, Rxloc, Rmtype), std::tuple("Serial", 20.5, 3));
    EXPECT_EQ(Values(objects), QStringList({"Serial", "20.5", "30.0", "/000000", "1.0", "3", "Arial",
                                            "BoldItalic", "14.0", "C010M020Y030K040", "0"}));
    EXPECT_EQ(QList<int>({pncCyan, pncMagenta, pncYellow, pncBlack}), QList<int>({10, 20, 30, 40}));
    EXPECT_EQ(RecPos(4, 14), Variant(CMY(0.5, 0.6, 0.7)));
}

TEST_F(RecordTransfer, ANegativeRowChangesNothing) {
    SetValues(objects, {"Shown"});
    RName = "Mirror";
    Rcolour = "C010M020Y030K040";
    pncCyan = 7;
    for (auto run : {+[] { LoadSel(-1); }, +[] { SaveSel(-1); }, +[] { SyncSel(true, -1); },
                     +[] { SyncSel(false, -1); }}) {
        run();
        EXPECT_EQ(std::tuple(RName, pncCyan, objects.Cell(0, 2)), std::tuple("Mirror", 7, "Shown"));
        EXPECT_EQ(RecPos(0, 0), Variant());
        EXPECT_EQ(RecPos(0, 14), Variant());
    }
}

// A control that has gone: the Sync routines say so; the others pass the exception on.
TEST_F(RecordTransfer, AMissingControlIsToldOrPassedOn) {
    w.FindControl("EdStart")->Close();
    SyncHead(true);
    EXPECT_EQ(Scripted().messages, QStringList{"SYNChead error"});
    EXPECT_THROW(SaveHead(), NilObjectException);
    w.FindControl("ListBox1")->Close();
    SyncSel(false, 1);
    EXPECT_EQ(Scripted().messages.last(), "SYNCsel error");
    EXPECT_THROW(SaveSel(1), NilObjectException);
}
