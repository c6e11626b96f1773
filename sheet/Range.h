// Ranges of a worksheet as the automation object model hands them out: a block of cells, whole
// rows, whole columns or the whole sheet, with the calls that select, fill and format it. A range
// is a small handle; it stays usable as long as its application runs, its workbook is open and
// its sheet exists, and fails with a SheetError afterwards.
#pragma once

#include "sheet/model/A1.h"
#include "sheet/model/SheetData.h"

#include <memory>
#include <string>

namespace sheet {

namespace detail {
struct AppState;
struct BookState;
class FormatTransitions;
}  // namespace detail

class Worksheet;

class RangeFont;
class RangeInterior;
class RangeBorder;
class RangeLines;

class Range {
public:
    Range(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book, SheetData* sheet,
          const CellRect& rect);

    // Makes this the sheet's selection; the active cell becomes its top-left cell. A block of
    // cells grows to take in every merged area it touches, as a user's selection does.
    void Select() const;
    // Removes values, formats and merged areas.
    void Clear() const;
    // Merges the block into one cell that keeps the top-left value; a one-cell range stays as is.
    void Merge() const;
    bool MergeCells() const;

    // Cell input into the top-left cell: times and numbers become values, other texts stay texts.
    void setFormulaR1C1(const std::string& text) const;
    // Enters the text as it stands into the top-left cell: never read as a time, a number or a
    // formula, as a cell formatted as text takes what is typed. An empty text empties the cell.
    // A text entered into many cells is best made once and handed over as it is.
    void setText(const CellText& text) const;
    std::string FormulaR1C1() const;
    CellValue Value() const;
    // The displayed text of the top-left cell.
    std::string Text() const;

    RangeFont Font() const;
    RangeInterior Interior() const;
    RangeBorder Borders(int edge) const;

    // xlGeneral, xlLeft, xlCenter, xlRight, or 4 for right.
    void setHorizontalAlignment(int alignment) const;
    int HorizontalAlignment() const;
    // xlTop, xlCenter, xlBottom.
    void setVerticalAlignment(int alignment) const;
    int VerticalAlignment() const;
    void setWrapText(bool wrap) const;
    bool WrapText() const;
    void setNumberFormat(int builtInFormat) const;
    int NumberFormat() const;

    // Points, 0..409, for every row of the range.
    void setRowHeight(double points) const;
    double RowHeight() const;
    // Characters, 0..255, for every column of the range.
    void setColumnWidth(double characters) const;
    double ColumnWidth() const;

    int Row() const { return rect_.top; }
    int Column() const { return rect_.left; }
    RangeLines Rows() const;
    RangeLines Columns() const;
    long long count() const;  // cells
    std::string Address() const;

    Worksheet Parent() const;
    const CellRect& rect() const { return rect_; }
    A1Kind kind() const { return kind_; }

    // The sheet behind the range, after checking that the range may still be used.
    SheetData& sheetData() const;
    FormatTable& formats() const;

private:
    detail::FormatTransitions& transitions() const;

    friend class RangeFont;
    friend class RangeInterior;
    friend class RangeBorder;
    friend class RangeLines;

    std::shared_ptr<detail::AppState> app_;
    std::shared_ptr<detail::BookState> book_;
    SheetData* sheet_;
    CellRect rect_;
    A1Kind kind_;
};

// The font of a range (Range::Font()). Getters read the range's top-left cell.
class RangeFont {
public:
    explicit RangeFont(const Range& range);
    void setName(const std::string& name);
    void setSize(double points);
    // "bold" (in any case) makes the font bold; every other style is regular.
    void setFontStyle(const std::string& style);
    void setBold(bool bold);
    // 1..56 (palette) or xlColorIndexAutomatic.
    void setColorIndex(int colorIndex);

    std::string Name() const;
    double Size() const;
    bool Bold() const;
    std::string FontStyle() const;  // "Bold" or "Regular"
    int ColorIndex() const;

private:
    Range range_;
};

// The fill of a range (Range::Interior()).
class RangeInterior {
public:
    explicit RangeInterior(const Range& range);
    // 1..56 (a solid fill), xlColorIndexNone or xlColorIndexAutomatic (both: no fill).
    void setColorIndex(int colorIndex);
    int ColorIndex() const;

private:
    Range range_;
};

// One edge of a range (Range::Borders(edge)): xlEdgeLeft..xlInsideHorizontal (7..12).
class RangeBorder {
public:
    RangeBorder(const Range& range, int edge);
    // xlContinuous or xlLineStyleNone.
    void setLineStyle(int lineStyle);
    // 1..56 or xlColorIndexAutomatic. A colour on an edge without a line draws a continuous line.
    void setColorIndex(int colorIndex);
    // setLineStyle(xlContinuous) then setColorIndex(colorIndex), in one pass over the edge's cells.
    void setContinuousLine(int colorIndex);
    // Read from the first cell along the edge (for inside edges: the first inner line).
    int LineStyle() const;
    int ColorIndex() const;

private:
    Range range_;
    int edge_;
};

// The rows or the columns of a range (Range::Rows(), Range::Columns()).
class RangeLines {
public:
    RangeLines(const Range& range, bool rows);
    int count() const;
    Range item(int index) const;  // 1-based

private:
    Range range_;
    bool rows_;
};

}  // namespace sheet
