#include "tests/support/ProgramRun.h"

#include <QDir>

#include <unistd.h>

namespace testing_support {
namespace {

const QStringList kWithoutOverrideRights{"--bounding-set", "-dac_override,-dac_read_search", "--"};

std::unique_ptr<QProcess> start(const TestEnvironment& env, const QString& program, const QStringList& arguments,
                                const std::function<void(QProcessEnvironment&)>& adjust)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_DATA_HOME", env.dataHome());
    environment.insert("XDG_CONFIG_HOME", env.configHome());
    environment.insert("TMPDIR", env.tempDir());
    if (adjust)
        adjust(environment);
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(env.tempDir());
    process->start(program, arguments);
    return process;
}

}  // namespace

bool canDropOverrideRights()
{
    if (geteuid() != 0)
        return true;
    return QProcess::execute("setpriv", kWithoutOverrideRights + QStringList{"true"}) == 0;
}

std::unique_ptr<QProcess> startProgram(const TestEnvironment& env, const ProgramStart& start)
{
    const QString program = QStringLiteral(ROSTELLE_EXECUTABLE);
    if (start.boundByFilePermissions && geteuid() == 0)
        return testing_support::start(env, "setpriv", kWithoutOverrideRights + QStringList{program} + start.arguments,
                                      start.adjust);
    return testing_support::start(env, program, start.arguments, start.adjust);
}

ProgramRun finish(QProcess& process)
{
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

ProgramRun runProgram(const TestEnvironment& env, const QStringList& arguments,
                      const std::function<void(QProcessEnvironment&)>& adjust)
{
    return finish(*startProgram(env, {arguments, adjust, false}));
}

ProgramRun runProgramInShell(const TestEnvironment& env, const QString& arguments)
{
    return finish(*start(env, "/bin/sh", {"-c", "exec \"$0\" " + arguments, QStringLiteral(ROSTELLE_EXECUTABLE)}, {}));
}

QString workingDatabase(const TestEnvironment& env)
{
    return env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite";
}

QString writeSettings(const TestEnvironment& env, const QString& lines)
{
    const QString path = env.configHome() + "/Tarrowby/Tarrowby.conf";
    QDir().mkpath(env.configHome() + "/Tarrowby");
    writeFile(path, "[Rostelle%20Software]\n" + lines.toUtf8() + "\n");
    return path;
}

}  // namespace testing_support
