// The program's file locations.
#include "app/Paths.h"

#include "app/BuildConfig.h"
#include "app/FileNames.h"
#include "app/Helpers.h"
#include "app/Trap.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace app::paths {
namespace {
bool isWritableFolder(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

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

void ignoreRelativeBaseFolders()
{
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty() && !value.startsWith('/'))
            qunsetenv(variable);
    }
}

QString dataRoot() { return SpecialFolderPath(kCommonAppData); }
QString makerFolder() { return dataRoot() + QStringLiteral("/Tarrowby"); }
QString dataFolder() { return dataRoot() + QStringLiteral("/Tarrowby/") + QStringLiteral("Rostelle Software"); }
QString workingDatabase() { return dataFolder() + QStringLiteral("/dbData.sqlite"); }
QString templateDatabase() { return programFolder() + QStringLiteral("/dbBlank.sqlite"); }
QString handPointerFile() { return programFolder() + QStringLiteral("/HAND-M.CUR"); }
QString skinFile() { return programFolder() + QStringLiteral("/x/o.cjs"); }
QString iconFile() { return programFolder() + QStringLiteral("/rostelle.png"); }

QString temporaryFolder()
{
    const std::string fromEnvironment = qgetenv("TMPDIR").toStdString();
    std::string chosen = fromEnvironment;
    if (!isWritableFolder(chosen))
        chosen = "/tmp";
    if (!isWritableFolder(chosen))
        throw Failure(QStringLiteral("There is no temporary folder to write to: TMPDIR (\"%1\") and /tmp are missing or cannot be written.")
                          .arg(fromSystemBytes(fromEnvironment)));
    while (chosen.size() > 1 && chosen.back() == '/')
        chosen.pop_back();
    return fromSystemBytes(chosen);
}

}  // namespace app::paths
