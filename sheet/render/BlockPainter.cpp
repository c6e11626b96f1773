// Paints a block of rows: white paper under it is the caller's; here come light gridlines (none
// inside merged areas or under overflowing text), fills, borders and then the texts. Runs of
// equal neighbouring lines and fills are painted as one rectangle, which covers the same pixels
// in the same order, so a picture stays the same while a page gets far fewer shapes.
#include "sheet/render/BlockPainter.h"

#include "sheet/model/DisplayText.h"
#include "sheet/render/Clip.h"
#include "sheet/render/FontResolver.h"
#include "sheet/render/Palette.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/TextPainter.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sheet::render {
namespace {

constexpr std::int64_t kNoLine = -1;

QColor colorOf(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

bool showsSomething(const Cell* cell)
{
    if (cell == nullptr)
        return false;
    if (std::holds_alternative<double>(cell->value))
        return true;
    const auto* text = std::get_if<CellText>(&cell->value);
    return text != nullptr && !text->empty();
}

bool isText(const Cell& cell) { return std::holds_alternative<CellText>(cell.value); }

HorizontalPlacement horizontalPlacement(int alignment, bool number)
{
    switch (alignment) {
    case xlLeft:
        return HorizontalPlacement::Left;
    case xlCenter:
        return HorizontalPlacement::Centre;
    case xlRight:
    case xlRightLegacy:
        return HorizontalPlacement::Right;
    default:  // General: numbers to the right, texts to the left
        return number ? HorizontalPlacement::Right : HorizontalPlacement::Left;
    }
}

VerticalPlacement verticalPlacement(int alignment)
{
    switch (alignment) {
    case xlTop:
        return VerticalPlacement::Top;
    case xlCenter:
        return VerticalPlacement::Centre;
    default:
        return VerticalPlacement::Bottom;
    }
}

QString withoutTrailingZeros(QString number)
{
    if (!number.contains(QLatin1Char('.')))
        return number;
    while (number.endsWith(QLatin1Char('0')))
        number.chop(1);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    return number == QLatin1String("-0") ? QStringLiteral("0") : number;
}

// A number that does not fit its cell: a General number first loses decimals, as a spreadsheet
// rounds it to the width; when even that does not fit, the cell shows "###" rather than a
// misleading part of the number.
QString fittedNumber(double value, const CellFormat& format, const QString& shown, const QFontMetrics& metrics, int room)
{
    if (metrics.horizontalAdvance(shown) <= room)
        return shown;
    const qsizetype point = shown.indexOf(QLatin1Char('.'));
    if (format.numberFormat == kNumberFormatGeneral && point >= 0 && !shown.contains(QLatin1Char('E'))) {
        for (int decimals = static_cast<int>(shown.size() - point - 2); decimals >= 0; --decimals) {
            const QString rounded = withoutTrailingZeros(QString::number(value, 'f', decimals));
            if (metrics.horizontalAdvance(rounded) <= room)
                return rounded;
        }
    }
    return QStringLiteral("###");
}

struct Slot {
    const Cell* cell = nullptr;
    const CellFormat* format = nullptr;
    int merge = -1;  // index into the merged areas that meet the range
};

struct FontEntry {
    sheet::Font key;
    QFont font;
    QFontMetrics metrics;
    // Widths of the texts measured so far: a sheet repeats its texts (names on every weekday,
    // times), and measuring one lays it out anew each time.
    QHash<QString, int> widths;
    int widthOf(const QString& text)
    {
        const auto found = widths.constFind(text);
        if (found != widths.constEnd())
            return *found;
        const int width = metrics.horizontalAdvance(text);
        widths.insert(text, width);
        return width;
    }
};

struct TextPlan {
    QString text;
    const FontEntry* font;
    QColor color;
    HorizontalPlacement horizontal;
    VerticalPlacement vertical;
    bool wrap;
    QRect inside;  // the cell or merged area between its grid lines
    QRect clip;    // where the text may paint: the inside, or the cells it overflows into
    int width = -1;  // an unwrapped line's width once measured, so that painting need not measure it again
};

// The block's cells, merged areas, lines and texts, laid out once and then painted layer by layer.
class Scene {
public:
    Scene(const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry, const CellRect& rows,
          const PaintOptions& options, double deviceScale);
    void paint(QPainter& painter, const LineWindow& band) const;

private:
    const CellFormat& formatOf(FormatId id) const
    {
        return id < book_.formats.size() ? book_.formats.at(id) : book_.formats.at(0);
    }
    bool inRange(int row, int column) const { return range_.contains(row, column); }
    Slot& slot(int row, int column) { return slots_[index(row, column)]; }
    const Slot& slot(int row, int column) const { return slots_[index(row, column)]; }
    std::size_t index(int row, int column) const
    {
        return static_cast<std::size_t>(row - range_.top) * columns_ + static_cast<std::size_t>(column - range_.left);
    }
    const CellFormat& effectiveFormat(int row, int column) const;
    bool blocksOverflow(int row, int column) const;
    FontEntry& fontFor(const sheet::Font& font);
    bool tooSmallToRead(const FontEntry& font) const;
    bool columnEdgesApart() const;

    void collectCells();
    void collectMerges();
    void collectBorders();
    void setVerticalLine(int boundary, int rowIndex, const Border& border);
    void setHorizontalLine(int boundary, int columnIndex, const Border& border);
    void planTexts();
    void planText(const Cell& cell, const CellRect& box, bool merged);

    void paintGrid(QPainter& painter) const;
    void paintFills(QPainter& painter) const;
    void paintBorders(QPainter& painter) const;
    void paintVerticalBorder(QPainter& painter, std::size_t boundary, std::size_t firstRow, std::size_t lastRow) const;
    void paintTexts(QPainter& painter, const LineWindow& band) const;

    const WorkbookData& book_;
    const SheetData& sheet_;
    const RangeGeometry& geometry_;
    const PaintOptions options_;
    const double scale_;
    const CellRect range_;  // the block: its rows, the range's columns
    const std::size_t rows_;
    const std::size_t columns_;
    std::vector<Slot> slots_;
    std::vector<CellRect> merges_;
    std::vector<const Cell*> outsideCells_;  // cells left or right of the range in its rows
    std::vector<CellRef> outsideRefs_;
    // Grid and border lines per cell edge: vertical ones by (row, boundary before column),
    // horizontal ones by (boundary above row, column).
    std::vector<char> verticalGridHidden_;
    std::vector<char> horizontalGridHidden_;
    std::vector<std::int64_t> verticalBorder_;
    std::vector<std::int64_t> horizontalBorder_;
    std::vector<std::unique_ptr<FontEntry>> fonts_;
    std::vector<TextPlan> texts_;
};

Scene::Scene(const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry, const CellRect& rows,
             const PaintOptions& options, double deviceScale)
    : book_(book),
      sheet_(sheet),
      geometry_(geometry),
      options_(options),
      scale_(deviceScale),
      range_(rows),
      rows_(static_cast<std::size_t>(range_.rowCount())),
      columns_(static_cast<std::size_t>(range_.columnCount())),
      slots_(rows_ * columns_),
      verticalGridHidden_(rows_ * (columns_ + 1), 0),
      horizontalGridHidden_((rows_ + 1) * columns_, 0),
      verticalBorder_(rows_ * (columns_ + 1), kNoLine),
      horizontalBorder_((rows_ + 1) * columns_, kNoLine)
{
    collectCells();
    collectMerges();
    collectBorders();
    planTexts();
}

const CellFormat& Scene::effectiveFormat(int row, int column) const
{
    if (inRange(row, column))
        return *slot(row, column).format;
    if (const Cell* cell = sheet_.find(row, column))
        return formatOf(cell->format);
    if (auto id = sheet_.rowFormat(row))
        return formatOf(*id);
    if (auto id = sheet_.columnFormat(column))
        return formatOf(*id);
    return formatOf(0);
}

bool Scene::blocksOverflow(int row, int column) const
{
    if (column < 1 || column > kMaxColumns)
        return true;
    if (inRange(row, column)) {
        const Slot& s = slot(row, column);
        return s.merge >= 0 || showsSomething(s.cell);
    }
    return showsSomething(sheet_.find(row, column)) || sheet_.mergeAt(row, column) != nullptr;
}

FontEntry& Scene::fontFor(const sheet::Font& font)
{
    for (const auto& entry : fonts_)
        if (entry->key == font)
            return *entry;
    QFont qfont = cellFont(font);
    if (options_.glyphPerCharacter)
        qfont.setStyleStrategy(QFont::StyleStrategy(qfont.styleStrategy() | QFont::PreferNoShaping));
    fonts_.push_back(std::make_unique<FontEntry>(FontEntry{font, qfont, QFontMetrics(qfont)}));
    return *fonts_.back();
}

bool Scene::tooSmallToRead(const FontEntry& font) const
{
    return scale_ < 1.0 && font.font.pixelSize() * scale_ < options_.leaveOutTextBelow;
}

// Whether every column of the block is wider than nothing, so that no two column edges share a
// pixel column and lines on different edges never cover each other.
bool Scene::columnEdgesApart() const
{
    for (int c = range_.left; c <= range_.right; ++c)
        if (geometry_.columnWidth(c) == 0)
            return false;
    return true;
}

void Scene::collectCells()
{
    const CellFormat* standard = &formatOf(0);
    const bool formattedLines = !sheet_.rowFormats().empty() || !sheet_.columnFormats().empty();
    for (int r = range_.top; r <= range_.bottom; ++r) {
        const auto rowFormat = formattedLines ? sheet_.rowFormat(r) : std::nullopt;
        for (int c = range_.left; c <= range_.right; ++c) {
            Slot& s = slot(r, c);
            s.format = standard;
            if (rowFormat)
                s.format = &formatOf(*rowFormat);
            else if (formattedLines)
                if (auto id = sheet_.columnFormat(c))
                    s.format = &formatOf(*id);
        }
    }

    for (const auto& [ref, cell] : sheet_.cellsInRows(range_.top, range_.bottom)) {
        if (inRange(ref.row, ref.column)) {
            Slot& s = slot(ref.row, ref.column);
            s.cell = &cell;
            s.format = &formatOf(cell.format);
        } else if (isText(cell) && showsSomething(&cell)) {
            outsideCells_.push_back(&cell);
            outsideRefs_.push_back(ref);
        }
    }
}

void Scene::collectMerges()
{
    for (const CellRect& m : sheet_.merges) {
        const CellRect part{std::max(m.top, range_.top), std::max(m.left, range_.left), std::min(m.bottom, range_.bottom),
                            std::min(m.right, range_.right)};
        if (part.top > part.bottom || part.left > part.right)
            continue;
        const int id = static_cast<int>(merges_.size());
        merges_.push_back(m);
        for (int r = part.top; r <= part.bottom; ++r)
            for (int c = part.left; c <= part.right; ++c)
                slot(r, c).merge = id;
        // No grid line inside the area, also where the range cuts through it.
        const int firstBoundary = std::max(0, m.left + 1 - range_.left);
        const int lastBoundary = std::min(static_cast<int>(columns_), m.right - range_.left);
        for (int r = part.top; r <= part.bottom; ++r)
            for (int b = firstBoundary; b <= lastBoundary; ++b)
                verticalGridHidden_[static_cast<std::size_t>(r - range_.top) * (columns_ + 1) + static_cast<std::size_t>(b)] = 1;
        const int firstRowBoundary = std::max(0, m.top + 1 - range_.top);
        const int lastRowBoundary = std::min(static_cast<int>(rows_), m.bottom - range_.top);
        for (int b = firstRowBoundary; b <= lastRowBoundary; ++b)
            for (int c = part.left; c <= part.right; ++c)
                horizontalGridHidden_[static_cast<std::size_t>(b) * columns_ + static_cast<std::size_t>(c - range_.left)] = 1;
    }
}

void Scene::setVerticalLine(int boundary, int rowIndex, const Border& border)
{
    if (border.lineStyle == xlLineStyleNone || boundary < 0 || boundary > static_cast<int>(columns_) || rowIndex < 0 ||
        rowIndex >= static_cast<int>(rows_))
        return;
    std::int64_t& line = verticalBorder_[static_cast<std::size_t>(rowIndex) * (columns_ + 1) + static_cast<std::size_t>(boundary)];
    if (line == kNoLine)
        line = paletteRgbOr(border.colorIndex, kAutomaticRgb);
}

void Scene::setHorizontalLine(int boundary, int columnIndex, const Border& border)
{
    if (border.lineStyle == xlLineStyleNone || boundary < 0 || boundary > static_cast<int>(rows_) || columnIndex < 0 ||
        columnIndex >= static_cast<int>(columns_))
        return;
    std::int64_t& line = horizontalBorder_[static_cast<std::size_t>(boundary) * columns_ + static_cast<std::size_t>(columnIndex)];
    if (line == kNoLine)
        line = paletteRgbOr(border.colorIndex, kAutomaticRgb);
}

// Where two cells share an edge, the first one set in reading order draws it. A merged area takes
// its left and top edges from its first cell, its right edge from its top-right cell and its
// bottom edge from its bottom-left cell, and draws them along the whole area.
void Scene::collectBorders()
{
    for (const CellRect& m : merges_) {
        const auto& first = effectiveFormat(m.top, m.left).borders;
        const auto& right = effectiveFormat(m.top, m.right).borders[kBorderRight];
        const auto& bottom = effectiveFormat(m.bottom, m.left).borders[kBorderBottom];
        for (int r = std::max(m.top, range_.top); r <= std::min(m.bottom, range_.bottom); ++r) {
            setVerticalLine(m.left - range_.left, r - range_.top, first[kBorderLeft]);
            setVerticalLine(m.right + 1 - range_.left, r - range_.top, right);
        }
        for (int c = std::max(m.left, range_.left); c <= std::min(m.right, range_.right); ++c) {
            setHorizontalLine(m.top - range_.top, c - range_.left, first[kBorderTop]);
            setHorizontalLine(m.bottom + 1 - range_.top, c - range_.left, bottom);
        }
    }
    for (int r = range_.top; r <= range_.bottom; ++r)
        for (int c = range_.left; c <= range_.right; ++c) {
            const Slot& s = slot(r, c);
            if (s.merge >= 0)
                continue;
            const auto& borders = s.format->borders;
            const int ri = r - range_.top;
            const int ci = c - range_.left;
            setVerticalLine(ci, ri, borders[kBorderLeft]);
            setVerticalLine(ci + 1, ri, borders[kBorderRight]);
            setHorizontalLine(ri, ci, borders[kBorderTop]);
            setHorizontalLine(ri + 1, ci, borders[kBorderBottom]);
        }
    // Cells just outside the range draw their edges on the range's outline too.
    for (int r = range_.top; r <= range_.bottom; ++r) {
        if (range_.left > 1)
            setVerticalLine(0, r - range_.top, effectiveFormat(r, range_.left - 1).borders[kBorderRight]);
        if (range_.right < kMaxColumns)
            setVerticalLine(static_cast<int>(columns_), r - range_.top, effectiveFormat(r, range_.right + 1).borders[kBorderLeft]);
    }
    for (int c = range_.left; c <= range_.right; ++c) {
        if (range_.top > 1)
            setHorizontalLine(0, c - range_.left, effectiveFormat(range_.top - 1, c).borders[kBorderBottom]);
        if (range_.bottom < kMaxRows)
            setHorizontalLine(static_cast<int>(rows_), c - range_.left, effectiveFormat(range_.bottom + 1, c).borders[kBorderTop]);
    }
}

void Scene::planTexts()
{
    for (int r = range_.top; r <= range_.bottom; ++r)
        for (int c = range_.left; c <= range_.right; ++c) {
            const Slot& s = slot(r, c);
            if (s.merge < 0 && showsSomething(s.cell))
                planText(*s.cell, CellRect{r, c, r, c}, false);
        }
    for (const CellRect& m : merges_)
        if (const Cell* anchor = sheet_.find(m.top, m.left); showsSomething(anchor))
            planText(*anchor, m, true);
    // Text of cells beside the range may run into it.
    for (std::size_t i = 0; i < outsideCells_.size(); ++i) {
        const CellRef ref = outsideRefs_[i];
        if (sheet_.mergeAt(ref.row, ref.column) == nullptr)
            planText(*outsideCells_[i], CellRect{ref.row, ref.column, ref.row, ref.column}, false);
    }
}

void Scene::planText(const Cell& cell, const CellRect& box, bool merged)
{
    const CellFormat& format = formatOf(cell.format);
    FontEntry& font = fontFor(format.font);
    if (tooSmallToRead(font))
        return;
    const bool number = std::holds_alternative<double>(cell.value);
    QString text = QString::fromStdString(displayText(cell, format));
    text.remove(QLatin1Char('\r'));
    if (text.isEmpty())
        return;
    const QRect inside = geometry_.outline(box).adjusted(1, 1, -1, -1);
    if (inside.width() <= 0 || inside.height() <= 0)
        return;

    TextPlan plan{QString(), &font, colorOf(paletteRgbOr(format.font.colorIndex, kAutomaticRgb)),
                  horizontalPlacement(format.horizontalAlignment, number), verticalPlacement(format.verticalAlignment),
                  false, inside, inside};
    if (number) {
        plan.text = fittedNumber(std::get<double>(cell.value), format, text, font.metrics, textRoom(inside));
    } else if (format.wrapText) {
        plan.text = text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        plan.wrap = true;
    } else {
        plan.text = text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const int width = font.widthOf(plan.text);
        plan.width = width;
        if (!merged && width > textRoom(inside)) {
            // Unwrapped text runs on over empty neighbours on the side(s) its alignment points to
            // and is cut at the first cell that holds something.
            const int row = box.top;
            const int left = lineLeft(inside, width, plan.horizontal);
            const int right = left + width;
            int first = box.left;
            int last = box.right;
            if (plan.horizontal != HorizontalPlacement::Left)
                while (left < geometry_.x(first) + 1 + kTextInset && !blocksOverflow(row, first - 1))
                    --first;
            if (plan.horizontal != HorizontalPlacement::Right)
                while (right > geometry_.x(last + 1) - kTextInset && !blocksOverflow(row, last + 1))
                    ++last;
            plan.clip = QRect(geometry_.x(first) + 1, inside.top(), geometry_.x(last + 1) - geometry_.x(first) - 1, inside.height());
            if (row >= range_.top && row <= range_.bottom)
                for (int c = first + 1; c <= last; ++c) {
                    const int boundary = c - range_.left;
                    if (boundary >= 0 && boundary <= static_cast<int>(columns_))
                        verticalGridHidden_[static_cast<std::size_t>(row - range_.top) * (columns_ + 1) + static_cast<std::size_t>(boundary)] = 1;
                }
        }
    }
    // Texts of cells outside the range matter only where they reach into it.
    if (plan.clip.right() < 0 || plan.clip.left() > geometry_.width())
        return;
    texts_.push_back(std::move(plan));
}

// Consecutive pieces of one line, joined into one rectangle when a gap or the line's end comes.
class LineRun {
public:
    void add(int from, int to)
    {
        if (from_ < 0)
            from_ = from;
        to_ = to;
    }
    template <class Paint>
    void end(Paint&& paint)
    {
        if (from_ >= 0)
            paint(from_, to_);
        from_ = -1;
    }

private:
    int from_ = -1;
    int to_ = 0;
};

// Gridlines are all of one colour, so runs may join across rows and columns in any order. A row
// or column of no size adds nothing to a run: its line lies on its neighbour's.
void Scene::paintGrid(QPainter& painter) const
{
    const QColor grid = colorOf(kGridlineRgb);
    for (std::size_t b = 0; b <= columns_; ++b) {
        const int x = geometry_.x(range_.left + static_cast<int>(b));
        const auto paint = [&](int top, int bottom) { painter.fillRect(x, top, 1, bottom - top + 1, grid); };
        LineRun run;
        for (std::size_t ri = 0; ri < rows_; ++ri) {
            const int row = range_.top + static_cast<int>(ri);
            if (geometry_.rowHeight(row) == 0)
                continue;
            if (verticalGridHidden_[ri * (columns_ + 1) + b])
                run.end(paint);
            else
                run.add(geometry_.y(row), geometry_.y(row + 1));
        }
        run.end(paint);
    }
    for (std::size_t b = 0; b <= rows_; ++b) {
        const int y = geometry_.y(range_.top + static_cast<int>(b));
        const auto paint = [&](int left, int right) { painter.fillRect(left, y, right - left + 1, 1, grid); };
        LineRun run;
        for (std::size_t ci = 0; ci < columns_; ++ci) {
            const int column = range_.left + static_cast<int>(ci);
            if (geometry_.columnWidth(column) == 0)
                continue;
            if (horizontalGridHidden_[b * columns_ + ci])
                run.end(paint);
            else
                run.add(geometry_.x(column), geometry_.x(column + 1));
        }
        run.end(paint);
    }
}

// A fill covers its cell up to and including the grid lines around it, so filled cells show no
// grid. Neighbours of one colour in a row are one rectangle.
void Scene::paintFills(QPainter& painter) const
{
    for (int r = range_.top; r <= range_.bottom; ++r) {
        int runLeft = 0;
        std::optional<std::uint32_t> runRgb;
        auto flush = [&](int pastRight) {
            if (runRgb)
                painter.fillRect(geometry_.outline(CellRect{r, runLeft, r, pastRight - 1}), colorOf(*runRgb));
            runRgb.reset();
        };
        for (int c = range_.left; c <= range_.right; ++c) {
            const Slot& s = slot(r, c);
            const auto rgb = s.merge >= 0 ? std::nullopt : paletteRgb(s.format->interiorColorIndex);
            if (rgb == runRgb)
                continue;
            flush(c);
            runLeft = c;
            runRgb = rgb;
        }
        flush(range_.right + 1);
    }
    for (const CellRect& m : merges_)
        if (auto rgb = paletteRgb(effectiveFormat(m.top, m.left).interiorColorIndex))
            painter.fillRect(geometry_.outline(m), colorOf(*rgb));
}

// Lines of one edge in consecutive rows, of one colour, as one rectangle. Where a later row's line
// differs it still paints over the shared pixel, as row by row painting would.
void Scene::paintVerticalBorder(QPainter& painter, std::size_t boundary, std::size_t firstRow, std::size_t lastRow) const
{
    const int x = geometry_.x(range_.left + static_cast<int>(boundary));
    std::size_t ri = firstRow;
    while (ri <= lastRow) {
        const std::int64_t rgb = verticalBorder_[ri * (columns_ + 1) + boundary];
        std::size_t end = ri;
        while (end < lastRow && verticalBorder_[(end + 1) * (columns_ + 1) + boundary] == rgb)
            ++end;
        if (rgb != kNoLine) {
            const int top = geometry_.y(range_.top + static_cast<int>(ri));
            const int bottom = geometry_.y(range_.top + static_cast<int>(end) + 1);
            painter.fillRect(x, top, 1, bottom - top + 1, colorOf(static_cast<std::uint32_t>(rgb)));
        }
        ri = end + 1;
    }
}

void Scene::paintBorders(QPainter& painter) const
{
    if (rows_ == 0)
        return;
    // Edge by edge when no two edges share a pixel column; otherwise row by row, so that where
    // they do, the line painted last is the same one.
    if (columnEdgesApart()) {
        for (std::size_t b = 0; b <= columns_; ++b)
            paintVerticalBorder(painter, b, 0, rows_ - 1);
    } else {
        for (std::size_t ri = 0; ri < rows_; ++ri)
            for (std::size_t b = 0; b <= columns_; ++b)
                paintVerticalBorder(painter, b, ri, ri);
    }
    for (std::size_t b = 0; b <= rows_; ++b) {
        const int y = geometry_.y(range_.top + static_cast<int>(b));
        std::size_t ci = 0;
        while (ci < columns_) {
            const std::int64_t rgb = horizontalBorder_[b * columns_ + ci];
            std::size_t end = ci;
            while (end + 1 < columns_ && horizontalBorder_[b * columns_ + end + 1] == rgb)
                ++end;
            if (rgb != kNoLine) {
                const int left = geometry_.x(range_.left + static_cast<int>(ci));
                const int right = geometry_.x(range_.left + static_cast<int>(end) + 1);
                painter.fillRect(left, y, right - left + 1, 1, colorOf(static_cast<std::uint32_t>(rgb)));
            }
            ci = end + 1;
        }
    }
}

void Scene::paintTexts(QPainter& painter, const LineWindow& band) const
{
    for (const TextPlan& plan : texts_) {
        const TextStyle style{plan.font->font, plan.font->metrics, plan.color, plan.horizontal, plan.vertical};
        if (plan.wrap)
            drawWrapped(painter, plan.text, style, plan.inside, band);
        else
            drawLine(painter, plan.text, style, plan.inside, plan.clip, band, plan.width);
    }
}

// Shapes are painted only in the band's rows, where the block lays out everything that reaches
// them; text lines are painted whole by the one band that takes them, after every shape they lie
// on, so that a PDF holds each text once.
void Scene::paint(QPainter& painter, const LineWindow& band) const
{
    painter.save();
    if (std::isfinite(band.from) || std::isfinite(band.to)) {
        const double top = std::isfinite(band.from) ? band.from : 0.0;
        const double bottom = std::isfinite(band.to) ? band.to : geometry_.height() + 1.0;
        narrowClip(painter, QRectF(0, top, geometry_.width() + 1.0, bottom - top));
    }
    // In an overview a line is a fraction of a pixel wide. Painted whole or not at all, the lines of
    // several rows that share a pixel row would come and go with how each falls on the pixel grid,
    // and where one keeps falling on the pixels' centres it paints bands of solid line colour over
    // the rows' fills. Covering its share of the pixel, a line shows as faintly as it should.
    const bool overview = scale_ < 1.0;
    if (options_.gridlines) {
        painter.setRenderHint(QPainter::Antialiasing, overview);
        paintGrid(painter);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintFills(painter);
    painter.setRenderHint(QPainter::Antialiasing, overview);
    paintBorders(painter);
    painter.restore();
    paintTexts(painter, band);
}

}  // namespace

void paintBlock(QPainter& painter, const WorkbookData& book, const SheetData& sheet, const RangeGeometry& geometry,
                const CellRect& rows, const PaintOptions& options, double deviceScale, const LineWindow& band)
{
    const Scene scene(book, sheet, geometry, rows, options, deviceScale);
    scene.paint(painter, band);
}

}  // namespace sheet::render
