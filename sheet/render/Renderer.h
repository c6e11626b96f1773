// Pictures of sheet ranges: a range painted at 96 dpi as a spreadsheet shows it on screen, with
// light gridlines, fills, borders, merged areas, fonts, alignment, wrap and text overflow.
#pragma once

#include "sheet/model/SheetData.h"

#include <QImage>

namespace sheet::render {

// The picture covers exactly the range's columns and rows, plus one pixel right and below for
// their closing grid or border line. A range whose picture at 96 dpi would pass the size limits
// below is drawn scaled down to fit them (an overview; text too small to read is left out), so a
// large sheet still gets a picture. Needs a QGuiApplication. Throws SheetError when there is none,
// when the range lies outside the sheet or when it has more cells than one picture takes.
QImage renderRange(const WorkbookData& book, const SheetData& sheet, const CellRect& range);

// Limits of one picture.
inline constexpr int kMaxPictureSide = 8192;
inline constexpr long long kMaxPicturePixels = 16LL * 1024 * 1024;
inline constexpr long long kMaxPictureCells = 1024LL * 1024;

}  // namespace sheet::render
