// Working file names. A fresh name per build keeps earlier working workbooks, which the preview
// window may still own, untouched.
#include "report/WorkingFiles.h"

#include "app/HeldFiles.h"
#include "app/Paths.h"
#include "app/Trap.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <chrono>

namespace report {
namespace {

// A working workbook appears by a rename (a new file) and is held only just after: a sweep that
// met it in that moment would see it unheld. Rather than reserve the name with a lock of its own
// (a second file per build), a sweep leaves alone any file written in the last half minute; the
// owner holds it long before then, so an older unheld one has no owner.
constexpr std::chrono::seconds kSettled{30};

}  // namespace

QString newWorkingWorkbookPath(const std::function<int()>& drawDigit)
{
    const auto digit = drawDigit ? drawDigit : [] { return static_cast<int>(QRandomGenerator::global()->bounded(9)) + 1; };
    const QString folder = app::paths::temporaryFolder();
    for (;;) {
        QString name = QStringLiteral("tquill");
        for (int k = 0; k < 8; ++k)
            name += QString::number(digit());
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".xls");
        if (!QFileInfo::exists(path))
            return path;
    }
}

QString bitmapPath() { return app::paths::temporaryFolder() + QStringLiteral("/temp.bmp"); }

void removeAbandonedWorkingWorkbooks()
{
    QString folder;
    try {
        folder = app::paths::temporaryFolder();
    } catch (const app::Failure&) {
        return;
    }
    static const QRegularExpression ours(QStringLiteral("^tquill[1-9]{8}\\.xls$"));
    const QStringList names = QDir(folder).entryList({QStringLiteral("tquill*.xls")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        if (ours.match(name).hasMatch())
            app::removeUnheldFile(folder + QLatin1Char('/') + name, kSettled);
}

}  // namespace report
