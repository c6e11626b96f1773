// Lays out and paints the cells of one block of rows of a range: gridlines, fills, borders and
// texts, each layer over the one before as a spreadsheet paints its cells. The renderer paints a
// range block by block, so that what is laid out at a time stays small however long the range.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/render/Renderer.h"

class QPainter;

namespace sheet::render {

class RangeGeometry;

// Paints the rows `rows` (a block of the geometry's range, spanning all its columns) at their
// places in the range's picture, in the painter's coordinates. What the block paints beyond its
// own rows (a fill's closing line, a merged area's other rows, overflowing text) is the painter's
// clip's business. `deviceScale` is device pixels per sheet pixel; below 1 the picture is an
// overview, in which the options may leave out text too small to read.
void paintBlock(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry,
                const CellRect& rows, const PaintOptions& options, double deviceScale);

}  // namespace sheet::render
