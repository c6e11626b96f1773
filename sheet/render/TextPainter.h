// Places a cell's text the way a spreadsheet does: small insets from the grid lines, horizontal
// and vertical alignment inside the cell (or merged area), word wrap inside its width, and one
// unwrapped line that may run past the cell into a wider clip area (overflow into empty cells).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <limits>

class QPainter;

namespace sheet::render {

enum class HorizontalPlacement { Left, Centre, Right };
enum class VerticalPlacement { Top, Centre, Bottom };

// Pixels between a cell's grid line and its text, on the left and the right.
inline constexpr int kTextInset = 2;

struct TextStyle {
    QFont font;
    QFontMetrics metrics;
    QColor color;
    HorizontalPlacement horizontal = HorizontalPlacement::Left;
    VerticalPlacement vertical = VerticalPlacement::Bottom;
};

// Width available to text in a cell whose inside (between its grid lines) is `inside`.
inline int textRoom(const QRect& inside) { return inside.width() - 2 * kTextInset; }

// Horizontal extent [left, left + width) of one line of text of `width` pixels placed in `inside`.
int lineLeft(const QRect& inside, int width, HorizontalPlacement placement);

// Which lines a call draws: those whose last visible pixel row, moved down by `margin` for ink
// below the font's descent, falls in [from, to). A range painted band by band gives each band its
// own window, so that every line is drawn once, whole, by the band that paints last where it lies.
struct LineWindow {
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
    double margin = 0;
    bool takes(int lastRow) const { return lastRow + margin >= from && lastRow + margin < to; }
};

// Draws one line placed in `inside`, clipped to `clip` (the inside, or the span it overflows into).
// `width` is the line's width in the style's font where the caller has measured it already.
void drawLine(QPainter& painter, const QString& text, const TextStyle& style, const QRect& inside, const QRect& clip,
              const LineWindow& window = {}, int width = -1);

// Breaks the text into lines at spaces (inside a word only when the word alone is too wide) within
// the cell's width and draws the block placed in `inside`, clipped to it; a block taller than the
// cell starts at its top.
void drawWrapped(QPainter& painter, const QString& text, const TextStyle& style, const QRect& inside,
                 const LineWindow& window = {});

}  // namespace sheet::render
