// The start every run shares, in the light executable and in the window part alike: the command
// line read and checked, the store that --database names chosen, --version answered, and a
// headless run once its application object is made.
#pragma once

#include "commands/CommandLine.h"

#include <optional>
#include <vector>

namespace commands {

// Every command the program runs without a window.
std::vector<HeadlessCommand> headlessCommands();

// The program's command line: every headless command, and the options every run takes.
class ProgramCommandLine : public CommandLine {
public:
    ProgramCommandLine();
};

// The start of every run: relative data and settings folders in the environment ignored, the
// arguments read and checked, and the store --database names chosen. The exit code when the run
// ends here (arguments that cannot be used, --version), else nullopt.
std::optional<int> readCommandLine(CommandLine& commandLine, int argc, char** argv);

// Whether the run the arguments ask for is a command that paints (a picture or a PDF).
bool paintsPictures(const CommandLine& commandLine);

// Names the application object, which the caller has made, as the program.
void nameTheApplication();

// --help, or the command the arguments ask for, run under the application object the caller has
// made; the command's exit code.
int runHeadless(const CommandLine& commandLine);

}  // namespace commands
