// File and window helpers the preview window needs: the file test, the forced delete, the
// program folder, the button-face colours and the atomic replacement of a saved copy.
#pragma once

#include <QString>

class QWidget;

namespace preview {

// True when something can be found at the path; never throws.
bool FileExists(const QString& path);

// Lets pending events run once, then deletes the file, read-only or not. Never reports.
void DeleteFileForced(const QString& path);

// The folder of the running executable, where the program's own files lie.
QString programFolder();

// Gives the window, and its option buttons, check boxes, frames and labels, the button-face colour.
void SetFormColours(QWidget* window);

// Copies source to destination through a temporary file beside the destination that is renamed
// over it at the end: the old destination stays whole until the new copy is complete.
// Throws app::Failure with a user-facing description when the copy cannot be made.
void replaceFileAtomically(const QString& source, const QString& destination);

}  // namespace preview
