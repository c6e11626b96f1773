// Lays out and paints the cells of one block of rows of a range: gridlines, fills, borders and
// texts, each layer over the one before as a spreadsheet paints its cells. The renderer paints a
// range block by block, so that what is laid out at a time stays small however long the range.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/render/Renderer.h"
#include "sheet/render/TextPainter.h"

class QPainter;

namespace sheet::render {

class RangeGeometry;

// Paints the rows `rows` (a block of the geometry's range, spanning all its columns) at their
// places in the range's picture, in the painter's coordinates: its shapes (gridlines, fills,
// borders) clipped to the band's rows of picture [band.from, band.to), and those of its text lines
// that the band's window takes, whole. What reaches into the band from rows beyond it is the
// caller's to include in `rows`. `deviceScale` is device pixels per sheet pixel; below 1 the
// picture is an overview, in which the options may leave out text too small to read.
void paintBlock(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry,
                const CellRect& rows, const PaintOptions& options, double deviceScale, const LineWindow& band);

}  // namespace sheet::render
