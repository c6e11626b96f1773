// Printed pages of a sheet.
#include "sheet/render/PagePainter.h"

#include "sheet/model/A1.h"
#include "sheet/model/SheetError.h"
#include "sheet/render/PdfPainter.h"
#include "sheet/render/PixelMetrics.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/Renderer.h"
#include "sheet/render/WidthPages.h"

#include <QBuffer>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sheet::render {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kPointsPerPixel = kPointsPerInch / kDotsPerInch;
// Margins never take more than this share of the paper, so that some of the page stays to print on.
constexpr double kLargestMarginShare = 0.45;

struct PaperCode {
    int code;
    QPageSize::PageSizeId size;
};

// The spreadsheet's paper codes for the common papers.
constexpr PaperCode kPapers[] = {
    {1, QPageSize::Letter},     {2, QPageSize::Letter},  {3, QPageSize::Tabloid},  {4, QPageSize::Ledger},
    {5, QPageSize::Legal},      {6, QPageSize::Statement}, {7, QPageSize::Executive}, {8, QPageSize::A3},
    {9, QPageSize::A4},         {10, QPageSize::A4},     {11, QPageSize::A5},      {12, QPageSize::JisB4},
    {13, QPageSize::JisB5},     {14, QPageSize::Folio},  {15, QPageSize::Quarto},  {17, QPageSize::Tabloid},
    {18, QPageSize::Letter},    {20, QPageSize::Comm10E}, {27, QPageSize::DLE},    {28, QPageSize::C5E},
};

QPageSize::PageSizeId paperOf(int code)
{
    for (const PaperCode& paper : kPapers)
        if (paper.code == code)
            return paper.size;
    return QPageSize::A4;
}

double marginWithin(double points, double paperSide)
{
    const double margin = std::isfinite(points) && points > 0 ? points : 0.0;
    return std::min(margin, paperSide * kLargestMarginShare);
}

CellRect requirePrintedRange(const SheetData& sheet)
{
    const auto range = printedRange(sheet);
    if (!range)
        throw SheetError("The sheet has nothing to print.");
    return *range;
}

}  // namespace

const SheetData& activeSheetOf(const WorkbookData& book)
{
    if (book.activeSheet < 0 || static_cast<std::size_t>(book.activeSheet) >= book.sheets.size() ||
        book.sheets[static_cast<std::size_t>(book.activeSheet)] == nullptr)
        throw SheetError("The workbook has no active sheet to print.");
    return *book.sheets[static_cast<std::size_t>(book.activeSheet)];
}

QPageLayout pageLayoutOf(const PageSetup& setup)
{
    const QPageSize paper(paperOf(setup.paperSize));
    const auto orientation = setup.orientation == xlLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    QSizeF sheetOfPaper = paper.size(QPageSize::Point);
    if (orientation == QPageLayout::Landscape)
        sheetOfPaper.transpose();
    const QMarginsF margins(marginWithin(setup.leftMargin, sheetOfPaper.width()), marginWithin(setup.topMargin, sheetOfPaper.height()),
                            marginWithin(setup.rightMargin, sheetOfPaper.width()),
                            marginWithin(setup.bottomMargin, sheetOfPaper.height()));
    return QPageLayout(paper, orientation, margins, QPageLayout::Point);
}

std::optional<CellRect> printedRange(const SheetData& sheet)
{
    const std::optional<CellRect> used = sheet.usedRange();
    if (sheet.pageSetup.printArea.empty())
        return used;
    const A1Range area = parseA1(sheet.pageSetup.printArea);
    switch (area.kind) {
    case A1Kind::Cells:
        return area.rect;
    case A1Kind::WholeColumns:
        if (!used)
            return std::nullopt;
        return CellRect{1, area.rect.left, used->bottom, area.rect.right};
    case A1Kind::WholeRows:
        if (!used)
            return std::nullopt;
        return CellRect{area.rect.top, 1, area.rect.bottom, used->right};
    case A1Kind::WholeSheet:
        break;
    }
    return used;
}

double pageScale(const PageSetup& setup, const QSizeF& rangePixels, const QSizeF& area)
{
    const double zoom = setup.zoom ? *setup.zoom / 100.0 : 1.0;
    const double fit = std::min(area.width() / (rangePixels.width() * kPointsPerPixel),
                                area.height() / (rangePixels.height() * kPointsPerPixel));
    return kPointsPerPixel * std::max(0.0, std::min(zoom, fit));
}

void paintPage(QPainter& painter, const QRectF& area, double unitsPerPoint, const WorkbookData& book,
               const SheetData& sheet)
{
    const CellRect range = requirePrintedRange(sheet);
    const RangeGeometry geometry(sheet, range);
    const QSizeF pixels(geometry.width() + 1, geometry.height() + 1);
    const double scale = pageScale(sheet.pageSetup, pixels, area.size() / unitsPerPoint) * unitsPerPoint;
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    PaintOptions options;
    options.gridlines = false;
    options.glyphPerCharacter = true;
    options.leaveOutTextBelow = kUnreadablePageTextPoints * unitsPerPoint;
    paintRange(painter, book, sheet, range, options);
    painter.restore();
}

void printActiveSheet(const WorkbookData& book, QPaintDevice& device)
{
    const SheetData& sheet = activeSheetOf(book);
    requirePrintedRange(sheet);  // before the device starts a page
    QPainter painter;
    if (!painter.begin(&device))
        throw SheetError("The page cannot be printed: the printer or file could not be started.");
    paintPage(painter, QRectF(0, 0, device.width(), device.height()), device.logicalDpiY() / kPointsPerInch, book, sheet);
    if (!painter.end())
        throw SheetError("The page cannot be printed: the printer or file did not take it.");
}

void printActiveSheet(const WorkbookData& book, QPagedPaintDevice& device, PageFit fit)
{
    if (fit == PageFit::PageWidth)
        printActiveSheetToPageWidth(book, device);
    else
        printActiveSheet(book, device);
}

QPageLayout pageLayoutFor(const PageSetup& setup, PageFit fit)
{
    return fit == PageFit::PageWidth ? pageWidthLayout(setup) : pageLayoutOf(setup);
}

void writeActiveSheetPdf(const WorkbookData& book, QIODevice& out, PageFit fit)
{
    const QByteArray pdf = activeSheetPdf(book, fit);
    if (out.write(pdf) != pdf.size())
        throw SheetError("The PDF cannot be written: " + out.errorString().toStdString());
}

QByteArray activeSheetPdf(const WorkbookData& book, PageFit fit)
{
    const SheetData& sheet = activeSheetOf(book);
    const QPageLayout layout = pageLayoutFor(sheet.pageSetup, fit);
    if (!layout.isValid() || layout.paintRectPixels(kDotsPerInch).isEmpty())
        throw SheetError("The sheet's page setup does not fit its paper.");
    PdfPaintDevice device(layout, QString::fromStdString(sheet.name));
    if (fit == PageFit::PageWidth)
        printActiveSheetToPageWidth(book, device, [&device] { return device.newPage(); });
    else
        printActiveSheet(book, device);
    return device.pdf();
}

}  // namespace sheet::render
