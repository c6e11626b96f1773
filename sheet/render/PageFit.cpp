#include "sheet/render/PageFit.h"

namespace sheet::render {

std::optional<PageFit> pageFitNamed(std::string_view word)
{
    if (word == "one")
        return PageFit::OnePage;
    if (word == "width")
        return PageFit::PageWidth;
    return std::nullopt;
}

const char* pageFitWord(PageFit fit) { return fit == PageFit::PageWidth ? "width" : "one"; }

}  // namespace sheet::render
