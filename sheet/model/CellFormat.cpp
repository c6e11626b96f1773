// Hashing and interning of cell formats.
#include "sheet/model/CellFormat.h"

#include <functional>

namespace sheet {
namespace {
void mix(std::size_t& seed, std::size_t value) { seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2); }
}  // namespace

std::size_t CellFormatHash::operator()(const CellFormat& f) const noexcept
{
    std::size_t h = std::hash<std::string>{}(f.font.name);
    mix(h, std::hash<double>{}(f.font.size));
    mix(h, static_cast<std::size_t>(f.font.bold));
    mix(h, static_cast<std::size_t>(f.font.colorIndex));
    mix(h, static_cast<std::size_t>(f.numberFormat));
    mix(h, static_cast<std::size_t>(f.horizontalAlignment));
    mix(h, static_cast<std::size_t>(f.verticalAlignment));
    mix(h, static_cast<std::size_t>(f.wrapText));
    mix(h, static_cast<std::size_t>(f.interiorColorIndex));
    for (const Border& b : f.borders) {
        mix(h, static_cast<std::size_t>(b.lineStyle));
        mix(h, static_cast<std::size_t>(b.colorIndex));
    }
    return h;
}

FormatTable::FormatTable() { intern(CellFormat{}); }

FormatId FormatTable::intern(const CellFormat& format)
{
    if (auto it = index_.find(format); it != index_.end())
        return it->second;
    const auto id = static_cast<FormatId>(formats_.size());
    formats_.push_back(format);
    index_.emplace(format, id);
    return id;
}

}  // namespace sheet
