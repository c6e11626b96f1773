// Saving pictures: BMP or PNG chosen by the file name's extension, written through the file
// library, so a failed save leaves no half-written picture and never destroys the file that was
// there, and a target the library refuses is not written.
#pragma once

#include <QImage>

#include <string>

namespace sheet::render {

// `path` is bytes, as the file system takes them. Throws sheet::SheetError with a message for the
// user when the picture cannot be written.
void saveImage(const QImage& image, const std::string& path);

}  // namespace sheet::render
