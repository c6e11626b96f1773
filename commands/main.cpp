// Program entry: without options the main window; with a headless command's option that command,
// run without a window or a display.
#include "commands/CommandLine.h"
#include "commands/CopyDayCommand.h"
#include "commands/ExportCommand.h"
#include "commands/FirstPaint.h"
#include "commands/HeadlessGraphics.h"
#include "commands/HoursCommand.h"
#include "commands/InitDatabaseCommand.h"
#include "commands/LoadSampleCommand.h"

#include "app/BuildConfig.h"
#include "app/Dialogs.h"
#include "app/EndOnSignals.h"
#include "app/FileNames.h"
#include "app/Paths.h"
#include "app/QtDialogs.h"
#include "app/StoreChoice.h"
#include "app/VisibleText.h"

#include "report/WorkingFiles.h"

#include "ui/main/Form1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Every command the program runs without a window.
std::vector<commands::HeadlessCommand> headlessCommands()
{
    return {commands::loadSampleCommand(), commands::exportCommand(),  commands::pdfCommand(),
            commands::initDatabaseCommand(), commands::hoursCommand(), commands::copyDayCommand()};
}

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << app::fromSystemBytes(argv[i]);
    return arguments;
}

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("rostelle"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(app::config::kVersion));
}

}  // namespace

int main(int argc, char** argv)
{
    app::paths::ignoreRelativeBaseFolders();
    commands::CommandLine commandLine(headlessCommands(), {app::databaseOption()});
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
    const commands::HeadlessCommand* command = commandLine.command();

    if (commandLine.helpRequested() || command) {
        // A command that paints gets the graphics platform, offscreen: it still needs no display.
        const bool paints = command && command->paints && command->paints(commandLine.parser());
        std::optional<commands::HeadlessGraphics> graphics;
        if (paints)
            graphics.emplace();
        const std::unique_ptr<QCoreApplication> application = paints
            ? std::make_unique<QGuiApplication>(argc, argv)
            : std::make_unique<QCoreApplication>(argc, argv);
        nameTheApplication();
        if (commandLine.helpRequested()) {
            std::fputs(qUtf8Printable(commandLine.helpText()), stdout);
            return 0;
        }
        return command->run(commandLine.parser());
    }

    QApplication application(argc, argv);
    nameTheApplication();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(app::config::kDesktopId));
    app::QtDialogs onScreen;
    app::setDialogs(&onScreen);
    // A termination signal closes what is shown: the preview (which deletes its working file and
    // ends the program) or the main window.
    const app::EndOnSignals endOnSignals([] { QApplication::closeAllWindows(); });
    report::removeAbandonedWorkingWorkbooks();
    int exitCode = 0;
    {
        ui::Form1 form;
        form.Form_Load();
        commands::endAtFirstPaintIfAsked(form);
        form.show();
        // For tests of the real program: the start button pressed once the window is up.
        if (qEnvironmentVariableIsSet("ROSTELLE_TEST_BUILD_AT_START"))
            QTimer::singleShot(0, &form, &ui::Form1::PushButton22_Click);
        exitCode = application.exec();
    }
    app::setDialogs(nullptr);
    return exitCode;
}
