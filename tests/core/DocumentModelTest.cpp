#include "TestSupport.h"
#include "core/Module1.h"
#include "core/QVutils.h"

#include <gtest/gtest.h>

using platform::Variant;

namespace {

class DocumentModel : public ::testing::Test {
protected:
    void SetUp() override { Module1::InitGlobals(); }

    static void place(int row, const Variant& x, const Variant& y) {
        Module1::RecPos(row, 1) = x;
        Module1::RecPos(row, 2) = y;
    }
};

TEST_F(DocumentModel, StartUpValues) {
    Module1::RecHd(3) = 1.0;
    Module1::RecPos(128, 15) = "x";
    Module1::ModNme[2] = "y";
    Module1::ImageResolution = 72;
    QVutils::EPSjpgResolution = 72;

    Module1::InitGlobals();
    EXPECT_EQ(Module1::RecHd.Ubound(), 15);
    EXPECT_TRUE(Module1::RecHd(3).IsNull());
    EXPECT_EQ(Module1::RecPos.Ubound(1), 128);
    EXPECT_EQ(Module1::RecPos.Ubound(2), 15);
    EXPECT_TRUE(Module1::RecPos(128, 15).IsNull());
    EXPECT_EQ(Module1::ImageResolution, 300);
    EXPECT_EQ(QVutils::EPSjpgResolution, 200);
    EXPECT_EQ(Module1::NumPic, "\"##########.0;##########.0;##########\"");
    EXPECT_EQ(Module1::NumPic.size(), 38);
    EXPECT_EQ(Module1::NumPic2, "\"#############\"");
    EXPECT_EQ(Module1::NumPic2.size(), 15);
    EXPECT_EQ(Module1::ModNme, QStringList(11));
}

TEST_F(DocumentModel, MethodNames) {
    Module1::FillModNames();
    EXPECT_EQ(Module1::ModNme,
              QStringList({"None", "Mod 7", "Mod 7 Remainder", "Mod 9", "Mod 9 Remainder", "Mod 10",
                           "Mod 10 Remainder", "EAN Mod 10 weighted", "", "", ""}));
}

TEST_F(DocumentModel, UnitConversions) {
    const struct {
        int resolution;
        double mm;
        double pixels;
    } cases[] = {
        {100, 25.4, 100}, {300, 25.4, 300}, {72, 210, 595.2755905511812}, {100, 0, 0}, {100, -2.54, -10}};
    for (const auto& c : cases) {
        Module1::PageResolution = c.resolution;
        EXPECT_DOUBLE_EQ(Module1::mms(c.mm), c.pixels) << c.resolution << " " << c.mm;
        if (c.pixels == int(c.pixels))
            EXPECT_DOUBLE_EQ(Module1::PixToMMs(int(c.pixels)), c.mm) << c.resolution << " " << c.pixels;
    }
}

TEST_F(DocumentModel, FindObjectMarginsAndOrder) {
    struct Case {
        const char* name;
        Variant x, y;
        double x1, y1, x2, y2;
        int hit;
    } cases[] = {
        {"exactly 10 mm outside", 40.0, 70.0, 50, 50, 60, 60, 0},
        {"just beyond the margin", 40.0, 70.5, 50, 50, 60, 60, -1},
        {"left margin", 39.0, 55.0, 50, 50, 60, 60, -1},
        {"above the top margin", 55.0, 39.9, 50, 50, 60, 60, -1},
        // X is compared as a whole number, Y with its fraction.
        {"X truncated below", 20.7, 20.7, 30.5, 0, 50, 50, -1},
        {"X truncated inside", 20.7, 20.7, 30.0, 30.6, 50, 50, 0},
        {"Y keeps its fraction", 20.0, 20.7, 30.0, 30.8, 50, 50, -1},
        {"X as list text", "20.7", "5", 30.5, 0, 50, 50, -1},
        {"negative X truncates to 0", -0.5, 5.0, 10, 0, 20, 20, 0},
        {"corners swapped far apart", 50.0, 50.0, 80, 0, 40, 100, -1},
    };
    for (const auto& c : cases) {
        Module1::InitGlobals();
        Module1::TotalObjects = 1;
        place(0, c.x, c.y);
        EXPECT_EQ(Module1::FindObject(c.x1, c.y1, c.x2, c.y2), c.hit) << c.name;
    }
}

TEST_F(DocumentModel, FindObjectTakesTheLowestRowAndOnlyUsedRows) {
    place(0, 100.0, 100.0);
    place(1, 55.0, 55.0);
    place(2, 56.0, 56.0);
    place(3, 5.0, 5.0);
    Module1::TotalObjects = 3;
    EXPECT_EQ(Module1::FindObject(50, 50, 60, 60), 1);
    EXPECT_EQ(Module1::FindObject(0, 0, 10, 10), -1); // row 3 is beyond the objects

    Module1::TotalObjects = 0;
    place(0, 55.0, 55.0);
    EXPECT_EQ(Module1::FindObject(50, 50, 60, 60), -1);
}

} // namespace
