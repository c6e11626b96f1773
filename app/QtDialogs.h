// Message boxes, the save dialog and the print dialog on screen.
#pragma once

#include "app/Dialogs.h"

class QMessageBox;
class QPrintDialog;

namespace app {

class QtDialogs final : public Dialogs {
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    QString saveFileName(const QString& title, const QString& filter) override;
    bool printDialog(QPrinter& printer, const QString& title) override;
    int chooseOne(const QString& title, const QString& text, const QStringList& items, int current) override;
};

// Gives the box the text, buttons, icon and title that the style asks for. Carriage returns break
// lines; a line that holds a web address gets the width to show it whole, screen permitting.
void prepareMessageBox(QMessageBox& box, const QString& text, int style, const QString& title);

// Gives the print dialog its title and the choices a one-page document printed on paper has: no
// page range, no selection, no current page, no printing to a file.
void preparePrintDialog(QPrintDialog& dialog, const QString& title);

// Where a save dialog opens: the folder last saved to while it still exists, else the user's
// documents folder, else the home folder.
QString saveDialogStartFolder();
// Remembers the folder of a path the user chose to save to.
void rememberSaveFolder(const QString& chosenPath);

// Turns a filter written "Display|pattern|..." into the form the file dialog takes.
QString qtFileFilter(const QString& barSeparatedFilter);

}  // namespace app
