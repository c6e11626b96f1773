// The colours a sheet's colour indexes stand for.
#include "sheet/model/Constants.h"
#include "sheet/render/Palette.h"

#include <gtest/gtest.h>

using namespace sheet::render;

TEST(Palette, ColourIndexesMapToTheDefaultPalette)
{
    EXPECT_EQ(paletteRgb(1), 0x000000u);
    EXPECT_EQ(paletteRgb(2), 0xFFFFFFu);
    EXPECT_EQ(paletteRgb(15), 0xC0C0C0u);  // grey 25 %
    EXPECT_EQ(paletteRgb(16), 0x808080u);  // grey 50 %
    EXPECT_EQ(paletteRgb(48), 0x969696u);  // grey 40 %
    EXPECT_EQ(paletteRgb(34), 0xCCFFFFu);  // first employee colour
    EXPECT_EQ(paletteRgb(45), 0xFF9900u);
    EXPECT_EQ(paletteRgb(56), 0x333333u);  // last employee colour
    EXPECT_EQ(paletteRgb(11), paletteRgb(25));  // the palette repeats some colours
    EXPECT_FALSE(paletteRgb(0).has_value());
    EXPECT_FALSE(paletteRgb(57).has_value());
    EXPECT_FALSE(paletteRgb(sheet::xlColorIndexAutomatic).has_value());
    EXPECT_EQ(paletteRgbOr(sheet::xlColorIndexAutomatic, kAutomaticRgb), kAutomaticRgb);
}
