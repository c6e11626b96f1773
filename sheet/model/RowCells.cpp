// Runs of neighbouring cells within a row.
#include "sheet/model/RowCells.h"

namespace sheet {

std::size_t RowCells::runReaching(int column) const
{
    const auto it = std::partition_point(runs_.begin(), runs_.end(),
                                         [&](const Run& r) { return r.first + r.count - 1 < column; });
    return static_cast<std::size_t>(it - runs_.begin());
}

void RowCells::shiftOffsets(std::size_t fromRun, int by)
{
    for (std::size_t i = fromRun; i < runs_.size(); ++i)
        runs_[i].offset = static_cast<std::uint32_t>(static_cast<int>(runs_[i].offset) + by);
}

const Cell* RowCells::find(int column) const
{
    const std::size_t i = runReaching(column);
    if (i == runs_.size() || runs_[i].first > column)
        return nullptr;
    return &cells_[runs_[i].offset + static_cast<std::size_t>(column - runs_[i].first)];
}

Cell* RowCells::find(int column) { return const_cast<Cell*>(static_cast<const RowCells&>(*this).find(column)); }

Cell& RowCells::findOrAddElsewhere(int column, bool& added)
{
    added = true;
    const auto col = static_cast<std::uint16_t>(column);
    const auto end = static_cast<std::uint32_t>(cells_.size());
    // Filling left to right: the cell goes after the last one.
    if (runs_.empty() || column > lastColumn() + 1) {
        runs_.push_back({col, 1, end});
        return cells_.emplace_back();
    }
    if (column == lastColumn() + 1) {
        ++runs_.back().count;
        return cells_.emplace_back();
    }
    const std::size_t i = runReaching(column);
    if (runs_[i].first <= column) {
        added = false;
        return cells_[runs_[i].offset + static_cast<std::size_t>(column - runs_[i].first)];
    }
    // Before run i and after run i - 1: join either or both, or start a run of its own.
    const std::uint32_t at = runs_[i].offset;
    cells_.insert(cells_.begin() + at, Cell{});
    const bool joinsPrevious = i > 0 && runs_[i - 1].first + runs_[i - 1].count == column;
    const bool joinsNext = runs_[i].first == column + 1;
    if (joinsPrevious && joinsNext) {
        runs_[i - 1].count = static_cast<std::uint16_t>(runs_[i - 1].count + 1 + runs_[i].count);
        runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
        shiftOffsets(i, 1);
    } else if (joinsPrevious) {
        ++runs_[i - 1].count;
        shiftOffsets(i, 1);
    } else if (joinsNext) {
        runs_[i].first = col;
        ++runs_[i].count;
        shiftOffsets(i + 1, 1);
    } else {
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i), Run{col, 1, at});
        shiftOffsets(i + 1, 1);
    }
    return cells_[at];
}

Cell* RowCells::fillAcross(int left, int right, bool& anyAdded)
{
    const std::size_t reaching = runReaching(left);
    if (reaching < runs_.size() && runs_[reaching].first <= left && runs_[reaching].first + runs_[reaching].count > right)
        return &cells_[runs_[reaching].offset + static_cast<std::size_t>(left - runs_[reaching].first)];
    // Runs first .. last - 1 overlap the span or touch it, and become one run with it.
    std::size_t first = reaching;
    if (first > 0 && runs_[first - 1].first + runs_[first - 1].count == left)
        --first;
    std::size_t last = reaching;
    while (last < runs_.size() && runs_[last].first <= right + 1)
        ++last;
    int from = left, to = right;
    std::size_t kept = 0;
    if (first < last) {
        from = std::min<int>(left, runs_[first].first);
        to = std::max<int>(right, runs_[last - 1].first + runs_[last - 1].count - 1);
        for (std::size_t i = first; i < last; ++i)
            kept += runs_[i].count;
    }
    const std::size_t width = static_cast<std::size_t>(to - from + 1);
    const std::size_t added = width - kept;
    anyAdded = added > 0;
    const std::size_t start = first < runs_.size() ? runs_[first].offset : cells_.size();
    const std::size_t oldSize = cells_.size();
    if (added > 1 && oldSize + added > cells_.capacity())
        cells_.reserve(oldSize + added);
    cells_.resize(oldSize + added);
    // From the right: the cells after the span move right by `added`, then the merged run is laid
    // out run by run, each kept run moving right by the cells added to its left, and the columns
    // between them made anew. A slot is only written once whatever was there has moved on.
    std::move_backward(cells_.begin() + static_cast<std::ptrdiff_t>(start + kept),
                       cells_.begin() + static_cast<std::ptrdiff_t>(oldSize), cells_.end());
    const auto slot = [&](int column) { return cells_.begin() + static_cast<std::ptrdiff_t>(start) + (column - from); };
    const auto makeAdded = [&](int fromColumn, int toColumn) {
        for (auto cell = slot(fromColumn); cell < slot(toColumn + 1); ++cell) {
            cell->value = std::monostate{};
            cell->format = kAdded;
        }
    };
    int laidOut = to + 1;  // columns laidOut .. to are done
    for (std::size_t run = last; run > first; --run) {
        const Run& r = runs_[run - 1];
        makeAdded(r.first + r.count, laidOut - 1);
        const auto source = cells_.begin() + static_cast<std::ptrdiff_t>(r.offset);
        if (source != slot(r.first))
            std::move_backward(source, source + r.count, slot(r.first + r.count));
        laidOut = r.first;
    }
    makeAdded(from, laidOut - 1);
    const Run merged{static_cast<std::uint16_t>(from), static_cast<std::uint16_t>(width), static_cast<std::uint32_t>(start)};
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first), runs_.begin() + static_cast<std::ptrdiff_t>(last));
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(first), merged);
    shiftOffsets(first + 1, static_cast<int>(added));
    return &cells_[start + static_cast<std::size_t>(left - from)];
}

bool RowCells::erase(int column)
{
    const std::size_t i = runReaching(column);
    if (i == runs_.size() || runs_[i].first > column)
        return false;
    Run& run = runs_[i];
    const std::uint32_t at = run.offset + static_cast<std::uint32_t>(column - run.first);
    cells_.erase(cells_.begin() + at);
    if (run.count == 1) {
        runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
        shiftOffsets(i, -1);
    } else if (column == run.first) {
        ++run.first;
        --run.count;
        shiftOffsets(i + 1, -1);
    } else if (column == run.first + run.count - 1) {
        --run.count;
        shiftOffsets(i + 1, -1);
    } else {
        // Split in two around the column.
        const auto leftCount = static_cast<std::uint16_t>(column - run.first);
        const Run right{static_cast<std::uint16_t>(column + 1), static_cast<std::uint16_t>(run.count - leftCount - 1), at};
        run.count = leftCount;
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, right);
        shiftOffsets(i + 2, -1);
    }
    if (cells_.empty())
        clear();
    return true;
}

RowCells& RowTable::makeBand(int row)
{
    const auto band = static_cast<std::size_t>((row - 1) / kBand);
    if (band >= bands_.size())
        bands_.resize(band + 1);
    if (bands_[band].empty())
        bands_[band].resize(kBand);
    return bands_[band][static_cast<std::size_t>((row - 1) % kBand)];
}

std::size_t RowTable::bandsMade() const
{
    return static_cast<std::size_t>(std::count_if(bands_.begin(), bands_.end(), [](const auto& b) { return !b.empty(); }));
}

void RowCells::shrinkToFit()
{
    runs_.shrink_to_fit();
    cells_.shrink_to_fit();
}

void RowCells::clear()
{
    std::vector<Run>().swap(runs_);
    std::vector<Cell>().swap(cells_);
}

}  // namespace sheet
