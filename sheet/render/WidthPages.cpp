// Pages one sheet wide.
#include "sheet/render/WidthPages.h"

#include "sheet/model/Constants.h"
#include "sheet/model/SheetError.h"
#include "sheet/render/FontResolver.h"
#include "sheet/render/PagePainter.h"
#include "sheet/render/PixelMetrics.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/Renderer.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <iterator>

namespace sheet::render {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kPointsPerPixel = kPointsPerInch / kDotsPerInch;
// Room kept at the foot of every page for its number.
constexpr double kFooterPoints = 18.0;
constexpr double kFooterFontPoints = 8.0;
constexpr double kSideMarginPoints = 18.0;

}  // namespace

SheetBlocks blocksOf(const SheetData& sheet, const CellRect& range)
{
    SheetBlocks blocks;
    for (const CellRect& merge : sheet.merges)
        if (merge.left == merge.right && merge.bottom > merge.top && merge.top > range.top && merge.top <= range.bottom &&
            merge.left >= range.left && merge.left <= range.right)
            blocks.blockStarts.push_back(merge.top);
    std::ranges::sort(blocks.blockStarts);
    if (!blocks.blockStarts.empty())
        blocks.lastTitleRow = blocks.blockStarts.front() - 1;
    return blocks;
}

std::vector<RowSpan> pageRows(int first, int last, const std::vector<int>& blockStarts, double pageHeight,
                              const std::function<double(int)>& rowTop)
{
    std::vector<RowSpan> pages;
    int top = first;
    while (top <= last) {
        int bottom = top;  // a page holds at least one row
        while (bottom < last && rowTop(bottom + 2) - rowTop(top) <= pageHeight)
            ++bottom;
        if (bottom < last) {
            // The latest block that starts on this page but does not end on it moves to the next.
            const auto next = std::ranges::upper_bound(blockStarts, bottom + 1);
            if (next != blockStarts.begin() && *std::prev(next) > top)
                bottom = *std::prev(next) - 1;
        }
        pages.push_back({top, bottom});
        top = bottom + 1;
    }
    return pages;
}

QPageLayout pageWidthLayout(const PageSetup& setup)
{
    PageSetup a4 = setup;
    a4.paperSize = xlPaperA4;
    a4.orientation = xlLandscape;
    // The width is what makes a tall sheet's text readable: the side margins give it back.
    a4.leftMargin = std::min(a4.leftMargin, kSideMarginPoints);
    a4.rightMargin = std::min(a4.rightMargin, kSideMarginPoints);
    return pageLayoutOf(a4);
}

void printActiveSheetToPageWidth(const WorkbookData& book, QPagedPaintDevice& device)
{
    printActiveSheetToPageWidth(book, device, [&device] { return device.newPage(); });
}

void printActiveSheetToPageWidth(const WorkbookData& book, QPaintDevice& device, const std::function<bool()>& newPage)
{
    const SheetData& sheet = activeSheetOf(book);
    const auto printed = printedRange(sheet);
    if (!printed)
        throw SheetError("The sheet has nothing to print.");
    const CellRect range = *printed;
    const SheetBlocks blocks = blocksOf(sheet, range);
    const RangeGeometry geometry(sheet, range);

    QPainter painter;
    if (!painter.begin(&device))
        throw SheetError("The page cannot be printed: the printer or file could not be started.");
    const double unitsPerPoint = device.logicalDpiY() / kPointsPerInch;
    const double widthPoints = device.width() / unitsPerPoint;
    const double heightPoints = device.height() / unitsPerPoint;
    const double pointsPerPixel = std::min(kPointsPerPixel, widthPoints / (geometry.width() + 1));
    const double scale = pointsPerPixel * unitsPerPoint;

    const bool titled = blocks.lastTitleRow >= range.top;
    const CellRect titles{range.top, range.left, blocks.lastTitleRow, range.right};
    const int titleHeight = titled ? geometry.y(blocks.lastTitleRow + 1) : 0;
    const int firstBodyRow = titled ? blocks.lastTitleRow + 1 : range.top;
    const double bodyHeight = std::max(1.0, (heightPoints - kFooterPoints) / pointsPerPixel - titleHeight - 1);
    const std::vector<RowSpan> pages =
        pageRows(firstBodyRow, range.bottom, blocks.blockStarts, bodyHeight, [&](int row) { return geometry.y(row); });

    PaintOptions options;
    options.gridlines = false;
    options.glyphPerCharacter = true;
    options.leaveOutTextBelow = kUnreadablePageTextPoints * unitsPerPoint;
    QFont footerFont = cellFont(sheet::Font{});
    footerFont.setPointSizeF(kFooterFontPoints);
    const int count = static_cast<int>(pages.size());
    for (int n = 0; n < count; ++n) {
        if (n > 0 && !newPage())
            throw SheetError("The page cannot be printed: the printer or file did not take another page.");
        const RowSpan& rows = pages[static_cast<std::size_t>(n)];
        painter.save();
        painter.scale(scale, scale);
        if (titled) {
            painter.save();
            painter.setClipRect(QRectF(0, 0, geometry.width() + 1, titleHeight));
            paintRange(painter, book, sheet, titles, options);
            painter.restore();
        }
        const CellRect body{rows.top, range.left, rows.bottom, range.right};
        const RangeGeometry bodyGeometry(sheet, body);
        painter.translate(0, titleHeight);
        painter.setClipRect(QRectF(0, 0, bodyGeometry.width() + 1, bodyGeometry.height() + 1));
        paintRange(painter, book, sheet, body, options);
        painter.restore();

        painter.save();
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QRectF foot(0, device.height() - kFooterPoints * unitsPerPoint, device.width(), kFooterPoints * unitsPerPoint);
        painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Page %1 of %2").arg(n + 1).arg(count));
        painter.restore();
    }
    if (!painter.end())
        throw SheetError("The page cannot be printed: the printer or file did not take it.");
}

}  // namespace sheet::render
