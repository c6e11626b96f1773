// Pictures as PNG files: 8-bit RGB, each row filtered by its difference from the row above (a
// schedule's rows mostly repeat the one above, which leaves runs of zeros), compressed at zlib's
// fastest level. Choosing one filter instead of trying five for every row is most of the time a
// general PNG writer spends on a picture this size. A big picture's rows are packed in parts of a
// megabyte on the machine's cores, as pieces of the one stream.
#pragma once

#include <QImage>

#include <cstddef>
#include <functional>

namespace sheet::render {

// Receives the file's bytes in order, in pieces of a few hundred kilobytes at most.
using PngSink = std::function<void(const void* data, std::size_t size)>;

// Writes the picture as PNG, its resolution as a pHYs chunk. Alpha is dropped (the picture is
// opaque). Throws SheetError when the picture is empty or zlib fails.
void writePng(const QImage& picture, const PngSink& sink);

}  // namespace sheet::render
