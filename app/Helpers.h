// Small operations several windows share: naming a system folder, testing for a file, deleting a
// file however it is protected, and forming the application title. None shows an error report:
// the file test and the file delete absorb their failures; the others throw to their caller.
#pragma once

#include <QString>

namespace app {

// The folder identifier the data folder hangs under (the per-machine application data).
inline constexpr int kCommonAppData = 35;

// The folder's full path, or an empty text for an identifier we do not know.
QString SpecialFolderPath(int folderId);

// True when a file (not a folder) is found at the path; never throws.
bool FileExists(const QString& path);

// Lets pending events run once, then deletes the file, making it writable first when it is
// protected. Never reports and never throws.
void DeleteFileForced(const QString& path);

// The product name shortened to the application title: the last word always goes, and further
// words go while the text is longer than 40 characters.
QString shortenedTitle(const QString& productName);
// Sets the application title from the product name.
void ShortenAppTitle();

inline constexpr const char* kProductName = "Rostelle Software";

}  // namespace app
