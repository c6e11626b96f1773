// The merged areas of a worksheet, in the order they were made (the order they are saved in), with
// an index by bands of rows. A sheet built one cell at a time asks for the merged areas around
// every cell it selects; the index answers from the few areas that reach the cell's rows instead
// of a walk over all of them. Every change goes through the list, which keeps the index with it.
#pragma once

#include "sheet/model/CellRect.h"
#include "sheet/model/Constants.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace sheet {

class MergeList {
public:
    using value_type = CellRect;
    using const_iterator = std::vector<CellRect>::const_iterator;
    using iterator = const_iterator;

    MergeList() = default;
    MergeList(std::initializer_list<CellRect> areas) { assign(areas); }
    MergeList& operator=(std::initializer_list<CellRect> areas)
    {
        assign(areas);
        return *this;
    }

    const_iterator begin() const { return areas_.begin(); }
    const_iterator end() const { return areas_.end(); }
    std::size_t size() const { return areas_.size(); }
    bool empty() const { return areas_.empty(); }
    const CellRect& operator[](std::size_t i) const { return areas_[i]; }
    const CellRect& front() const { return areas_.front(); }
    const CellRect& back() const { return areas_.back(); }
    const std::vector<CellRect>& areas() const { return areas_; }
    operator const std::vector<CellRect>&() const { return areas_; }

    bool operator==(const MergeList& other) const { return areas_ == other.areas_; }
    friend bool operator==(const MergeList& list, const std::vector<CellRect>& areas) { return list.areas_ == areas; }

    void push_back(const CellRect& area);
    void pop_back();
    void resize(std::size_t count);
    void clear();
    // Removes every area that shares a cell with the block, keeping the order of the others; returns how
    // many went.
    std::size_t eraseIntersecting(const CellRect& block);

    // The first area that holds the cell, if any.
    const CellRect* find(int row, int column) const;
    bool anyIntersecting(const CellRect& block) const;
    // The block grown until it takes in every area it intersects.
    CellRect grow(const CellRect& block) const
    {
        // Most blocks asked about lie within one band and meet no area there.
        if (areas_.empty())
            return block;
        if (block.top >= 1 && block.top <= block.bottom && block.bottom <= kMaxRows) {
            const auto band = static_cast<std::size_t>(block.top - 1) / kBandRows;
            if (band == static_cast<std::size_t>(block.bottom - 1) / kBandRows) {
                if (band >= bands_.size())
                    return block;
                bool meets = false;
                for (const std::uint32_t i : bands_[band])
                    meets = meets || intersects(areas_[i], block);
                if (!meets)
                    return block;
            }
        }
        return grownFully(block);
    }

private:
    // Areas are listed in every band their rows reach (from the lower to the higher of top and
    // bottom, so that an area given upside down is found wherever it can intersect); rows past the
    // sheet share the last band.
    static constexpr int kBandRows = 64;
    static std::size_t bandOf(int row);
    // Compared edge by edge as given, as the areas a caller makes are.
    static bool intersects(const CellRect& a, const CellRect& b)
    {
        return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
    }
    CellRect grownFully(CellRect block) const;

    template <class Visit>
    void forEachNear(const CellRect& block, Visit&& visit) const;
    void index(std::size_t i);
    void rebuild();
    void assign(std::initializer_list<CellRect> areas);

    std::vector<CellRect> areas_;
    std::vector<std::vector<std::uint32_t>> bands_;  // per band, indexes into areas_ in ascending order
};

}  // namespace sheet
