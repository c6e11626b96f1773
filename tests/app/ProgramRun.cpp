#include "tests/app/ProgramRun.h"

#include <unistd.h>

namespace app_testing {
namespace {

const QStringList kWithoutOverrideRights{"--bounding-set", "-dac_override,-dac_read_search", "--"};

}  // namespace

bool canDropOverrideRights()
{
    if (geteuid() != 0)
        return true;
    return QProcess::execute("setpriv", kWithoutOverrideRights + QStringList{"true"}) == 0;
}

std::unique_ptr<QProcess> startProgram(const testing_support::TestEnvironment& env, const ProgramStart& start)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_DATA_HOME", env.dataHome());
    environment.insert("XDG_CONFIG_HOME", env.configHome());
    environment.insert("TMPDIR", env.tempDir());
    if (start.adjust)
        start.adjust(environment);
    process->setProcessEnvironment(environment);
    if (start.boundByFilePermissions && geteuid() == 0)
        process->start("setpriv", kWithoutOverrideRights + QStringList{QStringLiteral(ROSTELLE_EXECUTABLE)} +
                                      start.arguments);
    else
        process->start(QStringLiteral(ROSTELLE_EXECUTABLE), start.arguments);
    return process;
}

ProgramRun finish(QProcess& process)
{
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

ProgramRun runProgram(const testing_support::TestEnvironment& env, const QStringList& arguments,
                      const std::function<void(QProcessEnvironment&)>& adjust)
{
    return finish(*startProgram(env, {arguments, adjust, false}));
}

}  // namespace app_testing
