// File and window helpers of the preview window.
#include "preview/FileOps.h"

#include "app/Trap.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QSaveFile>
#include <QWidget>

namespace preview {

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

void DeleteFileForced(const QString& path)
{
    QCoreApplication::processEvents();
    if (path.isEmpty())
        return;
    if (QFile::remove(path))
        return;
    // A second attempt after making the file writable for its owner.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    QFile::remove(path);
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

void SetFormColours(QWidget* window)
{
    const auto paint = [](QWidget* w) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, p.color(QPalette::Button));
        w->setPalette(p);
        w->setAutoFillBackground(true);
    };
    paint(window);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (qobject_cast<QRadioButton*>(child) || qobject_cast<QCheckBox*>(child)
            || qobject_cast<QGroupBox*>(child) || qobject_cast<QLabel*>(child))
            paint(child);
    }
}

void replaceFileAtomically(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw app::Failure(QStringLiteral("Could not read \"%1\": %2").arg(source, in.errorString()));

    QSaveFile out(destination);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        throw app::Failure(QStringLiteral("Could not write \"%1\": %2").arg(destination, out.errorString()));

    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw app::Failure(QStringLiteral("Could not read \"%1\": %2").arg(source, in.errorString()));
        if (out.write(chunk) != chunk.size())
            throw app::Failure(QStringLiteral("Could not write \"%1\": %2").arg(destination, out.errorString()));
    }
    if (!out.commit())
        throw app::Failure(QStringLiteral("Could not write \"%1\": %2").arg(destination, out.errorString()));
}

}  // namespace preview
