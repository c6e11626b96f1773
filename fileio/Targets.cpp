// Inspecting and refusing targets.
#include "fileio/Targets.h"

#include "fileio/FileError.h"
#include "fileio/Landing.h"
#include "fileio/Posix.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>

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

std::optional<std::string> protectedName(const std::string& requested)
{
    const std::lock_guard lock(g_protectedMutex);
    if (g_protected.empty())
        return std::nullopt;
    const detail::Landing landing = detail::landingOf(requested);
    for (const ProtectedTarget& entry : g_protected)
        if (detail::sameLanding(landing, detail::landingOf(entry.path)))
            return entry.name;
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
        // Nothing there, or a link that leads nowhere: the new file takes the requested name, so
        // such a link is replaced rather than made to lead somewhere.
        target.path = requested;
    } else {
        throw refuse(reasonFor(errno));
    }
    if (!ownFile)
        if (const auto name = protectedName(requested))
            throw refuse("it is " + *name + " and is never written over");
    target.folder = folderOf(target.path);
    return target;
}

}  // namespace detail
}  // namespace fileio
