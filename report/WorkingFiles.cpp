// Working file names. A fresh name per build keeps earlier working workbooks, which the preview
// window may still own, untouched.
#include "report/WorkingFiles.h"

#include "app/Paths.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace report {

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

}  // namespace report
