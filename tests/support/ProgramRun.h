// The built program started as a script starts it: no display and no platform chosen, in the
// test's own data, config and temporary folders, the temporary folder its working folder.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace testing_support {

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
std::unique_ptr<QProcess> startProgram(const TestEnvironment& env, const ProgramStart& start);
ProgramRun finish(QProcess& process);

ProgramRun runProgram(const TestEnvironment& env, const QStringList& arguments,
                      const std::function<void(QProcessEnvironment&)>& adjust = {});
// The arguments as one line the shell reads, so that they may hold any byte.
ProgramRun runProgramInShell(const TestEnvironment& env, const QString& arguments);

// The working database the program makes in the test's data home.
QString workingDatabase(const TestEnvironment& env);
// Writes the program's settings file in the test's config home, the lines in the program's group;
// returns its path.
QString writeSettings(const TestEnvironment& env, const QString& lines);

}  // namespace testing_support
