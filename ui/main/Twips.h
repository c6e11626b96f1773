// Layout lengths are written in twips; the screen has 15 twips to a pixel.
#pragma once

#include <QRect>
#include <QtMath>

namespace ui {

inline int twips(int length) { return qRound(length / 15.0); }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

}  // namespace ui
