// Writing a worksheet.
#include "sheet/xls/Sheet.h"

#include "sheet/model/SheetError.h"
#include "sheet/xls/CellTable.h"
#include "sheet/xls/Globals.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"
#include "sheet/xls/Units.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace sheet::xls {

namespace {

bool inSheet(int row, int column) { return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns; }

void checkMerges(const SheetData& sheet)
{
    for (const CellRect& m : sheet.merges)
        if (!inSheet(m.top, m.left) || !inSheet(m.bottom, m.right) || m.top > m.bottom || m.left > m.right)
            throw SheetError("a merged area lies outside the sheet");
    if (sheet.merges.size() > kMaxMergedAreasPerSheet)
        throw SheetError("the sheet \"" + sheet.name + "\" has more than " + std::to_string(kMaxMergedAreasPerSheet) +
                         " merged areas, more than the workbook could be opened with again");
}

void writePageSetup(BiffWriter& w, const PageSetup& p)
{
    w.record(rec::PRINTHEADERS, {0});
    w.record(rec::PRINTGRIDLINES, {0});
    w.record(rec::GRIDSET, {1});
    w.record(rec::GUTS, {0, 0, 0, 0});
    w.record(rec::DEFAULTROWHEIGHT, {0, kDefaultRowHeightTwips});
    // Page breaks shown, outline symbols below and right, and fit to pages when there is no zoom.
    w.record(rec::WSBOOL, {static_cast<std::uint16_t>(wsbool::kShowAutoBreaks | wsbool::kOutlineBelow | wsbool::kOutlineRight |
                                                      wsbool::kOutlineSymbols | (p.zoom ? 0 : wsbool::kFitToPage))});
    w.record(rec::HEADER, {});
    w.record(rec::FOOTER, {});
    w.record(rec::HCENTER, {0});
    w.record(rec::VCENTER, {0});
    const std::pair<std::uint16_t, double> margins[] = {
        {rec::LEFTMARGIN, p.leftMargin}, {rec::RIGHTMARGIN, p.rightMargin},
        {rec::TOPMARGIN, p.topMargin}, {rec::BOTTOMMARGIN, p.bottomMargin}};
    for (const auto& [id, points] : margins) {
        w.begin(id);
        w.f64(std::min(pointsToInches(points), 49.0));
        w.end();
    }
    writeSETUP(w, p);
}

void writeCOLINFO(BiffWriter& w, int column, std::optional<double> width, std::uint16_t xf)
{
    w.begin(rec::COLINFO);
    w.u16(static_cast<std::uint16_t>(column - 1));
    w.u16(static_cast<std::uint16_t>(column - 1));
    const double characters = width.value_or(kStandardColumnWidth);
    w.u16(columnWidthToColdx(characters));
    w.u16(xf);
    std::uint16_t flags = 0;
    if (width)
        flags |= colinfo::kUserSet;
    if (width && columnWidthToPixels(characters) == 0)
        flags |= colinfo::kHidden;
    w.u16(flags);
    w.u16(0);
    w.end();
}

// Returns what reading the columns back will charge.
std::size_t writeColumns(BiffWriter& w, const SheetData& sheet, const StyleTable& styles)
{
    w.record(rec::DEFCOLWIDTH, {8});
    std::set<int> columns;
    for (const auto& [c, width] : sheet.columnWidths())
        columns.insert(c);
    for (const auto& [c, id] : sheet.columnFormats())
        columns.insert(c);
    std::size_t charged = 0;
    for (int c : columns) {
        if (c < 1 || c > kMaxColumns)
            continue;
        auto width = sheet.columnWidths().find(c);
        auto format = sheet.columnFormats().find(c);
        writeCOLINFO(w, c,
                     width == sheet.columnWidths().end() ? std::nullopt : std::optional<double>(width->second),
                     format == sheet.columnFormats().end() ? kDefaultCellXf : styles.xfIndex(format->second));
        charged += cost::kColumn;
    }
    return charged;
}

void writeWINDOW2(BiffWriter& w, bool active)
{
    w.begin(rec::WINDOW2);
    // The active sheet is also selected and shown.
    const std::uint16_t shown = window2::kGridlines | window2::kHeadings | window2::kZeros |
                                window2::kAutomaticGridColour | window2::kOutlineSymbols;
    w.u16(active ? shown | window2::kSelected | window2::kPaged : shown);
    w.u16(0);  // top row shown
    w.u16(0);  // left column shown
    w.u32(window2::kGridColourAutomatic);
    w.u16(0);  // zoom of the page break preview: default
    w.u16(0);  // zoom: default
    w.u32(0);
    w.end();
}

void writeSELECTION(BiffWriter& w, const SheetData& sheet)
{
    const auto row = [](int r) { return static_cast<std::uint16_t>(std::clamp(r, 1, kMaxRows) - 1); };
    const auto column = [](int c) { return static_cast<std::uint8_t>(std::clamp(c, 1, kMaxColumns) - 1); };
    const CellRect& s = sheet.selection;
    w.begin(rec::SELECTION);
    w.u8(selection::kTopLeftPane);
    w.u16(row(sheet.activeCell.row));
    w.u16(column(sheet.activeCell.column));
    w.u16(0);  // the active cell lies in the first range
    w.u16(1);
    w.u16(row(std::min(s.top, s.bottom)));
    w.u16(row(std::max(s.top, s.bottom)));
    w.u8(column(std::min(s.left, s.right)));
    w.u8(column(std::max(s.left, s.right)));
    w.end();
}

void writeMERGEDCELLS(BiffWriter& w, const std::vector<CellRect>& merges)
{
    constexpr std::size_t perRecord = 1026;
    for (std::size_t start = 0; start < merges.size(); start += perRecord) {
        const std::size_t n = std::min(perRecord, merges.size() - start);
        w.begin(rec::MERGEDCELLS);
        w.u16(static_cast<std::uint16_t>(n));
        for (std::size_t i = start; i < start + n; ++i) {
            w.u16(static_cast<std::uint16_t>(merges[i].top - 1));
            w.u16(static_cast<std::uint16_t>(merges[i].bottom - 1));
            w.u16(static_cast<std::uint16_t>(merges[i].left - 1));
            w.u16(static_cast<std::uint16_t>(merges[i].right - 1));
        }
        w.end();
    }
}

}  // namespace

void writeSETUP(BiffWriter& w, const PageSetup& p)
{
    std::uint16_t flags = 0;  // printer settings valid, down then across
    if (p.orientation != xlLandscape)
        flags |= setup::kPortrait;
    if (p.printComments == kPrintCommentsInPlace)
        flags |= setup::kNotes;
    else if (p.printComments == kPrintCommentsAtEnd)
        flags |= setup::kNotes | setup::kNotesAtEnd;
    w.begin(rec::SETUP);
    w.u16(static_cast<std::uint16_t>(std::clamp(p.paperSize, 0, 0xFFFF)));
    w.u16(static_cast<std::uint16_t>(std::clamp(p.zoom.value_or(100), 10, 400)));
    w.u16(setup::kFirstPage);  // not used
    w.u16(static_cast<std::uint16_t>(std::clamp(p.fitToPagesWide, 0, 32767)));
    w.u16(static_cast<std::uint16_t>(std::clamp(p.fitToPagesTall, 0, 32767)));
    w.u16(flags);
    w.u16(setup::kResolution);
    w.u16(setup::kResolution);
    w.f64(std::min(pointsToInches(p.headerMargin), 49.0));
    w.f64(std::min(pointsToInches(p.footerMargin), 49.0));
    w.u16(setup::kCopies);
    w.end();
}

std::size_t writeWorksheet(BiffWriter& w, const SheetData& sheet, const StyleTable& styles, const SharedStrings& strings,
                           bool active)
{
    checkMerges(sheet);
    writeBOF(w, kSubstreamWorksheet);
    w.record(rec::CALCMODE, {1});
    w.record(rec::CALCCOUNT, {100});
    w.record(rec::CALCREFMODE, {1});
    w.record(rec::CALCITER, {0});
    w.begin(rec::CALCDELTA);
    w.f64(0.001);
    w.end();
    w.record(rec::CALCSAVERECALC, {1});
    writePageSetup(w, sheet.pageSetup);
    std::size_t charged = cost::kSheet + sheet.name.size() + writeColumns(w, sheet, styles);
    writeDIMENSIONS(w, sheet);
    charged += writeCellTable(w, sheet, styles, strings);
    writeWINDOW2(w, active);
    writeSELECTION(w, sheet);
    writeMERGEDCELLS(w, sheet.merges);
    writeEOF(w);
    return charged + cost::kMergedArea * sheet.merges.size();
}

}  // namespace sheet::xls
