// What the preview shows, drawable at any scale: the working workbook's sheet, painted by the
// renderer that makes the picture and the PDF, or, when there is no workbook to read, the picture
// handed over, scaled. Either paints only what the painter's clip lets through, so a tile of a
// long sheet costs the rows it shows.
#pragma once

#include "sheet/model/SheetData.h"

#include <QImage>
#include <QSize>

#include <memory>

class QPainter;

namespace sheet::render {
class RangeGeometry;
}

namespace preview {

// Text under this many device pixels is left out: a smear of a few pixels, whatever the zoom.
inline constexpr double kLeaveOutTextBelowPixels = 4;

class SheetPicture {
public:
    SheetPicture() = default;
    // The used range of the workbook's active sheet; throws sheet::SheetError when it has none.
    static SheetPicture ofWorkbook(std::shared_ptr<const sheet::WorkbookData> book);
    static SheetPicture ofImage(const QImage& image);

    bool isNull() const { return size_.isEmpty(); }
    bool isSheet() const { return book_ != nullptr; }
    // Pixels at scale 1 (96 dpi).
    QSize size() const { return size_; }

    // Paints the picture with its top left at the painter's origin, `scale` device pixels to a
    // picture pixel, over white.
    void paint(QPainter& painter, double scale) const;

private:
    std::shared_ptr<const sheet::WorkbookData> book_;
    const sheet::SheetData* sheet_ = nullptr;
    sheet::CellRect range_{};
    // Where the range's rows fall, found once: a tile paints only the rows it shows.
    std::shared_ptr<const sheet::render::RangeGeometry> geometry_;
    QImage image_;
    QSize size_;
};

}  // namespace preview
