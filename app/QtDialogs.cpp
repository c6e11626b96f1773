// Message boxes, the save dialog and the print dialog on screen.
#include "app/QtDialogs.h"

#include "app/Settings.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace app {

namespace {

bool asksYesOrNo(int style) { return (style & 7) == msg::kYesNo; }

// A box wraps its text at a width of its own choosing, and a web address breaks at its slashes
// like any text. A line holding one asks for the width of the whole line, up to what the screen
// leaves beside the icon and the margins. Worked out as the box is shown, once the label has the
// font it is drawn with and before the box sizes itself.
class WebAddressesWhole final : public QObject {
public:
    WebAddressesWhole(QMessageBox& box, QString shown) : QObject(&box), box_(box), shown_(std::move(shown))
    {
        box.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            widenLabel();
        return false;
    }

private:
    void widenLabel()
    {
        static const QRegularExpression webAddress(QStringLiteral("\\b(?:https?://|www\\.)\\S+"));
        auto* label = box_.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (!label)
            return;
        const QFontMetricsF metrics(label->font());
        const QMargins margins = label->contentsMargins();
        qreal needed = 0;
        for (const QString& line : shown_.split(QLatin1Char('\n')))
            if (webAddress.match(line).hasMatch())
                needed = std::max(needed, metrics.horizontalAdvance(line));
        if (needed == 0)
            return;
        const int width =
            static_cast<int>(std::ceil(needed)) + 2 * label->margin() + margins.left() + margins.right() + 2;
        const QScreen* screen = box_.screen() ? box_.screen() : QGuiApplication::primaryScreen();
        const int room = screen ? screen->availableGeometry().width() * 3 / 4 : width;
        label->setMinimumWidth(std::min(width, room));
    }

    QMessageBox& box_;
    QString shown_;
};

}  // namespace

void prepareMessageBox(QMessageBox& box, const QString& text, int style, const QString& title)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setWindowTitle(title);
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    if ((style & msg::kExclamation) == msg::kExclamation)
        box.setIcon(QMessageBox::Warning);
    if (asksYesOrNo(style)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    new WebAddressesWhole(box, shown);
}

int QtDialogs::messageBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    prepareMessageBox(box, text, style, title);
    const int result = box.exec();
    if (asksYesOrNo(style))
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

QString saveDialogStartFolder()
{
    const QString remembered = Settings::saveFolder();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void rememberSaveFolder(const QString& chosenPath)
{
    if (!chosenPath.isEmpty())
        Settings::setSaveFolder(QFileInfo(chosenPath).absolutePath());
}

QString QtDialogs::saveFileName(const QString& title, const QString& filter)
{
    // The path comes back exactly as chosen: no extension is added. The desktop's own dialog is
    // used where the platform theme has one.
    QFileDialog dialog(QApplication::activeWindow(), title, saveDialogStartFolder(), qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    rememberSaveFolder(chosen);
    return chosen;
}

// Printing to a file is left out: the dialog would write the file itself, around the file
// library's refusals and its whole-or-nothing write. "Save as PDF..." makes that file.
void preparePrintDialog(QPrintDialog& dialog, const QString& title)
{
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
}

int QtDialogs::chooseOne(const QString& title, const QString& text, const QStringList& items, int current)
{
    bool chosen = false;
    const QString item = QInputDialog::getItem(QApplication::activeWindow(), title, text, items, current, false, &chosen);
    return chosen ? static_cast<int>(items.indexOf(item)) : -1;
}

bool QtDialogs::printDialog(QPrinter& printer, const QString& title)
{
    // Without a printer the dialog would offer nothing to print on.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        MsgBox(QStringLiteral("No printer is set up on this computer. \"Save as PDF...\" keeps the schedule in a file "
                              "that can be printed elsewhere."));
        return false;
    }
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    preparePrintDialog(dialog, title);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace app
