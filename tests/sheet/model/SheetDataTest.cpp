// Cell storage: formats interned once, new cells taking their row's or column's format, and the
// rows of cells with their runs checked against a plain ordered map of cells under random adds
// and removals: the same cells with the same texts, in the same order, and the used range always
// the cells' bounds; a row filled block by block keeps no spare room.
#include "sheet/model/SheetData.h"
#include "sheet/model/SheetError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace sheet;

TEST(SheetData, NewCellsTakeTheRowFormatBeforeTheColumnFormat)
{
    WorkbookData book;
    CellFormat bold;
    bold.font.bold = true;
    CellFormat gothic;
    gothic.font.name = "Century Gothic";
    const FormatId b = book.formats.intern(bold);
    const FormatId g = book.formats.intern(gothic);
    EXPECT_EQ(book.formats.intern(bold), b);
    SheetData s;
    s.setColumnFormat(3, g);
    s.setRowFormat(2, b);
    EXPECT_EQ(s.at(2, 3).format, b);
    EXPECT_EQ(s.at(1, 3).format, g);
    EXPECT_EQ(s.at(1, 1).format, 0u);
    s.visitBlock({4, 2, 4, 4}, [](Cell&) {});
    EXPECT_EQ(s.find(4, 3)->format, g);
    EXPECT_EQ(s.find(4, 4)->format, 0u);
    s.eraseColumnFormat(3);
    EXPECT_EQ(s.at(5, 3).format, 0u);
}

TEST(SheetData, UsedRangeSpansFirstToLastCell)
{
    SheetData s;
    EXPECT_FALSE(s.usedRange().has_value());
    s.at(5, 4);
    s.at(9, 2);
    s.at(6, 12);
    EXPECT_EQ(*s.usedRange(), (CellRect{5, 2, 9, 12}));
    s.erase(9, 2);
    EXPECT_EQ(*s.usedRange(), (CellRect{5, 4, 6, 12}));
    s.erase(5, 4);
    s.erase(6, 12);
    EXPECT_FALSE(s.usedRange().has_value());
    s.at(kMaxRows, kMaxColumns);
    EXPECT_EQ(*s.usedRange(), (CellRect{kMaxRows, kMaxColumns, kMaxRows, kMaxColumns}));
}

TEST(SheetData, PositionsOutsideTheSheetHoldNoCell)
{
    SheetData s;
    EXPECT_THROW(s.at(0, 1), SheetError);
    EXPECT_THROW(s.at(kMaxRows + 1, 1), SheetError);
    EXPECT_THROW(s.at(1, 0), SheetError);
    EXPECT_THROW(s.at(1, kMaxColumns + 1), SheetError);
    EXPECT_EQ(s.find(0, 1), nullptr);
    EXPECT_EQ(s.find(1, kMaxColumns + 1), nullptr);
    s.erase(-1, 3);
    EXPECT_EQ(s.cellCount(), 0u);
    EXPECT_TRUE(s.cells().empty());
}

TEST(SheetData, ErasedClearedAndCopiedSheetsStayApart)
{
    SheetData sheet;
    sheet.at(2, 3).value = 1.0;
    sheet.erase(2, 3);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(sheet.at(2, 3).value));
    sheet.at(2, 3).value = 2.0;
    sheet.clearCells();
    EXPECT_TRUE(std::holds_alternative<std::monostate>(sheet.at(2, 3).value));

    sheet.at(4, 4).value = 3.0;
    SheetData copy = sheet;
    copy.at(4, 4).value = 4.0;
    EXPECT_EQ(std::get<double>(sheet.find(4, 4)->value), 3.0);
    EXPECT_EQ(std::get<double>(copy.find(4, 4)->value), 4.0);
    SheetData assigned;
    assigned.at(4, 4);
    assigned = sheet;
    assigned.at(4, 4).value = 5.0;
    EXPECT_EQ(std::get<double>(sheet.find(4, 4)->value), 3.0);
}

namespace {

// The cells and the used range the store must show, worked out from a plain map.
// Long enough to live outside the cell, so that a cell moved wrongly loses it.
std::string textOf(int i) { return "value " + std::to_string(i) + " of the random walk over the sheet"; }

void expectSame(const SheetData& s, const std::map<CellRef, std::string>& expected, const std::string& after)
{
    SCOPED_TRACE(after);
    ASSERT_EQ(s.cellCount(), expected.size());
    auto e = expected.begin();
    for (const auto& [ref, cell] : s.cells()) {
        ASSERT_NE(e, expected.end());
        ASSERT_EQ(ref, e->first);
        ASSERT_EQ(std::get<CellText>(cell.value), e->second);
        ++e;
    }
    ASSERT_EQ(e, expected.end());
    if (expected.empty()) {
        EXPECT_FALSE(s.usedRange());
        return;
    }
    CellRect bounds{expected.begin()->first.row, kMaxColumns, expected.rbegin()->first.row, 1};
    for (const auto& [ref, value] : expected) {
        bounds.left = std::min(bounds.left, ref.column);
        bounds.right = std::max(bounds.right, ref.column);
    }
    EXPECT_EQ(s.usedRange(), bounds);
}

}  // namespace

TEST(SheetData, RowsOfCellsMatchAnOrderedMapUnderRandomAddsAndRemovals)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        SheetData s;
        std::map<CellRef, std::string> expected;
        const int rows = pick(1, 6), columns = pick(3, 40);
        for (int i = 0; i < 600; ++i) {
            const int row = pick(1, rows), column = pick(1, columns);
            std::string what;
            if (pick(0, 2) == 0) {
                s.erase(row, column);
                expected.erase({row, column});
                what = "erase ";
            } else if (pick(0, 3) == 0) {
                // A block: cells added in one pass along each row.
                const CellRect block{row, column, std::min(rows, row + pick(0, 1)), std::min(columns, column + pick(0, 5))};
                s.visitBlock(block, [&](Cell& c) { c.value = textOf(i); });
                for (int r = block.top; r <= block.bottom; ++r)
                    for (int c = block.left; c <= block.right; ++c)
                        expected[{r, c}] = textOf(i);
                what = "block ";
            } else {
                s.at(row, column).value = textOf(i);
                expected[{row, column}] = textOf(i);
                what = "add ";
            }
            expectSame(s, expected, "seed " + std::to_string(seed) + ", step " + std::to_string(i) + ": " + what +
                                        std::to_string(row) + "," + std::to_string(column));
            if (::testing::Test::HasFatalFailure())
                return;
            // Finding, and the band and block walks, see the same cells.
            const auto [top, bottom] = std::minmax({pick(1, rows), pick(1, rows)});
            const auto [left, right] = std::minmax({pick(1, columns), pick(1, columns)});
            const CellRect probe{top, left, bottom, right};
            std::vector<CellRef> walked, band;
            s.visitExisting(probe, [&](int r, int c, const Cell&) { walked.push_back({r, c}); });
            for (const auto& [ref, cell] : s.cellsInRows(probe.top, probe.bottom))
                band.push_back(ref);
            std::vector<CellRef> inBlock, inBand;
            for (const auto& [ref, value] : expected) {
                if (probe.contains(ref.row, ref.column))
                    inBlock.push_back(ref);
                if (ref.row >= probe.top && ref.row <= probe.bottom)
                    inBand.push_back(ref);
            }
            ASSERT_EQ(walked, inBlock);
            ASSERT_EQ(band, inBand);
            for (int c = 1; c <= columns; ++c)
                ASSERT_EQ(s.find(probe.top, c) != nullptr, expected.count({probe.top, c}) == 1);
        }
    }
}

TEST(SheetData, ARowFilledBlockByBlockHoldsNoSpareRoom)
{
    SheetData s;
    // The order a framed grid is drawn in: its left edge, its right edge, then what lies between,
    // joining both and the cell before them into one run.
    s.at(7, 2);
    s.visitBlock({7, 3, 7, 3}, [](Cell&) {});
    s.visitBlock({7, 100, 7, 100}, [](Cell&) {});
    s.visitBlock({7, 3, 7, 100}, [](Cell& c) { c.value = 1.0; });
    const RowCells& row = s.cellsOfRow(7);
    ASSERT_EQ(row.runs().size(), 1u);
    EXPECT_EQ(row.size(), 99u);
    EXPECT_EQ(row.cells().capacity(), row.size());
    EXPECT_EQ(s.cellCount(), 99u);
    EXPECT_EQ(*s.usedRange(), (CellRect{7, 2, 7, 100}));
    // A row whose cells came one by one gives its room back once trimmed, keeping its cells.
    for (int c = 1; c <= 33; ++c)
        s.at(9, c).value = static_cast<double>(c);
    s.trimRow(9);
    EXPECT_EQ(s.cellsOfRow(9).cells().capacity(), 33u);
    EXPECT_EQ(std::get<double>(s.find(9, 33)->value), 33.0);
}

TEST(SheetData, MergedAreasAreFoundAsAWalkOverAllOfThemFindsThem)
{
    // Areas of every height, some upside down or past the sheet's last row, changed in every way
    // the list allows; after each change the index answers as a walk over the plain list does.
    const auto meets = [](const CellRect& a, const CellRect& b) {
        return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
    };
    const auto grownByWalk = [&](const std::vector<CellRect>& areas, CellRect r) {
        for (bool grown = true; grown;) {
            grown = false;
            for (const CellRect& m : areas)
                if (meets(m, r)) {
                    const CellRect joined{std::min(r.top, m.top), std::min(r.left, m.left), std::max(r.bottom, m.bottom),
                                          std::max(r.right, m.right)};
                    grown = grown || joined != r;
                    r = joined;
                }
        }
        return r;
    };
    for (unsigned seed = 1; seed <= 10; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const auto anyArea = [&] {
            const int top = pick(0, 3) == 0 ? pick(kMaxRows - 200, kMaxRows + 50) : pick(1, 400);
            const int height = pick(0, 9) == 0 ? pick(-3, 300) : pick(0, 3);
            const int left = pick(1, 12);
            return CellRect{top, left, top + height, left + pick(-1, 3)};
        };
        MergeList list;
        std::vector<CellRect> plain;
        for (int step = 0; step < 300; ++step) {
            switch (pick(0, 9)) {
            case 0: {
                const CellRect block = anyArea();
                const auto before = plain.size();
                std::erase_if(plain, [&](const CellRect& m) { return meets(m, block); });
                ASSERT_EQ(list.eraseIntersecting(block), before - plain.size());
                break;
            }
            case 1:
                if (!plain.empty()) {
                    plain.pop_back();
                    list.pop_back();
                }
                break;
            case 2:
                plain.resize(plain.size() / 2);
                list.resize(plain.size());
                break;
            case 3:
                if (pick(0, 5) == 0) {
                    plain = {anyArea(), anyArea()};
                    list = {plain[0], plain[1]};
                }
                break;
            default:
                plain.push_back(anyArea());
                list.push_back(plain.back());
            }
            ASSERT_EQ(list, plain) << "seed " << seed << ", step " << step;
            for (int probe = 0; probe < 20; ++probe) {
                const CellRect r = anyArea();
                const std::string where = "seed " + std::to_string(seed) + ", step " + std::to_string(step);
                ASSERT_EQ(list.grow(r), grownByWalk(plain, r)) << where;
                ASSERT_EQ(list.anyIntersecting(r), std::any_of(plain.begin(), plain.end(), [&](const CellRect& m) {
                              return meets(m, r);
                          })) << where;
                const auto holder = std::find_if(plain.begin(), plain.end(),
                                                 [&](const CellRect& m) { return m.contains(r.top, r.left); });
                const CellRect* found = list.find(r.top, r.left);
                ASSERT_EQ(found ? found - list.areas().data() : -1, holder == plain.end() ? -1 : holder - plain.begin())
                    << where;
            }
        }
    }
}
