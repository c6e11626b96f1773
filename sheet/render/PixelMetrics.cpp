// Conversions from sheet units to pixels.
#include "sheet/render/PixelMetrics.h"

#include <algorithm>
#include <cmath>

namespace sheet::render {
namespace {
// Larger sizes than the format can hold are clamped so that bad data cannot overflow an int.
constexpr double kMaxColumnCharacters = 255.0;
constexpr double kMaxRowPoints = 409.5;
constexpr double kMaxFontPoints = 409.0;
}  // namespace

int columnPadding(int maxDigitWidth)
{
    const int quarter = (maxDigitWidth + 3) / 4;
    return 2 * std::max(quarter, 2) + 1;
}

int columnWidthPixels(double characters, int maxDigitWidth)
{
    if (!(characters > 0))  // also catches NaN
        return 0;
    characters = std::min(characters, kMaxColumnCharacters);
    const int padding = columnPadding(maxDigitWidth);
    if (characters < 1)
        return static_cast<int>(characters * (maxDigitWidth + padding) + 0.5);
    return static_cast<int>(characters * maxDigitWidth + 0.5) + padding;
}

int rowHeightPixels(double points)
{
    if (!(points > 0))
        return 0;
    points = std::min(points, kMaxRowPoints);
    return static_cast<int>(std::lround(points * kDotsPerInch / 72.0));
}

int fontPixelSize(double points)
{
    if (!(points > 0))
        return 1;
    points = std::min(points, kMaxFontPoints);
    return std::max(1, static_cast<int>(std::lround(points * kDotsPerInch / 72.0)));
}

}  // namespace sheet::render
