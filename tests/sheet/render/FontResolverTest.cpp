// Font substitution: a face the sheet names but the system lacks is drawn with one of the same
// widths.
#include "sheet/render/FontResolver.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

using namespace sheet::render;

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
