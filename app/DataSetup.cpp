// Folders and the working database copied from the template.
#include "app/DataSetup.h"

#include "app/FileNames.h"
#include "app/Trap.h"

#include "fileio/AtomicWrite.h"
#include "fileio/Folders.h"

#include <QFileInfo>

namespace app {
namespace {
QString reasonOf(const fileio::FileError& e) { return fromSystemBytes(e.reason()); }
}  // namespace

bool nothingAt(const QString& path) { return !QFileInfo::exists(path); }

void createFolder(const QString& path)
{
    try {
        fileio::makeFolders(toSystemBytes(path), 0700);
    } catch (const fileio::FileError& e) {
        throw Failure(QStringLiteral("Path/File access error: cannot create the folder %1: %2").arg(path, reasonOf(e)));
    }
}

void copyTemplateDatabase(const QString& templatePath, const QString& workingPath)
{
    if (!QFileInfo(templatePath).isFile())
        throw Failure(QStringLiteral("File not found: %1").arg(templatePath));
    // Made whole or not at all, never over a database that is there; a new file's mode makes it
    // writable even when the template is read-only.
    const bool therePreviously = QFileInfo::exists(workingPath);
    try {
        fileio::copyFile(toSystemBytes(templatePath), toSystemBytes(workingPath), {.replaceExisting = false, .ownFile = true});
    } catch (const fileio::FileError& e) {
        // Another copy of the program starting at the same moment made it first: it is whole,
        // and it is what this step wanted.
        if (!therePreviously && QFileInfo(workingPath).isFile())
            return;
        throw Failure(QStringLiteral("Cannot copy %1 to %2: %3").arg(templatePath, workingPath, reasonOf(e)));
    }
}

}  // namespace app
