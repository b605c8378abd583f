#include "core/FileTypes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(FileTypes, DialogFilters) {
    EXPECT_EQ(FileTypes::pTallio.QtFilter(), "Numbers (*.num)");
    EXPECT_EQ(FileTypes::ZOrerImages().QtFilter(),
              "ZOrer Images (*.eps *.tif *.tiff *.pct *.pdf *.jpg *.jpeg *.psd *.bmp)");
    // Blanks after the semicolons do not leak into the patterns.
    EXPECT_EQ(FileTypes::pImages.ExtensionList(), QStringList({"pct", "eps", "pdf"}));
    EXPECT_EQ(FileTypes::pText.QtFilter(), "text (*)");
}
