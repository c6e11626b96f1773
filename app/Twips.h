// Window layouts are written in twips; the screen has 15 twips to a pixel (96 dots per inch).
#pragma once

#include <QtMath>

namespace app {

inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips) { return qRound(twips / kTwipsPerPixel); }

}  // namespace app
