// Folders and the working database copied from the template.
#include "app/DataSetup.h"

#include "app/Trap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace app {

bool nothingAt(const QString& path) { return !QFileInfo::exists(path); }

void createFolder(const QString& path)
{
    if (!QDir().mkdir(path))
        throw Failure(QStringLiteral("Path/File access error: cannot create the folder %1").arg(path));
}

void copyTemplateDatabase(const QString& templatePath, const QString& workingPath)
{
    if (!QFileInfo(templatePath).isFile())
        throw Failure(QStringLiteral("File not found: %1").arg(templatePath));
    // QFile::copy writes into a temporary file beside the target and renames it, so an
    // interrupted copy never leaves a half-written working database behind; it never overwrites.
    QFile source(templatePath);
    if (!source.copy(workingPath))
        throw Failure(QStringLiteral("Cannot copy %1 to %2: %3").arg(templatePath, workingPath, source.errorString()));
    QFile::setPermissions(workingPath, QFile::permissions(workingPath) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

}  // namespace app
