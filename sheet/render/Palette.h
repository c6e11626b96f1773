// The spreadsheet's default 56-colour palette: colour index 1..56 to RGB, and the colours the
// renderer uses for "automatic" and for the grid.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace sheet::render {

inline constexpr int kPaletteSize = 56;

// The colours of indexes 1..56 (index - 1 into the table). Every cell asks for its fill and
// borders, so the look-up is kept inline.
extern const std::array<std::uint32_t, kPaletteSize> kDefaultPalette;

// 0xRRGGBB of a palette entry; nullopt for anything outside 1..56 (automatic, none, bad data).
inline std::optional<std::uint32_t> paletteRgb(int colorIndex)
{
    if (colorIndex < 1 || colorIndex > kPaletteSize)
        return std::nullopt;
    return kDefaultPalette[static_cast<std::size_t>(colorIndex - 1)];
}

// The palette colour, or `fallback` when the index names no palette entry.
inline std::uint32_t paletteRgbOr(int colorIndex, std::uint32_t fallback)
{
    return paletteRgb(colorIndex).value_or(fallback);
}

inline constexpr std::uint32_t kAutomaticRgb = 0x000000;  // automatic font and border colour
inline constexpr std::uint32_t kBackgroundRgb = 0xFFFFFF;
inline constexpr std::uint32_t kGridlineRgb = 0xC0C0C0;   // a spreadsheet's light grey grid

}  // namespace sheet::render
