// The graphics platform for commands without a window.
#include "commands/HeadlessGraphics.h"

#include "commands/ProgramStart.h"

#include "app/FileNames.h"
#include "app/Paths.h"
#include "app/Trap.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace commands {

namespace paths = app::paths;

using app::toSystemBytes;
using app::Failure;

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
    // In the folder every working file goes to, so that a TMPDIR naming no usable folder does not
    // leave Qt without one. Without any temporary folder Qt's own warning says what is wrong.
    std::string folder;
    try {
        folder = toSystemBytes(paths::temporaryFolder()) + "/rostelle-runtime-XXXXXX";
    } catch (const Failure&) {
        return;
    }
    if (::mkdtemp(folder.data()) == nullptr)
        return;
    privateFolder_ = folder;
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(privateFolder_));
}

HeadlessGraphics::~HeadlessGraphics()
{
    if (!privateFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(privateFolder_, ignored);
    }
    if (hadRuntimeDir_)
        qputenv("XDG_RUNTIME_DIR", runtimeDir_);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

int runHeadlessWithGraphics(const CommandLine& commandLine, int& argc, char** argv)
{
    const bool paints = paintsPictures(commandLine);
    std::optional<HeadlessGraphics> graphics;
    if (paints)
        graphics.emplace();
    const std::unique_ptr<QCoreApplication> application =
        paints ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    return runHeadless(commandLine);
}

}  // namespace commands
