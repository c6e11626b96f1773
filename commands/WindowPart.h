// The program comes in two parts. The executable runs the commands that need no graphics library
// (the workbook export, hours, copying a day, the sample, the shared roster's setup, --help and
// --version) with Qt's core and SQL libraries alone; the window and every command that paints (a
// picture or a PDF) run in the window part, a module loaded only for them, which holds the whole
// program and links the graphics and widget libraries. A run that needs no window so never pays
// for loading them.
#pragma once

namespace commands {

// The window part's entry, the whole program's main(): it reads the arguments again and runs
// them, window or command. `argc` lives as long as the run (the application object keeps it).
extern "C" int rostelleWindowPartMain(int* argc, char** argv);
using WindowPartMain = int (*)(int*, char**);
inline constexpr const char* kWindowPartEntry = "rostelleWindowPartMain";

// The executable's side: loads the window part and runs it. When it cannot be loaded, says why on
// stderr and returns 1.
int runWindowPart(int& argc, char** argv);

}  // namespace commands
