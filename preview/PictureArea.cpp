// The preview's picture area.
#include "preview/PictureArea.h"

#include "preview/PreviewGeometry.h"

#include <QMouseEvent>
#include <QPainter>

namespace preview {

namespace {
QPointF toTwips(const QPointF& pixels) { return pixels * kTwipsPerPixel; }
}  // namespace

PictureArea::PictureArea(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureArea::setPicture(const QImage& picture)
{
    picture_ = picture;
    canvas_ = picture;
    resize(picture.size());
    update();
}

void PictureArea::paintScaled(const QImage& source, QSize size)
{
    size = size.expandedTo(QSize(0, 0));
    canvas_ = QImage(size, QImage::Format_RGB32);
    canvas_.fill(Qt::white);
    if (!source.isNull() && !size.isEmpty()) {
        QPainter painter(&canvas_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size), source, source.rect());
    }
    update();
}

void PictureArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPoint(0, 0), canvas_);
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
