// Window colours, the skin and select-all on focus.
#include "app/WindowHelpers.h"

#include "app/Paths.h"
#include "app/Trap.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    // The face's own text colour, so the text stays readable whatever face the palette has.
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Active, QPalette::ButtonText));
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

class SelectAllOnFocus final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Queued, so that a focusing click does not put the cursor back over the selection.
        if (event->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(static_cast<QLineEdit*>(watched), &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    }
};

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

void selectWholeTextOnFocus(QLineEdit* box) { box->installEventFilter(new SelectAllOnFocus(box)); }

}  // namespace app
