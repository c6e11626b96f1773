// What a command that paints without a window needs before its QGuiApplication is made: the
// offscreen platform, so that no display is needed, and a runtime folder for Qt to look into
// while it starts. Without one (no XDG_RUNTIME_DIR, as under cron, ssh or su) Qt prints a
// warning and leaves a folder "runtime-<user>" in the temporary folder; a command prints only its
// own messages and leaves only the files it was asked for. The session's own runtime folder is
// used when it exists; otherwise a private, empty folder in the program's temporary folder
// (paths::temporaryFolder) serves for the life of this object.
#pragma once

#include "commands/CommandLine.h"

#include <QByteArray>

#include <string>

namespace commands {

class HeadlessGraphics {
public:
    HeadlessGraphics();
    // Removes the private folder and puts XDG_RUNTIME_DIR back as it was. Destroy after the
    // application object.
    ~HeadlessGraphics();
    HeadlessGraphics(const HeadlessGraphics&) = delete;
    HeadlessGraphics& operator=(const HeadlessGraphics&) = delete;

private:
    bool hadRuntimeDir_;
    QByteArray runtimeDir_;
    // The private folder's path while it exists.
    std::string privateFolder_;
};

// Whether the folder is what a runtime folder must be: a folder (not a link) owned by this user
// that only this user may enter (mode 0700).
bool usableRuntimeFolder(const QByteArray& path);

// --help, or the command the arguments ask for, run under the application object it needs: a
// command that paints gets the graphics platform (offscreen), the others Qt's core alone.
int runHeadlessWithGraphics(const CommandLine& commandLine, int& argc, char** argv);

}  // namespace commands
