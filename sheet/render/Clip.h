// Narrowing a painter's clip: the picture, then a band of it, then a cell; each clip only ever
// takes away from what the one before it left.
#pragma once

#include <QPainter>
#include <QRectF>

namespace sheet::render {

inline void narrowClip(QPainter& painter, const QRectF& area)
{
    painter.setClipRect(area, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

}  // namespace sheet::render
