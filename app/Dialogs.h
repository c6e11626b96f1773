// The one way the program shows message boxes, the save dialog and the print dialog. Windows and
// error reports call through here so that tests can answer the questions and read the texts.
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace app {

// Message box styles and answers, with the values the program's texts are written against.
namespace msg {
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kExclamation = 48;
inline constexpr int kOk = 1;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace msg

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal message box; returns msg::kOk, msg::kYes or msg::kNo.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;
    // Shows a save-file dialog; returns the chosen path, or an empty text when cancelled.
    virtual QString saveFileName(const QString& title, const QString& filter) = 0;
    // Shows the system print dialog for the printer as it is preset; the user may change its
    // printer, paper and layout there. Returns true when the user chose to print. Without a
    // screen there is no such dialog: the default answers Cancel.
    virtual bool printDialog(QPrinter& printer, const QString& title);
    // Asks the user to pick one of `items`, `current` preselected; returns the index picked, or -1
    // when cancelled. Without a screen the preselected one stands.
    virtual int chooseOne(const QString& title, const QString& text, const QStringList& items, int current);
};

// The dialogs in force; by default message boxes on screen (or on stderr without a GUI).
Dialogs& dialogs();
// Replaces the dialogs in force (tests, headless runs). Passing nullptr restores the default.
void setDialogs(Dialogs* replacement);

// The title every message box without one of its own bears.
QString applicationTitle();
void setApplicationTitle(const QString& title);

// Shows a message box; an empty title means the application title.
int MsgBox(const QString& text, int style = msg::kOkOnly, const QString& title = QString());

}  // namespace app
