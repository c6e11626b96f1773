// Text placement inside cells.
#include "sheet/render/TextPainter.h"

#include "sheet/render/Clip.h"
#include "sheet/render/PdfPainter.h"

#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <vector>

namespace sheet::render {
namespace {

// Pixels kept free between the text's top or bottom and the cell's grid line.
constexpr int kVerticalInset = 1;

// Baseline of the first of `lineCount` lines placed vertically in `inside`.
int firstBaseline(const QRect& inside, const QFontMetrics& metrics, int lineCount, VerticalPlacement placement)
{
    const int blockHeight = (lineCount - 1) * metrics.lineSpacing() + metrics.ascent() + metrics.descent();
    // Lines that do not all fit start at the top, so that the text's beginning shows.
    if (lineCount > 1 && blockHeight > inside.height() - 2 * kVerticalInset)
        placement = VerticalPlacement::Top;
    int top = 0;
    switch (placement) {
    case VerticalPlacement::Top:
        top = inside.top() + kVerticalInset;
        break;
    case VerticalPlacement::Centre:
        top = inside.top() + (inside.height() - blockHeight) / 2;
        break;
    case VerticalPlacement::Bottom:
        top = inside.bottom() + 1 - kVerticalInset - blockHeight;
        break;
    }
    return top + metrics.ascent();
}

bool containsBlock(const QRect& clip, int left, int right, int top, int bottom)
{
    return left >= clip.left() && right <= clip.right() + 1 && top >= clip.top() && bottom <= clip.bottom() + 1;
}

}  // namespace

int lineLeft(const QRect& inside, int width, HorizontalPlacement placement)
{
    switch (placement) {
    case HorizontalPlacement::Left:
        return inside.left() + kTextInset;
    case HorizontalPlacement::Right:
        return inside.right() + 1 - kTextInset - width;
    case HorizontalPlacement::Centre:
        break;
    }
    return inside.left() + (inside.width() - width) / 2;
}

void drawLine(QPainter& painter, const QString& text, const TextStyle& style, const QRect& inside, const QRect& clip,
              const LineWindow& window, int measuredWidth)
{
    const int width = measuredWidth >= 0 ? measuredWidth : style.metrics.horizontalAdvance(text);
    const int x = lineLeft(inside, width, style.horizontal);
    const int baseline = firstBaseline(inside, style.metrics, 1, style.vertical);
    const int bottom = baseline + style.metrics.descent();
    // Clipping costs; most texts fit and need none.
    const bool fits = containsBlock(clip, x, x + width, baseline - style.metrics.ascent(), bottom);
    if (!window.takes((fits ? bottom : std::min(bottom, clip.bottom() + 1)) - 1))
        return;
    if (!fits) {
        painter.save();
        narrowClip(painter, clip);
    }
    drawTextLine(painter, QPoint(x, baseline), text, style.font, style.color);
    if (!fits)
        painter.restore();
}

void drawWrapped(QPainter& painter, const QString& text, const TextStyle& style, const QRect& inside,
                 const LineWindow& window)
{
    const int room = std::max(1, textRoom(inside));
    QTextLayout layout(text, style.font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    struct Line {
        QString text;
        int width;
    };
    std::vector<Line> lines;
    // Lines past the cell's bottom are clipped away, so the layout stops one line after the cell
    // is full: that many lines already put the block at the top. Laying out a long word takes
    // time growing with what is left of it at every line, so this also keeps a long text's
    // layout linear in its length.
    const std::size_t visibleLines =
        static_cast<std::size_t>(std::max(0, inside.height()) / std::max(1, style.metrics.lineSpacing())) + 2;
    layout.beginLayout();
    while (lines.size() < visibleLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(room);
        QString part = text.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && (part.back().isSpace() || part.back() == QChar::LineSeparator))
            part.chop(1);
        const int width = style.metrics.horizontalAdvance(part);
        lines.push_back({part, width});
    }
    layout.endLayout();
    if (lines.empty())
        return;

    const int first = firstBaseline(inside, style.metrics, static_cast<int>(lines.size()), style.vertical);
    auto baselineOf = [&](std::size_t i) { return first + static_cast<int>(i) * style.metrics.lineSpacing(); };
    auto taken = [&](std::size_t i) {
        return window.takes(std::min(baselineOf(i) + style.metrics.descent(), inside.bottom() + 1) - 1);
    };
    bool any = false;
    for (std::size_t i = 0; i < lines.size() && !any; ++i)
        any = taken(i);
    if (!any)
        return;
    painter.save();
    narrowClip(painter, inside);
    const bool pdf = paintsPdf(painter);
    if (!pdf) {
        painter.setFont(style.font);
        painter.setPen(style.color);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!taken(i))
            continue;
        const QPoint at(lineLeft(inside, lines[i].width, style.horizontal), baselineOf(i));
        if (pdf)
            drawTextLine(painter, at, lines[i].text, style.font, style.color);
        else
            painter.drawText(at, lines[i].text);
    }
    painter.restore();
}

}  // namespace sheet::render
