// The object model must behave as if every cell of the sheet were its own: a change over a block,
// whole rows, whole columns or the whole sheet acts on each cell it covers, in the order the calls
// come, whether or not the cell exists yet; clearing gives each cell the default look and no value;
// merging empties all but the top-left cell. Random sequences of such calls are replayed on a
// plain cell-by-cell picture of a set of probe cells (near the top-left corner and at the far
// edges of the sheet) and the two compared after every call, and once more after saving and
// reading the workbook back.
#include "sheet/Application.h"
#include "sheet/detail/Formatting.h"
#include "sheet/model/CellInput.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <map>
#include <random>
#include <tuple>

using namespace sheet;

namespace {

constexpr int kProbeRows[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 200, kMaxRows};
constexpr int kProbeColumns[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 100, kMaxColumns};

struct Probe {
    CellValue value;
    CellFormat format;
};

bool intersects(const CellRect& a, const CellRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The sheet as a user pictures it, for the probe cells only.
struct Picture {
    std::map<std::pair<int, int>, Probe> cells;
    std::vector<CellRect> merges;

    Picture()
    {
        for (int r : kProbeRows)
            for (int c : kProbeColumns)
                cells[{r, c}] = Probe{};
    }
    template <class F>
    void each(const CellRect& area, F&& f)
    {
        for (auto& [at, probe] : cells)
            if (area.contains(at.first, at.second))
                f(probe);
    }
};

std::string describe(const CellRect& r)
{
    return toA1(r) + (detail::kindOf(r) == A1Kind::Cells ? "" : " (whole lines)");
}

class CellByCell : public ::testing::TestWithParam<unsigned> {
protected:
    CellByCell() : random(GetParam()) { app.Workbooks().add(); }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    CellRect area()
    {
        const int kind = pick(0, 19);
        if (kind < 12) {
            const int top = pick(1, 14), left = pick(1, 12);
            CellRect r{top, left, std::min(14, top + pick(0, 4)), std::min(12, left + pick(0, 4))};
            if (pick(0, 9) == 0)
                r.bottom = 200;
            if (pick(0, 9) == 0)
                r.right = 100;
            return r;
        }
        if (kind < 15) {
            // Whole rows meeting formatted columns make a cell at each crossing, so spans reaching
            // the bottom of the sheet stay short.
            if (pick(0, 5) == 0)
                return {kMaxRows - pick(0, 3), 1, kMaxRows, kMaxColumns};
            const int top = pick(1, 14);
            return {top, 1, std::min(14, top + pick(0, 3)), kMaxColumns};
        }
        if (kind < 18) {
            const int left = pick(1, 12);
            return {1, left, kMaxRows, pick(0, 5) == 0 ? kMaxColumns : std::min(12, left + pick(0, 3))};
        }
        return {1, 1, kMaxRows, kMaxColumns};
    }

    // One random call on both the sheet and the picture; returns what it did.
    std::string step()
    {
        const CellRect r = area();
        const Range target = app.ActiveSheet().Range(toA1(r));
        const auto format = [&](auto change) { picture.each(r, [&](Probe& p) { change(p.format); }); };
        switch (pick(0, 11)) {
        case 0: {
            const bool bold = pick(0, 1);
            target.Font().setBold(bold);
            format([&](CellFormat& f) { f.font.bold = bold; });
            return "bold " + describe(r);
        }
        case 1: {
            const double size = std::array{8.0, 9.0, 12.0, 24.0}[pick(0, 3)];
            target.Font().setSize(size);
            format([&](CellFormat& f) { f.font.size = size; });
            return "size " + describe(r);
        }
        case 2: {
            const std::string name = pick(0, 1) ? "Century Gothic" : "Arial";
            target.Font().setName(name);
            format([&](CellFormat& f) { f.font.name = name; });
            return "font " + describe(r);
        }
        case 3: {
            const int colour = pick(0, 3) == 0 ? xlColorIndexNone : pick(1, 56);
            target.Interior().setColorIndex(colour);
            format([&](CellFormat& f) { f.interiorColorIndex = colour; });
            return "fill " + describe(r);
        }
        case 4: {
            const int align = std::array{xlGeneral, xlLeft, xlCenter, xlRight}[pick(0, 3)];
            target.setHorizontalAlignment(align);
            format([&](CellFormat& f) { f.horizontalAlignment = align; });
            return "align " + describe(r);
        }
        case 5: {
            const int edge = pick(xlEdgeLeft, xlEdgeRight);
            const int colour = pick(1, 56);
            target.Borders(edge).setColorIndex(colour);
            CellRect line = r;
            BorderSide side = kBorderLeft;
            switch (edge) {
            case xlEdgeLeft: line.right = r.left; side = kBorderLeft; break;
            case xlEdgeRight: line.left = r.right; side = kBorderRight; break;
            case xlEdgeTop: line.bottom = r.top; side = kBorderTop; break;
            default: line.top = r.bottom; side = kBorderBottom; break;
            }
            picture.each(line, [&](Probe& p) { p.format.borders[side] = {xlContinuous, colour}; });
            return "edge " + std::to_string(edge) + " " + describe(r);
        }
        case 6:
        case 7: {
            const std::string input = std::array<std::string, 5>{"x", "12", "7:00:00 AM", "", "-0.5"}[pick(0, 4)];
            const Range cell = app.ActiveSheet().Cells(r.top, r.left);
            cell.setFormulaR1C1(input);
            const ParsedInput parsed = parseCellInput(input);
            picture.each(CellRect{r.top, r.left, r.top, r.left}, [&](Probe& p) {
                p.value = parsed.value;
                if (parsed.numberFormat)
                    p.format.numberFormat = *parsed.numberFormat;
            });
            return "input \"" + input + "\" at " + toA1({r.top, r.left, r.top, r.left});
        }
        case 8: {
            const std::string text = pick(0, 1) ? "7:00" : "name";
            app.ActiveSheet().Cells(r.top, r.left).setText(text);
            picture.each(CellRect{r.top, r.left, r.top, r.left}, [&](Probe& p) { p.value = text; });
            return "text at " + toA1({r.top, r.left, r.top, r.left});
        }
        case 9:
        case 10: {
            if (detail::kindOf(r) != A1Kind::Cells)
                return step();
            target.Merge();
            if (r.rowCount() > 1 || r.columnCount() > 1) {
                std::erase_if(picture.merges, [&](const CellRect& m) { return intersects(m, r); });
                picture.merges.push_back(r);
                picture.each(r, [&](Probe& p) { p.value = std::monostate{}; });
                picture.cells[{r.top, r.left}].value = app.ActiveSheet().Cells(r.top, r.left).Value();
            }
            return "merge " + describe(r);
        }
        default: {
            target.Clear();
            std::erase_if(picture.merges, [&](const CellRect& m) { return intersects(m, r); });
            picture.each(r, [&](Probe& p) { p = Probe{}; });
            return "clear " + describe(r);
        }
        }
    }

    // Every probe shows what the picture says; returns the first that does not.
    static std::string mismatch(const SheetData& sheet, const FormatTable& formats, const Picture& picture)
    {
        for (const auto& [at, probe] : picture.cells) {
            const auto [r, c] = at;
            const Cell* cell = sheet.find(r, c);
            const CellValue value = cell ? cell->value : CellValue{};
            const std::string where = toA1({r, c, r, c});
            if (value != probe.value)
                return where + " holds another value";
            if (formats.at(detail::effectiveFormat(sheet, r, c)) != probe.format) {
                const CellFormat& f = formats.at(detail::effectiveFormat(sheet, r, c));
                auto d = [](const CellFormat& f) { std::string s = f.font.name + " " + std::to_string(f.font.size) + " b" + std::to_string(f.font.bold) + " fill" + std::to_string(f.interiorColorIndex) + " h" + std::to_string(f.horizontalAlignment) + " nf" + std::to_string(f.numberFormat); for (auto& b : f.borders) s += " [" + std::to_string(b.lineStyle) + "," + std::to_string(b.colorIndex) + "]"; return s; };
                return where + " shows another format " + d(f) + " vs " + d(probe.format) + (cell ? " cell" : " nocell") + (sheet.rowFormat(r) ? " rowfmt" : "") + (sheet.columnFormat(c) ? " colfmt" : "");
            }
            if (!std::holds_alternative<std::monostate>(value)) {
                const auto used = sheet.usedRange();
                if (!used || !used->contains(r, c))
                    return where + " lies outside the used range";
            }
        }
        std::vector<CellRect> merges = sheet.merges, expected = picture.merges;
        const auto order = [](const CellRect& a, const CellRect& b) {
            return std::tie(a.top, a.left, a.bottom, a.right) < std::tie(b.top, b.left, b.bottom, b.right);
        };
        std::sort(merges.begin(), merges.end(), order);
        std::sort(expected.begin(), expected.end(), order);
        return merges == expected ? std::string() : "the merged areas differ";
    }

    std::mt19937 random;
    Application app;
    Picture picture;
};

}  // namespace

TEST_P(CellByCell, EveryCallActsOnEachCellItCoversAndTheFileKeepsIt)
{
    std::vector<std::string> done;
    for (int i = 0; i < 60; ++i) {
        done.push_back(step());
        const std::string wrong = mismatch(app.ActiveSheet().data(), app.ActiveWorkbook().data().formats, picture);
        if (!wrong.empty()) {
            std::string history;
            for (const std::string& d : done)
                history += "\n  " + d;
            FAIL() << wrong << " after:" << history;
        }
    }
    for (auto& d : done) std::cerr << d << "\n";
    // In the file, the cells a merged area covers carry its first cell's format, so that readers
    // drawing borders cell by cell draw the area's edges; those the sheet holds keep their own.
    const SheetData& sheet = app.ActiveSheet().data();
    const FormatTable& formats = app.ActiveWorkbook().data().formats;
    Picture saved = picture;
    for (const CellRect& m : sheet.merges) {
        const Cell* anchor = sheet.find(m.top, m.left);
        if (!anchor || anchor->format == 0)
            continue;
        for (auto& [at, probe] : saved.cells)
            if (m.contains(at.first, at.second) && at != std::pair{m.top, m.left} && !sheet.find(at.first, at.second))
                probe.format = formats.at(anchor->format);
    }
    const auto back = xls::readWorkbookBytes(xls::workbookFileBytes(app.ActiveWorkbook().data()), "cells.xls");
    EXPECT_EQ(mismatch(*back->sheets.front(), back->formats, saved), "");
}

INSTANTIATE_TEST_SUITE_P(Seeds, CellByCell, ::testing::Range(1u, 25u));
