// The program's file locations.
#include "app/Paths.h"

#include "app/Helpers.h"

#include <QCoreApplication>

namespace app::paths {
namespace {
QString& programFolderOverride()
{
    static QString folder;
    return folder;
}
}  // namespace

QString programFolder()
{
    return programFolderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : programFolderOverride();
}

void setProgramFolder(const QString& folder) { programFolderOverride() = folder; }

QString dataRoot() { return SpecialFolderPath(kCommonAppData); }
QString makerFolder() { return dataRoot() + QStringLiteral("/Tarrowby"); }
QString dataFolder() { return dataRoot() + QStringLiteral("/Tarrowby/") + QStringLiteral("Rostelle Software"); }
QString workingDatabase() { return dataFolder() + QStringLiteral("/dbData.sqlite"); }
QString templateDatabase() { return programFolder() + QStringLiteral("/dbBlank.sqlite"); }
QString handPointerFile() { return programFolder() + QStringLiteral("/HAND-M.CUR"); }
QString skinFile() { return programFolder() + QStringLiteral("/x/o.cjs"); }
QString iconFile() { return programFolder() + QStringLiteral("/rostelle.xpm"); }

}  // namespace app::paths
