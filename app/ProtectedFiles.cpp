// Declaring the program's own files to the file library.
#include "app/ProtectedFiles.h"

#include "app/FileNames.h"
#include "app/Paths.h"
#include "app/Settings.h"

#include "fileio/AtomicWrite.h"

namespace app {

void protectProgramFiles()
{
    try {
        const std::string database = toSystemBytes(paths::workingDatabase());
        const std::string journal = "a journal file of the program's working database";
        fileio::setProtectedTargets({
            {database, "the program's working database"},
            {database + "-journal", journal},
            {database + "-wal", journal},
            {database + "-shm", journal},
            {toSystemBytes(paths::templateDatabase()), "the program's template database"},
            {toSystemBytes(Settings::fileName()), "the program's settings file"},
        });
    } catch (...) {
        // Only memory can run out here; the writes themselves still refuse non-files.
    }
}

std::optional<QString> writeRefusal(const QString& path)
{
    try {
        fileio::checkTarget(toSystemBytes(path));
    } catch (const fileio::FileError& e) {
        return fromSystemBytes(e.wholeDescription());
    }
    return std::nullopt;
}

}  // namespace app
