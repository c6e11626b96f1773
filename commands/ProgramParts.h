// The program comes in three parts. The executable runs the commands that need no graphics library
// (the workbook export, hours, copying a day, the sample, the shared roster's setup, --help and
// --version) with Qt's core and SQL libraries alone. The commands that paint (a picture or a PDF)
// run in the painting part, a module that adds Qt's graphics library; the window runs in the
// window part, a module that adds the widget and print libraries too. Each run loads only what it
// uses.
#pragma once

namespace commands {

// A part's entry, its main(): it reads the arguments again and runs them. `argc` lives as long as
// the run (the application object keeps it).
using PartMain = int (*)(int*, char**);
inline constexpr const char* kPartEntry = "rostellePartMain";

enum class ProgramPart { Painting, Window };

// The executable's side: loads the part and runs its entry. When it cannot be loaded, says why on
// stderr and returns 1.
int runPart(ProgramPart part, int& argc, char** argv);

}  // namespace commands
