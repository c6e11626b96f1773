// The cell formatting primitives the schedule sheet is written with. They work as a user does:
// one primitive selects a range and writes into it, the next ones format whatever is selected,
// so the selection is the channel between consecutive calls. All act on the application object.
// Ranges are A1 addresses ("B1:F2", "K1:K1", "A:A", "1:1").
#pragma once

#include "sheet/model/SheetData.h"

#include <QFlags>
#include <QString>

#include <functional>

namespace report::EmployeeShiftSchedule {

// The merge flag of PutText and PutUserText, named for the call sites.
inline constexpr bool kMerge = true;
inline constexpr bool kNoMerge = false;

// The edges DrawBorder0 draws and the alignments SetAlignment sets, as named flags for the call
// sites; the primitives keep their Boolean parameters in their own order.
enum class Edge {
    InsideHorizontal = 0x01,
    Left = 0x02,
    Right = 0x04,
    Top = 0x08,
    Bottom = 0x10,
    InsideVertical = 0x20,
};
Q_DECLARE_FLAGS(Edges, Edge)
Q_DECLARE_OPERATORS_FOR_FLAGS(Edges)

enum class Align {
    CentreHorizontally = 0x01,
    CentreVertically = 0x02,
    Wrap = 0x04,
};
Q_DECLARE_FLAGS(Alignments, Align)
Q_DECLARE_OPERATORS_FOR_FLAGS(Alignments)

// Selects the range and enters the text into its top-left cell as cell input (a time such as
// "7:00:00 AM" becomes a time, digits a number); then merges the selection when asked.
void PutText(const QString& range, const QString& text, bool merge);
// The same calls, but the text is kept exactly as typed: for names, positions and header texts,
// which must never turn into a number, a time or anything a spreadsheet would evaluate.
void PutUserText(const QString& range, const QString& text, bool merge);
// PutUserText and FillCells for a block already known by its rows and columns, with the text made
// once for all the cells that show it: the same calls on the application object, without writing
// the address out and reading it back. The schedule marks a cell per shift and time slot, millions
// of them for a large roster, with a few texts.
void PutUserText(const sheet::CellRect& range, const sheet::CellText& text, bool merge);
void FillCells(const sheet::CellRect& range, int colorIndex);

// Font of the selection: style ("bold"; anything else is regular), size in points, colour index.
void SetFont(const QString& style, double size, int colorIndex);
// Horizontal alignment of the selection.
void SetFontAlignment(int horizontalAlignment);
// Centres the selection horizontally and/or vertically and/or wraps its text.
void SetAlignment(bool centreHorizontally, bool centreVertically, bool wrap);
inline void SetAlignment(Alignments set)
{
    SetAlignment(set.testFlag(Align::CentreHorizontally), set.testFlag(Align::CentreVertically),
                 set.testFlag(Align::Wrap));
}

// Selects the rows ("1:1", "5:7") and sets their height in points.
void SetRowHeight(const QString& rows, double height);
// Selects the columns ("A:A") and sets their width in characters.
void SetColumnWidth(const QString& columns, double width);
// Fills the range (or, given an empty text, the selection) with a palette colour.
void FillCells(const QString& range, int colorIndex);

// Selects the range (unless the text is empty) and draws the flagged edges in the order left, top,
// bottom, right, inside horizontal, inside vertical. Mind the argument order of the flags.
void DrawBorder0(const QString& range, bool insideHorizontal, bool left, bool right, bool top, bool bottom,
                 bool insideVertical, int colorIndex);
inline void DrawBorder0(const QString& range, Edges edges, int colorIndex)
{
    DrawBorder0(range, edges.testFlag(Edge::InsideHorizontal), edges.testFlag(Edge::Left), edges.testFlag(Edge::Right),
                edges.testFlag(Edge::Top), edges.testFlag(Edge::Bottom), edges.testFlag(Edge::InsideVertical),
                colorIndex);
}
// One continuous line on an edge (xlEdgeLeft .. xlInsideHorizontal) of the selection.
void DrawSingleBorder(int edge, int colorIndex);

// Sees every edge DrawSingleBorder is asked to draw, in order (for tracing); empty stops it.
void setBorderObserver(std::function<void(int edge, int colorIndex)> observer);

}  // namespace report::EmployeeShiftSchedule
