// Saving pictures: BMP or PNG chosen by the file name's extension, written through the file
// library, so a failed save leaves no half-written picture and never destroys the file that was
// there, and a target the library refuses is not written.
#pragma once

#include <QImage>

#include <string>

namespace sheet::render {

// How long a picture file lives: kept (synced to disk before it takes its name), or a working file
// its owner deletes after use (put in place whole all the same, but not synced).
enum class FileLife { Kept, Working };

// `path` is bytes, as the file system takes them. Throws sheet::SheetError with a message for the
// user when the picture cannot be written.
void saveImage(const QImage& image, const std::string& path, FileLife life = FileLife::Kept);

}  // namespace sheet::render
