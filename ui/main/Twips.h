// Layout rectangles in twips, and captions wider than the layout allowed.
#pragma once

#include "app/Twips.h"

#include <QRect>
#include <QWidget>

namespace ui {

inline int twips(int length) { return app::twipsToPixels(length); }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// Our fonts run a little wider than the ones the layout was drawn with: a caption that would be
// cut off gets the width it needs, growing to the right into the gap the layout leaves.
inline void widenToCaption(QWidget* widget)
{
    const int needed = widget->sizeHint().width();
    if (needed > widget->width())
        widget->resize(needed, widget->height());
}

}  // namespace ui
