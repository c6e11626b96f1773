// The whole program, loaded as the window part (see WindowPart.h): the main window, and the
// commands, those that paint included.
#include "commands/WindowPart.h"

#include "commands/FirstPaint.h"
#include "commands/HeadlessGraphics.h"
#include "commands/ProgramStart.h"

#include "app/BuildConfig.h"
#include "app/Dialogs.h"
#include "app/EndOnSignals.h"
#include "app/Paths.h"
#include "app/QtDialogs.h"
#include "app/StoreChoice.h"

#include "report/WorkingFiles.h"

#include "ui/main/Form1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <memory>
#include <optional>

extern "C" __attribute__((visibility("default"))) int rostelleWindowPartMain(int* argcPointer, char** argv)
{
    int& argc = *argcPointer;
    app::paths::ignoreRelativeBaseFolders();
    commands::CommandLine commandLine(commands::headlessCommands(), {app::databaseOption()});
    if (const std::optional<int> ended = commands::readCommandLine(commandLine, argc, argv))
        return *ended;

    if (commandLine.helpRequested() || commandLine.command()) {
        // A command that paints gets the graphics platform, offscreen: it still needs no display.
        const bool paints = commands::paintsPictures(commandLine);
        std::optional<commands::HeadlessGraphics> graphics;
        if (paints)
            graphics.emplace();
        const std::unique_ptr<QCoreApplication> application = paints
            ? std::make_unique<QGuiApplication>(argc, argv)
            : std::make_unique<QCoreApplication>(argc, argv);
        return commands::runHeadless(commandLine);
    }

    QApplication application(argc, argv);
    commands::nameTheApplication();
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
