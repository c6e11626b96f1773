// The program's own files, which no save may write over: the working database with its journal
// files, the template database and the settings file. Every start (the window and each headless
// command) declares them to the file library, which then refuses them as targets.
#pragma once

#include <QString>

#include <optional>

namespace app {

// Declares the files at their current locations; replaces any earlier declaration. Never throws.
void protectProgramFiles();

// The description of the refusal a write to `path` would meet (not a regular file, or one of the
// program's own files), or nothing when the write would be attempted.
std::optional<QString> writeRefusal(const QString& path);

}  // namespace app
