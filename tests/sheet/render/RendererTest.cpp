// Pictures of ranges probed pixel by pixel: size from widths and heights, gridlines, fills,
// borders, merged areas, and ranges that cannot be pictured.
#include "RenderProbe.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/PixelMetrics.h"
#include "sheet/render/Renderer.h"

#include <gtest/gtest.h>

#include <limits>

using namespace sheet;
using namespace sheet::render;
using namespace sheet::render::testing;

namespace {

// Default columns are 64 px and default rows 17 px: column A spans x 0..64, B 64..128, C 128..192;
// row 1 spans y 0..17, row 2 17..34, row 3 34..51 (the first and last pixel are grid lines).

CellFormat bordered(BorderSide side, int colorIndex)
{
    CellFormat f;
    f.borders[side] = Border{xlContinuous, colorIndex};
    return f;
}

}  // namespace

TEST(Renderer, PictureCoversTheRangeColumnsAndRowsPlusTheClosingLine)
{
    OneSheetBook b;
    b.sheet->setColumnWidth(2, 10.5);
    b.sheet->setColumnWidth(3, 1);
    b.sheet->setRowHeight(2, 13);
    b.sheet->setRowHeight(3, 29.25);
    const QImage picture = b.render(CellRect{2, 2, 3, 4});
    EXPECT_EQ(picture.width(), columnWidthPixels(10.5) + columnWidthPixels(1) + columnWidthPixels(8.43) + 1);
    EXPECT_EQ(picture.width(), 79 + 12 + 64 + 1);
    EXPECT_EQ(picture.height(), 17 + 39 + 1);

    const QImage standard = b.render(CellRect{1, 1, 1, 1});
    EXPECT_EQ(standard.size(), QSize(65, 18));
    // Hidden columns and rows take no pixels.
    b.sheet->setColumnWidth(5, 0);
    EXPECT_EQ(b.render(CellRect{1, 4, 1, 6}).width(), 64 + 64 + 1);
}

TEST(Renderer, LightGridlinesHiddenUnderFills)
{
    OneSheetBook b;
    CellFormat filled;
    filled.interiorColorIndex = 34;
    b.format(2, 2, filled);
    const QImage p = b.render(CellRect{1, 1, 3, 3});

    EXPECT_EQ(p.pixel(64, 8), kGrid);   // between A1 and B1
    EXPECT_EQ(p.pixel(30, 17), kGrid);  // between A1 and A2
    EXPECT_EQ(p.pixel(0, 8), kGrid);    // the range's own outline
    EXPECT_EQ(p.pixel(192, 45), kGrid);
    EXPECT_EQ(p.pixel(30, 8), kWhite);
    // The fill covers B2 up to and including its grid lines.
    EXPECT_TRUE(allPixels(p, QRect(QPoint(64, 17), QPoint(128, 34)), rgbOf(34)));
    EXPECT_EQ(p.pixel(63, 25), kWhite);
    EXPECT_EQ(p.pixel(129, 25), kWhite);
}

TEST(Renderer, BordersSitOnTheCellEdgesInTheirColours)
{
    OneSheetBook b;
    CellFormat f = bordered(kBorderBottom, 48);
    f.borders[kBorderRight] = Border{xlContinuous, xlColorIndexAutomatic};
    b.format(2, 2, f);
    b.format(3, 1, bordered(kBorderLeft, 3));
    const QImage p = b.render(CellRect{1, 1, 3, 3});

    EXPECT_TRUE(allPixels(p, QRect(QPoint(64, 34), QPoint(128, 34)), rgbOf(48)));  // B2's bottom edge
    EXPECT_EQ(p.pixel(100, 33), kWhite);
    EXPECT_EQ(p.pixel(100, 35), kWhite);
    EXPECT_EQ(p.pixel(30, 34), kGrid);  // A2's bottom has no border
    EXPECT_TRUE(allPixels(p, QRect(QPoint(128, 18), QPoint(128, 33)), 0xFF000000u));  // automatic is black
    EXPECT_EQ(p.pixel(128, 8), kGrid);
    EXPECT_TRUE(allPixels(p, QRect(QPoint(0, 35), QPoint(0, 50)), rgbOf(3)));  // on the range's outline too
}

TEST(Renderer, EdgesSharingAPixelColumnAcrossAColumnOfNoWidthPaintRowByRow)
{
    // Column B takes no pixels, so A's right edge and C's left edge are both x 64. Row by row, the
    // line of a later row covers the pixel it shares with the row above: A2's, not C1's.
    OneSheetBook b;
    b.sheet->setColumnWidth(2, 0);
    b.format(1, 1, bordered(kBorderRight, 3));
    b.format(1, 3, bordered(kBorderLeft, 5));
    b.format(2, 1, bordered(kBorderRight, 3));
    const QImage p = b.render(CellRect{1, 1, 2, 3});
    EXPECT_EQ(p.pixel(64, 8), rgbOf(5));
    EXPECT_EQ(p.pixel(64, 17), rgbOf(3));
    EXPECT_EQ(p.pixel(64, 25), rgbOf(3));
}

TEST(Renderer, BordersOfNeighboursOutsideTheRangeShowOnItsOutline)
{
    OneSheetBook b;
    b.format(1, 1, bordered(kBorderRight, 10));
    b.format(1, 2, bordered(kBorderTop, 3));  // top edge of row 1 is the sheet's edge
    b.format(2, 3, bordered(kBorderTop, 5));
    const QImage p = b.render(CellRect{2, 2, 2, 2});
    EXPECT_EQ(p.pixel(0, 8), kGrid);  // A1's right border is in row 1, outside the range
    const QImage q = b.render(CellRect{1, 2, 2, 2});
    EXPECT_TRUE(allPixels(q, QRect(QPoint(0, 1), QPoint(0, 16)), rgbOf(10)));
    EXPECT_TRUE(allPixels(q, QRect(QPoint(1, 0), QPoint(63, 0)), rgbOf(3)));
    EXPECT_EQ(q.pixel(30, 17), kGrid);
}

TEST(Renderer, MergedAreaIsOneCellWithoutInnerGridlines)
{
    OneSheetBook b;
    CellFormat grey;
    grey.interiorColorIndex = 15;
    b.format(2, 2, grey);
    b.sheet->merges.push_back(CellRect{2, 2, 3, 3});
    b.sheet->merges.push_back(CellRect{5, 1, 5, 2});
    const QImage p = b.render(CellRect{1, 1, 5, 4});

    // The anchor's fill covers the whole area, the cells under it add nothing.
    EXPECT_TRUE(allPixels(p, QRect(QPoint(64, 17), QPoint(192, 51)), rgbOf(15)));
    // An unfilled merged area shows no grid inside but keeps its outline.
    EXPECT_EQ(p.pixel(64, 75), kWhite);
    EXPECT_EQ(p.pixel(64, 60), kGrid);
    EXPECT_EQ(p.pixel(128, 75), kGrid);
    EXPECT_EQ(p.pixel(30, 68), kGrid);
    EXPECT_EQ(p.pixel(64, 8), kGrid);
}

TEST(Renderer, MergedAreaTakesItsEdgesFromItsEdgeCells)
{
    OneSheetBook b;
    // The bottom edge set on the first cell only, as a title underline, runs under the whole area.
    CellFormat first = bordered(kBorderBottom, 48);
    first.borders[kBorderRight] = Border{xlContinuous, 3};
    b.put(2, 2, std::string("Week 12"), first);
    b.format(2, 3, bordered(kBorderRight, 5));
    b.sheet->merges.push_back(CellRect{2, 2, 2, 3});
    const QImage p = b.render(CellRect{1, 1, 3, 4});

    EXPECT_TRUE(allPixels(p, QRect(QPoint(64, 34), QPoint(192, 34)), rgbOf(48)));
    EXPECT_TRUE(allPixels(p, QRect(QPoint(192, 18), QPoint(192, 33)), rgbOf(5)));  // from the top-right cell
    EXPECT_EQ(p.pixel(128, 25), kWhite);  // the first cell's own right edge lies inside the area
}

TEST(Renderer, MergedAreaReachingOutsideTheRangeIsPlacedAsAWhole)
{
    OneSheetBook b;
    CellFormat centred;
    centred.horizontalAlignment = xlCenter;
    b.put(1, 1, std::string("WWWW"), centred);
    b.sheet->merges.push_back(CellRect{1, 1, 1, 3});
    const QImage p = b.render(CellRect{1, 2, 1, 2});
    // The text is centred on the area A1:C1, that is on the middle of B1.
    const auto ink = inkBounds(p, p.rect());
    ASSERT_TRUE(ink.has_value());
    EXPECT_NEAR(ink->center().x(), 32, 3);
    EXPECT_EQ(p.pixel(0, 8), kWhite);  // the range cuts through the area: no grid line there
    EXPECT_EQ(p.pixel(64, 8), kWhite);
}

TEST(Renderer, RangesOutsideTheSheetAreRefusedAndAllOthersPicture)
{
    OneSheetBook b;
    EXPECT_THROW(b.render(CellRect{0, 1, 1, 1}), SheetError);
    EXPECT_THROW(b.render(CellRect{1, 1, 1, kMaxColumns + 1}), SheetError);
    EXPECT_THROW(b.render(CellRect{3, 1, 2, 1}), SheetError);
    EXPECT_NO_THROW(b.render(CellRect{kMaxRows, kMaxColumns, kMaxRows, kMaxColumns}));
    // The whole sheet, 16.7 million cells and 16,385 x 1,114,113 px at full size, its upper half
    // filled through row formats: painted band by band, the overview shows each band in its place.
    CellFormat red;
    red.interiorColorIndex = 3;
    const FormatId redId = b.book.formats.intern(red);
    for (int row = 1; row <= kMaxRows / 2; ++row)
        b.sheet->setRowFormat(row, redId);
    const QImage whole = b.render(CellRect{1, 1, kMaxRows, kMaxColumns});
    EXPECT_EQ(whole.height(), kMaxPictureSide);
    EXPECT_LE(static_cast<long long>(whole.width()) * whole.height(), kMaxPicturePixels);
    for (const int y : {1, kMaxPictureSide / 4, kMaxPictureSide / 2 - 2})
        EXPECT_EQ(whole.pixel(whole.width() / 2, y), rgbOf(3)) << y;
    for (const int y : {kMaxPictureSide / 2 + 2, kMaxPictureSide * 3 / 4, kMaxPictureSide - 2})
        EXPECT_NE(whole.pixel(whole.width() / 2, y), rgbOf(3)) << y;
}

TEST(Renderer, RowsOfNoHeightAllOverTheSheetLeaveTheLastRowShowing)
{
    // 65,535 hidden rows share the top pixel row; no band may gather them all, and the one row
    // left shows at the bottom of the picture, about half size as the sheet is 16,385 px wide.
    OneSheetBook b;
    for (int row = 1; row < kMaxRows; ++row)
        b.sheet->setRowHeight(row, 0);
    CellFormat red;
    red.interiorColorIndex = 3;
    b.put(1, 1, std::string("first"), red);
    b.put(kMaxRows, kMaxColumns, std::string("last"), red);
    const QImage p = b.render(CellRect{1, 1, kMaxRows, kMaxColumns});
    EXPECT_EQ(p.size(), QSize(kMaxPictureSide, 8));
    EXPECT_EQ(p.pixel(p.width() - 10, 4), rgbOf(3));
    EXPECT_NE(p.pixel(10, 4), rgbOf(3));
}

TEST(Renderer, APictureTooLargeAt96DpiIsDrawnScaledDownToFit)
{
    // 10,000 rows of 17 px and two 64 px columns: 170,001 x 129 px at full size.
    OneSheetBook b;
    CellFormat red;
    red.interiorColorIndex = 3;
    for (int row = 1; row <= 10000; ++row)
        b.put(row, 1, std::string("Cashier"), row <= 5000 ? red : CellFormat{});
    const QImage image = b.render(CellRect{1, 1, 10000, 2});
    EXPECT_EQ(image.height(), kMaxPictureSide);
    const double scale = static_cast<double>(kMaxPictureSide) / 170001;
    EXPECT_NEAR(image.width(), 129 * scale, 1.0);
    // The upper half of column A is filled, the lower half is not; the overview keeps that.
    EXPECT_EQ(image.pixel(1, kMaxPictureSide / 4), rgbOf(3));
    EXPECT_NE(image.pixel(1, kMaxPictureSide * 3 / 4), rgbOf(3));
    // Text a few pixels high or less is left out rather than smeared.
    EXPECT_FALSE(inkBounds(image, QRect(0, kMaxPictureSide / 2 + 2, image.width(), kMaxPictureSide / 2 - 2)).has_value());
}

TEST(Renderer, ABigPictureIsPaintedInStripsThatMatchOnePainterPixelForPixel)
{
    // 1,000 rows of 17 px and 40 columns of 64 px: 2,561 x 17,001 px, an overview of about 10
    // million pixels, painted in strips side by side. Fills, borders, texts and a merged area
    // cross the strips' edges.
    OneSheetBook b;
    for (int row = 1; row <= 1000; ++row)
        for (int column = 1; column <= 40; ++column) {
            CellFormat f = row % 3 == 0 ? bordered(kBorderBottom, 5) : CellFormat{};
            f.interiorColorIndex = (row + column) % 5 == 0 ? 3 + column % 4 : 0;
            if (column == 1 || column % 7 == 0)
                b.put(row, column, std::string("Cashier ") + std::to_string(row), f);
            else
                b.format(row, column, f);
        }
    b.sheet->merges.push_back(CellRect{240, 2, 260, 5});
    b.put(240, 2, std::string("Shift Schedule"));
    const CellRect range{1, 1, 1000, 40};
    const QImage strips = b.render(range);
    ASSERT_EQ(strips.height(), kMaxPictureSide);
    const double scale = static_cast<double>(kMaxPictureSide) / 17001;
    PaintOptions overview;
    overview.leaveOutTextBelow = kUnreadableOverviewTextPixels;
    const QImage one = b.paint(range, QTransform::fromScale(scale, scale), overview);
    ASSERT_GE(one.width(), strips.width());
    ASSERT_GE(one.height(), strips.height());
    EXPECT_EQ(strips, one.copy(QRect(QPoint(0, 0), strips.size())));
}

TEST(Renderer, AnOverviewShowsTheFillsOfRowsWhoseLinesAreFinerThanAPixel)
{
    // Eight rows of 17 px to a pixel row: a row's bottom line is 1/136 of a pixel high, and every
    // eighth one crosses the centre of a pixel row (the picture is moved up by a little less than
    // a line's height). Painted whole or not at all, those lines would turn every pixel row blue;
    // covering their share, they leave the red fills showing.
    OneSheetBook b;
    CellFormat redWithBlueLine = bordered(kBorderBottom, 5);
    redWithBlueLine.interiorColorIndex = 3;
    constexpr int kRowsShown = 8 * 40;
    for (int row = 1; row <= kRowsShown; ++row)
        for (int column = 1; column <= 2; ++column)
            b.format(row, column, redWithBlueLine);
    const QImage p = b.paint(CellRect{1, 1, kRowsShown, 2}, QTransform(1.0 / 136, 0, 0, 1.0 / 136, 0, -0.004), PaintOptions{});
    ASSERT_GE(p.height(), 40);
    int reddish = 0;
    for (int y = 1; y < 39; ++y) {
        const QRgb pixel = p.pixel(0, y);
        EXPECT_NE(pixel, rgbOf(5)) << "pixel row " << y;
        reddish += qRed(pixel) > 200 && qBlue(pixel) < 56;
    }
    EXPECT_EQ(reddish, 38);
}

TEST(Renderer, FormatIdsUnknownToTheWorkbookDrawAsTheDefault)
{
    OneSheetBook b;
    b.put(1, 1, 5.0);
    b.sheet->at(1, 1).format = 999;
    const QImage p = b.render(CellRect{1, 1, 1, 1});
    EXPECT_TRUE(inkBounds(p, p.rect()).has_value());
}

TEST(Renderer, OddDataDrawsWithoutFailing)
{
    OneSheetBook b;
    CellFormat odd;
    odd.font.size = 1e9;
    odd.font.colorIndex = 999;
    odd.horizontalAlignment = 12345;
    odd.verticalAlignment = -1;
    odd.interiorColorIndex = 0;
    odd.borders[kBorderLeft] = Border{7, -3};
    b.put(2, 2, std::string("Huge"), odd);
    b.put(2, 3, std::numeric_limits<double>::quiet_NaN());
    b.put(3, 2, -std::numeric_limits<double>::infinity());
    b.put(3, 3, std::string("line one\nline two\r\n"));
    EXPECT_THROW(b.sheet->at(2, 300), SheetError);  // the sheet holds no cell beyond its last column
    b.sheet->setColumnWidth(2, std::numeric_limits<double>::quiet_NaN());
    b.sheet->setRowHeight(3, -5);
    b.sheet->merges.push_back(CellRect{3, 3, 1, 1});                      // upside down
    b.sheet->merges.push_back(CellRect{4, 1, kMaxRows + 5, kMaxColumns + 9});  // past the sheet's end
    const QImage p = b.render(CellRect{1, 1, 5, 4});
    EXPECT_EQ(p.size(), QSize(64 + 0 + 64 + 64 + 1, 17 + 17 + 0 + 17 + 17 + 1));
}
