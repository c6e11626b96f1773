// Writing the week's hours without a window.
#include "commands/HoursCommand.h"

#include "commands/CommandStore.h"

#include "app/FileNames.h"
#include "app/ProtectedFiles.h"
#include "app/Trap.h"

#include "fileio/AtomicWrite.h"

#include "report/WeekHours.h"

#include "store/Connection.h"

#include <cstdio>

namespace commands {

int runHours(const QString& csvPath)
{
    app::protectProgramFiles();
    if (!csvPath.isEmpty())
        if (const std::optional<QString> refusal = app::writeRefusal(csvPath)) {
            sayLines(stderr, *refusal + QLatin1Char('.'));
            return 2;
        }
    if (const QString failure = openCommandStore(store::Access::ReadOnly); !failure.isEmpty()) {
        sayLines(stderr, failure);
        return 1;
    }
    int exitCode = 0;
    try {
        const QByteArray text = report::csv(report::hoursTable(report::readWeekHours(store::shared()))).toUtf8();
        if (csvPath.isEmpty()) {
            std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
            std::fflush(stdout);
        } else {
            fileio::writeFile(app::toSystemBytes(csvPath), std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        }
    } catch (...) {
        sayLines(stderr, app::currentFailureDescription());
        exitCode = 1;
    }
    store::shared().close();
    return exitCode;
}

HeadlessCommand hoursCommand()
{
    const QCommandLineOption trigger(
        QStringLiteral("hours"),
        QStringLiteral("Write each employee's hours per weekday and for the week as CSV, to FILE.csv or to standard "
                       "output, without a window."));
    HeadlessCommand command{trigger, {}, {}, {}};
    command.fileArgument = QStringLiteral("FILE.csv");
    command.run = [](const QCommandLineParser& parser) {
        const QStringList file = parser.positionalArguments();
        return runHours(file.isEmpty() ? QString() : file.constFirst());
    };
    return command;
}

}  // namespace commands
