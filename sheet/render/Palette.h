// The spreadsheet's default 56-colour palette: colour index 1..56 to RGB, and the colours the
// renderer uses for "automatic" and for the grid.
#pragma once

#include <cstdint>
#include <optional>

namespace sheet::render {

inline constexpr int kPaletteSize = 56;

// 0xRRGGBB of a palette entry; nullopt for anything outside 1..56 (automatic, none, bad data).
std::optional<std::uint32_t> paletteRgb(int colorIndex);

// The palette colour, or `fallback` when the index names no palette entry.
std::uint32_t paletteRgbOr(int colorIndex, std::uint32_t fallback);

inline constexpr std::uint32_t kAutomaticRgb = 0x000000;  // automatic font and border colour
inline constexpr std::uint32_t kBackgroundRgb = 0xFFFFFF;
inline constexpr std::uint32_t kGridlineRgb = 0xC0C0C0;   // a spreadsheet's light grey grid

}  // namespace sheet::render
