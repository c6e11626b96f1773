// Paints a range band by band, so that what is laid out at a time stays small however long the
// range. A band paints its shapes clipped to its own strip of the picture, laying out with its
// rows those just above and below the strip: their fills, lines and merged areas reach into it,
// and the edge between two rows is drawn by whichever of the two cells comes first in reading
// order. Each text line is painted whole by the one band whose strip holds its foot. So every
// pixel comes out as if the whole range were laid out at once, and a page holds each text once.
#include "sheet/render/Renderer.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/BlockPainter.h"
#include "sheet/render/Clip.h"
#include "sheet/render/Palette.h"
#include "sheet/render/PixelMetrics.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/Workers.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include <sys/mman.h>

namespace sheet::render {
namespace {

// Device pixels above and below a strip whose rows are laid out with the band, so that shapes
// rounded onto the strip's first or last pixel row are there.
constexpr double kContextPixels = 2;
// Rows laid out with a band beyond its own on either side, at most: as many as a band has, and no
// fewer than this, which only rows of no height piled onto one pixel row ever need.
constexpr long long kMinContextRows = 256;
// A picture of at least this many pixels is painted in strips side by side, one per this many
// pixels and at most kMostStrips.
constexpr long long kPixelsPerStrip = 1024 * 1024;
constexpr unsigned kMostStrips = 4;

void checkRange(const CellRect& range)
{
    if (range.top < 1 || range.left < 1 || range.bottom > kMaxRows || range.right > kMaxColumns || range.top > range.bottom ||
        range.left > range.right)
        throw SheetError("The range to picture lies outside the sheet.");
}

// Where the painter puts a picture's y on the device. Strip edges fall on whole device pixels
// when the painter only scales and moves, so neighbouring strips share no pixel and leave none out.
class VerticalMapping {
public:
    explicit VerticalMapping(const QTransform& toDevice)
        : aligned_(toDevice.type() <= QTransform::TxScale && toDevice.m22() > 0),
          scale_(aligned_ ? toDevice.m22() : 1.0),
          offset_(aligned_ ? toDevice.dy() : 0.0)
    {
    }
    // The strip edge at or just above picture y.
    double edgeAt(double y) const { return aligned_ ? (std::floor(y * scale_ + offset_) - offset_) / scale_ : y; }
    double contextAround() const { return kContextPixels / scale_; }

private:
    bool aligned_;
    double scale_;
    double offset_;
};

// A big picture's memory in large pages where the system gives them on request: filled and painted
// a few kilobytes at a time, its millions of pixels otherwise fault in and are cleared one small
// page at a time. Only whole large pages inside the block are asked for; a refusal changes nothing.
void askForLargePages(void* start, std::size_t size)
{
    constexpr std::uintptr_t kLargePage = 2 * 1024 * 1024;
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + kLargePage - 1) & ~(kLargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(start) + size) & ~(kLargePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

double deviceScale(const QTransform& toDevice)
{
    return std::min(std::hypot(toDevice.m11(), toDevice.m12()), std::hypot(toDevice.m21(), toDevice.m22()));
}

void paintBands(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry,
                const PaintOptions& options)
{
    const CellRect& range = geometry.range();
    const QTransform toDevice = painter.combinedTransform();
    const double scale = deviceScale(toDevice);
    const double pictureWidth = geometry.width() + 1;
    const double pictureHeight = geometry.height() + 1;

    painter.save();
    narrowClip(painter, QRectF(0, 0, pictureWidth, pictureHeight));
    const long long rowsPerBand = std::max(1, options.bandCells / range.columnCount());
    if (range.rowCount() <= rowsPerBand) {
        paintBlock(painter, book, sheet, geometry, range, options, scale, LineWindow{});
        painter.restore();
        return;
    }

    const VerticalMapping mapping(toDevice);
    const QRectF visible = painter.clipBoundingRect();
    const int reach = std::max(2, static_cast<int>(std::ceil(mapping.contextAround())));
    const long long contextRows = std::max<long long>(rowsPerBand, kMinContextRows);
    LineWindow band{-std::numeric_limits<double>::infinity(), 0, static_cast<double>(reach)};
    double stripTop = 0;
    for (long long first = range.top; first <= range.bottom;) {
        const int last = static_cast<int>(std::min<long long>(range.bottom, first + rowsPerBand - 1));
        first = last + 1LL;
        const bool final = last == range.bottom;
        const double stripBottom = final ? pictureHeight : mapping.edgeAt(geometry.y(last + 1));
        // Rows that round onto no pixel row of their own paint with the next band.
        if (stripBottom <= stripTop)
            continue;
        // The band's rows and those reaching into its strip, bounded even where many rows share
        // one pixel row (rows of no height): the nearest ones are kept.
        const int below = std::min(geometry.lastRowStartingBy(static_cast<int>(std::ceil(stripBottom)) + reach),
                                   static_cast<int>(std::min<long long>(range.bottom, last + contextRows)));
        const int above = std::max(geometry.firstRowReaching(static_cast<int>(std::floor(stripTop)) - reach),
                                   static_cast<int>(std::max<long long>(range.top, last - rowsPerBand - contextRows + 1)));
        band.to = final ? std::numeric_limits<double>::infinity() : stripBottom;
        // Everything a band paints lies within its rows' outline, so a band outside the painter's
        // clip (a tile of the preview shows a few rows of a long sheet) is skipped unlaid.
        if (geometry.y(below + 1) + 1.0 >= visible.top() && geometry.y(above) <= visible.bottom())
            paintBlock(painter, book, sheet, geometry, CellRect{above, range.left, below, range.right}, options, scale, band);
        band.from = band.to;
        stripTop = stripBottom;
    }
    painter.restore();
}

}  // namespace

void paintRange(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const CellRect& range,
                const PaintOptions& options)
{
    checkRange(range);
    paintBands(painter, book, sheet, RangeGeometry(sheet, range), options);
}

QImage renderRange(const WorkbookData& book, const SheetData& sheet, const CellRect& range)
{
    // Fonts exist only once the graphics platform is up; without it Qt would abort the program.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw SheetError("The range cannot be pictured without the graphics platform.");
    checkRange(range);
    const RangeGeometry geometry(sheet, range);
    const int fullWidth = geometry.width() + 1;
    const int fullHeight = geometry.height() + 1;
    const double scale = std::min({1.0, static_cast<double>(kMaxPictureSide) / fullWidth,
                                   static_cast<double>(kMaxPictureSide) / fullHeight,
                                   std::sqrt(static_cast<double>(kMaxPicturePixels) / fullWidth / fullHeight)});
    const int width = std::max(1, static_cast<int>(fullWidth * scale));
    const int height = std::max(1, static_cast<int>(fullHeight * scale));
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw SheetError("There is not enough memory to picture the range.");
    uchar* const bits = image.bits();
    askForLargePages(bits, static_cast<std::size_t>(image.sizeInBytes()));
    image.fill(QColor::fromRgb(static_cast<QRgb>(0xFF000000u | kBackgroundRgb)));
    image.setDotsPerMeterX(qRound(kDotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(kDotsPerInch / 0.0254));

    PaintOptions options;
    options.leaveOutTextBelow = kUnreadableOverviewTextPixels;
    // A big picture is painted in strips of whole pixel rows side by side, each strip by its own
    // painter on its rows of the one image. Every painter places the range exactly as one painter
    // on the whole image would (the strip's offset is a whole number of pixels) and paints what
    // reaches its rows in the same order, so each pixel comes out the same.
    const long long pixels = static_cast<long long>(width) * height;
    const int strips = pixels < kPixelsPerStrip ? 1 : static_cast<int>(std::min<long long>(kMostStrips, pixels / kPixelsPerStrip));
    const qsizetype bytesPerLine = image.bytesPerLine();
    runSideBySide(static_cast<std::size_t>(strips), kMostStrips, [&](std::size_t strip) {
        const int top = static_cast<int>(static_cast<long long>(height) * static_cast<long long>(strip) / strips);
        const int bottom = static_cast<int>(static_cast<long long>(height) * static_cast<long long>(strip + 1) / strips);
        QImage rows(bits + bytesPerLine * top, width, bottom - top, bytesPerLine, image.format());
        QPainter painter(&rows);
        painter.translate(0, -top);
        if (scale < 1.0)
            painter.scale(scale, scale);
        if (strips > 1) {
            // Only for leaving out the bands that cannot reach the strip; the image's own edges cut
            // the rest, so the clip reaches a few pixels past them.
            const QRectF reach(-kContextPixels, -kContextPixels, width + 2 * kContextPixels,
                               bottom - top + 2 * kContextPixels);
            painter.setClipRect(painter.transform().inverted().mapRect(reach));
        }
        paintBands(painter, book, sheet, geometry, options);
    });
    return image;
}

}  // namespace sheet::render
