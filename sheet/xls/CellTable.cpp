// Writing the cell table, row by row from the sheet's rows of cells.
#include "sheet/xls/CellTable.h"

#include "sheet/model/SheetError.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/Rk.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"
#include "sheet/xls/Units.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>

namespace sheet::xls {

namespace {

constexpr int kRowsPerBlock = 32;

std::string cellName(int row, int column)
{
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

// A cell as it goes into the file: one the sheet holds, or a blank covering part of a merged area.
struct Slot {
    int column;
    std::uint16_t xf;
    const CellValue* value;  // null for a covering blank

    bool blank() const { return !value || std::holds_alternative<std::monostate>(*value); }
    const double* number() const { return value ? std::get_if<double>(value) : nullptr; }
};

// The blanks a merged area adds in one row: every cell of the area the sheet does not hold gets
// the first cell's format, so that readers drawing borders cell by cell draw each edge of the
// area. Areas whose first cell has no format of its own need none.
struct Cover {
    int row;
    int left;
    int right;
    std::uint16_t xf;
};

std::vector<Cover> coversOf(const SheetData& sheet, const StyleTable& styles)
{
    std::vector<Cover> covers;
    for (const CellRect& m : sheet.merges) {
        const Cell* anchor = sheet.find(m.top, m.left);
        if (!anchor || anchor->format == 0)
            continue;
        const std::uint16_t xf = styles.xfIndex(anchor->format);
        for (int row = m.top; row <= m.bottom; ++row)
            covers.push_back({row, m.left, m.right, xf});
    }
    std::sort(covers.begin(), covers.end(), [](const Cover& a, const Cover& b) {
        return a.row != b.row ? a.row < b.row : a.left < b.left;
    });
    return covers;
}

// Rows with cells, with covering blanks, with a height or with a format, in order.
std::vector<int> rowsToWrite(const SheetData& sheet, const std::vector<Cover>& covers)
{
    std::vector<int> rows;
    if (const auto used = sheet.usedRange())
        for (int row = used->top; row <= used->bottom; ++row)
            if (!sheet.cellsOfRow(row).empty())
                rows.push_back(row);
    for (const Cover& c : covers)
        rows.push_back(c.row);
    for (const auto& [row, height] : sheet.rowHeights())
        if (row >= 1 && row <= kMaxRows)
            rows.push_back(row);
    for (const auto& [row, id] : sheet.rowFormats())
        if (row >= 1 && row <= kMaxRows)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// The cells of one row as they go into the file, in column order. `cover` walks along the covers.
void slotsOfRow(const SheetData& sheet, const StyleTable& styles, int row, std::vector<Cover>::const_iterator& cover,
                std::vector<Cover>::const_iterator coversEnd, std::vector<Slot>& slots)
{
    slots.clear();
    const RowCells& cells = sheet.cellsOfRow(row);
    for (const RowCells::Run& run : cells.runs())
        for (int k = 0; k < run.count; ++k) {
            const Cell& cell = cells.cells()[run.offset + static_cast<std::size_t>(k)];
            slots.push_back({run.first + k, styles.xfIndex(cell.format), &cell.value});
        }
    bool covered = false;
    for (; cover != coversEnd && cover->row == row; ++cover)
        for (int column = cover->left; column <= cover->right; ++column)
            if (!cells.find(column)) {
                slots.push_back({column, cover->xf, nullptr});
                covered = true;
            }
    if (covered)
        std::sort(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) { return a.column < b.column; });
}

void writeROW(BiffWriter& w, const SheetData& sheet, const StyleTable& styles, int row, const std::vector<Slot>& slots)
{
    std::uint32_t flags = row::kAlwaysSet;
    std::uint16_t height = kDefaultRowHeightTwips;
    if (auto it = sheet.rowHeights().find(row); it != sheet.rowHeights().end()) {
        // A height set by hand: readers keep it instead of fitting the row to its content.
        flags |= row::kUnsynced;
        height = pointsToTwips(it->second);
        if (height == 0) {
            flags |= row::kHidden;  // the height field keeps a valid height
            height = kDefaultRowHeightTwips;
        }
    }
    std::uint16_t xf = kDefaultCellXf;
    if (auto format = sheet.rowFormat(row)) {
        flags |= row::kHasFormat;
        xf = styles.xfIndex(*format);
    }
    flags |= static_cast<std::uint32_t>(xf) << row::kXfShift;
    std::uint8_t* p = w.fixedRecord(rec::ROW, 16);
    p = BiffWriter::put16(p, static_cast<std::uint16_t>(row - 1));
    p = BiffWriter::put16(p, static_cast<std::uint16_t>(slots.empty() ? 0 : slots.front().column - 1));
    p = BiffWriter::put16(p, static_cast<std::uint16_t>(slots.empty() ? 0 : slots.back().column));
    p = BiffWriter::put16(p, height);
    p = BiffWriter::put16(p, 0);
    p = BiffWriter::put16(p, 0);
    BiffWriter::put32(p, flags);
}

// A cell record of `length` bytes with its row and column written; returns the room after them.
[[gnu::always_inline]] inline std::uint8_t* beginCell(BiffWriter& w, std::uint16_t id, std::size_t length, int row, const Slot& s)
{
    std::uint8_t* p = w.fixedRecord(id, length);
    p = BiffWriter::put16(p, static_cast<std::uint16_t>(row - 1));
    return BiffWriter::put16(p, static_cast<std::uint16_t>(s.column - 1));
}

// Blanks in the neighbouring columns of slots[first..last].
void writeBlanks(BiffWriter& w, int row, const Slot* first, const Slot* last)
{
    const auto count = static_cast<std::size_t>(last - first) + 1;
    std::uint8_t* p = count == 1 ? beginCell(w, rec::BLANK, 6, row, *first) : beginCell(w, rec::MULBLANK, 6 + 2 * count, row, *first);
    for (const Slot* s = first; s <= last; ++s)
        p = BiffWriter::put16(p, s->xf);
    if (first != last)
        BiffWriter::put16(p, static_cast<std::uint16_t>(last->column - 1));
}

// Numbers that fit an RK in the neighbouring columns of slots[first..last].
void writeRks(BiffWriter& w, int row, const Slot* first, const Slot* last)
{
    const auto count = static_cast<std::size_t>(last - first) + 1;
    std::uint8_t* p = count == 1 ? beginCell(w, rec::RK, 10, row, *first) : beginCell(w, rec::MULRK, 6 + 6 * count, row, *first);
    for (const Slot* s = first; s <= last; ++s) {
        p = BiffWriter::put16(p, s->xf);
        p = BiffWriter::put32(p, *rkOf(*s->number()));
    }
    if (first != last)
        BiffWriter::put16(p, static_cast<std::uint16_t>(last->column - 1));
}

// Returns what reading the cells back will charge.
std::size_t writeCellsOfRow(BiffWriter& w, int row, const std::vector<Slot>& slots, const SharedStrings& strings)
{
    std::size_t charged = cost::kCell * slots.size();
    const Slot* const end = slots.data() + slots.size();
    const auto fitsRk = [](const Slot& s) { return s.number() && rkOf(*s.number()); };
    for (const Slot* s = slots.data(); s != end;) {
        // How far the same kind of cell runs on in neighbouring columns.
        const auto runEnd = [&](auto sameKind) {
            const Slot* last = s;
            while (last + 1 != end && last[1].column == last->column + 1 && sameKind(last[1]))
                ++last;
            return last;
        };
        if (s->blank()) {
            const Slot* last = runEnd([](const Slot& n) { return n.blank(); });
            writeBlanks(w, row, s, last);
            s = last + 1;
        } else if (const double* number = s->number()) {
            if (!std::isfinite(*number))
                throw SheetError("the cell " + cellName(row, s->column) + " holds a number that cannot be saved");
            if (fitsRk(*s)) {
                const Slot* last = runEnd(fitsRk);
                writeRks(w, row, s, last);
                s = last + 1;
            } else {
                std::uint8_t* p = BiffWriter::put16(beginCell(w, rec::NUMBER, 14, row, *s), s->xf);
                const auto bits = std::bit_cast<std::uint64_t>(*number);
                BiffWriter::put32(BiffWriter::put32(p, static_cast<std::uint32_t>(bits)), static_cast<std::uint32_t>(bits >> 32));
                ++s;
            }
        } else {
            const std::uint32_t index = strings.indexOf(std::get<CellText>(*s->value));
            BiffWriter::put32(BiffWriter::put16(beginCell(w, rec::LABELSST, 10, row, *s), s->xf), index);
            ++s;
        }
    }
    return charged;
}

}  // namespace

void writeDIMENSIONS(BiffWriter& w, const SheetData& sheet)
{
    std::optional<CellRect> extent = sheet.usedRange();
    for (const CellRect& m : sheet.merges) {
        if (!extent) {
            extent = m;
            continue;
        }
        extent->top = std::min(extent->top, m.top);
        extent->bottom = std::max(extent->bottom, m.bottom);
        extent->left = std::min(extent->left, m.left);
        extent->right = std::max(extent->right, m.right);
    }
    w.begin(rec::DIMENSIONS);
    if (!extent) {
        w.zeros(14);
    } else {
        w.u32(static_cast<std::uint32_t>(extent->top - 1));
        w.u32(static_cast<std::uint32_t>(extent->bottom));
        w.u16(static_cast<std::uint16_t>(extent->left - 1));
        w.u16(static_cast<std::uint16_t>(extent->right));
        w.u16(0);
    }
    w.end();
}

std::size_t writeCellTable(BiffWriter& w, const SheetData& sheet, const StyleTable& styles, const SharedStrings& strings)
{
    const std::vector<Cover> covers = coversOf(sheet, styles);
    const std::vector<int> rows = rowsToWrite(sheet, covers);
    auto cover = covers.begin();
    std::array<std::vector<Slot>, kRowsPerBlock> slots;
    std::size_t charged = cost::kRowRecord * rows.size();
    int lastBand = -1;
    for (std::size_t first = 0; first < rows.size();) {
        const int block = (rows[first] - 1) / kRowsPerBlock;
        std::size_t end = first;
        while (end < rows.size() && (rows[end] - 1) / kRowsPerBlock == block)
            ++end;
        for (std::size_t i = first; i < end; ++i) {
            slotsOfRow(sheet, styles, rows[i], cover, covers.end(), slots[i - first]);
            writeROW(w, sheet, styles, rows[i], slots[i - first]);
        }
        for (std::size_t i = first; i < end; ++i) {
            charged += writeCellsOfRow(w, rows[i], slots[i - first], strings);
            // Rows come in order, so each band of rows is met once.
            if (!slots[i - first].empty() && cost::rowBand(rows[i]) != lastBand) {
                lastBand = cost::rowBand(rows[i]);
                charged += cost::kRowBand;
            }
        }
        first = end;
    }
    return charged;
}

}  // namespace sheet::xls
