// Inspecting and refusing targets.
#include "fileio/Targets.h"

#include "fileio/FileError.h"
#include "fileio/Posix.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace fileio {
namespace {

std::mutex g_protectedMutex;
std::vector<ProtectedTarget> g_protected;

std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return "it is not a regular file";
}

std::optional<std::string> realPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return std::nullopt;
    std::string result = resolved;
    std::free(resolved);
    return result;
}

// A path that does not exist, in a form two spellings of the same place share: its folder with
// links followed, and its name.
std::string comparablePath(const std::string& path)
{
    std::string absolute = path;
    if (absolute.empty() || absolute.front() != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) != nullptr)
            absolute = std::string(cwd) + "/" + path;
    }
    const auto folder = realPath(detail::folderOf(absolute));
    if (!folder)
        return absolute;
    return (*folder == "/" ? std::string() : *folder) + "/" + detail::nameOf(absolute);
}

std::optional<std::string> protectedName(const std::string& requested, const detail::Target& target)
{
    const std::lock_guard lock(g_protectedMutex);
    std::optional<std::string> requestedPath;
    for (const ProtectedTarget& entry : g_protected) {
        struct stat info {};
        const bool present = ::stat(entry.path.c_str(), &info) == 0;
        if (target.exists && present) {
            if (info.st_dev == target.existing.st_dev && info.st_ino == target.existing.st_ino)
                return entry.name;
        } else if (!target.exists && !present) {
            if (!requestedPath)
                requestedPath = comparablePath(requested);
            if (*requestedPath == comparablePath(entry.path))
                return entry.name;
        }
    }
    return std::nullopt;
}

}  // namespace

void setProtectedTargets(std::vector<ProtectedTarget> targets)
{
    const std::lock_guard lock(g_protectedMutex);
    g_protected = std::move(targets);
}

namespace detail {

Target inspectTarget(const std::string& requested, bool ownFile)
{
    const auto refuse = [&](const std::string& reason) { return FileError(FileError::Operation::Write, requested, reason); };
    if (requested.empty())
        throw refuse("no file name was given");

    Target target;
    if (::stat(requested.c_str(), &target.existing) == 0) {
        target.exists = true;
        if (!S_ISREG(target.existing.st_mode))
            throw refuse(kindOf(target.existing.st_mode));
        // Writing through a link replaces the file it points to and keeps the link.
        const auto resolved = realPath(requested);
        if (!resolved)
            throw refuse(reasonFor(errno));
        target.path = *resolved;
    } else if (errno == ENOENT) {
        target.path = requested;
    } else {
        throw refuse(reasonFor(errno));
    }
    if (!ownFile)
        if (const auto name = protectedName(requested, target))
            throw refuse("it is " + *name + " and is never written over");
    target.folder = folderOf(target.path);
    return target;
}

}  // namespace detail
}  // namespace fileio
