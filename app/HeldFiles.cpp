// Held files: one open descriptor per held path, its lock released when it is closed.
#include "app/HeldFiles.h"

#include "app/FileNames.h"

#include <QHash>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {
namespace {

QHash<QString, int>& held()
{
    static QHash<QString, int> descriptors;
    return descriptors;
}

int openForLock(const QString& path)
{
    // Non-blocking and without following a last link, so that no name planted in a shared
    // temporary folder can hold the program up or lead the lock elsewhere.
    return ::open(toSystemBytes(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
}

}  // namespace

void holdFile(const QString& path)
{
    releaseFile(path);
    const int fd = openForLock(path);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    held().insert(path, fd);
}

void releaseFile(const QString& path)
{
    if (const auto it = held().find(path); it != held().end()) {
        ::close(it.value());
        held().erase(it);
    }
}

bool removeUnheldFile(const QString& path, std::chrono::seconds settled)
{
    const int fd = openForLock(path);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && std::time(nullptr) - info.st_mtime >= settled.count()
        && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // The name may have been replaced since it was opened: only the file that was checked goes.
        struct stat now {};
        const std::string name = toSystemBytes(path);
        if (::lstat(name.c_str(), &now) == 0 && now.st_dev == info.st_dev && now.st_ino == info.st_ino)
            removed = ::unlink(name.c_str()) == 0;
    }
    ::close(fd);
    return removed;
}

}  // namespace app
