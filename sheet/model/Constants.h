// The spreadsheet's own numbers, named once: alignments, colour indexes, edges, line styles,
// file formats, cursors and page setup values, as callers of the object model pass them.
#pragma once

namespace sheet {

// Horizontal and vertical alignment.
inline constexpr int xlGeneral = 1;
inline constexpr int xlLeft = -4131;
inline constexpr int xlCenter = -4108;
inline constexpr int xlRight = -4152;
inline constexpr int xlRightLegacy = 4;  // the value callers pass for right alignment
inline constexpr int xlTop = -4160;
inline constexpr int xlBottom = -4107;

// Colour indexes (1..56 are palette entries).
inline constexpr int xlColorIndexAutomatic = -4105;
inline constexpr int xlColorIndexNone = -4142;

// Border edges.
inline constexpr int xlEdgeLeft = 7;
inline constexpr int xlEdgeTop = 8;
inline constexpr int xlEdgeBottom = 9;
inline constexpr int xlEdgeRight = 10;
inline constexpr int xlInsideVertical = 11;
inline constexpr int xlInsideHorizontal = 12;

// Line styles.
inline constexpr int xlLineStyleNone = -4142;
inline constexpr int xlContinuous = 1;

// File formats for SaveAs (both write a BIFF8 .xls workbook).
inline constexpr int xlWorkbookNormal = -4143;
inline constexpr int xlExcel8 = 56;

// Application cursor.
inline constexpr int xlDefault = -4143;
inline constexpr int xlWait = 2;
inline constexpr int xlNorthwestArrow = 1;
inline constexpr int xlIBeam = 3;

// Cancel key.
inline constexpr int xlDisabled = 0;
inline constexpr int xlInterrupt = 1;
inline constexpr int xlErrorHandler = 2;

// Page setup.
inline constexpr int xlPrintNoComments = -4142;
inline constexpr int xlPrintSheetEnd = 1;
inline constexpr int xlPrintInPlace = 16;
inline constexpr int xlPortrait = 1;
inline constexpr int xlLandscape = 2;
inline constexpr int xlPaperLetter = 1;
inline constexpr int xlPaperA4 = 9;

// Built-in number formats the engine uses.
inline constexpr int kNumberFormatGeneral = 0;
inline constexpr int kNumberFormatTime = 19;  // h:mm:ss AM/PM

// Sheet limits of the .xls format.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

}  // namespace sheet
