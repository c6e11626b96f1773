// The preview's drawable picture.
#include "preview/SheetPicture.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/PagePainter.h"
#include "sheet/render/Palette.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/Renderer.h"

#include <QPainter>

namespace preview {

namespace {
// Rows laid out at a time: a tile shows a few dozen rows, and a band much taller than that would
// lay out rows only to clip them away.
constexpr int kTileBandCells = 4096;
}  // namespace

SheetPicture SheetPicture::ofWorkbook(std::shared_ptr<const sheet::WorkbookData> book)
{
    SheetPicture picture;
    const sheet::SheetData& sheet = sheet::render::activeSheetOf(*book);
    const auto used = sheet.usedRange();
    if (!used)
        throw sheet::SheetError("The sheet has no cells to show.");
    const sheet::render::RangeGeometry geometry(sheet, *used);
    picture.size_ = QSize(geometry.width() + 1, geometry.height() + 1);
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
        sheet::render::paintRange(painter, *book_, *sheet_, range_, options);
    } else if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPointF(0, 0), image_);
    }
    painter.restore();
}

}  // namespace preview
