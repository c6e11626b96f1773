// Places a cell's text the way a spreadsheet does: small insets from the grid lines, horizontal
// and vertical alignment inside the cell (or merged area), word wrap inside its width, and one
// unwrapped line that may run past the cell into a wider clip area (overflow into empty cells).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

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

// Draws one line placed in `inside`, clipped to `clip` (the inside, or the span it overflows into).
void drawLine(QPainter& painter, const QString& text, const TextStyle& style, const QRect& inside, const QRect& clip);

// Breaks the text into lines at spaces (inside a word only when the word alone is too wide) within
// the cell's width and draws the block placed in `inside`, clipped to it; a block taller than the
// cell starts at its top.
void drawWrapped(QPainter& painter, const QString& text, const TextStyle& style, const QRect& inside);

}  // namespace sheet::render
