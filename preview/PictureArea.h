// The picture area of the preview window: sized to the picture at the shown zoom, it draws only
// what is exposed of it, from tiles made at the zoom times the screen's pixel density, and passes
// mouse presses, moves and releases on in twips (the wheel goes on to the window).
#pragma once

#include "preview/SheetPicture.h"
#include "preview/TileCache.h"

#include <QImage>
#include <QPointF>
#include <QWidget>

namespace preview {

class PictureArea final : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);

    // Assigns a picture: the area takes the picture's size and shows it unscaled.
    void setPicture(const SheetPicture& picture);
    const SheetPicture& picture() const { return tiles_.picture(); }

    // Shows the picture at `zoom`, the area sized to `size` pixels.
    void showZoomed(double zoom, QSize size);
    double shownZoom() const { return zoom_; }

    // The part `logical` of the area as it is drawn, at the area's pixel density.
    QImage shown(const QRect& logical) const;
    const TileCache& tiles() const { return tiles_; }

signals:
    void pressed(QPointF twips);
    void moved(QPointF twips, bool buttonHeld);
    void released(QPointF twips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mutable TileCache tiles_;
    double zoom_ = 1.0;
};

}  // namespace preview
