// Comparing write targets by what they reach on disk rather than by their spelling. Paths are
// taken as the system takes them: "folder/link/../name" goes up from where the link leads, so
// nothing here tidies a path by its text.
#include "app/SameTarget.h"

#include "app/FileNames.h"

#include <QByteArray>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <utility>

namespace app {
namespace {

using Identity = std::pair<dev_t, ino_t>;

// The device and inode a path leads to after following every link, if it exists.
std::optional<Identity> identity(const QByteArray& path)
{
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return std::nullopt;
    return Identity{status.st_dev, status.st_ino};
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// Where a write to the path lands: links are followed even when their target does not exist yet,
// since a write through such a link makes the target. A loop of links stops after as many hops
// as the system allows.
QByteArray landingPath(const QString& given)
{
    QByteArray path = QByteArray::fromStdString(toSystemBytes(given));
    if (!path.startsWith('/')) {
        char folder[4096];
        if (::getcwd(folder, sizeof folder))
            path = QByteArray(folder) + '/' + path;
    }
    for (int hops = 0; hops < 40; ++hops) {
        char target[4096];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length <= 0 || length >= static_cast<ssize_t>(sizeof target))
            break;
        const QByteArray link(target, length);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    return path;
}

}  // namespace

bool sameTarget(const QString& first, const QString& second)
{
    const QByteArray a = landingPath(first);
    const QByteArray b = landingPath(second);
    const auto idA = identity(a);
    const auto idB = identity(b);
    if (idA || idB)
        return idA == idB;
    // Neither exists yet: the same name in the same folder, however the folder is reached.
    if (nameOf(a) != nameOf(b))
        return false;
    const auto folderA = identity(folderOf(a));
    return folderA ? folderA == identity(folderOf(b)) : folderOf(a) == folderOf(b);
}

}  // namespace app
