#include "TestSupport.h"
#include "core/Module1.h"

#include <gtest/gtest.h>

using platform::Variant;

namespace {

void Place(int row, const Variant& x, const Variant& y) {
    Module1::RecPos(row, 1) = x;
    Module1::RecPos(row, 2) = y;
}

TEST(DocumentModel, FindObjectMarginsAndWholeNumberX) {
    const struct {
        const char* name;
        Variant x, y;
        double x1, y1, x2, y2;
        int hit;
    } cases[] = {
        {"exactly 10 mm outside", 40.0, 70.0, 50, 50, 60, 60, 0},
        {"just beyond the margin", 40.0, 70.5, 50, 50, 60, 60, -1},
        {"left of the margin", 39.0, 55.0, 50, 50, 60, 60, -1},
        {"above the top margin", 55.0, 39.9, 50, 50, 60, 60, -1},
        {"negative X truncates to 0", -0.5, 5.0, 10, 0, 20, 20, 0},
        {"X truncated below", 20.7, 20.7, 30.5, 0, 50, 50, -1},
        {"X truncated inside", 20.7, 20.7, 30.0, 30.6, 50, 50, 0},
        {"Y keeps its fraction", 20.0, 20.7, 30.0, 30.8, 50, 50, -1},
        {"X as list text", "20.7", "5", 30.5, 0, 50, 50, -1},
        {"corners swapped", 50.0, 50.0, 80, 0, 40, 100, -1},
    };
    for (const auto& c : cases) {
        Module1::InitGlobals();
        Module1::TotalObjects = 1;
        Place(0, c.x, c.y);
        EXPECT_EQ(Module1::FindObject(c.x1, c.y1, c.x2, c.y2), c.hit) << c.name;
    }
}

TEST(DocumentModel, FindObjectTakesTheLowestUsedRow) {
    Module1::InitGlobals();
    Place(0, 100.0, 100.0), Place(1, 55.0, 55.0), Place(2, 56.0, 56.0), Place(3, 5.0, 5.0);
    Module1::TotalObjects = 3;
    EXPECT_EQ(Module1::FindObject(50, 50, 60, 60), 1);
    EXPECT_EQ(Module1::FindObject(0, 0, 10, 10), -1);
    Module1::TotalObjects = 0;
    EXPECT_EQ(Module1::FindObject(50, 50, 60, 60), -1);
}

} // namespace

TEST(DocumentModel, RowsOutsideTheTableThrowInsteadOfTouchingMemory) {
    Module1::InitGlobals();
    for (int row : {-1, 129})
        EXPECT_THROW(Module1::CalcMod(row, 1), platform::OutOfBoundsException) << row;
    EXPECT_THROW(Module1::RecPos(0, 16), platform::OutOfBoundsException);
    EXPECT_THROW(Module1::RecHd(16), platform::OutOfBoundsException);
    Module1::RecPos(128, 3) = "#"; // the last row is a row like any other
    EXPECT_EQ(Module1::CalcMod(128, 5), "5");
}

// Millimetres to pixels at the page resolution and back.
TEST(DocumentModel, UnitConversions) {
    const struct {
        int resolution;
        double mm, pixels;
    } cases[] = {
        {100, 25.4, 100}, {300, 25.4, 300}, {72, 210, 595.2755905511812}, {100, 0, 0}, {100, -2.54, -10}};
    for (const auto& c : cases) {
        Module1::PageResolution = c.resolution;
        EXPECT_DOUBLE_EQ(Module1::mms(c.mm), c.pixels) << c.resolution << " " << c.mm;
        if (c.pixels == int(c.pixels)) {
            EXPECT_DOUBLE_EQ(Module1::PixToMMs(int(c.pixels)), c.mm) << c.resolution << " " << c.pixels;
        }
    }
}
