// Picture probing helpers.
#include "RenderProbe.h"

#include "sheet/render/RangeGeometry.h"

#include <QColor>
#include <QPainter>

#include <cmath>

namespace sheet::render::testing {

OneSheetBook::OneSheetBook()
{
    book.sheets.push_back(std::make_unique<SheetData>());
    sheet = book.sheets.front().get();
}

void OneSheetBook::put(int row, int column, CellValue value, const CellFormat& format)
{
    Cell& cell = sheet->at(row, column);
    cell.value = std::move(value);
    cell.format = book.formats.intern(format);
}

void OneSheetBook::format(int row, int column, const CellFormat& format)
{
    sheet->at(row, column).format = book.formats.intern(format);
}

QImage OneSheetBook::render(const CellRect& range) const { return renderRange(book, *sheet, range); }

QImage OneSheetBook::paint(const CellRect& range, const QTransform& placement, const PaintOptions& options) const
{
    const RangeGeometry geometry(*sheet, range);
    const QRectF placed = placement.mapRect(QRectF(0, 0, geometry.width() + 1, geometry.height() + 1));
    QImage image(static_cast<int>(std::ceil(placed.right())), static_cast<int>(std::ceil(placed.bottom())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setTransform(placement);
    paintRange(painter, book, *sheet, range, options);
    return image;
}

bool isInk(QRgb pixel) { return qGray(pixel) < 110; }

std::optional<QRect> inkBounds(const QImage& image, const QRect& area)
{
    const QRect probe = area.intersected(image.rect());
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = probe.top(); y <= probe.bottom(); ++y)
        for (int x = probe.left(); x <= probe.right(); ++x)
            if (isInk(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (left == INT_MAX)
        return std::nullopt;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool allPixels(const QImage& image, const QRect& area, QRgb rgb)
{
    const QRect probe = area.intersected(image.rect());
    for (int y = probe.top(); y <= probe.bottom(); ++y)
        for (int x = probe.left(); x <= probe.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (rgb & 0xFFFFFF))
                return false;
    return true;
}

}  // namespace sheet::render::testing
