// Temporary files: unnamed (O_TMPFILE, linked in once complete) or named with the writer's pid.
#include "fileio/Temporary.h"

#include "fileio/Faults.h"
#include "fileio/FileError.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <signal.h>
#include <string_view>
#include <unistd.h>

namespace fileio {
namespace {

using detail::unlessInjected;
using test_hooks::Step;

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::size_t kSuffixLength = 6;

std::string randomSuffix()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string suffix(kSuffixLength, ' ');
    for (char& c : suffix)
        c = letters[pick(generator)];
    return suffix;
}

// Held names by their last part: the pid and random suffix make that unique however the folder
// was spelt.
std::mutex g_heldMutex;
std::set<std::string> g_held;

bool isHeld(const std::string& name)
{
    const std::lock_guard lock(g_heldMutex);
    return g_held.contains(name);
}

// The pid a name of our pattern carries, or nothing for a name that is not ours.
std::optional<pid_t> writerOf(std::string_view name)
{
    const std::string_view prefix = detail::kTemporaryPrefix;
    if (!name.starts_with(prefix))
        return std::nullopt;
    name.remove_prefix(prefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || pid <= 0)
        return std::nullopt;
    const std::string_view rest(end, static_cast<std::size_t>(name.data() + name.size() - end));
    if (rest.size() != 1 + kSuffixLength || rest.front() != '-')
        return std::nullopt;
    return pid;
}

bool writerGone(pid_t pid) { return pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH); }

bool unnamedPossible() { return detail::unnamedTemporariesAllowed() && ::access("/proc/self/fd", X_OK) == 0; }

}  // namespace

namespace detail {

std::string temporaryName(const std::string& folder)
{
    return folder + "/" + kTemporaryPrefix + std::to_string(::getpid()) + "-" + randomSuffix();
}

void holdName(const std::string& path)
{
    const std::lock_guard lock(g_heldMutex);
    g_held.insert(nameOf(path));
}

void releaseName(const std::string& path)
{
    const std::lock_guard lock(g_heldMutex);
    g_held.erase(nameOf(path));
}

void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const auto pid = writerOf(entry->d_name);
        if (!pid || !writerGone(*pid) || isHeld(entry->d_name))
            continue;
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

TemporaryFile::TemporaryFile(const std::string& requested, const std::string& folder, const struct stat* replaced)
    : requested_(requested), folder_(folder)
{
    // A new file gets what the system gives any new file (0666 less the umask); a file that will
    // replace another stays private until it has that file's mode.
    const mode_t mode = replaced ? 0600 : 0666;
    if (unnamedPossible()) {
        fd_.reset(unlessInjected(Step::OpenTemporary, [&] { return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode); }));
        unnamed_ = static_cast<bool>(fd_);
    }
    for (int attempt = 0; !fd_ && attempt < 100; ++attempt) {
        const std::string name = temporaryName(folder);
        fd_.reset(unlessInjected(Step::OpenTemporary, [&] { return ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode); }));
        if (fd_)
            setName(name);
        else if (errno != EEXIST)
            fail(errno);
    }
    if (!fd_)
        fail(EEXIST);
    if (replaced) {
        try {
            keepOwnerAndMode(*replaced);
        } catch (...) {
            discard();  // no destructor runs for an object whose constructor throws
            throw;
        }
    }
}

TemporaryFile::~TemporaryFile() { discard(); }

void TemporaryFile::discard()
{
    fd_.reset();
    if (!name_.empty())
        ::unlink(name_.c_str());
    clearName();
}

void TemporaryFile::setName(std::string name)
{
    holdName(name);
    name_ = std::move(name);
}

void TemporaryFile::clearName()
{
    if (!name_.empty())
        releaseName(name_);
    name_.clear();
}

std::string TemporaryFile::readablePath() const
{
    return unnamed_ ? "/proc/self/fd/" + std::to_string(fd_.get()) : name_;
}

void TemporaryFile::fail(int error) const { throw FileError(FileError::Operation::Write, requested_, reasonFor(error)); }

void TemporaryFile::keepOwnerAndMode(const struct stat& replaced)
{
    // Only root may give a file away and only a member may keep its group: both are attempts, and
    // the mode is set after them because a change of owner clears the set-id bits.
    const int fd = fd_.get();
    if (replaced.st_gid != ::getegid()
        && unlessInjected(Step::ChangeOwner, [&] { return ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid); }) != 0) {
    }
    if (replaced.st_uid != ::geteuid()
        && unlessInjected(Step::ChangeOwner, [&] { return ::fchown(fd, replaced.st_uid, static_cast<gid_t>(-1)); }) != 0) {
    }
    if (unlessInjected(Step::ChangeMode, [&] { return ::fchmod(fd, replaced.st_mode & 07777); }) != 0)
        fail(errno);
}

void TemporaryFile::write(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = unlessInjected(Step::Write, [&] { return ::write(fd_.get(), bytes + done, std::min(kChunk, size - done)); });
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(errno);
        done += static_cast<std::size_t>(n);
    }
}

void TemporaryFile::seek(std::uint64_t offset)
{
    if (unlessInjected(Step::Seek, [&] { return ::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET); }) < 0)
        fail(errno);
}

void TemporaryFile::sync()
{
    if (unlessInjected(Step::Sync, [&] { return ::fsync(fd_.get()); }) != 0)
        fail(errno);
}

int TemporaryFile::linkUnnamedAs(const std::string& name) const
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    const auto link = [&] { return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW); };
    return unlessInjected(Step::Link, link) == 0 ? 0 : errno;
}

int TemporaryFile::renameInto(const std::string& target) const
{
    return unlessInjected(Step::Rename, [&] { return ::rename(name_.c_str(), target.c_str()); });
}

void TemporaryFile::commit(const std::string& target, bool replace)
{
    if (const int error = detail::injectedFault(Step::Commit))
        fail(error);
    if (unnamed_) {
        if (!replace) {
            if (const int error = linkUnnamedAs(target))  // fails where anything is
                fail(error);
        } else {
            // The file gets a name only for the moment between the link and the rename.
            for (int attempt = 0; name_.empty() && attempt < 100; ++attempt) {
                const std::string name = temporaryName(folder_);
                const int error = linkUnnamedAs(name);
                if (error == 0)
                    setName(name);
                else if (error != EEXIST)
                    fail(error);
            }
            if (name_.empty())
                fail(EEXIST);
            if (renameInto(target) != 0)
                fail(errno);
        }
        clearName();
        fd_.reset();
        return;
    }
    if (const int error = detail::injectedFault(Step::Close))
        fail(error);
    if (const int error = fd_.close())
        fail(error);
    if (replace) {
        if (renameInto(target) != 0)
            fail(errno);
    } else {
        if (unlessInjected(Step::Link, [&] { return ::link(name_.c_str(), target.c_str()); }) != 0)
            fail(errno);
        // A name that cannot be removed now is this process's stale temporary: the next write
        // into the folder removes it.
        unlessInjected(Step::Unlink, [&] { return ::unlink(name_.c_str()); });
    }
    clearName();
}

}  // namespace detail
}  // namespace fileio
