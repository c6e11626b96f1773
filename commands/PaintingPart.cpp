// The painting part (see ProgramParts.h): the commands that paint a picture or a PDF, on the
// offscreen graphics platform, so that they still need no display. It runs the other commands as
// well, but has no window.
#include "commands/HeadlessGraphics.h"
#include "commands/ProgramStart.h"


#include <cstdio>
#include <optional>

extern "C" __attribute__((visibility("default"))) int rostellePartMain(int* argcPointer, char** argv)
{
    int& argc = *argcPointer;
    commands::ProgramCommandLine commandLine;
    if (const std::optional<int> ended = commands::readCommandLine(commandLine, argc, argv))
        return *ended;
    if (!commandLine.helpRequested() && !commandLine.command()) {
        std::fputs("rostelle: the window is not part of the painting part.\n", stderr);
        return 2;
    }
    return commands::runHeadlessWithGraphics(commandLine, argc, argv);
}
