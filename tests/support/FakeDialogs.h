// Dialogs that tests answer: every message box is recorded with its text, style and title;
// questions take queued answers (Yes when none is queued); the save dialog returns queued paths;
// the print dialog records the page it opens with and is answered by the test (Cancel unless
// told otherwise); pick-one questions take queued picks (the preselected one when none is queued).
#pragma once

#include "app/Dialogs.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

struct ShownMessage {
    QString text;
    int style = 0;
    QString title;
};

class FakeDialogs final : public app::Dialogs {
public:
    FakeDialogs();   // installs itself
    ~FakeDialogs() override;  // restores the default

    int messageBox(const QString& text, int style, const QString& title) override;
    QString saveFileName(const QString& title, const QString& filter) override;
    bool printDialog(QPrinter& printer, const QString& title) override;
    int chooseOne(const QString& title, const QString& text, const QStringList& items, int current) override;

    std::vector<ShownMessage> messages;
    std::deque<int> answers;          // for Yes/No questions
    std::deque<QString> savePaths;    // for the save dialog; empty path = cancel
    QStringList saveDialogTitles;
    QStringList saveDialogFilters;
    QStringList printDialogTitles;
    std::vector<QPageLayout> printDialogLayouts;  // the printer's page as each print dialog opened
    // Acts for the user in the print dialog: may change the printer, returns whether to print.
    std::function<bool(QPrinter&)> printAnswer;
    // For the pick-one questions: queued indexes (-1 = cancel); the preselected one when none is queued.
    std::deque<int> choices;
    QStringList choiceTexts;  // the text of each pick-one question asked
    // Runs inside a message box or dialog, as if the user acted while it was open.
    std::function<void()> whileOpen;

    QStringList texts() const;
    // Only the error reports (title "Application Error").
    std::vector<ShownMessage> errorReports() const;
    void clear() { messages.clear(); }
};

}  // namespace testing_support
