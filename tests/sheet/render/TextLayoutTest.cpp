// Cell text in pictures: alignment, overflow into empty neighbours and clipping, numbers too wide
// for their cell, wrap, vertical placement, colour and weight.
#include "RenderProbe.h"


#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::render;
using namespace sheet::render::testing;

namespace {

// Default columns: A spans x 0..64, B 64..128, C 128..192; rows are 17 px.
const std::string kLongText = "Overflowing text here";

CellFormat aligned(int horizontal, int vertical = xlBottom)
{
    CellFormat f;
    f.horizontalAlignment = horizontal;
    f.verticalAlignment = vertical;
    return f;
}

QRect cellArea(int column, int row = 1) { return QRect(QPoint(64 * (column - 1) + 1, 17 * (row - 1) + 1), QSize(63, 16)); }

}  // namespace

TEST(TextLayout, GeneralPutsNumbersRightAndTextLeft)
{
    OneSheetBook b;
    b.put(1, 1, 42.0);
    b.put(2, 1, std::string("ab"));
    CellFormat time;
    time.numberFormat = kNumberFormatTime;
    b.sheet->setColumnWidth(2, 14);
    b.put(1, 2, 7.0 / 24, time);
    const QImage p = b.render(CellRect{1, 1, 2, 2});

    const auto number = inkBounds(p, cellArea(1, 1));
    ASSERT_TRUE(number.has_value());
    EXPECT_GE(number->right(), 63 - 5);
    EXPECT_LE(number->right(), 62);
    EXPECT_GT(number->left(), 40);
    const auto text = inkBounds(p, cellArea(1, 2));
    ASSERT_TRUE(text.has_value());
    EXPECT_GE(text->left(), 1);
    EXPECT_LE(text->left(), 5);
    EXPECT_LT(text->right(), 32);
    // A time is a number too: "7:00:00 AM" ends at the right of its 103 px column.
    const auto shownTime = inkBounds(p, QRect(65, 1, 102, 16));
    ASSERT_TRUE(shownTime.has_value());
    EXPECT_GE(shownTime->right(), 167 - 5);
    EXPECT_LT(shownTime->left(), 167 - 45);
}

TEST(TextLayout, ExplicitAlignmentOverridesGeneral)
{
    OneSheetBook b;
    b.put(1, 1, std::string("ab"), aligned(xlRightLegacy));
    b.put(2, 1, std::string("ab"), aligned(xlCenter));
    b.put(3, 1, 5.0, aligned(xlLeft));
    const QImage p = b.render(CellRect{1, 1, 3, 1});

    const auto right = inkBounds(p, cellArea(1, 1));
    ASSERT_TRUE(right.has_value());
    EXPECT_GE(right->right(), 58);
    const auto centre = inkBounds(p, cellArea(1, 2));
    ASSERT_TRUE(centre.has_value());
    EXPECT_NEAR(centre->left() - 1, 63 - centre->right(), 3);
    const auto left = inkBounds(p, cellArea(1, 3));
    ASSERT_TRUE(left.has_value());
    EXPECT_LE(left->left(), 5);
}

TEST(TextLayout, VerticalAlignmentPlacesTextInTallRows)
{
    OneSheetBook b;
    for (int row = 1; row <= 3; ++row)
        b.sheet->setRowHeight(row, 45);  // 60 px
    b.put(1, 1, std::string("Top"), aligned(xlGeneral, xlTop));
    b.put(2, 1, std::string("Mid"), aligned(xlGeneral, xlCenter));
    b.put(3, 1, std::string("Low"));
    const QImage p = b.render(CellRect{1, 1, 3, 1});

    const auto top = inkBounds(p, QRect(1, 1, 63, 59));
    const auto mid = inkBounds(p, QRect(1, 61, 63, 59));
    const auto low = inkBounds(p, QRect(1, 121, 63, 59));
    ASSERT_TRUE(top && mid && low);
    EXPECT_LE(top->top(), 1 + 5);
    EXPECT_NEAR(mid->center().y(), 60 + 30, 4);
    EXPECT_GE(low->bottom(), 180 - 6);
}

TEST(TextLayout, UnwrappedTextRunsIntoEmptyNeighboursAndStopsAtFilledOnes)
{
    OneSheetBook open;
    open.put(1, 1, kLongText);
    CellFormat filled;
    filled.interiorColorIndex = 36;
    open.format(1, 2, filled);  // a format alone does not stop the text
    const QImage p = open.render(CellRect{1, 1, 1, 3});
    EXPECT_TRUE(inkBounds(p, cellArea(2)).has_value());
    EXPECT_NE(p.pixel(64, 2), kGrid);  // no grid line under the running text
    EXPECT_EQ(p.pixel(192, 2), kGrid);  // the line after the text's end stays

    OneSheetBook blocked;
    blocked.put(1, 1, kLongText);
    blocked.put(1, 2, 1.0);  // right-aligned, its ink stays at B1's right end
    const QImage q = blocked.render(CellRect{1, 1, 1, 3});
    EXPECT_FALSE(inkBounds(q, QRect(64, 1, 40, 16)).has_value());
    EXPECT_TRUE(inkBounds(q, cellArea(1)).has_value());
    EXPECT_EQ(q.pixel(64, 2), kGrid);
}

TEST(TextLayout, RightAndCentredTextRunTowardsTheirAlignment)
{
    OneSheetBook right;
    right.put(1, 3, kLongText, aligned(xlRight));
    const QImage p = right.render(CellRect{1, 1, 1, 4});
    EXPECT_TRUE(inkBounds(p, cellArea(2)).has_value());
    EXPECT_FALSE(inkBounds(p, cellArea(4)).has_value());

    OneSheetBook centred;
    centred.put(1, 2, kLongText, aligned(xlCenter));
    const QImage q = centred.render(CellRect{1, 1, 1, 3});
    EXPECT_TRUE(inkBounds(q, cellArea(1)).has_value());
    EXPECT_TRUE(inkBounds(q, cellArea(3)).has_value());

    // Blocked on one side, centred text is cut there and still centred on its cell.
    centred.put(1, 1, std::string("x"), aligned(xlLeft));
    const QImage c = centred.render(CellRect{1, 1, 1, 3});
    const auto leftPart = inkBounds(c, QRect(16, 1, 48, 16));
    EXPECT_FALSE(leftPart.has_value());
    EXPECT_TRUE(inkBounds(c, cellArea(3)).has_value());
}

TEST(TextLayout, TextBesideTheRangeRunsIntoIt)
{
    OneSheetBook b;
    b.put(1, 1, kLongText);
    const QImage p = b.render(CellRect{1, 2, 1, 2});
    EXPECT_TRUE(inkBounds(p, p.rect()).has_value());
    EXPECT_NE(p.pixel(0, 2), kGrid);
}

TEST(TextLayout, MergedAreasKeepTheirTextInside)
{
    OneSheetBook b;
    b.put(1, 1, kLongText);
    b.sheet->merges.push_back(CellRect{1, 1, 2, 1});
    const QImage p = b.render(CellRect{1, 1, 2, 2});
    EXPECT_TRUE(inkBounds(p, QRect(1, 1, 63, 33)).has_value());
    EXPECT_FALSE(inkBounds(p, QRect(64, 0, 65, 35)).has_value());
}

TEST(TextLayout, NumbersTooWideShowHashesOrFewerDecimals)
{
    OneSheetBook wide;
    wide.put(1, 1, 123456789012345.0);
    const QImage p = wide.render(CellRect{1, 1, 1, 2});
    OneSheetBook hashes;
    hashes.put(1, 1, std::string("###"), aligned(xlRight));
    EXPECT_EQ(p, hashes.render(CellRect{1, 1, 1, 2}));
    EXPECT_FALSE(inkBounds(p, cellArea(2)).has_value());  // numbers never run on

    CellFormat time;
    time.numberFormat = kNumberFormatTime;
    time.font.size = 9;
    OneSheetBook narrowTime;
    narrowTime.sheet->setColumnWidth(1, 6.14);
    narrowTime.put(1, 1, 7.0 / 24, time);
    OneSheetBook timeHashes;
    timeHashes.sheet->setColumnWidth(1, 6.14);
    CellFormat hashFormat = time;
    hashFormat.numberFormat = kNumberFormatGeneral;
    hashFormat.horizontalAlignment = xlRight;
    timeHashes.put(1, 1, std::string("###"), hashFormat);
    EXPECT_EQ(narrowTime.render(CellRect{1, 1, 1, 1}), timeHashes.render(CellRect{1, 1, 1, 1}));

    // General rounds decimals away before giving up.
    OneSheetBook pi;
    pi.put(1, 1, 3.14159265358);
    const QImage r = pi.render(CellRect{1, 1, 1, 2});
    EXPECT_NE(r, p);
    const auto ink = inkBounds(r, r.rect());
    ASSERT_TRUE(ink.has_value());
    EXPECT_GT(ink->left(), 1);
    EXPECT_LT(ink->right(), 63);
}

TEST(TextLayout, WrappedTextBreaksInsideTheCell)
{
    OneSheetBook b;
    b.sheet->setRowHeight(1, 60);
    CellFormat wrap;
    wrap.wrapText = true;
    b.put(1, 1, std::string("alpha beta gamma delta"), wrap);
    const QImage p = b.render(CellRect{1, 1, 1, 2});
    const auto ink = inkBounds(p, p.rect());
    ASSERT_TRUE(ink.has_value());
    EXPECT_LT(ink->right(), 63);
    EXPECT_GT(ink->height(), 2 * 13);  // three or four lines

    // Wrapped text that does not fit shows its first line and is cut at the cell's bottom; the rows
    // below stay clean.
    OneSheetBook low;
    low.sheet->setRowHeight(1, 15);
    low.put(1, 1, std::string("alpha beta gamma delta"), wrap);
    const QImage q = low.render(CellRect{1, 1, 2, 1});
    EXPECT_FALSE(inkBounds(q, QRect(0, 20, 65, 20)).has_value());
    OneSheetBook firstWord;
    firstWord.sheet->setRowHeight(1, 15);
    firstWord.put(1, 1, std::string("alpha"), aligned(xlLeft, xlTop));
    const QImage w = firstWord.render(CellRect{1, 1, 2, 1});
    EXPECT_EQ(q.copy(0, 0, 30, 20), w.copy(0, 0, 30, 20));
}

TEST(TextLayout, LowRowsClipTheirText)
{
    OneSheetBook b;
    b.sheet->setRowHeight(1, 5);
    b.put(1, 1, std::string("Hidden"));
    const QImage p = b.render(CellRect{1, 1, 2, 1});
    EXPECT_FALSE(inkBounds(p, QRect(0, 7, 65, 18)).has_value());
}

TEST(TextLayout, FontColourAndWeightShow)
{
    OneSheetBook b;
    CellFormat red;
    red.font.colorIndex = 3;
    red.font.size = 12;
    b.put(1, 1, std::string("MMM"), red);
    CellFormat regular;
    regular.font.name = "Century Gothic";
    regular.font.size = 12;
    CellFormat bold = regular;
    bold.font.bold = true;
    b.put(2, 1, std::string("MMM"), regular);
    b.put(3, 1, std::string("MMM"), bold);
    const QImage p = b.render(CellRect{1, 1, 3, 1});

    bool redInk = false;
    for (int y = 1; y < 17; ++y)
        for (int x = 1; x < 64; ++x)
            redInk = redInk || (qRed(p.pixel(x, y)) > 200 && qGreen(p.pixel(x, y)) < 60 && qBlue(p.pixel(x, y)) < 60);
    EXPECT_TRUE(redInk);
    const auto inkPixels = [&](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += isInk(p.pixel(x, y)) ? 1 : 0;
        return count;
    };
    const int thin = inkPixels(cellArea(1, 2));
    EXPECT_GT(thin, 20);
    EXPECT_GT(inkPixels(cellArea(1, 3)), thin * 5 / 4);
}

TEST(TextLayout, AWrappedTextFarTallerThanItsCellShowsItsBeginningAsAShorterOneDoes)
{
    // Both overflow the cell, so both start at its top; only the visible lines are laid out.
    const auto picture = [](std::size_t length) {
        OneSheetBook b;
        CellFormat wrap;
        wrap.wrapText = true;
        wrap.verticalAlignment = xlBottom;
        b.sheet->setRowHeight(1, 40);
        b.put(1, 1, std::string(length, 'w'), wrap);
        return b.render(CellRect{1, 1, 1, 1});
    };
    const QImage shorter = picture(200);
    EXPECT_TRUE(inkBounds(shorter, shorter.rect()).has_value());
    EXPECT_EQ(picture(200000), shorter);
}
