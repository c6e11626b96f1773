// The window part (see ProgramParts.h): the main window, with the preview, printing and the
// planner's dialogs. It holds the whole program and runs the commands as well.
#include "commands/FirstPaint.h"
#include "commands/HeadlessGraphics.h"
#include "commands/ProgramStart.h"

#include "app/BuildConfig.h"
#include "app/Dialogs.h"
#include "app/EndOnSignals.h"
#include "app/QtDialogs.h"

#include "report/WorkingFiles.h"

#include "ui/main/Form1.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>

#include <optional>

extern "C" __attribute__((visibility("default"))) int rostellePartMain(int* argcPointer, char** argv)
{
    int& argc = *argcPointer;
    commands::ProgramCommandLine commandLine;
    if (const std::optional<int> ended = commands::readCommandLine(commandLine, argc, argv))
        return *ended;
    if (commandLine.helpRequested() || commandLine.command())
        return commands::runHeadlessWithGraphics(commandLine, argc, argv);

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
