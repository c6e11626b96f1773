// Ranges: selection, cell input, merging and formatting of a worksheet area.
#include "sheet/Range.h"

#include "sheet/Worksheet.h"
#include "sheet/detail/Formatting.h"
#include "sheet/detail/State.h"
#include "sheet/model/CellInput.h"
#include "sheet/model/DisplayText.h"
#include "sheet/model/SheetError.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace sheet {
namespace {

// What a format change sets, for the keys of the workbook's format transitions.
enum Property : int {
    kFontName = 1,
    kFontSize,
    kFontBold,
    kFontColor,
    kHorizontal,
    kVertical,
    kWrap,
    kNumberFormat,
    kFill,
    kBorderStyle,
    kBorderColor,
    kBorderLine,
};

std::uint64_t changeKey(Property property, std::int64_t value, int side = 0)
{
    return detail::FormatTransitions::key(property, side, value);
}

bool isPaletteIndex(int index) { return index >= 1 && index <= 56; }

void requireFontColor(int colorIndex)
{
    if (!isPaletteIndex(colorIndex) && colorIndex != xlColorIndexAutomatic)
        throw SheetError("Invalid colour index: " + std::to_string(colorIndex) + " (use 1 to 56 or automatic).");
}

void requireWithin(double value, double low, double high, const char* what, const char* unit)
{
    if (!std::isfinite(value) || value < low || value > high) {
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, "%s must be between %g and %g %s.", what, low, high, unit);
        throw SheetError(buffer);
    }
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

Range::Range(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book, SheetData* sheet,
             const CellRect& rect)
    : app_(std::move(app)), book_(std::move(book)), sheet_(sheet), rect_(rect), kind_(detail::kindOf(rect))
{
}

SheetData& Range::sheetData() const { return detail::requireSheet(*app_, *book_, sheet_); }

FormatTable& Range::formats() const { return detail::requireOpen(*app_, *book_).formats; }

detail::FormatTransitions& Range::transitions() const { return book_->transitions; }

void Range::Select() const { detail::selectArea(sheetData(), rect_); }

void Range::Clear() const { detail::clearArea(sheetData(), rect_); }

void Range::Merge() const { detail::mergeArea(sheetData(), rect_); }

bool Range::MergeCells() const
{
    const CellRect* merge = sheetData().mergeAt(rect_.top, rect_.left);
    return merge != nullptr && *merge == detail::withWholeMerges(*sheet_, rect_);
}

void Range::setFormulaR1C1(const std::string& text) const
{
    SheetData& sheet = sheetData();
    FormatTable& table = formats();
    ParsedInput input = parseCellInput(text);
    Cell& cell = sheet.at(rect_.top, rect_.left);
    cell.value = std::move(input.value);
    if (input.numberFormat && table.at(cell.format).numberFormat != *input.numberFormat) {
        const int numberFormat = *input.numberFormat;
        detail::applyFormat(sheet, table, transitions(), CellRect{rect_.top, rect_.left, rect_.top, rect_.left},
                            changeKey(kNumberFormat, numberFormat), [&](CellFormat& f) { f.numberFormat = numberFormat; });
    }
    // An emptied cell that shows nothing of its own is no cell at all, so it does not widen the
    // used range.
    if (std::holds_alternative<std::monostate>(cell.value) &&
        cell.format == detail::fallbackFormat(sheet, rect_.top, rect_.left))
        sheet.erase(rect_.top, rect_.left);
}

void Range::setText(const CellText& text) const
{
    if (text.empty()) {
        setFormulaR1C1(std::string());
        return;
    }
    sheetData().at(rect_.top, rect_.left).value = text;
}

CellValue Range::Value() const
{
    const Cell* cell = sheetData().find(rect_.top, rect_.left);
    return cell ? cell->value : CellValue{};
}

std::string Range::FormulaR1C1() const
{
    const CellValue value = Value();
    if (const auto* text = std::get_if<CellText>(&value))
        return text->str();
    if (const auto* number = std::get_if<double>(&value)) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.15g", *number);
        return buffer;
    }
    return {};
}

std::string Range::Text() const
{
    const SheetData& sheet = sheetData();
    const Cell* cell = sheet.find(rect_.top, rect_.left);
    return cell ? displayText(*cell, formats().at(cell->format)) : std::string();
}

RangeFont Range::Font() const { return RangeFont(*this); }
RangeInterior Range::Interior() const { return RangeInterior(*this); }
RangeBorder Range::Borders(int edge) const { return RangeBorder(*this, edge); }

void Range::setHorizontalAlignment(int alignment) const
{
    if (alignment == xlRightLegacy)
        alignment = xlRight;
    if (alignment != xlGeneral && alignment != xlLeft && alignment != xlCenter && alignment != xlRight)
        throw SheetError("Unknown horizontal alignment: " + std::to_string(alignment));
    detail::applyFormat(sheetData(), formats(), transitions(), rect_, changeKey(kHorizontal, alignment), [&](CellFormat& f) { f.horizontalAlignment = alignment; });
}

void Range::setVerticalAlignment(int alignment) const
{
    if (alignment != xlTop && alignment != xlCenter && alignment != xlBottom)
        throw SheetError("Unknown vertical alignment: " + std::to_string(alignment));
    detail::applyFormat(sheetData(), formats(), transitions(), rect_, changeKey(kVertical, alignment), [&](CellFormat& f) { f.verticalAlignment = alignment; });
}

void Range::setWrapText(bool wrap) const
{
    detail::applyFormat(sheetData(), formats(), transitions(), rect_, changeKey(kWrap, wrap), [&](CellFormat& f) { f.wrapText = wrap; });
}

void Range::setNumberFormat(int builtInFormat) const
{
    if (builtInFormat != kNumberFormatGeneral && builtInFormat != kNumberFormatTime)
        throw SheetError("Unsupported number format: " + std::to_string(builtInFormat));
    detail::applyFormat(sheetData(), formats(), transitions(), rect_, changeKey(kNumberFormat, builtInFormat), [&](CellFormat& f) { f.numberFormat = builtInFormat; });
}

namespace {
const CellFormat& topLeftFormat(const Range& range)
{
    const SheetData& sheet = range.sheetData();
    return range.formats().at(detail::effectiveFormat(sheet, range.rect().top, range.rect().left));
}
}  // namespace

int Range::HorizontalAlignment() const { return topLeftFormat(*this).horizontalAlignment; }
int Range::VerticalAlignment() const { return topLeftFormat(*this).verticalAlignment; }
bool Range::WrapText() const { return topLeftFormat(*this).wrapText; }
int Range::NumberFormat() const { return topLeftFormat(*this).numberFormat; }

void Range::setRowHeight(double points) const
{
    requireWithin(points, 0, 409, "Row height", "points");
    SheetData& sheet = sheetData();
    for (int row = rect_.top; row <= rect_.bottom; ++row)
        sheet.setRowHeight(row, points);
}

double Range::RowHeight() const { return sheetData().rowHeight(rect_.top); }

void Range::setColumnWidth(double characters) const
{
    requireWithin(characters, 0, 255, "Column width", "characters");
    SheetData& sheet = sheetData();
    for (int column = rect_.left; column <= rect_.right; ++column)
        sheet.setColumnWidth(column, characters);
}

double Range::ColumnWidth() const { return sheetData().columnWidth(rect_.left); }

RangeLines Range::Rows() const { return RangeLines(*this, true); }
RangeLines Range::Columns() const { return RangeLines(*this, false); }

long long Range::count() const { return static_cast<long long>(rect_.rowCount()) * rect_.columnCount(); }

std::string Range::Address() const
{
    switch (kind_) {
    case A1Kind::WholeColumns:
        return columnLetters(rect_.left) + ":" + columnLetters(rect_.right);
    case A1Kind::WholeRows:
        return std::to_string(rect_.top) + ":" + std::to_string(rect_.bottom);
    case A1Kind::WholeSheet:
        return "1:" + std::to_string(kMaxRows);
    case A1Kind::Cells:
        break;
    }
    return toA1(rect_);
}

Worksheet Range::Parent() const
{
    sheetData();
    return Worksheet(app_, book_, sheet_);
}

// ---- Font ----

RangeFont::RangeFont(const Range& range) : range_(range) {}

void RangeFont::setName(const std::string& name)
{
    if (name.empty() || name.size() > 255)
        throw SheetError("Invalid font name: \"" + name + "\"");
    detail::applyFormat(range_.sheetData(), range_.formats(), range_.transitions(), range_.rect(),
                        changeKey(kFontName, range_.transitions().fontNameId(name)), [&](CellFormat& f) { f.font.name = name; });
}

void RangeFont::setSize(double points)
{
    requireWithin(points, 1, 409, "Font size", "points");
    detail::applyFormat(range_.sheetData(), range_.formats(), range_.transitions(), range_.rect(),
                        changeKey(kFontSize, std::llround(points * 1000)), [&](CellFormat& f) { f.font.size = points; });
}

void RangeFont::setFontStyle(const std::string& style) { setBold(lowered(style) == "bold"); }

void RangeFont::setBold(bool bold)
{
    detail::applyFormat(range_.sheetData(), range_.formats(), range_.transitions(), range_.rect(),
                        changeKey(kFontBold, bold), [&](CellFormat& f) { f.font.bold = bold; });
}

void RangeFont::setColorIndex(int colorIndex)
{
    requireFontColor(colorIndex);
    detail::applyFormat(range_.sheetData(), range_.formats(), range_.transitions(), range_.rect(),
                        changeKey(kFontColor, colorIndex), [&](CellFormat& f) { f.font.colorIndex = colorIndex; });
}

std::string RangeFont::Name() const { return topLeftFormat(range_).font.name; }
double RangeFont::Size() const { return topLeftFormat(range_).font.size; }
bool RangeFont::Bold() const { return topLeftFormat(range_).font.bold; }
std::string RangeFont::FontStyle() const { return Bold() ? "Bold" : "Regular"; }
int RangeFont::ColorIndex() const { return topLeftFormat(range_).font.colorIndex; }

// ---- Interior ----

RangeInterior::RangeInterior(const Range& range) : range_(range) {}

void detail::fillArea(SheetData& sheet, FormatTable& formats, FormatTransitions& transitions, const CellRect& rect,
                      int colorIndex)
{
    if (!isPaletteIndex(colorIndex) && colorIndex != xlColorIndexNone && colorIndex != xlColorIndexAutomatic)
        throw SheetError("Invalid colour index: " + std::to_string(colorIndex) + " (use 1 to 56 or none).");
    const int fill = isPaletteIndex(colorIndex) ? colorIndex : xlColorIndexNone;
    applyFormat(sheet, formats, transitions, rect, changeKey(kFill, fill), [&](CellFormat& f) { f.interiorColorIndex = fill; });
}

void RangeInterior::setColorIndex(int colorIndex)
{
    SheetData& sheet = range_.sheetData();
    detail::fillArea(sheet, range_.formats(), range_.transitions(), range_.rect(), colorIndex);
}

int RangeInterior::ColorIndex() const { return topLeftFormat(range_).interiorColorIndex; }

// ---- Borders ----

namespace {

// One side of the cells of one area, as an edge of a range touches them.
struct EdgePart {
    CellRect area;
    BorderSide side;
};

std::vector<EdgePart> edgeParts(const CellRect& r, A1Kind kind, int edge)
{
    switch (edge) {
    case xlEdgeLeft:
        return {{{r.top, r.left, r.bottom, r.left}, kBorderLeft}};
    case xlEdgeTop:
        return {{{r.top, r.left, r.top, r.right}, kBorderTop}};
    case xlEdgeBottom:
        return {{{r.bottom, r.left, r.bottom, r.right}, kBorderBottom}};
    case xlEdgeRight:
        return {{{r.top, r.right, r.bottom, r.right}, kBorderRight}};
    case xlInsideHorizontal:
        if (r.rowCount() == 1)
            return {};
        // Along whole columns the lines between rows go into the column format, both sides.
        if (kind == A1Kind::WholeColumns || kind == A1Kind::WholeSheet)
            return {{r, kBorderBottom}, {r, kBorderTop}};
        return {{{r.top, r.left, r.bottom - 1, r.right}, kBorderBottom}, {{r.top + 1, r.left, r.bottom, r.right}, kBorderTop}};
    case xlInsideVertical:
        if (r.columnCount() == 1)
            return {};
        if (kind == A1Kind::WholeRows || kind == A1Kind::WholeSheet)
            return {{r, kBorderRight}, {r, kBorderLeft}};
        return {{{r.top, r.left, r.bottom, r.right - 1}, kBorderRight}, {{r.top, r.left + 1, r.bottom, r.right}, kBorderLeft}};
    }
    return {};
}

// A merged area shows as one cell, so an inside line never runs through it: the parts of an
// inside edge are cut where a merged area spans the boundary between two rows or columns.
std::vector<EdgePart> withoutLinesInsideMerges(const SheetData& sheet, std::vector<EdgePart> parts, int edge)
{
    if ((edge != xlInsideHorizontal && edge != xlInsideVertical) || sheet.merges.empty())
        return parts;
    const bool horizontal = edge == xlInsideHorizontal;
    std::vector<EdgePart> kept;
    for (const EdgePart& part : parts) {
        // Cells on this side of the boundary are paired with the neighbour across it.
        const bool nearSide = part.side == kBorderBottom || part.side == kBorderRight;
        std::vector<EdgePart> pieces{part};
        for (const CellRect& m : sheet.merges) {
            std::vector<EdgePart> next;
            for (const EdgePart& piece : pieces) {
                const CellRect& a = piece.area;
                // The boundaries of this piece that lie strictly inside the merged area.
                CellRect hit = a;
                if (horizontal) {
                    hit.top = std::max(a.top, nearSide ? m.top : m.top + 1);
                    hit.bottom = std::min(a.bottom, nearSide ? m.bottom - 1 : m.bottom);
                    hit.left = std::max(a.left, m.left);
                    hit.right = std::min(a.right, m.right);
                } else {
                    hit.left = std::max(a.left, nearSide ? m.left : m.left + 1);
                    hit.right = std::min(a.right, nearSide ? m.right - 1 : m.right);
                    hit.top = std::max(a.top, m.top);
                    hit.bottom = std::min(a.bottom, m.bottom);
                }
                if (hit.top > hit.bottom || hit.left > hit.right) {
                    next.push_back(piece);
                    continue;
                }
                // Keep what lies outside the hit block: above, below, left and right of it.
                if (a.top < hit.top)
                    next.push_back({{a.top, a.left, hit.top - 1, a.right}, piece.side});
                if (hit.bottom < a.bottom)
                    next.push_back({{hit.bottom + 1, a.left, a.bottom, a.right}, piece.side});
                if (a.left < hit.left)
                    next.push_back({{hit.top, a.left, hit.bottom, hit.left - 1}, piece.side});
                if (hit.right < a.right)
                    next.push_back({{hit.top, hit.right + 1, hit.bottom, a.right}, piece.side});
            }
            pieces = std::move(next);
        }
        kept.insert(kept.end(), pieces.begin(), pieces.end());
    }
    return kept;
}

template <class Change>
void changeEdge(const Range& range, detail::FormatTransitions& transitions, int edge, Property property, int value,
                Change&& change)
{
    SheetData& sheet = range.sheetData();
    FormatTable& formats = range.formats();
    std::vector<EdgePart> parts = edgeParts(range.rect(), range.kind(), edge);
    if (range.kind() == A1Kind::Cells)
        parts = withoutLinesInsideMerges(sheet, std::move(parts), edge);
    for (const EdgePart& part : parts)
        detail::applyFormat(sheet, formats, transitions, part.area, changeKey(property, value, part.side),
                            [&](CellFormat& f) { change(f.borders[part.side]); });
}

}  // namespace

RangeBorder::RangeBorder(const Range& range, int edge) : range_(range), edge_(edge)
{
    if (edge < xlEdgeLeft || edge > xlInsideHorizontal)
        throw SheetError("Unknown border edge: " + std::to_string(edge));
}

void RangeBorder::setLineStyle(int lineStyle)
{
    if (lineStyle != xlContinuous && lineStyle != xlLineStyleNone)
        throw SheetError("Unsupported border line style: " + std::to_string(lineStyle));
    changeEdge(range_, range_.transitions(), edge_, kBorderStyle, lineStyle, [&](Border& b) {
        if (lineStyle == xlLineStyleNone)
            b = Border{};
        else
            b.lineStyle = lineStyle;
    });
}

void RangeBorder::setColorIndex(int colorIndex)
{
    requireFontColor(colorIndex);
    changeEdge(range_, range_.transitions(), edge_, kBorderColor, colorIndex, [&](Border& b) {
        b.colorIndex = colorIndex;
        if (b.lineStyle == xlLineStyleNone)
            b.lineStyle = xlContinuous;
    });
}

void RangeBorder::setContinuousLine(int colorIndex)
{
    try {
        requireFontColor(colorIndex);
    } catch (const SheetError&) {
        // As the two steps would leave it: the line drawn, its colour refused.
        setLineStyle(xlContinuous);
        throw;
    }
    changeEdge(range_, range_.transitions(), edge_, kBorderLine, colorIndex, [&](Border& b) {
        b.lineStyle = xlContinuous;
        b.colorIndex = colorIndex;
    });
}

namespace {
Border firstBorder(const Range& range, int edge)
{
    const auto parts = edgeParts(range.rect(), range.kind(), edge);
    if (parts.empty())
        return Border{};
    const SheetData& sheet = range.sheetData();
    const CellRect& area = parts.front().area;
    return range.formats().at(detail::effectiveFormat(sheet, area.top, area.left)).borders[parts.front().side];
}
}  // namespace

int RangeBorder::LineStyle() const { return firstBorder(range_, edge_).lineStyle; }
int RangeBorder::ColorIndex() const { return firstBorder(range_, edge_).colorIndex; }

// ---- Rows and columns of a range ----

RangeLines::RangeLines(const Range& range, bool rows) : range_(range), rows_(rows) {}

int RangeLines::count() const
{
    range_.sheetData();
    return rows_ ? range_.rect().rowCount() : range_.rect().columnCount();
}

Range RangeLines::item(int index) const
{
    const int total = count();
    if (index < 1 || index > total)
        throw SheetError(std::string(rows_ ? "Row" : "Column") + " index out of range: " + std::to_string(index) +
                         " (the range has " + std::to_string(total) + ").");
    CellRect rect = range_.rect();
    if (rows_)
        rect.top = rect.bottom = rect.top + index - 1;
    else
        rect.left = rect.right = rect.left + index - 1;
    return Range(range_.app_, range_.book_, range_.sheet_, rect);
}

}  // namespace sheet
