// Sheet units to pixels, the palette and font substitution: the numbers every picture is built on.
#include "sheet/render/FontResolver.h"
#include "sheet/render/Palette.h"
#include "sheet/render/PixelMetrics.h"

#include <QFontDatabase>
#include <QFontInfo>

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

TEST(FontResolver, MissingFontsFallBackToFacesOfTheSameWidths)
{
    if (!QFontDatabase::hasFamily(QStringLiteral("Century Gothic")) && QFontDatabase::hasFamily(QStringLiteral("URW Gothic")))
        EXPECT_EQ(installedFamily(QStringLiteral("Century Gothic")), QStringLiteral("URW Gothic"));
    if (!QFontDatabase::hasFamily(QStringLiteral("Arial")) && QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        EXPECT_EQ(installedFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(installedFamily(QStringLiteral("No Such Face Anywhere")), QStringLiteral("No Such Face Anywhere"));

    sheet::Font title;
    title.name = "Century Gothic";
    title.size = 24;
    title.bold = true;
    const QFont font = cellFont(title);
    EXPECT_EQ(font.pixelSize(), 32);
    EXPECT_TRUE(font.bold());
    // Qt may add the foundry: "URW Gothic [urw]".
    EXPECT_TRUE(QFontInfo(font).family().startsWith(installedFamily(QStringLiteral("Century Gothic")))) << QFontInfo(font).family().toStdString();
    EXPECT_GT(QFontInfo(font).weight(), QFont::Normal);
}
