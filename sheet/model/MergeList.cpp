// Merged areas and their index by rows.
#include "sheet/model/MergeList.h"

#include <algorithm>

namespace sheet {

std::size_t MergeList::bandOf(int row)
{
    constexpr int kLastBand = kMaxRows / kBandRows;  // the band after the sheet's last row
    if (row < 1)
        return 0;
    return static_cast<std::size_t>(std::min((row - 1) / kBandRows, kLastBand));
}

// visit(index) for each area listed in a band the block's rows reach; an area reaching several of
// them is visited once per band.
template <class Visit>
void MergeList::forEachNear(const CellRect& block, Visit&& visit) const
{
    const std::size_t first = bandOf(std::min(block.top, block.bottom));
    const std::size_t last = std::min(bandOf(std::max(block.top, block.bottom)) + 1, bands_.size());
    for (std::size_t band = first; band < last; ++band)
        for (const std::uint32_t i : bands_[band])
            visit(i);
}

void MergeList::index(std::size_t i)
{
    const CellRect& area = areas_[i];
    const std::size_t first = bandOf(std::min(area.top, area.bottom));
    const std::size_t last = bandOf(std::max(area.top, area.bottom));
    if (bands_.size() <= last)
        bands_.resize(last + 1);
    for (std::size_t band = first; band <= last; ++band)
        bands_[band].push_back(static_cast<std::uint32_t>(i));
}

void MergeList::rebuild()
{
    bands_.clear();
    for (std::size_t i = 0; i < areas_.size(); ++i)
        index(i);
}

void MergeList::assign(std::initializer_list<CellRect> areas)
{
    areas_.assign(areas);
    rebuild();
}

void MergeList::push_back(const CellRect& area)
{
    areas_.push_back(area);
    index(areas_.size() - 1);
}

void MergeList::pop_back()
{
    areas_.pop_back();
    rebuild();
}

void MergeList::resize(std::size_t count)
{
    areas_.resize(count);
    rebuild();
}

void MergeList::clear()
{
    areas_.clear();
    bands_.clear();
}

std::size_t MergeList::eraseIntersecting(const CellRect& block)
{
    std::vector<bool> erased;
    std::size_t count = 0;
    forEachNear(block, [&](std::uint32_t i) {
        if (!intersects(areas_[i], block))
            return;
        if (erased.empty())
            erased.resize(areas_.size());
        if (!erased[i]) {
            erased[i] = true;
            ++count;
        }
    });
    if (count == 0)
        return 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < areas_.size(); ++i)
        if (!erased[i])
            areas_[kept++] = areas_[i];
    areas_.resize(kept);
    rebuild();
    return count;
}

const CellRect* MergeList::find(int row, int column) const
{
    const std::size_t band = bandOf(row);
    if (band >= bands_.size())
        return nullptr;
    for (const std::uint32_t i : bands_[band])
        if (areas_[i].contains(row, column))
            return &areas_[i];
    return nullptr;
}

bool MergeList::anyIntersecting(const CellRect& block) const
{
    bool found = false;
    forEachNear(block, [&](std::uint32_t i) { found = found || intersects(areas_[i], block); });
    return found;
}

CellRect MergeList::grownFully(CellRect block) const
{
    // Growing only ever adds areas, so repeating until nothing changes reaches the smallest block
    // that holds every area it intersects, whatever order the areas are met in.
    for (bool grown = true; grown;) {
        grown = false;
        const CellRect before = block;
        forEachNear(before, [&](std::uint32_t i) {
            const CellRect& m = areas_[i];
            if (!intersects(m, block))
                return;
            const CellRect joined{std::min(block.top, m.top), std::min(block.left, m.left),
                                  std::max(block.bottom, m.bottom), std::max(block.right, m.right)};
            if (joined != block) {
                block = joined;
                grown = true;
            }
        });
    }
    return block;
}

}  // namespace sheet
