// Program entry: without options the main window; with a headless command's option that command,
// run without a window or a display. The commands that need no graphics run here; the commands
// that paint run in the painting part, the window in the window part (ProgramParts.h).
#include "commands/ProgramParts.h"
#include "commands/ProgramStart.h"


#include <QCoreApplication>

#include <optional>

int main(int argc, char** argv)
{
    commands::ProgramCommandLine commandLine;
    if (const std::optional<int> ended = commands::readCommandLine(commandLine, argc, argv))
        return *ended;
    if (commandLine.helpRequested() || (commandLine.command() && !commands::paintsPictures(commandLine))) {
        QCoreApplication application(argc, argv);
        return commands::runHeadless(commandLine);
    }
    return commands::runPart(commandLine.command() ? commands::ProgramPart::Painting : commands::ProgramPart::Window,
                             argc, argv);
}
