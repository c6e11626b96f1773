// How a sheet is laid out on paper, and the words that name each layout. Apart from the painting
// code, so that what only reads the words (the command line) needs no graphics library.
#pragma once

#include <optional>
#include <string_view>

namespace sheet::render {

// On one page by the sheet's own page setup, or one page wide and as many pages tall as it needs
// (see WidthPages.h).
enum class PageFit { OnePage, PageWidth };
// "one" and "width", the words the settings and the command line use; nullopt for any other.
std::optional<PageFit> pageFitNamed(std::string_view word);
const char* pageFitWord(PageFit fit);

}  // namespace sheet::render
