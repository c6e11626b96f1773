// Where writes land, and whether two of them land in one file.
#include "fileio/Landing.h"

#include "fileio/Posix.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {
namespace {

// As many links as the system follows in one path before it gives up.
constexpr int kMostHops = 40;

std::optional<detail::Identity> identityOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return detail::Identity{info.st_dev, info.st_ino};
}

// Relative paths are made absolute so that a folder that does not exist still compares by a path
// that does not depend on how it was spelt relative to where the program runs.
std::string absolute(const std::string& path)
{
    if (!path.empty() && path.front() == '/')
        return path;
    char* cwd = ::getcwd(nullptr, 0);
    if (cwd == nullptr)
        return path;
    std::string result = std::string(cwd) + "/" + path;
    std::free(cwd);
    return result;
}

// Where the symbolic link at `path` leads, or nothing when the path is not one.
std::optional<std::string> linkTarget(const std::string& path)
{
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof target))
        return std::nullopt;
    const std::string link(target, static_cast<std::size_t>(length));
    return link.front() == '/' ? link : detail::folderOf(path) + "/" + link;
}

// The new file a write would make at `path` (absolute) if nothing were there.
detail::Landing newFileAt(const std::string& path)
{
    detail::Landing landing;
    landing.folder = detail::folderOf(path);
    landing.name = detail::nameOf(path);
    landing.folderIdentity = identityOf(landing.folder);
    return landing;
}

}  // namespace

namespace detail {

Landing landingOf(const std::string& path)
{
    const std::string full = absolute(path);
    if (const auto file = identityOf(full))
        return Landing{.file = file};
    return newFileAt(full);
}

bool sameLanding(const Landing& first, const Landing& second)
{
    if (first.file || second.file)
        return first.file == second.file;
    if (first.name != second.name)
        return false;
    if (first.folderIdentity || second.folderIdentity)
        return first.folderIdentity == second.folderIdentity;
    return first.folder == second.folder;
}

}  // namespace detail

bool sameFile(const std::string& earlier, const std::string& later)
{
    const detail::Landing first = detail::landingOf(earlier);
    if (first.file)
        return detail::sameLanding(first, detail::landingOf(later));
    // The earlier write leaves a regular file where nothing was, or where a link that led nowhere
    // was: a chain of links from the later path ends there if it passes through that place.
    std::string path = absolute(later);
    for (int hop = 0; hop <= kMostHops; ++hop) {
        if (detail::sameLanding(first, newFileAt(path)))
            return true;
        const auto next = linkTarget(path);
        if (!next)
            return false;
        path = *next;
    }
    return false;
}

}  // namespace fileio
