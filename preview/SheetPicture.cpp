// The preview's drawable picture.
#include "preview/SheetPicture.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/PagePainter.h"
#include "sheet/render/Palette.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/Renderer.h"

#include <QPainter>

#include <algorithm>

namespace preview {

namespace {
// Rows laid out at a time: a tile shows a few dozen rows, and a band much taller than that would
// lay out rows only to clip them away.
constexpr int kTileBandCells = 4096;
// Rows and columns painted beyond a tile's own on each side.
constexpr int kCellsAround = 2;
}  // namespace

SheetPicture SheetPicture::ofWorkbook(std::shared_ptr<const sheet::WorkbookData> book)
{
    SheetPicture picture;
    const sheet::SheetData& sheet = sheet::render::activeSheetOf(*book);
    const auto used = sheet.usedRange();
    if (!used)
        throw sheet::SheetError("The sheet has no cells to show.");
    picture.geometry_ = std::make_shared<const sheet::render::RangeGeometry>(sheet, *used);
    picture.size_ = QSize(picture.geometry_->width() + 1, picture.geometry_->height() + 1);
    picture.sheet_ = &sheet;
    picture.range_ = *used;
    picture.book_ = std::move(book);
    return picture;
}

SheetPicture SheetPicture::ofImage(const QImage& image)
{
    SheetPicture picture;
    picture.image_ = image;
    picture.size_ = image.size();
    return picture;
}

void SheetPicture::paint(QPainter& painter, double scale) const
{
    painter.save();
    painter.scale(scale, scale);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size_)), QColor::fromRgb(0xFF000000u | sheet::render::kBackgroundRgb));
    if (book_) {
        sheet::render::PaintOptions options;
        options.leaveOutTextBelow = kLeaveOutTextBelowPixels;
        options.bandCells = kTileBandCells;
        // The rows and columns the clip shows, and a few around them for what reaches in from
        // beyond; they are painted as a range of their own at their place in the whole.
        const QRectF visible = painter.clipBoundingRect();
        sheet::CellRect shown = range_;
        if (!visible.isEmpty()) {
            shown.top = std::max(range_.top, geometry_->firstRowReaching(static_cast<int>(visible.top())) - kCellsAround);
            shown.bottom = std::min(range_.bottom, geometry_->lastRowStartingBy(static_cast<int>(visible.bottom()) + 1) + kCellsAround);
            shown.left = std::max(range_.left, geometry_->firstColumnReaching(static_cast<int>(visible.left())) - kCellsAround);
            shown.right = std::min(range_.right, geometry_->lastColumnStartingBy(static_cast<int>(visible.right()) + 1) + kCellsAround);
            if (shown.top > shown.bottom || shown.left > shown.right)
                shown = range_;
        }
        painter.translate(geometry_->x(shown.left), geometry_->y(shown.top));
        sheet::render::paintRange(painter, *book_, *sheet_, shown, options);
    } else if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPointF(0, 0), image_);
    }
    painter.restore();
}

}  // namespace preview
