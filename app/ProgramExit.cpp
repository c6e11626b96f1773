// Ending the program at once.
#include "app/ProgramExit.h"

#include <cstdio>
#include <cstdlib>

namespace app {
namespace {
std::function<void(int)>& handler()
{
    static std::function<void(int)> h;
    return h;
}
}  // namespace

void defaultEndProgram(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

void endProgram(int code)
{
    if (handler())
        handler()(code);
    else
        defaultEndProgram(code);
}

void setEndProgramHandler(std::function<void(int)> h) { handler() = std::move(h); }

}  // namespace app
