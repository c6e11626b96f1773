// Saving a copy of the working workbook where the user chose.
#pragma once

#include <QString>

namespace preview {

// Copies source to destination through a temporary file beside the destination that is renamed
// over it at the end: an existing destination stays whole until the new copy is complete.
// Throws app::Failure with a user-facing description when the copy cannot be made.
void replaceFileAtomically(const QString& source, const QString& destination);

}  // namespace preview
