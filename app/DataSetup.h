// The start-up steps that put the data in place: the maker and data folders and the working
// database copied from the template. Shared by the window's start-up and the command line.
// Each throws a Failure whose message says what could not be done.
#pragma once

#include <QString>

namespace app {

// True when neither a folder nor a file is found at the path.
bool nothingAt(const QString& path);
// Creates the folder with every missing parent; the folders made are the owner's alone (0700).
void createFolder(const QString& path);
// Copies the template to the working database, which must not exist yet. The copy is made
// writable even when the template is read-only; a failed copy leaves no working database.
void copyTemplateDatabase(const QString& templatePath, const QString& workingPath);

}  // namespace app
