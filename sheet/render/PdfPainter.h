// PDF pages painted through QPainter and written by our own engine: solid fills, paths, rectangle
// and path clips, transforms, and text as text in embedded TrueType subsets, searchable and
// copyable through a ToUnicode map. Qt's own PDF writer places each glyph by itself with a colour
// and graphics state per text and shapes every text again; here a text of a font is shaped once,
// written once as one string with its glyph positions, and only what changes between two shapes
// goes into the page, so a sheet of a hundred thousand texts takes a fraction of the time and size.
//
// Text drawn through QPainter::drawText arrives already shaped, without its glyphs; drawTextLine
// hands a line to the page unshaped when the painter paints on this device, and QPainter::drawText
// elsewhere. Pictures are not written (the renderer paints none on paper).
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPointF>
#include <QString>

#include <memory>

class QPainter;

namespace sheet::render {

class PdfPageEngine;

// A PDF of pages of one layout at 1200 device units to the inch, the painter's origin at the top
// left of the layout's printable area (as QPdfWriter measures and places it). The file is whole
// once the painter has ended.
class PdfPaintDevice : public QPaintDevice {
public:
    PdfPaintDevice(const QPageLayout& layout, const QString& title);
    ~PdfPaintDevice() override;
    PdfPaintDevice(const PdfPaintDevice&) = delete;
    PdfPaintDevice& operator=(const PdfPaintDevice&) = delete;

    QPaintEngine* paintEngine() const override;
    // Ends the page being painted and starts the next one; false when no painter is active.
    bool newPage();
    // The finished file; empty until a painter has begun and ended on the device.
    QByteArray pdf() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QPageLayout layout_;
    std::unique_ptr<PdfPageEngine> engine_;
};

// Draws one line of text in `font` and `color`, its baseline starting at `at` in the painter's
// coordinates, as QPainter::drawText(at, text) with that font and pen would; on a PdfPaintDevice
// without changing the painter's font or pen.
void drawTextLine(QPainter& painter, const QPointF& at, const QString& text, const QFont& font, const QColor& color);
// Whether the painter paints on a PdfPaintDevice.
bool paintsPdf(QPainter& painter);

}  // namespace sheet::render
