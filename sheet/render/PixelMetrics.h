// Sheet sizes in screen pixels at 96 dpi: column widths counted in digits of the workbook's
// default font (Arial 10, whose widest digit is 7 px), row heights and font sizes in points.
// Shared by the renderer, the preview and the tests so that all of them agree on every pixel.
#pragma once

namespace sheet::render {

inline constexpr int kDotsPerInch = 96;
// Widest digit of the default font (Arial 10) at 96 dpi.
inline constexpr int kDefaultMaxDigitWidth = 7;

// Pixels around the digits of a column: 5 for digit widths 4..8.
int columnPadding(int maxDigitWidth = kDefaultMaxDigitWidth);

// A column width in characters as whole pixels (0 for a hidden column). Widths from one character
// up are that many digits plus the padding; narrower columns scale the digit-plus-padding width.
int columnWidthPixels(double characters, int maxDigitWidth = kDefaultMaxDigitWidth);

// A row height in points as whole pixels (0 for a hidden row).
int rowHeightPixels(double points);

// The em of a font of the given point size, rounded to whole pixels as the screen draws it
// (8 pt: 11 px, 9 pt: 12 px, 24 pt: 32 px).
int fontPixelSize(double points);

}  // namespace sheet::render
