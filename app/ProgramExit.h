// Ending the program at once, without any window's closing steps. Tests replace the handler.
#pragma once

#include <functional>

namespace app {

[[noreturn]] void defaultEndProgram(int code);
void endProgram(int code = 0);
// Replaces what endProgram does; nullptr restores the default (which ends the process).
void setEndProgramHandler(std::function<void(int)> handler);

}  // namespace app
