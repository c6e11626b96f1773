// Message boxes and the save dialog on screen.
#include "app/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace app {

int QtDialogs::messageBox(const QString& text, int style, const QString& title)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    const bool yesNo = (style & 7) == msg::kYesNo;
    if ((style & msg::kExclamation) == msg::kExclamation)
        box.setIcon(QMessageBox::Warning);
    if (yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (yesNo)
        return result == QMessageBox::Yes ? msg::kYes : msg::kNo;
    return msg::kOk;
}

QString qtFileFilter(const QString& barSeparatedFilter)
{
    const QStringList parts = barSeparatedFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (parts[i].contains(QLatin1Char('(')) ? parts[i] : parts[i] + " (" + pattern + ")");
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtDialogs::saveFileName(const QString& title, const QString& filter)
{
    // The path comes back exactly as chosen: no extension is added.
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace app
