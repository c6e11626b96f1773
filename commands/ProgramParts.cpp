#include "commands/ProgramParts.h"

#include "app/BuildConfig.h"

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

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

// Installed, the parts sit at the same place relative to the executable in every prefix; the
// build tree keeps them beside the executable.
std::string partPath(ProgramPart part)
{
    const std::string folder = executableFolder();
    const std::string file = part == ProgramPart::Window ? app::config::kWindowPartFileName : app::config::kPaintingPartFileName;
    const std::string installed = folder + '/' + app::config::kPartsFolderFromExecutable + '/' + file;
    return isFile(installed) ? installed : folder + '/' + file;
}

}  // namespace

int runPart(ProgramPart part, int& argc, char** argv)
{
    const std::string path = partPath(part);
    // Never unloaded: the part's objects may outlive its main() until the process ends.
    void* module = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    auto* entry = module ? reinterpret_cast<PartMain>(::dlsym(module, kPartEntry)) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "rostelle: a part of the program cannot be loaded (%s); reinstall the program.\n",
                     ::dlerror());
        return 1;
    }
    return entry(&argc, argv);
}

}  // namespace commands
