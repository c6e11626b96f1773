// Saving a copy of the working workbook where the user chose.
#pragma once

#include <QString>

namespace preview {

// Copies source to destination through the file library: an existing destination stays whole
// until the new copy is complete and keeps its mode, and a destination the library refuses (not
// a file, or one of the program's own files) is not written. Throws app::Failure with a
// user-facing description when the copy cannot be made.
void replaceFileAtomically(const QString& source, const QString& destination);

}  // namespace preview
