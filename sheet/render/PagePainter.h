// A sheet on paper, as a spreadsheet prints the file: one page of the paper, orientation and
// margins of the sheet's page setup, showing the print area or else the used range, scaled down
// to fit the page (never up) and placed at the top left inside the margins, without gridlines.
// The range is painted by the same renderer as the pictures, as vectors: text stays text, so a
// PDF of it can be searched and stays sharp at any zoom.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/render/PageFit.h"

#include <QByteArray>
#include <QPageLayout>
#include <QRectF>

#include <optional>

class QIODevice;
class QPaintDevice;
class QPagedPaintDevice;
class QPainter;

namespace sheet::render {

// The sheet a workbook prints. Throws SheetError when it has no active sheet.
const SheetData& activeSheetOf(const WorkbookData& book);

// The page the setup asks for: paper by the spreadsheet's paper codes (A4 for a code this does
// not know), orientation, and the four margins in points.
QPageLayout pageLayoutOf(const PageSetup& setup);

// The cells a page of the sheet shows: the print area when there is one (whole rows or columns
// as far as the used range reaches), else the used range; nullopt when that leaves nothing.
// Throws SheetError when the print area is no block of cells.
std::optional<CellRect> printedRange(const SheetData& sheet);

// Sheet pixels (96 dpi) to page points: at most 72/96, less when the range must shrink to fit
// `area` (points); a fixed zoom of the setup applies while the range fits.
double pageScale(const PageSetup& setup, const QSizeF& rangePixels, const QSizeF& area);

// Paints the sheet's printed range at the top left of `area`, the printable part of a page in
// the painter's coordinates, `unitsPerPoint` painter units to the point. Throws SheetError when
// there is nothing to print.
void paintPage(QPainter& painter, const QRectF& area, double unitsPerPoint, const WorkbookData& book,
               const SheetData& sheet);

// Paints the workbook's active sheet on one page of the device inside the device's own page
// layout (a printer's is preset with pageLayoutOf and may then be changed in a print dialog).
// Throws SheetError when there is no active sheet, nothing to print or the device cannot paint.
void printActiveSheet(const WorkbookData& book, QPaintDevice& device);
void printActiveSheet(const WorkbookData& book, QPagedPaintDevice& device, PageFit fit);

// The paper a fit asks for: the sheet's page setup, or A4 landscape with its margins.
QPageLayout pageLayoutFor(const PageSetup& setup, PageFit fit);

// The active sheet as a PDF of our own writing (PdfPainter.h) laid out by `fit` (by default one
// page by its own page setup): written to `out` (open for writing), or returned as bytes for the
// caller to write where it likes. Throws SheetError as printActiveSheet does; nothing is written
// to `out` when there is nothing to print.
void writeActiveSheetPdf(const WorkbookData& book, QIODevice& out, PageFit fit = PageFit::OnePage);
QByteArray activeSheetPdf(const WorkbookData& book, PageFit fit = PageFit::OnePage);

}  // namespace sheet::render
