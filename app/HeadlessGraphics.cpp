// The graphics platform for commands without a window.
#include "app/HeadlessGraphics.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace app {

bool usableRuntimeFolder(const QByteArray& path)
{
    struct stat status {};
    return !path.isEmpty() && ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid() && (status.st_mode & 07777) == 0700;
}

HeadlessGraphics::HeadlessGraphics()
    : hadRuntimeDir_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")), runtimeDir_(qgetenv("XDG_RUNTIME_DIR"))
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (usableRuntimeFolder(runtimeDir_))
        return;
    const QByteArray sessionFolder = "/run/user/" + QByteArray::number(::geteuid());
    if (usableRuntimeFolder(sessionFolder)) {
        qputenv("XDG_RUNTIME_DIR", sessionFolder);
        return;
    }
    privateFolder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/rostelle-runtime-XXXXXX"));
    if (privateFolder_->isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(privateFolder_->path()));
}

HeadlessGraphics::~HeadlessGraphics()
{
    privateFolder_.reset();
    if (hadRuntimeDir_)
        qputenv("XDG_RUNTIME_DIR", runtimeDir_);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

}  // namespace app
