// The shared file and title helpers.
#include "app/Helpers.h"

#include "app/Dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

QString SpecialFolderPath(int folderId)
{
    if (folderId != kCommonAppData)
        return QString();
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    return locations.isEmpty() ? QString() : locations.constFirst().trimmed();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

void DeleteFileForced(const QString& path)
{
    QCoreApplication::processEvents();
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    if (QFile::remove(path))
        return;
    // A read-only file: take the protection off and try once more.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    QFile::remove(path);
}

QString shortenedTitle(const QString& productName)
{
    QString title = productName;
    do {
        const qsizetype lastBlank = title.lastIndexOf(QLatin1Char(' '));
        if (lastBlank < 0)
            break;  // a single word has nothing left to cut
        title.truncate(lastBlank);
    } while (title.size() > 40);
    return title;
}

void ShortenAppTitle() { setApplicationTitle(shortenedTitle(QString::fromUtf8(kProductName))); }

}  // namespace app
