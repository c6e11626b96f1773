// Pictures as uncompressed 24-bit BMP files, made row by row for a sink, so that a picture of
// tens of megabytes is written without a second copy of it in memory. The bytes are those Qt's
// own BMP writer makes of the picture, so any BMP reader that took those takes these.
#pragma once

#include <QImage>

#include <cstddef>
#include <functional>

namespace sheet::render {

// Receives the file's bytes in order, in pieces of a few hundred kilobytes at most.
using BmpSink = std::function<void(const void* data, std::size_t size)>;

// Writes the picture as BMP: file and info headers, then the rows bottom-up as blue, green, red,
// each padded to four bytes. A picture in another format than RGB32 is converted first. Throws
// SheetError when the picture is empty or too large for the format's 32-bit sizes.
void writeBmp(const QImage& picture, const BmpSink& sink);

}  // namespace sheet::render
