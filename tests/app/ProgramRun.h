// The built program started as a script starts it: no display and no platform chosen, in the
// test's own data, config and temporary folders.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace app_testing {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not end by itself
    QString out;
    QString err;
};

struct ProgramStart {
    QStringList arguments;
    // Changes the environment further.
    std::function<void(QProcessEnvironment&)> adjust;
    // Without the rights that let root ignore file permissions (see canDropOverrideRights).
    bool boundByFilePermissions = false;
};

// Whether a program can be run bound by file permissions: root has setpriv take the rights
// away; anyone else never had them.
bool canDropOverrideRights();

// Started and left running, for runs at the same time; finish() waits for it.
std::unique_ptr<QProcess> startProgram(const testing_support::TestEnvironment& env, const ProgramStart& start);
ProgramRun finish(QProcess& process);

ProgramRun runProgram(const testing_support::TestEnvironment& env, const QStringList& arguments,
                      const std::function<void(QProcessEnvironment&)>& adjust = {});

}  // namespace app_testing
