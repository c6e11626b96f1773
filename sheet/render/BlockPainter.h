// Lays out and paints the cells of one block of rows of a range: gridlines, fills, borders and
// texts, each layer over the one before as a spreadsheet paints its cells. The renderer paints a
// range block by block, so that what is laid out at a time stays small however long the range.
#pragma once

#include "sheet/model/SheetData.h"

class QPainter;

namespace sheet::render {

class RangeGeometry;

struct BlockOptions {
    bool gridlines = true;
    // Device pixels per sheet pixel. Below 1 the picture is an overview, in which text smaller
    // than a few device pixels is left out instead of being smeared.
    double scale = 1.0;
    bool leaveOutUnreadableText = false;
};

// Paints the rows `rows` (a block of the geometry's range, spanning all its columns) at their
// places in the range's picture, in the painter's coordinates. What the block paints beyond its
// own rows (a fill's closing line, a merged area's other rows, overflowing text) is the painter's
// clip's business.
void paintBlock(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry,
                const CellRect& rows, const BlockOptions& options);

}  // namespace sheet::render
