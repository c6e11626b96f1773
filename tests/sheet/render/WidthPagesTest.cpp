// Pages one sheet wide: where the rows are cut into pages, and where a sheet's titles end and its
// blocks start.
#include "sheet/render/WidthPages.h"

#include <gtest/gtest.h>

#include <vector>

using namespace sheet;
using namespace sheet::render;

namespace {

// Row tops for rows of the given heights, row 1 first.
std::function<double(int)> topsOf(std::vector<double> heights)
{
    return [heights](int row) {
        double top = 0;
        for (int r = 1; r < row; ++r)
            top += heights.at(static_cast<std::size_t>(r - 1));
        return top;
    };
}

TEST(WidthPages, RowsAreCutWherePagesFillAndBeforeABlockThatWouldNotEndOnThePage)
{
    const auto even = topsOf(std::vector<double>(10, 10.0));
    // Without blocks each page takes as many rows as fit.
    EXPECT_EQ(pageRows(1, 10, {}, 35, even), (std::vector<RowSpan>{{1, 3}, {4, 6}, {7, 9}, {10, 10}}));
    // Blocks 1-3, 4-7 and 8-10 each fit a page of 50 and none is split.
    EXPECT_EQ(pageRows(1, 10, {1, 4, 8}, 50, even), (std::vector<RowSpan>{{1, 3}, {4, 7}, {8, 10}}));
    // Block 4-7 is taller than a page of 35: it is split between rows, and block 8-10 stays whole.
    EXPECT_EQ(pageRows(1, 10, {1, 4, 8}, 35, even), (std::vector<RowSpan>{{1, 3}, {4, 6}, {7, 7}, {8, 10}}));
    // A page of exactly the rows' height takes them all; one row short, the last block moves on.
    EXPECT_EQ(pageRows(3, 10, {4}, 80, even), (std::vector<RowSpan>{{3, 10}}));
    EXPECT_EQ(pageRows(3, 10, {4}, 70, even), (std::vector<RowSpan>{{3, 3}, {4, 10}}));
    // A row taller than the page gets a page of its own.
    EXPECT_EQ(pageRows(1, 3, {}, 35, topsOf({10, 100, 10})), (std::vector<RowSpan>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_TRUE(pageRows(5, 4, {}, 35, even).empty());
}

TEST(WidthPages, BlocksStartAtOneColumnCaptionsAndTheRowsAboveAreTitles)
{
    SheetData sheet;
    sheet.merges = {CellRect{12, 2, 13, 2}, CellRect{1, 2, 2, 6}, CellRect{4, 2, 5, 2}, CellRect{7, 3, 7, 5}};
    const SheetBlocks blocks = blocksOf(sheet, CellRect{1, 1, 40, 10});
    EXPECT_EQ(blocks.lastTitleRow, 3);
    EXPECT_EQ(blocks.blockStarts, (std::vector<int>{4, 12}));

    // Captions outside the printed range, or at its top, start no block.
    const SheetBlocks inside = blocksOf(sheet, CellRect{4, 1, 11, 10});
    EXPECT_EQ(inside.lastTitleRow, 0);
    EXPECT_TRUE(inside.blockStarts.empty());
    EXPECT_EQ(blocksOf(SheetData{}, CellRect{1, 1, 9, 9}).blockStarts.size(), 0u);
}

}  // namespace
