// Reading a worksheet: cells, rows, columns, merged areas, selection and page setup.
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/Globals.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/Rk.h"
#include "sheet/xls/Sheet.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Units.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace sheet::xls {

void checkSheetBOF(const Record& bof);

namespace {

class SheetBuilder {
public:
    SheetBuilder(const Globals& g, WorkbookData& book, SheetData& sheet, ReadBudget& budget)
        : g_(g), book_(book), sheet_(sheet), budget_(budget), formatOfXf_(g.xfs.size(), kNone)
    {
    }

    FormatId format(std::uint16_t xf)
    {
        if (xf >= g_.xfs.size())
            damaged("a cell refers to a format the file does not have");
        if (formatOfXf_[xf] == kNone)
            formatOfXf_[xf] = book_.formats.intern(g_.xfs[xf]);
        return formatOfXf_[xf];
    }

    void cell(std::uint16_t row, std::uint16_t column, std::uint16_t xf, CellValue value)
    {
        if (column >= kMaxColumns)
            damaged("a cell lies beyond the last column");
        if (auto* d = std::get_if<double>(&value); d && !std::isfinite(*d))
            value = CellText("#NUM!");
        // Charged before anything is allocated: the band of rows and the cell (a text is charged
        // where it is made, a shared string once for all its cells).
        if (const int band = cost::rowBand(row + 1); !bandMade_[static_cast<std::size_t>(band)]) {
            budget_.charge(cost::kRowBand);
            bandMade_[static_cast<std::size_t>(band)] = true;
        }
        // Cells come row by row, so a row is complete when the next one starts.
        if (row + 1 != rowFilling_) {
            finishRow();
            rowFilling_ = row + 1;
            // A row met again later in the file may hold cells already.
            lastColumnOfFreshRow_ = sheet_.cellsOfRow(rowFilling_).empty() ? -1 : kMaxColumns;
        }
        // Columns left to right in a row that was empty: each cell is a new one, without a look.
        const bool isNew = column > lastColumnOfFreshRow_ || sheet_.find(row + 1, column + 1) == nullptr;
        if (column > lastColumnOfFreshRow_)
            lastColumnOfFreshRow_ = column;
        if (isNew)
            budget_.charge(cost::kCell);
        Cell& c = sheet_.at(row + 1, column + 1);
        c.format = format(xf);
        c.value = std::move(value);
    }

    // A text the file writes out in the cell's own record, charged before it is kept.
    CellText ownText(std::string_view value)
    {
        budget_.charge(cost::cellText(value.size()));
        return CellText(value);
    }

    // A text that arrives after its cell (a formula's result).
    void text(const CellRef& at, std::string_view value) { sheet_.at(at.row, at.column).value = ownText(value); }

    // The row being filled goes without the room its vector grew beyond its cells.
    void finishRow()
    {
        if (rowFilling_ != 0)
            sheet_.trimRow(rowFilling_);
    }

private:
    static constexpr FormatId kNone = ~FormatId{0};
    const Globals& g_;
    WorkbookData& book_;
    SheetData& sheet_;
    ReadBudget& budget_;
    std::vector<FormatId> formatOfXf_;
    std::vector<bool> bandMade_ = std::vector<bool>(kMaxRows / RowTable::kBand, false);
    int rowFilling_ = 0;
    // The last column given a cell in the row being filled, when that row held none before; at
    // least kMaxColumns for a row that did.
    int lastColumnOfFreshRow_ = kMaxColumns;
};

std::string errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    default: return "#N/A";
    }
}

struct SetupRecord {
    std::uint16_t paper, scale, fitWide, fitTall, flags;
    double header, footer;
};

void readMerges(ByteCursor& c, SheetData& sheet, SheetReadLimits& limits)
{
    const std::uint16_t count = c.u16();
    for (std::uint16_t i = 0; i < count; ++i) {
        const int top = c.u16() + 1, bottom = c.u16() + 1, left = c.u16() + 1, right = c.u16() + 1;
        if (top > bottom || left > right || right > kMaxColumns || (top == bottom && left == right))
            continue;
        const CellRect area{top, left, bottom, right};
        if (sheet.merges.anyIntersecting(area))
            continue;
        if (sheet.merges.size() >= kMaxMergedAreasPerSheet || limits.mergedAreas == 0)
            throw FormatError("it holds more merged areas than this program can open");
        --limits.mergedAreas;
        limits.memory.charge(cost::kMergedArea);
        sheet.merges.push_back(area);
    }
}

std::optional<double> margin(ByteCursor& c)
{
    const double inches = c.f64();
    if (!std::isfinite(inches) || inches < 0 || inches > 49)
        return std::nullopt;
    return inchesToPoints(inches);
}

}  // namespace

void readWorksheet(RecordReader& r, const Globals& g, WorkbookData& book, SheetData& sheet, SheetReadLimits& limits)
{
    checkSheetBOF(r.next());
    SheetBuilder build(g, book, sheet, limits.memory);
    PageSetup& page = sheet.pageSetup;
    std::optional<SetupRecord> setup;
    bool fitToPage = false;
    bool selectionRead = false;
    std::uint16_t defaultHeight = kDefaultRowHeightTwips;
    std::optional<CellRef> formulaAwaitingText;
    int nested = 0;
    for (;;) {
        if (r.atEnd())
            damaged("a sheet ends early");
        const Record record = r.next();
        const std::size_t size = record.data.size() + 4;
        if (size > limits.streamBytes)
            damaged("its sheets overlap");
        limits.streamBytes -= size;
        if (record.id == rec::BOF) {
            ++nested;  // an embedded chart or the like: skipped
            continue;
        }
        if (record.id == rec::EOF_) {
            if (nested == 0)
                break;
            --nested;
            continue;
        }
        if (nested > 0)
            continue;
        ByteCursor c(record.data);
        switch (record.id) {
        case rec::DEFAULTROWHEIGHT:
            c.u16();
            defaultHeight = c.u16() & row::kHeightMask;
            break;
        case rec::COLINFO: {
            const std::uint16_t first = c.u16();
            const std::uint16_t last = std::min<std::uint16_t>(c.u16(), kMaxColumns - 1);
            const std::uint16_t width = c.u16();
            const std::uint16_t xf = c.u16();
            const std::uint16_t flags = c.u16();
            if (first <= last)
                limits.memory.charge(cost::kColumn * static_cast<std::size_t>(last - first + 1));
            // Some programs leave the user-set flag off a width they set.
            const bool ownWidth = (flags & colinfo::kUserSet) || coldxToColumnWidth(width) != kStandardColumnWidth;
            for (int column = first; column <= last; ++column) {
                if (flags & colinfo::kHidden)
                    sheet.setColumnWidth(column + 1, 0);
                else if (ownWidth)
                    sheet.setColumnWidth(column + 1, coldxToColumnWidth(width));
                // A column record without a width of its own is there for the column's format.
                if (xf != kDefaultCellXf || !ownWidth)
                    sheet.setColumnFormat(column + 1, build.format(xf));
            }
            break;
        }
        case rec::ROW: {
            const std::uint16_t row = c.u16();
            c.skip(4);
            const std::uint16_t height = c.u16() & row::kHeightMask;
            c.skip(4);
            const std::uint32_t flags = c.u32();
            limits.memory.charge(cost::kRowRecord);
            if (flags & row::kHidden)
                sheet.setRowHeight(row + 1, 0);
            else if ((flags & row::kUnsynced) || height != defaultHeight)
                sheet.setRowHeight(row + 1, twipsToPoints(height));
            if (flags & row::kHasFormat)
                sheet.setRowFormat(row + 1, build.format(static_cast<std::uint16_t>((flags >> row::kXfShift) & row::kXfMask)));
            break;
        }
        case rec::NUMBER: {
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            build.cell(row, column, xf, c.f64());
            break;
        }
        case rec::RK: {
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            build.cell(row, column, xf, rkValue(c.u32()));
            break;
        }
        case rec::MULRK: {
            const std::uint16_t row = c.u16(), first = c.u16();
            if (record.data.size() < 6)
                damaged("a record is shorter than its content");
            const std::size_t n = (record.data.size() - 6) / 6;
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint16_t xf = c.u16();
                build.cell(row, static_cast<std::uint16_t>(first + i), xf, rkValue(c.u32()));
            }
            break;
        }
        case rec::LABELSST: {
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            const std::uint32_t index = c.u32();
            if (index >= g.strings.size())
                damaged("a cell refers to a missing text");
            build.cell(row, column, xf, g.strings[index]);
            break;
        }
        case rec::LABEL:
        case rec::RSTRING: {
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            build.cell(row, column, xf, build.ownText(readLongString(c)));
            break;
        }
        case rec::BLANK: {
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            build.cell(row, column, xf, std::monostate{});
            break;
        }
        case rec::MULBLANK: {
            const std::uint16_t row = c.u16(), first = c.u16();
            if (record.data.size() < 6)
                damaged("a record is shorter than its content");
            const std::size_t n = (record.data.size() - 6) / 2;
            for (std::size_t i = 0; i < n; ++i)
                build.cell(row, static_cast<std::uint16_t>(first + i), c.u16(), std::monostate{});
            break;
        }
        case rec::BOOLERR: {
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            const std::uint8_t value = c.u8();
            const bool isError = c.u8();
            build.cell(row, column, xf, build.ownText(isError ? errorText(value) : std::string(value ? "TRUE" : "FALSE")));
            break;
        }
        case rec::FORMULA: {
            // Only the result the file keeps is read; the engine has no formulas.
            const std::uint16_t row = c.u16(), column = c.u16(), xf = c.u16();
            auto result = c.take(8);
            formulaAwaitingText.reset();
            if (result[6] == 0xFF && result[7] == 0xFF) {
                switch (result[0]) {
                case 0:
                    build.cell(row, column, xf, CellText());
                    formulaAwaitingText = CellRef{row + 1, column + 1};
                    break;
                case 1: build.cell(row, column, xf, build.ownText(result[2] ? "TRUE" : "FALSE")); break;
                case 2: build.cell(row, column, xf, build.ownText(errorText(result[2]))); break;
                default: build.cell(row, column, xf, CellText()); break;
                }
            } else {
                ByteCursor number(result);
                build.cell(row, column, xf, number.f64());
            }
            break;
        }
        case rec::STRING:
            if (formulaAwaitingText) {
                build.text(*formulaAwaitingText, readLongString(c));
                formulaAwaitingText.reset();
            }
            break;
        case rec::MERGEDCELLS:
            readMerges(c, sheet, limits);
            break;
        case rec::WSBOOL:
            fitToPage = c.u16() & wsbool::kFitToPage;
            break;
        case rec::SETUP: {
            SetupRecord s{};
            s.paper = c.u16();
            s.scale = c.u16();
            c.u16();
            s.fitWide = c.u16();
            s.fitTall = c.u16();
            s.flags = c.u16();
            c.skip(4);
            s.header = c.f64();
            s.footer = c.f64();
            setup = s;
            break;
        }
        case rec::LEFTMARGIN:
            if (auto m = margin(c))
                page.leftMargin = *m;
            break;
        case rec::RIGHTMARGIN:
            if (auto m = margin(c))
                page.rightMargin = *m;
            break;
        case rec::TOPMARGIN:
            if (auto m = margin(c))
                page.topMargin = *m;
            break;
        case rec::BOTTOMMARGIN:
            if (auto m = margin(c))
                page.bottomMargin = *m;
            break;
        case rec::SELECTION: {
            const std::uint8_t pane = c.u8();
            if (selectionRead && pane != selection::kTopLeftPane)
                break;
            const std::uint16_t row = c.u16(), column = c.u16(), activeRef = c.u16(), count = c.u16();
            std::optional<CellRect> chosen;
            for (std::uint16_t i = 0; i < count; ++i) {
                const int top = c.u16() + 1, bottom = c.u16() + 1, left = c.u8() + 1, right = c.u8() + 1;
                if (i == activeRef || !chosen)
                    chosen = CellRect{std::min(top, bottom), std::min(left, right), std::max(top, bottom), std::max(left, right)};
            }
            sheet.activeCell = {row + 1, std::min<int>(column, kMaxColumns - 1) + 1};
            sheet.selection = chosen.value_or(CellRect{sheet.activeCell.row, sheet.activeCell.column,
                                                       sheet.activeCell.row, sheet.activeCell.column});
            selectionRead = true;
            break;
        }
        default:
            break;
        }
    }

    build.finishRow();
    if (setup) {
        // Without valid printer settings, paper, scale and orientation mean nothing.
        if (!(setup->flags & setup::kNoPrinterSettings)) {
            page.paperSize = setup->paper;
            page.orientation = (setup->flags & setup::kPortrait) ? xlPortrait : xlLandscape;
            if (setup->scale >= 10 && setup->scale <= 400)
                page.zoom = setup->scale;
        }
        page.fitToPagesWide = setup->fitWide;
        page.fitToPagesTall = setup->fitTall;
        if (setup->flags & setup::kNotes)
            page.printComments = (setup->flags & setup::kNotesAtEnd) ? kPrintCommentsAtEnd : kPrintCommentsInPlace;
        else
            page.printComments = xlPrintNoComments;
        if (std::isfinite(setup->header) && setup->header >= 0 && setup->header <= 49)
            page.headerMargin = inchesToPoints(setup->header);
        if (std::isfinite(setup->footer) && setup->footer >= 0 && setup->footer <= 49)
            page.footerMargin = inchesToPoints(setup->footer);
    }
    if (fitToPage)
        page.zoom = std::nullopt;
}

}  // namespace sheet::xls
