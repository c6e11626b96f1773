#include "tests/support/FakeDialogs.h"

#include <QPrinter>

namespace testing_support {

FakeDialogs::FakeDialogs() { app::setDialogs(this); }
FakeDialogs::~FakeDialogs() { app::setDialogs(nullptr); }

int FakeDialogs::messageBox(const QString& text, int style, const QString& title)
{
    messages.push_back({text, style, title});
    if (whileOpen)
        whileOpen();
    if ((style & 7) == app::msg::kYesNo) {
        if (answers.empty())
            return app::msg::kYes;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    return app::msg::kOk;
}

QString FakeDialogs::saveFileName(const QString& title, const QString& filter)
{
    saveDialogTitles << title;
    saveDialogFilters << filter;
    if (whileOpen)
        whileOpen();
    if (savePaths.empty())
        return QString();
    QString p = savePaths.front();
    savePaths.pop_front();
    return p;
}

bool FakeDialogs::printDialog(QPrinter& printer, const QString& title)
{
    printDialogTitles << title;
    printDialogLayouts.push_back(printer.pageLayout());
    if (whileOpen)
        whileOpen();
    return printAnswer ? printAnswer(printer) : false;
}

int FakeDialogs::chooseOne(const QString&, const QString& text, const QStringList&, int current)
{
    choiceTexts << text;
    if (whileOpen)
        whileOpen();
    if (choices.empty())
        return current;
    const int picked = choices.front();
    choices.pop_front();
    return picked;
}

QStringList FakeDialogs::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

std::vector<ShownMessage> FakeDialogs::errorReports() const
{
    std::vector<ShownMessage> out;
    for (const auto& m : messages)
        if (m.title == QStringLiteral("Application Error"))
            out.push_back(m);
    return out;
}

}  // namespace testing_support
