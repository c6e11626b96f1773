// Helpers for probing pictures of sheets: a one-sheet workbook to fill and render, and the ink
// (text pixels) found in an area of a picture.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/render/Palette.h"
#include "sheet/render/Renderer.h"

#include <QImage>
#include <QTransform>
#include <QRect>

#include <optional>

namespace sheet::render::testing {

// Pixels as a picture holds them, opaque: white, a gridline, and a palette colour.
inline constexpr QRgb kWhite = 0xFFFFFFFFu;
inline constexpr QRgb kGrid = 0xFF000000u | kGridlineRgb;
inline QRgb rgbOf(int colorIndex) { return 0xFF000000u | *paletteRgb(colorIndex); }

struct OneSheetBook {
    WorkbookData book;
    SheetData* sheet;

    OneSheetBook();
    // Puts a value with a format into a cell.
    void put(int row, int column, CellValue value, const CellFormat& format = CellFormat{});
    void format(int row, int column, const CellFormat& format);
    QImage render(const CellRect& range) const;
    // The range painted through paintRange on white, the painter set to `placement`; the image is
    // as large as the placed range.
    QImage paint(const CellRect& range, const QTransform& placement, const PaintOptions& options) const;
};

// Dark pixels: text drawn in black (antialiased edges included), never grid, fill or border grey.
bool isInk(QRgb pixel);
// The bounding box of the ink inside `area`; nullopt when there is none.
std::optional<QRect> inkBounds(const QImage& image, const QRect& area);
// Whether every pixel of `area` has the colour `rgb`.
bool allPixels(const QImage& image, const QRect& area, QRgb rgb);

}  // namespace sheet::render::testing
