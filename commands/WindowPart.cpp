#include "commands/WindowPart.h"

#include "app/BuildConfig.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace commands {

namespace {

// The folder of the running executable, without the last slash; empty when it cannot be read.
std::string executableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    const std::string executable(path, static_cast<std::size_t>(length));
    return executable.substr(0, executable.rfind('/'));
}

bool isFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Installed, the part sits at the same place relative to the executable in every prefix; the
// build tree keeps it beside the executable.
std::string windowPartPath()
{
    const std::string folder = executableFolder();
    const std::string installed = folder + '/' + app::config::kWindowPartFromExecutable;
    return isFile(installed) ? installed : folder + '/' + app::config::kWindowPartFileName;
}

}  // namespace

int runWindowPart(int& argc, char** argv)
{
    const std::string path = windowPartPath();
    // Never unloaded: the part's objects may outlive its main() until the process ends.
    void* part = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    auto* entry = part ? reinterpret_cast<WindowPartMain>(::dlsym(part, kWindowPartEntry)) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "rostelle: the program's window part cannot be loaded (%s); reinstall the program.\n",
                     ::dlerror());
        return 1;
    }
    return entry(&argc, argv);
}

}  // namespace commands
