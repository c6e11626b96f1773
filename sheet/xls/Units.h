// Conversions between the model's units and the file's: column widths in characters and COLINFO
// units, row heights in points and twips, margins in points and inches, colour indexes and BIFF
// palette indexes. Widths follow the default font's maximum digit width (Arial 10: 7 px at 96 dpi)
// with whole-pixel snapping, as a spreadsheet shows them.
#pragma once

#include <cstdint>

namespace sheet::xls {

inline constexpr int kMaxDigitWidthPx = 7;
inline constexpr int kCellPaddingPx = 5;
inline constexpr double kMaxColumnWidth = 255.0;  // characters
inline constexpr double kMaxRowHeight = 409.5;    // points

// Width in characters -> pixels at 96 dpi, snapped to whole pixels.
int columnWidthToPixels(double characters);
// Width in characters -> COLINFO units (1/256 of the digit width, padding included).
std::uint16_t columnWidthToColdx(double characters);
// COLINFO units -> the width in characters a spreadsheet shows (two decimals).
double coldxToColumnWidth(std::uint16_t coldx);

std::uint16_t pointsToTwips(double points);  // clamped to 0 .. 409.5 pt
double twipsToPoints(std::uint16_t twips);

// Margins: points in the model, inches in the file, each reading back as the very same number of
// points: a margin given in inches (0.7 * 72 points) is written as that decimal, as spreadsheets
// write it, and any other (120 points, 1.666... inches) as the nearest double.
double pointsToInches(double points);
double inchesToPoints(double inches);

// Colour index 1..56 <-> BIFF palette index 8..63; anything else is "automatic".
std::uint16_t colorIndexToIcv(int colorIndex, std::uint16_t automatic);
int icvToColorIndex(unsigned icv);

}  // namespace sheet::xls
