// Saving pictures: BMP or PNG chosen by the file name's extension, written to a temporary file
// beside the target and renamed over it, so a failed save leaves no half-written picture and
// never destroys the file that was there.
#pragma once

#include <QImage>
#include <QString>

namespace sheet::render {

// Throws std::runtime_error with a message for the user when the picture cannot be written.
void saveImage(const QImage& image, const QString& path);

}  // namespace sheet::render
