// Files this process holds with a shared advisory lock (flock) while it owns them, so that another
// running copy can tell them from files whose owner has gone. A lock lives as long as the
// process: a killed owner holds nothing.
#pragma once

#include <QString>

#include <chrono>

namespace app {

// Takes the lock on the file at `path`. A file that cannot be opened or locked is simply not
// held: holding is a courtesy to other copies, never a reason to fail.
void holdFile(const QString& path);
// Gives up the lock taken by holdFile; nothing when the file is not held.
void releaseFile(const QString& path);

// Removes the regular file at `path` when no process holds it and it was last written at least
// `settled` ago; true when it was removed. The exclusive lock taken to check is kept while the
// file is removed, so no process can take it up in between.
bool removeUnheldFile(const QString& path, std::chrono::seconds settled);

}  // namespace app
