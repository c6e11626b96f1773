// The program's file locations.
#include "app/Paths.h"

#include "app/BuildConfig.h"
#include "app/Helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace app::paths {
namespace {
QString& programFolderOverride()
{
    static QString folder;
    return folder;
}
}  // namespace

// An installed program keeps its files apart from the executable, at the same place relative to
// it in every prefix; the build tree keeps them beside the executable.
QString programFolderOf(const QString& executableFolder)
{
    const QString installed =
        QDir::cleanPath(executableFolder + QLatin1Char('/') + QLatin1String(config::kDataFolderFromExecutable));
    return QFileInfo(installed).isDir() ? installed : executableFolder;
}

QString programFolder()
{
    return programFolderOverride().isEmpty() ? programFolderOf(QCoreApplication::applicationDirPath())
                                             : programFolderOverride();
}

void setProgramFolder(const QString& folder) { programFolderOverride() = folder; }

QString dataRoot() { return SpecialFolderPath(kCommonAppData); }
QString makerFolder() { return dataRoot() + QStringLiteral("/Tarrowby"); }
QString dataFolder() { return dataRoot() + QStringLiteral("/Tarrowby/") + QStringLiteral("Rostelle Software"); }
QString workingDatabase() { return dataFolder() + QStringLiteral("/dbData.sqlite"); }
QString templateDatabase() { return programFolder() + QStringLiteral("/dbBlank.sqlite"); }
QString handPointerFile() { return programFolder() + QStringLiteral("/HAND-M.CUR"); }
QString skinFile() { return programFolder() + QStringLiteral("/x/o.cjs"); }
QString iconFile() { return programFolder() + QStringLiteral("/rostelle.png"); }

}  // namespace app::paths
