// Unit conversions between the model and the file.
#include "sheet/xls/Units.h"

#include "sheet/model/Constants.h"

#include <algorithm>
#include <cmath>

namespace sheet::xls {

int columnWidthToPixels(double characters)
{
    if (!(characters > 0))
        return 0;
    const double w = std::min(characters, kMaxColumnWidth);
    if (w < 1)
        return static_cast<int>(w * (kMaxDigitWidthPx + kCellPaddingPx) + 0.5);
    return static_cast<int>(w * kMaxDigitWidthPx + 0.5) + kCellPaddingPx;
}

std::uint16_t columnWidthToColdx(double characters)
{
    const long units = static_cast<long>(columnWidthToPixels(characters)) * 256 / kMaxDigitWidthPx;
    return static_cast<std::uint16_t>(std::min<long>(units, 65280));
}

double coldxToColumnWidth(std::uint16_t coldx)
{
    const int px = (coldx + 128 / kMaxDigitWidthPx) * kMaxDigitWidthPx / 256;
    const double characters = px >= kMaxDigitWidthPx + kCellPaddingPx
        ? static_cast<double>(px - kCellPaddingPx) / kMaxDigitWidthPx
        : static_cast<double>(px) / (kMaxDigitWidthPx + kCellPaddingPx);
    return std::round(characters * 100) / 100;
}

std::uint16_t pointsToTwips(double points)
{
    if (!(points > 0))
        return 0;
    return static_cast<std::uint16_t>(std::lround(std::min(points, kMaxRowHeight) * 20));
}

double twipsToPoints(std::uint16_t twips) { return twips / 20.0; }

double pointsToInches(double points)
{
    if (!std::isfinite(points) || points < 0)
        return 0;
    const double inches = points / 72;
    const double sixDecimals = std::round(inches * 1e6) / 1e6;
    return inchesToPoints(sixDecimals) == points ? sixDecimals : inches;
}

double inchesToPoints(double inches) { return inches * 72; }

std::uint16_t colorIndexToIcv(int colorIndex, std::uint16_t automatic)
{
    if (colorIndex >= 1 && colorIndex <= 56)
        return static_cast<std::uint16_t>(colorIndex + 7);
    return automatic;
}

int icvToColorIndex(unsigned icv)
{
    if (icv >= 8 && icv <= 63)
        return static_cast<int>(icv) - 7;
    if (icv < 8)  // the fixed first eight entries repeat palette entries 1..8
        return static_cast<int>(icv) + 1;
    return xlColorIndexAutomatic;
}

}  // namespace sheet::xls
