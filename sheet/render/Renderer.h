// Pictures of sheet ranges: a range painted as a spreadsheet shows it, with light gridlines (on
// screen), fills, borders, merged areas, fonts, alignment, wrap and text overflow, on any painter:
// an image at 96 dpi, a printer's page, a PDF page.
#pragma once

#include "sheet/model/SheetData.h"

#include <QImage>

class QPainter;

namespace sheet::render {

// Cells laid out at a time. A range is painted in bands of rows of about this many cells, so the
// memory a picture takes besides the picture itself does not grow with the range.
inline constexpr int kBandCells = 64 * 1024;

struct PaintOptions {
    bool gridlines = true;  // the light grey grid of the screen; paper shows none
    // Painted smaller than 96 dpi, text whose letters would be less than this many device pixels
    // high is left out. An overview leaves out what it could only smear (a few pixels); a page
    // keeps every text a PDF viewer can zoom into, and leaves out only what stays unreadable even
    // at the largest zoom, which would otherwise fill the file with millions of invisible letters.
    double leaveOutTextBelow = 0;
    // One glyph per character, no ligatures ("ffi" as three letters): the text of a PDF is then
    // found by searching for it as typed. Pictures keep the font's own shaping.
    bool glyphPerCharacter = false;
    int bandCells = kBandCells;
};

// Paints the range with its top-left corner at the painter's origin, one painter unit per pixel at
// 96 dpi: (width + 1) x (height + 1) units, the extra one for the closing grid or border line.
// The painter's transform places and scales it; nothing outside that rectangle is painted.
// Throws SheetError when the range lies outside the sheet.
void paintRange(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const CellRect& range,
                const PaintOptions& options = {});

// The picture of a range at 96 dpi on white, gridlines shown. A range whose picture would pass
// the size limits below is drawn scaled down to fit them (an overview; text too small to read is
// left out), so every range of a sheet gets a picture. Needs a QGuiApplication. Throws SheetError
// when there is none, when the range lies outside the sheet or when memory for the picture runs out.
QImage renderRange(const WorkbookData& book, const SheetData& sheet, const CellRect& range);

// Text an overview leaves out: letters under 4 pixels high.
inline constexpr double kUnreadableOverviewTextPixels = 4;
// Text a page leaves out: letters under 1/16 point high, which even a viewer's largest zoom
// (6400 %) shows under 4 points high.
inline constexpr double kUnreadablePageTextPoints = 1.0 / 16;

// Limits of one picture.
inline constexpr int kMaxPictureSide = 8192;
inline constexpr long long kMaxPicturePixels = 16LL * 1024 * 1024;

}  // namespace sheet::render
