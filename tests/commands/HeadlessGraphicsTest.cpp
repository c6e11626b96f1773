// The graphics a command without a display draws with: without a session, a private runtime
// folder in the program's temporary folder, gone when the drawing is done.
#include "commands/HeadlessGraphics.h"
#include "tests/support/TestEnvironment.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

using testing_support::TestEnvironment;

TEST(HeadlessGraphics, WithoutASessionThePrivateRuntimeFolderIsMadeInTheProgramsTemporaryFolder)
{
    if (commands::usableRuntimeFolder("/run/user/" + QByteArray::number(::geteuid())))
        GTEST_SKIP() << "this account has a session folder, which is used instead";
    TestEnvironment env;
    // The constructor changes the process's environment; the test puts it back.
    struct Restore {
        const char* name;
        bool wasSet = qEnvironmentVariableIsSet(name);
        QByteArray value = qgetenv(name);
        ~Restore() { wasSet ? qputenv(name, value) : qunsetenv(name); }
    } runtime{"XDG_RUNTIME_DIR"}, platform{"QT_QPA_PLATFORM"};
    qunsetenv("XDG_RUNTIME_DIR");

    for (const auto& [temporary, expected] : {std::pair{env.tempDir(), env.tempDir()},
                                               std::pair{env.root() + "/missing", QStringLiteral("/tmp")}}) {
        SCOPED_TRACE(temporary.toStdString());
        qputenv("TMPDIR", temporary.toUtf8());
        QString made;
        {
            const commands::HeadlessGraphics graphics;
            made = QString::fromUtf8(qgetenv("XDG_RUNTIME_DIR"));
            EXPECT_EQ(QFileInfo(made).path().toStdString(), expected.toStdString());
            EXPECT_TRUE(commands::usableRuntimeFolder(made.toUtf8()));
        }
        EXPECT_FALSE(made.isEmpty() || QFileInfo::exists(made));
        EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"));
    }
}
