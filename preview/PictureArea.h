// The picture area of the preview window: keeps the painted picture between repaints, sizes itself
// to a picture assigned to it, and passes mouse presses, moves and releases on in twips.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

namespace preview {

class PictureArea final : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);

    // Assigns a picture: the area takes the picture's size.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // Clears the area to the given size in pixels and paints source into it, scaled to fill it.
    void paintScaled(const QImage& source, QSize size);
    const QImage& canvas() const { return canvas_; }

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
    QImage picture_;  // as assigned
    QImage canvas_;   // what the area shows
};

}  // namespace preview
