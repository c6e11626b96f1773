// Sheet units to pixels: the numbers every picture is built on.
#include "sheet/render/PixelMetrics.h"

#include <gtest/gtest.h>

using namespace sheet::render;

TEST(PixelMetrics, ColumnWidthsCountDefaultFontDigitsPlusPadding)
{
    EXPECT_EQ(columnPadding(), 5);
    EXPECT_EQ(columnWidthPixels(8.43), 64);  // a new sheet's standard column
    EXPECT_EQ(columnWidthPixels(1), 12);
    EXPECT_EQ(columnWidthPixels(14), 103);
    EXPECT_EQ(columnWidthPixels(10.5), 79);  // 73.5 digits' pixels round half up
    EXPECT_EQ(columnWidthPixels(7.43), 57);
    EXPECT_EQ(columnWidthPixels(6.14), 48);
    // Below one character the padding shrinks with the width.
    EXPECT_EQ(columnWidthPixels(0.75), 9);
    EXPECT_EQ(columnWidthPixels(0.5), 6);
    EXPECT_EQ(columnWidthPixels(0), 0);
    EXPECT_EQ(columnWidthPixels(-3), 0);
    // Another digit width changes both digits and padding (Century Gothic 8 as default font).
    EXPECT_EQ(columnWidthPixels(7.43, 6), 50);
    EXPECT_EQ(columnWidthPixels(1, 6), 11);
    EXPECT_EQ(columnPadding(10), 7);
}

TEST(PixelMetrics, RowHeightsAndFontSizesRoundPointsToWholePixels)
{
    EXPECT_EQ(rowHeightPixels(29.25), 39);
    EXPECT_EQ(rowHeightPixels(13.5), 18);
    EXPECT_EQ(rowHeightPixels(13), 17);
    EXPECT_EQ(rowHeightPixels(12.75), 17);
    EXPECT_EQ(rowHeightPixels(12), 16);
    EXPECT_EQ(rowHeightPixels(5), 7);
    EXPECT_EQ(rowHeightPixels(0), 0);
    EXPECT_EQ(rowHeightPixels(409.5), 546);
    EXPECT_EQ(rowHeightPixels(1e9), 546);  // clamped, no overflow on bad data

    EXPECT_EQ(fontPixelSize(8), 11);
    EXPECT_EQ(fontPixelSize(9), 12);
    EXPECT_EQ(fontPixelSize(10), 13);
    EXPECT_EQ(fontPixelSize(12), 16);
    EXPECT_EQ(fontPixelSize(24), 32);
    EXPECT_EQ(fontPixelSize(0), 1);
}
