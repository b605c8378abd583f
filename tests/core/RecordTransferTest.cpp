#include "TestSupport.h"
#include "core/Module1.h"
#include "editor/Window1.h"
#include "platform/Controls.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;

namespace {

class RecordTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        InitGlobals();
        FillModNames();
        AFileName = "";
        AdocWidth = AdocHeight = AsigWidth = AsigHeight = AstepRV = AstepDV = Astart = 0;
        AstepR = AstepD = AinTag = Aqty = 0;
        RName = Rpic = Rfontfam = RfontStyle = Rcolour = "";
        Rxloc = Ryloc = RFontSize = Rangle = 0;
        Rpinc = Rmtype = 0;
        pncCyan = pncMagenta = pncYellow = pncBlack = 0;
        TotalObjects = 0;
    }

    Window1& w = SharedInstance<Window1>();
    ListBox& objects = *w.ControlNamed<ListBox>("ListBox1");
    ListBox& params = *w.ControlNamed<ListBox>("ListBox2");
    EditField& start = *w.ControlNamed<EditField>("EdStart");
    EditField& qty = *w.ControlNamed<EditField>("EdQty");

    QStringList Values(ListBox& list) const {
        QStringList v;
        for (int r = 0; r < list.ListCount(); ++r)
            v << list.Cell(r, 2);
        return v;
    }
    void SetValues(ListBox& list, const QStringList& values) {
        for (int r = 0; r < values.size(); ++r)
            list.SetCell(r, 2, values[r]);
    }
    void FillHeader() {
        const Variant header[] = {"job.num", 210.0, 297.0, 420.0, 297.0, 2, 5.0, 1, 0.0, 7, 1000.0, 500};
        for (int s = 0; s < 12; ++s)
            RecHd(s) = header[s];
    }
};

} // namespace

TEST_F(RecordTransfer, LoadHeadFillsTheMirrorAndOnlyWithShowTheWindow) {
    FillHeader();
    LoadHead(false);
    EXPECT_EQ(AFileName, "job.num");
    EXPECT_EQ(AsigWidth, 420.0);
    EXPECT_EQ(AstepR, 2);
    EXPECT_EQ(AinTag, 7);
    EXPECT_EQ(Astart, 1000.0);
    EXPECT_EQ(Aqty, 500);
    EXPECT_EQ(Values(params), QStringList({"", "210", "297", "210", "297", "1", "0", "1", "0", "0"}));
    EXPECT_EQ(start.Text(), "");

    LoadHead(true);
    EXPECT_EQ(Values(params),
              QStringList({"job.num", "210.0", "297.0", "420.0", "297.0", "2.0", "5.0", "1.0", "0", "7.0"}));
    EXPECT_EQ(start.Text(), "1000");
    EXPECT_EQ(qty.Text(), "500");
}

TEST_F(RecordTransfer, SaveHeadReadsTheWindowAndTextThatIsNoNumberIsZero) {
    TotalObjects = 3;
    SetValues(params, {"job.num", "210.5", "abc", "420", "297", "2", "5", "1", "0", "7"});
    start.SetText("1000");
    qty.SetText("250 sheets");
    SaveHead();
    EXPECT_EQ(RecHd(0), Variant("job.num"));
    EXPECT_EQ(RecHd(1), Variant(210.5));
    EXPECT_EQ(RecHd(2), Variant(0.0));
    EXPECT_EQ(RecHd(5), Variant(2.0)); // a number row is stored as a Double, whatever its mirror
    EXPECT_EQ(RecHd(10), Variant(1000.0));
    EXPECT_EQ(RecHd(11), Variant(250.0));
    EXPECT_EQ(RecHd(12), Variant(std::int32_t(3)));
    EXPECT_EQ(AdocWidth, 210.5);
    EXPECT_EQ(AdocHeight, 0.0);
    EXPECT_EQ(AstepR, 2);
    EXPECT_EQ(Aqty, 250);
    EXPECT_TRUE(Scripted().messages.isEmpty());

    // Shown again from the mirror: the bad cell now reads 0.
    SyncHead(false);
    EXPECT_EQ(params.Cell(2, 2), "0");
    EXPECT_EQ(params.Cell(1, 2), "210.5");
}

TEST_F(RecordTransfer, SyncHeadFromTheMirrorStoresTypedValuesAndRoundsToTheShownPrecision) {
    AFileName = "a.num";
    AdocWidth = 210.04;
    AstepR = 3;
    Astart = 99;
    Aqty = 12;
    RecHd(12) = std::int32_t(42);
    SyncHead(false);
    EXPECT_TRUE(RecHd(0).IsString());
    EXPECT_TRUE(RecHd(1).IsDouble());
    EXPECT_TRUE(RecHd(5).IsInt32());
    EXPECT_TRUE(RecHd(10).IsDouble());
    EXPECT_TRUE(RecHd(11).IsInt32());
    EXPECT_EQ(RecHd(12), Variant(std::int32_t(42))); // not touched
    EXPECT_EQ(params.Cell(1, 2), "210.0");
    EXPECT_EQ(params.Cell(5, 2), "3.0");
    EXPECT_EQ(start.Text(), "99");

    // Saving reads back what the window shows.
    SyncHead(true);
    EXPECT_EQ(AdocWidth, 210.0);
    EXPECT_EQ(RecHd(1), Variant(210.0));
    EXPECT_EQ(RecHd(12), Variant(std::int32_t(0)));
}

TEST_F(RecordTransfer, LoadSelShowsTheObjectWithItsColourParts) {
    const Variant fields[] = {"Serial", 20.5,         30.0, "/000000",          1,  std::int32_t(3),
                              "Arial",  "BoldItalic", 14.0, "C010M020Y030K040", 0.0};
    for (int f = 0; f < 11; ++f)
        RecPos(4, f) = fields[f];
    LoadSel(4);
    EXPECT_EQ(RName, "Serial");
    EXPECT_EQ(Rxloc, 20.5);
    EXPECT_EQ(Rpinc, 1);
    EXPECT_EQ(Rmtype, 3);
    EXPECT_EQ(RfontStyle, "BoldItalic");
    EXPECT_EQ(Rcolour, "C010M020Y030K040");
    EXPECT_EQ(Values(objects), QStringList({"Serial", "20.5", "30.0", "/000000", "1.0", "3", "Arial",
                                            "BoldItalic", "14.0", "C010M020Y030K040", "0"}));
    EXPECT_EQ(QList<int>({pncCyan, pncMagenta, pncYellow, pncBlack}), QList<int>({10, 20, 30, 40}));
    EXPECT_EQ(RecPos(4, 14), Variant(CMY(0.5, 0.6, 0.7)));
}

TEST_F(RecordTransfer, SaveSelStoresTextRowsAsTextAndNumberRowsAsNumbers) {
    SetValues(objects, {"Serial", "12.5mm", "abc", "^A", "-2", "3, Mod 9", "Ean36", "Bold", "18",
                        "C000M100Y000K000", "45"});
    SaveSel(2);
    EXPECT_EQ(RecPos(2, 1), Variant(12.5));
    EXPECT_EQ(RecPos(2, 2), Variant(0.0));
    EXPECT_EQ(RecPos(2, 5), Variant("3, Mod 9"));
    EXPECT_EQ(RecPos(2, 4), Variant(-2.0));
    EXPECT_EQ(Rmtype, 3); // the index, read from the text form
    EXPECT_EQ(Rpinc, -2);
    EXPECT_EQ(RFontSize, 18.0);
    EXPECT_EQ(Rfontfam, "Ean36");
    EXPECT_EQ(pncMagenta, 100);
    EXPECT_EQ(RecPos(2, 14), Variant(CMY(0, 1, 0)));
    EXPECT_EQ(RecPos(1, 1), Variant()); // other rows untouched
}

TEST_F(RecordTransfer, SyncSelFromTheMirrorTakesTheColourPartsAsTheyStand) {
    RName = "N1";
    Rxloc = -3.5; // dragged past the left edge
    Rmtype = 5;
    Rcolour = "C100M000Y000K000";
    pncBlack = 100; // parts not yet parsed from Rcolour
    SyncSel(false, 0);
    EXPECT_EQ(RecPos(0, 0), Variant("N1"));
    EXPECT_EQ(RecPos(0, 5), Variant(std::int32_t(5)));
    EXPECT_EQ(RecPos(0, 14), Variant(CMY(1, 1, 1)));
    EXPECT_EQ(objects.Cell(5, 2), "5");
    // A negative value keeps its sign in the list, so that storing the list back does not flip it.
    EXPECT_EQ(objects.Cell(1, 2), "-3.5");
    SyncSel(true, 0);
    EXPECT_EQ(Rxloc, -3.5);
    EXPECT_EQ(RecPos(0, 14), Variant(CMY(1, 0, 0))); // parsed this time
}

TEST_F(RecordTransfer, ANegativeRowChangesNothing) {
    SetValues(objects, {"Shown", "1.0"});
    RName = "Mirror";
    Rcolour = "C010M020Y030K040";
    pncCyan = 7;
    RecPos(0, 0) = "Row0";
    for (auto run : std::initializer_list<std::function<void()>>{[] { LoadSel(-1); }, [] { SaveSel(-1); },
                                                                 [] { SyncSel(true, -1); },
                                                                 [] { SyncSel(false, -1); }}) {
        run();
        EXPECT_EQ(RName, "Mirror");
        EXPECT_EQ(pncCyan, 7);
        EXPECT_EQ(objects.Cell(0, 2), "Shown");
        EXPECT_EQ(RecPos(0, 0), Variant("Row0"));
        EXPECT_EQ(RecPos(0, 14), Variant());
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// A control that has gone: the Sync routines report it once and keep what they copied before it; the
// others pass it on.
TEST_F(RecordTransfer, AMissingControlStopsTheCopyPartWay) {
    SetValues(params, {"job.num", "100", "200", "300", "400", "2", "5", "3", "6", "9"});
    RecHd(10) = 55.0;
    w.FindControl("EdStart")->Close();
    ASSERT_EQ(w.FindControl("EdStart"), nullptr);

    SyncHead(true);
    EXPECT_EQ(Scripted().messages, QStringList{"SYNChead error"});
    EXPECT_EQ(RecHd(0), Variant("job.num")); // the list rows went in before the field was missed
    EXPECT_EQ(RecHd(9), Variant(9.0));
    EXPECT_EQ(RecHd(10), Variant(55.0));
    EXPECT_EQ(AdocWidth, 0.0); // the mirror comes last

    AdocWidth = 123;
    SyncHead(false);
    EXPECT_EQ(Scripted().messages.size(), 2);
    EXPECT_EQ(RecHd(1), Variant(123.0));
    EXPECT_EQ(params.Cell(1, 2), "123.0");
    EXPECT_THROW(SaveHead(), NilObjectException);
    EXPECT_THROW(LoadHead(true), NilObjectException);
    LoadHead(false); // touches no control
    EXPECT_EQ(Scripted().messages.size(), 2);

    Rcolour = "C000M000Y000K050";
    RName = "Kept";
    pncBlack = 50;
    w.FindControl("ListBox1")->Close();
    SyncSel(false, 1);
    EXPECT_EQ(Scripted().messages.last(), "SYNCsel error");
    EXPECT_EQ(RecPos(1, 0), Variant("Kept")); // the mirror went in before the list was missed
    EXPECT_EQ(RecPos(1, 14), Variant());      // the display colour comes after the list
    SyncSel(true, 1);
    EXPECT_EQ(Scripted().messages.size(), 4);
    EXPECT_THROW(LoadSel(1), NilObjectException);
    EXPECT_THROW(SaveSel(1), NilObjectException);
}

// Anything else than a missing control passes on, also from SyncHead.
TEST_F(RecordTransfer, AListLongerThanTheRecordIsNotCaught) {
    for (int extra = 0; extra < 7; ++extra)
        params.AddRow(QStringList{"N", "Extra", "1"});
    EXPECT_THROW(SyncHead(true), OutOfBoundsException);
    EXPECT_EQ(RecHd(15), Variant(1.0)); // the rows that fit went in
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// Cells are set without list events; the fields raise TextChange, as when the user types.
TEST_F(RecordTransfer, WindowEventsAsTheFrameworkRaisesThem) {
    QStringList log;
    params.Change = [&] { log << "Change"; };
    params.CellAction = [&](int, int) { log << "CellAction"; };
    params.CellLostFocus = [&](int, int) { log << "CellLostFocus"; };
    start.TextChange = [&] { log << "EdStart " + start.Text(); };
    qty.TextChange = [&] { log << "EdQty " + qty.Text(); };
    FillHeader();
    LoadHead(true);
    EXPECT_EQ(log, QStringList({"EdStart 1000", "EdQty 500"}));
    log.clear();
    SaveHead();
    EXPECT_TRUE(log.isEmpty());
}
