// The preview's picture area.
#include "preview/PictureArea.h"

#include "preview/PreviewGeometry.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace preview {

namespace {
QPointF toTwips(const QPointF& pixels) { return pixels * kTwipsPerPixel; }
}  // namespace

PictureArea::PictureArea(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Schedule picture"));
}

void PictureArea::setPicture(const SheetPicture& picture)
{
    tiles_.setPicture(picture);
    zoom_ = 1.0;
    resize(picture.size());
    update();
}

void PictureArea::showZoomed(double zoom, QSize size)
{
    zoom_ = zoom;
    resize(size.expandedTo(QSize(0, 0)));
    update();
}

QImage PictureArea::shown(const QRect& logical) const
{
    const double ratio = devicePixelRatioF();
    QImage image((logical.size() * ratio).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(QRect(QPoint(0, 0), logical.size()));
    painter.translate(-logical.topLeft());
    tiles_.paint(painter, logical.intersected(rect()), zoom_, ratio);
    return image;
}

void PictureArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    tiles_.paint(painter, event->rect(), zoom_, devicePixelRatioF());
}

void PictureArea::mousePressEvent(QMouseEvent* event)
{
    emit pressed(toTwips(event->position()));
}

void PictureArea::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(toTwips(event->position()), event->buttons() != Qt::NoButton);
}

void PictureArea::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(toTwips(event->position()));
}

}  // namespace preview
