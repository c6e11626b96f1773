// The dialogs in force and the application title. Without a replacement, messages go to stderr
// (the program installs on-screen dialogs when it has windows; see QtDialogs).
#include "app/Dialogs.h"

#include <cstdio>

namespace app {

bool Dialogs::printDialog(QPrinter&, const QString&) { return false; }
int Dialogs::chooseOne(const QString&, const QString&, const QStringList&, int current) { return current; }

namespace {

// Headless runs: every message is written to stderr; questions are answered No, dialogs cancelled.
class StderrDialogs final : public Dialogs {
public:
    int messageBox(const QString& text, int style, const QString& title) override
    {
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(shown));
        return (style & msg::kYesNo) == msg::kYesNo ? msg::kNo : msg::kOk;
    }
    QString saveFileName(const QString&, const QString&) override { return QString(); }
};

Dialogs* g_replacement = nullptr;
QString g_title = QStringLiteral("Rostelle");

}  // namespace

Dialogs& dialogs()
{
    static StderrDialogs fallback;
    return g_replacement ? *g_replacement : fallback;
}

void setDialogs(Dialogs* replacement) { g_replacement = replacement; }

QString applicationTitle() { return g_title; }
void setApplicationTitle(const QString& title) { g_title = title; }

int MsgBox(const QString& text, int style, const QString& title)
{
    return dialogs().messageBox(text, style, title.isEmpty() ? applicationTitle() : title);
}

}  // namespace app
