// Window colours and the skin.
#include "app/WindowHelpers.h"

#include "app/Paths.h"
#include "app/Trap.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace app {
namespace {

void paintButtonFace(QWidget* widget)
{
    QPalette palette = widget->palette();
    const QColor face = palette.color(QPalette::Active, QPalette::Button);
    palette.setColor(QPalette::Window, face);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

bool takesButtonFace(QWidget* w)
{
    return qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QGroupBox*>(w)
        || qobject_cast<QLabel*>(w);
}

// The picture boxes: panels named Picture1, Picture2, ...
bool isPictureBox(QWidget* w) { return w->objectName().startsWith(QStringLiteral("Picture")); }

}  // namespace

void SetFormColours(QWidget* window)
{
    paintButtonFace(window);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (takesButtonFace(child))
            paintButtonFace(child);
}

void ApplySkin(QWidget* mainWindow)
{
    const QString path = paths::skinFile();
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return;
    paintButtonFace(mainWindow);
    for (QWidget* child : mainWindow->findChildren<QWidget*>())
        if (takesButtonFace(child) || isPictureBox(child))
            paintButtonFace(child);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot load the skin %1: %2").arg(path, file.errorString()));
    mainWindow->setStyleSheet(QString::fromUtf8(file.readAll()));
}

}  // namespace app
