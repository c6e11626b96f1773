#include "commands/ProgramStart.h"

#include "commands/CopyDayCommand.h"
#include "commands/ExportCommand.h"
#include "commands/HoursCommand.h"
#include "commands/InitDatabaseCommand.h"
#include "commands/LoadSampleCommand.h"

#include "app/BuildConfig.h"
#include "app/FileNames.h"
#include "app/Paths.h"
#include "app/StoreChoice.h"
#include "app/VisibleText.h"

#include <QCoreApplication>

#include <cstdio>

namespace commands {

namespace {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << app::fromSystemBytes(argv[i]);
    return arguments;
}

}  // namespace

std::vector<HeadlessCommand> headlessCommands()
{
    return {loadSampleCommand(), exportCommand(), pdfCommand(), initDatabaseCommand(), hoursCommand(), copyDayCommand()};
}

ProgramCommandLine::ProgramCommandLine() : CommandLine(headlessCommands(), {app::databaseOption()}) {}

std::optional<int> readCommandLine(CommandLine& commandLine, int argc, char** argv)
{
    app::paths::ignoreRelativeBaseFolders();
    if (!commandLine.parse(argumentsOf(argc, argv))) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(commandLine.errorText()));
        return 2;
    }
    // The window and every command use the store --database names.
    if (commandLine.parser().isSet(QStringLiteral("database"))) {
        const QString uri = commandLine.parser().value(QStringLiteral("database"));
        if (const QString refusal = app::databaseUriRefusal(uri); !refusal.isEmpty()) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(app::visibleText(refusal)));
            return 2;
        }
        app::chooseDatabase(uri);
    }
    if (commandLine.versionRequested()) {
        std::printf("rostelle %s\n", app::config::kVersion);
        return 0;
    }
    return std::nullopt;
}

bool paintsPictures(const CommandLine& commandLine)
{
    const HeadlessCommand* command = commandLine.command();
    return command && command->paints && command->paints(commandLine.parser());
}

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("rostelle"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(app::config::kVersion));
}

int runHeadless(const CommandLine& commandLine)
{
    nameTheApplication();
    if (commandLine.helpRequested()) {
        std::fputs(qUtf8Printable(commandLine.helpText()), stdout);
        return 0;
    }
    return commandLine.command()->run(commandLine.parser());
}

}  // namespace commands
